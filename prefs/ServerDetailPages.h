#pragma once
// Two pages of the server property dialog: the details (messages, CTCP user information, modes at
// login, the nick length, commands sent at login) and the SOCKS proxy.

#include "prefs/ServerPage.h"

class TServerDetailPage : public TServerPage {
public:
    TServerDetailPage();

    BEGIN_MSG_MAP(TServerDetailPage)
        UPDATE_UI_HANDLER(IDC_SERVER_NICK_LEN, OnUpdateNickLength)
        UPDATE_UI_HANDLER(IDC_SERVER_NICK_LEN_SPIN, OnUpdateNickLength)
        CHAIN_MSG_MAP(TServerPage)
    END_MSG_MAP()

protected:
    void Exchange(TDialogExchange& io) override;

private:
    void OnUpdateNickLength(CCmdUI* ui);
};

// The proxy page.
class TScriptServerPage : public TServerPage {
public:
    TScriptServerPage();

    BEGIN_MSG_MAP(TScriptServerPage)
        UPDATE_UI_HANDLER(IDC_PROXY_HOST, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_PORT, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_PORT_SPIN, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_SOCKS4, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_SOCKS5, OnUpdateProxy)
        UPDATE_UI_HANDLER(IDC_PROXY_AUTH, OnUpdateAuthentication)
        UPDATE_UI_HANDLER(IDC_PROXY_USERNAME, OnUpdateLogin)
        UPDATE_UI_HANDLER(IDC_PROXY_PASSWORD, OnUpdateLogin)
        CHAIN_MSG_MAP(TServerPage)
    END_MSG_MAP()

protected:
    void Exchange(TDialogExchange& io) override;

private:
    bool IsSocks5() const;
    void OnUpdateProxy(CCmdUI* ui);
    void OnUpdateAuthentication(CCmdUI* ui);
    void OnUpdateLogin(CCmdUI* ui);
};
