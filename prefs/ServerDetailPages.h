#pragma once
// Two pages of the server property dialog: the details (messages, CTCP user information, modes at
// login, the nick length, commands sent at login) and the SOCKS proxy.

#include "prefs/PropertyPage.h"
#include "res/windows/serverpages.h"
#include "settings/ServerConfig.h"

class TServerDetailPage : public TPropertyPage {
public:
    TServerDetailPage();

    TUnitConfig* unit = nullptr;

    BEGIN_MSG_MAP(TServerDetailPage)
        UPDATE_UI_HANDLER(IDC_SERVER_NICK_LEN, OnUpdateNickLength)
        UPDATE_UI_HANDLER(IDC_SERVER_NICK_LEN_SPIN, OnUpdateNickLength)
        CHAIN_MSG_MAP(TPropertyPage)
    END_MSG_MAP()

protected:
    bool HasRecord() const override { return unit != nullptr; }
    void Exchange(TDialogExchange& io) override;

private:
    void OnUpdateNickLength(CCmdUI* ui);
};

// The proxy page.
class TScriptServerPage : public TPropertyPage {
public:
    TScriptServerPage();

    TUnitConfig* unit = nullptr;

    BEGIN_MSG_MAP(TScriptServerPage)
        UPDATE_UI_HANDLER(IDC_PROXY_HOST, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_PORT, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_PORT_SPIN, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_SOCKS4, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_SOCKS5, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_AUTH, OnUpdateAuthentication)
        UPDATE_UI_HANDLER(IDC_PROXY_USERNAME, OnUpdateLogin)
        UPDATE_UI_HANDLER(IDC_PROXY_PASSWORD, OnUpdateLogin)
        CHAIN_MSG_MAP(TPropertyPage)
    END_MSG_MAP()

protected:
    bool HasRecord() const override { return unit != nullptr; }
    void Exchange(TDialogExchange& io) override;

private:
    bool IsSocks5() const;
    void OnUpdateProxy(CCmdUI* ui);
    void OnUpdateAuthentication(CCmdUI* ui);
    void OnUpdateLogin(CCmdUI* ui);
};
