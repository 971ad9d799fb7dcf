#pragma once
// What a WHOIS told about one nick, in a window of its own: login name, host and its address
// (looked up here), real name, channels, server, away message, idle and login time. Its unit
// fills it and answers its buttons; files dropped on it are offered to the nick.

#include "controls/UpdateDialog.h"
#include "irc/UserInfoWindows.h"
#include "net/NameResolver.h"
#include "res/windows/world.h"

#include <shellapi.h>

#include <vector>

class TIRCUnit;
class TIRCWorld;

class TWhoisDialog : public TUpdateDialog, public INameResolverListener, public IWhoisWindow {
public:
    TWhoisDialog();
    ~TWhoisDialog() override;

    // The unit is asked only while the world still holds it; world null asks always.
    void SetListener(IWhoisDialogListener* value, const TIRCWorld* world, const TIRCUnit* unit);
    bool CreateAndShow(bool topMost);

    BOOL OnInitDialog() override;
    // No OK button: Enter closes the window as its close box does.
    void OnOK() override { OnCancel(); }
    void OnCancel() override;

    void SetNick(const CString& nick) override;
    CString GetNick() override { return nickText; }
    void SetOperator(bool op) override;
    void SetUserName(const CString& text) override { SetField(IDC_WHOIS_USER, text); }
    CString GetUserName() override;
    void SetHost(const CString& host) override;
    CString GetHost() override;
    void SetRealName(const CString& text) override { SetField(IDC_WHOIS_REAL_NAME, text); }
    void SetServer(const CString& name) override;
    void SetServerInfo(const CString& info) override;
    void SetAwayMessage(const CString& text) override { SetField(IDC_WHOIS_AWAY, text); }
    void SetIdleTime(const CString& text) override { SetField(IDC_WHOIS_IDLE, text); }
    void SetLoginTime(const CString& text) override { SetField(IDC_WHOIS_LOGIN_TIME, text); }
    void AddChannel(const CString& text) override;
    void ClearChannels() override;
    void Raise() override;
    void KickIdle(WPARAM wParam, LPARAM lParam) override { SendMessage(WM_KICKIDLE, wParam, lParam); }
    HWND GetWindowHandle() const override { return m_hWnd; }

    void OnResolve(TNameResolver* resolver) override;
    void OnResolveError(TNameResolver*, CString) override {}

    // The paths of one drop, each whole, in drop order.

    BEGIN_MSG_MAP(TWhoisDialog)
        MESSAGE_HANDLER(WM_DROPFILES, OnDropFiles)
        COMMAND_ID_HANDLER(IDC_WHOIS_JOIN, OnJoin)
        COMMAND_ID_HANDLER(IDC_WHOIS_UPDATE, OnUpdate)
        COMMAND_ID_HANDLER(IDC_WHOIS_TALK, OnTalk)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    // Null once the unit has gone from the world.
    IWhoisDialogListener* LiveListener() const;
    void SetField(int id, const CString& text);
    void UpdateNickText();
    void UpdateServerText();
    void UpdateJoinButton();
    LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
    void OnJoin();
    void OnUpdate();
    void OnTalk();

    IWhoisDialogListener* listener = nullptr;
    const TIRCWorld* world = nullptr;
    const TIRCUnit* unit = nullptr;
    bool op = false;
    CString nickText;
    CString serverName;
    CString serverInfo;
    TNameResolver resolver;
};
