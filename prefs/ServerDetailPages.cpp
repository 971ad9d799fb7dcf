#include "prefs/ServerDetailPages.h"

#include "classlib/CmdUI.h"
#include "res/resource.h"

TServerDetailPage::TServerDetailPage() : TServerPage(IDD_SERVER_DETAIL_PAGE) {}

void TServerDetailPage::Exchange(TDialogExchange& io)
{
    io.Edit(IDC_SERVER_PART_MESSAGE, unit->PartMessage, kTextLimit);
    io.Edit(IDC_SERVER_QUIT_MESSAGE, unit->QuitMessage, kTextLimit);
    io.Edit(IDC_SERVER_AWAY_MESSAGE, unit->AwayMessage, kTextLimit);
    io.Edit(IDC_SERVER_USER_INFO, unit->UserInfo, kTextLimit);
    io.Check(IDC_SERVER_INVISIBLE, unit->Invisible);
    io.Check(IDC_SERVER_AUTO_AWAY, unit->AutoAway);
    io.Check(IDC_SERVER_ENABLE_NICK_LEN, unit->EnableNickLen);
    io.Spin(IDC_SERVER_NICK_LEN, unit->NickLen, 9, 500);
    io.Lines(IDC_SERVER_LOGIN_COMMANDS, unit->LoginCommands);
}

void TServerDetailPage::OnUpdateNickLength(CCmdUI* ui) { ui->Enable(IsChecked(IDC_SERVER_ENABLE_NICK_LEN)); }

TScriptServerPage::TScriptServerPage() : TServerPage(IDD_SERVER_PROXY_PAGE) {}

void TScriptServerPage::Exchange(TDialogExchange& io)
{
    io.Check(IDC_PROXY_ENABLE, unit->EnableSocks);
    io.Edit(IDC_PROXY_HOST, unit->SocksHostname, kTextLimit);
    io.Spin(IDC_PROXY_PORT, unit->SocksPort, 1, 65535);
    io.RadioValues({{IDC_PROXY_SOCKS4, 4}, {IDC_PROXY_SOCKS5, 5}}, unit->SocksVersion);
    io.Check(IDC_PROXY_AUTH, unit->EnableSocksAuth);
    io.Edit(IDC_PROXY_USERNAME, unit->SocksUsername, kTextLimit);
    io.Edit(IDC_PROXY_PASSWORD, unit->SocksPassword, kTextLimit);
}

bool TScriptServerPage::IsSocks5() const { return IsChecked(IDC_PROXY_SOCKS5); }

void TScriptServerPage::OnUpdateProxy(CCmdUI* ui) { ui->Enable(IsChecked(IDC_PROXY_ENABLE)); }

void TScriptServerPage::OnUpdateAuthentication(CCmdUI* ui) { ui->Enable(IsChecked(IDC_PROXY_ENABLE) && IsSocks5()); }

void TScriptServerPage::OnUpdateLogin(CCmdUI* ui)
{
    ui->Enable(IsChecked(IDC_PROXY_ENABLE) && IsSocks5() && IsChecked(IDC_PROXY_AUTH));
}
