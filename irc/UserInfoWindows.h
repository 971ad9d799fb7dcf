#pragma once
// The WHO window of a channel and the WHOIS windows of a unit, as the engine fills and answers
// them. The world makes the real windows; without it (tests, start-up) none open and the
// replies are printed as text.

#include "foundation/ModelessWindow.h"
#include "irc/MemberView.h"

class TIRCChannel;
class TIRCUnit;
class IWhoWindow;
class IWhoisWindow;

class IWhoDialogListener {
public:
    virtual void OnRefresh(IWhoWindow* dialog) = 0;
    virtual void OnClose(IWhoWindow* dialog) = 0;
    virtual void OnColumnClick(IWhoWindow* dialog, int column) = 0;

protected:
    ~IWhoDialogListener() = default;
};

class IWhoWindow : public IModelessWindow {
public:
    virtual ~IWhoWindow() = default;
    // The member rows, kept by the channel's member manager.
    virtual IMemberListView* GetList() = 0;
    // Restored when minimised, else shown; then brought to the top with the focus.
    virtual void Activate() = 0;
    // The idle-time update the main window's loop gives its own windows.
    virtual void KickIdle(WPARAM wParam, LPARAM lParam) = 0;
};

class IWhoisDialogListener {
public:
    virtual void OnRefresh(IWhoisWindow* dialog) = 0;
    // The channel list's entry as 319 showed it; the unit knows the server's member prefixes.
    virtual void OnJoin(IWhoisWindow* dialog, const CString& entry) = 0;
    // The nick's mask, made from its user and host, into the ignore list's mask box.
    virtual void OnAddMask(IWhoisWindow* dialog, const CString& nick, const CString& user, const CString& host) = 0;
    // One call per dropped file, in drop order.
    virtual void OnDropFiles(IWhoisWindow* dialog, const CString& nick, const CString& path) = 0;
    // Asks for a file and offers it to the nick.
    virtual void OnSendFile(IWhoisWindow* dialog, const CString& nick) = 0;
    virtual void OnTalk(IWhoisWindow* dialog, const CString& nick) = 0;
    virtual void OnClose(IWhoisWindow* dialog) = 0;

protected:
    ~IWhoisDialogListener() = default;
};

class IWhoisWindow : public IModelessWindow {
public:
    virtual ~IWhoisWindow() = default;
    virtual void SetNick(const CString& nick) = 0;
    virtual CString GetNick() = 0;
    // Shows " (IRC Operator)" behind the nick.
    virtual void SetOperator(bool op) = 0;
    virtual void SetUserName(const CString& text) = 0;
    virtual CString GetUserName() = 0;
    // Also starts the lookup of the host's address.
    virtual void SetHost(const CString& host) = 0;
    virtual CString GetHost() = 0;
    virtual void SetRealName(const CString& text) = 0;
    virtual void SetServer(const CString& name) = 0;
    virtual void SetServerInfo(const CString& info) = 0;
    virtual void SetAwayMessage(const CString& text) = 0;
    virtual void SetIdleTime(const CString& text) = 0;
    virtual void SetLoginTime(const CString& text) = 0;
    virtual void AddChannel(const CString& text) = 0;
    virtual void ClearChannels() = 0;
    // Shown normally and brought to the top.
    virtual void Raise() = 0;
    virtual void KickIdle(WPARAM wParam, LPARAM lParam) = 0;
};

class IUserInfoWindows {
public:
    // Null when the window cannot be made.
    virtual IWhoWindow* CreateWhoWindow(TIRCUnit* unit, TIRCChannel* channel, IWhoDialogListener* listener) = 0;
    // Null when the limit on open WHOIS windows refuses one more.
    virtual IWhoisWindow* CreateWhoisWindow(TIRCUnit* unit, const CString& nick, IWhoisDialogListener* listener) = 0;
    // A WHOIS window the unit made has gone; the count of open ones falls.
    virtual void OnWhoisWindowClosed() = 0;

protected:
    ~IUserInfoWindows() = default;
};

// Makes no windows.
IUserInfoWindows* GetNullUserInfoWindows();
