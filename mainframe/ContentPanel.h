#pragma once
// CContentPanel: the main window's whole work area. It makes the server tree, the member-list
// cards, the console log and the chat panel once, arranges them with four splitters by the
// layout preferences, and remembers which of its windows had the focus while the program was
// inactive. The world fills the controls; the panel never changes their content.

#include "classlib/MsgMap.h"
#include "classlib/ToolBar.h"
#include "controls/CardLayoutPanel.h"
#include "controls/ChatPanel.h"
#include "controls/DoubleBufferedView.h"
#include "controls/SearchPanel.h"
#include "controls/Splitter.h"

class TConfig;
class TLogAddressFinder;
class TLogView;
class TPreference;

// The four saved splitter positions, in the order of "window.ini".
struct TSplitterPositions {
    int left = 120;
    int root = 120;
    int info = 200;
    int log = 100;
};

class CContentPanel : public CWnd, public ISearchPanelListener {
public:
    CContentPanel() = default;
    ~CContentPanel() override;

    // Settings and finder must outlive the panel; set before Create.
    void SetSources(TConfig* settings, const TLogAddressFinder* finder);
    BOOL Create(HWND parent, UINT id, DWORD style);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    void RecalcLayout();
    void ApplyLayoutPreferences(const TPreference& pref);
    void LoadSplitterPositions();
    void ResetSplitterPositions();
    TSplitterPositions GetSplitterPositions() const;
    // The input line's history into the list kept with the window settings.
    void StoreInputHistory(std::vector<CString>& lines) const;
    // The frame forwards its own WM_ACTIVATE here.
    void OnActivate(UINT state);
    // The window is one of the panel's own, where the keyboard focus is kept.
    bool HoldsFocus(HWND window) const;

    TServerTreeView* GetServerTree() const { return serverTree; }
    TLogView* GetConsoleLog() const { return consoleLog; }
    TChatPanel* GetChatPanel() const { return chatPanel; }
    TInputEdit* GetInputLine() const { return chatPanel ? &chatPanel->input : nullptr; }
    TListPanel* GetMemberListPanel() const { return memberListPanel; }
    CImageList* GetTreeImageList() { return &treeImages; }
    CImageList* GetMemberImageList() { return &memberImages; }
    TSplitter* GetRootSplitter() { return &rootSplitter; }
    TSplitter* GetMainSplitter() const { return mainSplitter; }
    TSplitter* GetInfoSplitter() const { return infoSplitter; }
    TSplitter* GetLogSplitter() const { return logSplitter; }
    bool IsSearchBarShown() const { return searchBarShown; }
    void ShowSearchBar(bool show);
    // Made on its first show; until then it has no window.
    TSearchPanel& GetSearchBar() { return searchBar; }

    // The searches themselves go to whoever keeps the search words (the world); null drops them.
    ISearchPanelListener* searchTarget = nullptr;
    void OnSearchPanelResized(TSearchPanel* panel) override;
    void OnSearchWordsChanged(const std::vector<CString>& words) override;
    bool OnFindNext() override;
    bool OnFindPrevious() override;
    void OnCloseSearchBar() override;
    IEditListener* GetShortcutListener() override;

    BEGIN_MSG_MAP(CContentPanel)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    END_MSG_MAP()

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    bool CreateChildren();
    bool CreateSearchBar();
    bool CreateSplitters();
    bool CreateServerTree();
    bool CreateConsoleLog();
    void StyleEdit(TEdit& edit);
    void RestoreFocus();
    HWND FocusTarget() const;
    int GetSearchBarHeight() const;

    TConfig* settings = nullptr;
    const TLogAddressFinder* addressFinder = nullptr;

    HWND rememberedFocus = nullptr;
    TSearchPanel searchBar;
    TSplitter rootSplitter;
    TSplitter* mainSplitter = nullptr;
    TSplitter* infoSplitter = nullptr;
    TSplitter* logSplitter = nullptr;
    TChatPanel* chatPanel = nullptr;
    TListPanel* memberListPanel = nullptr;
    TServerTreeView* serverTree = nullptr;
    TLogView* consoleLog = nullptr;
    CImageList treeImages;
    CImageList memberImages;
    bool searchBarShown = false;
};
