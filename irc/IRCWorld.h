#pragma once
// The root of the model: every server unit built from the server tree settings, the
// one-second tick that drives them, automatic connects at start, the clipboard queue and the
// limits on request dialogs.

#include "app/TreeView.h"
#include "irc/IRCUnit.h"
#include "irc/NickCompletion.h"

#include <deque>
#include <vector>

struct TWorldConfig;
struct TUnitConfig;
struct TPopupItem;

// What the world asks of the main window and the system around it.
class IIRCWorldHost {
public:
    virtual void CopyTextToClipboard(const CString& text) = 0;
    // The menu command of a main-window action name; 0 when there is none.
    virtual int FindActionCommand(const CString& name) = 0;

protected:
    ~IIRCWorldHost() = default;
};

class TIRCWorld : public ITreeViewListener {
public:
    // views stands for the tree, log views and member lists the units report to.
    TIRCWorld(const TPreference* preference, TWorldConfig* tree, IIRCUnitListener* views, IIRCWorldHost* host);
    TIRCWorld(const TIRCWorld&) = delete;
    TIRCWorld& operator=(const TIRCWorld&) = delete;
    ~TIRCWorld();

    // The server tree the world keeps in step with its units; its items carry the nodes.
    void Attach(TTreeView* serverTree);
    void CreateUnitsFromSettings();
    // The maker of the units' WHO and WHOIS windows, for the units there are and those to come.
    void SetUserInfoWindows(IUserInfoWindows* windows);
    HTREEITEM FindUnitTreeItem(const TIRCUnit* unit) const;
    HTREEITEM FindChannelTreeItem(HTREEITEM unitItem, const TIRCChannel* channel) const;
    // Channels follow the unit's other channels and come before its talks; talks go last.
    HTREEITEM InsertChannelTreeItem(HTREEITEM unitItem, TIRCChannel* channel);
    // The item's image follows the connection or joined state.
    void RefreshTreeItem(TIRCUnit* unit, TIRCChannel* channel);
    // The selection moves to a sibling, else the parent, before the item goes.
    void DeleteTreeItem(HTREEITEM item);
    const std::vector<TIRCUnit*>& GetUnits() const { return units; }
    TIRCUnit* FindUnit(const CString& name) const;
    bool HasUnit(const TIRCUnit* unit) const;

    // Servers named on the command line, else those marked to connect at start, 3 seconds
    // apart. Ctrl held at start skips it.
    void AutoConnect(const std::vector<CString>& names);
    void AutoConnect(const std::vector<CString>& names, bool controlHeld);

    // The node the tree shows as current; channel null for a server node, unit null for none.
    void Select(TIRCUnit* unit, TIRCChannel* channel, bool treeAlreadySelected = false);
    // A node deleted since it was selected reads as none (its server node when only the channel went).
    void GetSelection(TIRCUnit*& unit, TIRCChannel*& channel) const;

    // Enter in the input line; true when the unit took the text, which the line then clears.
    bool SendInputLine(const CString& text, bool ctrl, bool shift, bool alt, bool returnKey);
    // Tab and Shift+Tab: the replacement for the input line's selection, if any.
    bool CompleteNick(const CString& text, int selStart, int selEnd, bool forward, TNickCompletionEdit& edit);
    // A click on a line that carries event data; the units and channels it names may be gone.
    void OnEventLineClick(bool allChannelsLog, const CString& eventData);

    // Edited properties of a server reach the running unit; gone units are ignored.
    void ApplyServerSettings(TIRCUnit* unit, const TUnitConfig& edited);

    // The user's popup items into menu, their levels as submenus.
    void BuildUserPopupMenu(HMENU menu, const std::vector<TPopupItem*>& items);

    void Tick();
    // The tick on a given local day of the month; a new day moves the log files.
    void TickOn(int day);
    void QueueClipboardText(const CString& text) { clipboardQueue.push_back(text); }

    bool TryOpenDCCChatDialog();
    bool TryOpenInviteDialog();
    bool TryOpenWhoisDialog();
    void OnDCCChatDialogClosed() { dccChatDialogs.OnClosed(); }
    void OnInviteDialogClosed() { inviteDialogs.OnClosed(); }
    void OnWhoisDialogClosed() { whoisDialogs.OnClosed(); }

    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnSelChanged(TTreeView* tree, HTREEITEM newItem, HTREEITEM oldItem) override;
    void OnContextMenu(TTreeView*, HTREEITEM, int, int) override {}
    void OnDoubleClick(TTreeView*, HTREEITEM, int, int) override {}
    void OnCustomDraw(TTreeView*, NMHDR*, LRESULT*) override {}

private:
    HTREEITEM InsertUnitTreeItem(TIRCUnit* unit);
    void ReadTreeSelection(TIRCUnit*& unit, TIRCChannel*& channel) const;
    int ConnectStaggered(const std::vector<TIRCUnit*>& chosen);

    const TPreference* preference;
    TWorldConfig* tree;
    IIRCUnitListener* views;
    IIRCWorldHost* host;
    std::vector<TIRCUnit*> units;
    TTreeView* serverTree = nullptr;
    TIRCUnit* currentUnit = nullptr;
    TIRCChannel* currentChannel = nullptr;
    TNickCompleter completer;
    std::deque<CString> clipboardQueue;
    int lastTickDay;
    TDialogLimit dccChatDialogs;
    TDialogLimit inviteDialogs;
    TDialogLimit whoisDialogs;
    IUserInfoWindows* userInfoWindows = nullptr;
};
