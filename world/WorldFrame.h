#pragma once
// What the world takes from the main window: the controls of its work area once they exist, and
// the frame's state and services that the world and its units reach. The main frame implements it;
// tests implement it over controls of their own.

#include "world/IRCWorld.h"

class CImageList;
class TChatPanel;
class TEdit;
class TInputEdit;
class TListPanel;
class TLogView;
class TServerTreeView;

class IWorldFrame : public IIRCWorldHost {
public:
    // The content panel's controls, handed over once by Attach.
    virtual TServerTreeView* GetServerTree() = 0;
    virtual TLogView* GetAllChannelsLog() = 0;
    // The input line and the log card panel of the node views live in the chat panel.
    virtual TChatPanel* GetChatPanel() = 0;
    virtual TInputEdit* GetInputLine() = 0;
    // The search bar's edit once the bar has been made, else null.
    virtual TEdit* GetSearchEdit() = 0;
    virtual TListPanel* GetMemberListPanel() = 0;
    virtual CImageList* GetTreeImageList() = 0;
    virtual CImageList* GetMemberImageList() = 0;
    virtual bool IsSearchBarShown() = 0;

    // The frame's window, whose text the world sets as the title.
    virtual HWND GetFrameWindow() = 0;
    virtual bool IsApplicationActive() = 0;
    virtual bool IsTopMost() = 0;
    // The stop-all-macros switch of the menu.
    virtual bool AreMacrosStopped() = 0;
    // The frame waits for the servers to quit; the last closed connection posts SC_CLOSE.
    virtual bool IsClosing() = 0;

    virtual bool ExecuteAction(const CString& name) = 0;
    virtual bool LookupAction(const CString& name, int& commandId) = 0;
    virtual void SetTrayToolTip(const CString& text) = 0;
    virtual void ShowBalloon(const CString& title, const CString& text) = 0;
    virtual void StartMessageAlert() = 0;
    virtual void StartHighlightAlert() = 0;
    virtual void RestoreTitle() = 0;
    virtual void ShowDCCDialog(bool minimized) = 0;
    virtual void BringDCCDialogToFront() = 0;
    // Blinks the transfer window's caption while it shows; frames without one do nothing.
    virtual void BlinkDCCDialog() {}
    // WHOIS of the nicks selected in the member list.
    virtual void OnUserInfo() = 0;
    // Opens or brings forward the ignore list with the mask in its mask box; frames without one
    // do nothing.
    virtual void ShowIgnoreList(const CString&) {}
    // The server tree as just stored; every change of its servers and channels ends in a store.
    virtual void OnServerTreeStored(const TWorldConfig&) {}

protected:
    ~IWorldFrame() = default;
};
