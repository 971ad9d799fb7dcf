#pragma once
// A main window for the world's tests: the content panel's controls laid out as the program
// lays them out (tree, node logs above the input line, member lists, all-channels log), and the
// frame's services recorded.

#include "controls/CardLayoutPanel.h"
#include "controls/ChatPanel.h"
#include "controls/DoubleBufferedView.h"
#include "logview/LogView.h"
#include "settings/Config.h"
#include "world/WorldFrame.h"

#include <vector>

class TTestWorldFrame : public CWnd, public IWorldFrame {
public:
    // The settings folder of config must exist; its fonts are built here.
    bool Create(TConfig& config, int width = 900, int height = 560);

    TServerTreeView* GetServerTree() override { return &tree; }
    TLogView* GetAllChannelsLog() override { return &allLog; }
    TChatPanel* GetChatPanel() override { return &chat; }
    TInputEdit* GetInputLine() override { return &chat.input; }
    TEdit* GetSearchEdit() override { return nullptr; }
    TListPanel* GetMemberListPanel() override { return &members; }
    CImageList* GetTreeImageList() override { return &treeImages; }
    CImageList* GetMemberImageList() override { return &memberImages; }
    bool IsSearchBarShown() override { return false; }
    HWND GetFrameWindow() override { return m_hWnd; }
    bool IsApplicationActive() override { return active; }
    bool IsTopMost() override { return false; }
    bool AreMacrosStopped() override { return false; }
    bool IsClosing() override { return false; }
    bool ExecuteAction(const CString&) override { return false; }
    bool LookupAction(const CString&, int&) override { return false; }
    void SetTrayToolTip(const CString& text) override { toolTips.push_back(text); }
    void ShowBalloon(const CString& title, const CString& text) override { balloons.push_back(title + L"|" + text); }
    void StartMessageAlert() override {}
    void StartHighlightAlert() override {}
    void RestoreTitle() override {}
    void ShowDCCDialog(bool) override {}
    void BringDCCDialogToFront() override {}
    void OnUserInfo() override { userInfoRequests++; }
    void CopyTextToClipboard(const CString& text) override { copied.push_back(text); }
    int FindActionCommand(const CString&) override { return 0; }

    CString GetTitle() const;

    TServerTreeView tree;
    TLogView allLog;
    TChatPanel chat;
    TListPanel members;
    CImageList treeImages;
    CImageList memberImages;
    bool active = true;
    int userInfoRequests = 0;
    std::vector<CString> toolTips;
    std::vector<CString> balloons;
    std::vector<CString> copied;
};

// Settings in a folder of their own: the preferences' and view settings' defaults, fonts built.
void PrepareConfig(TConfig& config, const CString& folder);
