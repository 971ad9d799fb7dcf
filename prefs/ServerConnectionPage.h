#pragma once
// TServerConnectionPage: where and as whom a server is reached: the setting's name, host and
// port, TLS, the server password, the nicks and names, start-up connection and the character code.

#include "prefs/ServerPage.h"
#include "settings/WindowGeometry.h"

class TServerConnectionPage : public TServerPage {
public:
    TServerConnectionPage();

    // Holds "servers.txt", the host list.
    CString settingsFolder;
    // Where the alternative-servers dialog keeps its column widths.
    TWindowGeometry* geometry = nullptr;

    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(TServerConnectionPage)
        COMMAND_ID_HANDLER(IDC_SERVER_ALT_SERVERS, OnAlternativeServers)
        UPDATE_UI_HANDLER(IDC_SERVER_PASSWORD, OnUpdatePassword)
        CHAIN_MSG_MAP(TServerPage)
    END_MSG_MAP()

protected:
    void Exchange(TDialogExchange& io) override;
    void Store() override;

private:
    void FillHostList();
    void OnAlternativeServers();
    void OnUpdatePassword(CCmdUI* ui);
};

// The user name sent at login: the typed one made valid, or the lower-cased nick when none was.
CString MakeLoginUserName(const CString& typed, const CString& nick);
