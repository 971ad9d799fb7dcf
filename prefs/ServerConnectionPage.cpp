#include "prefs/ServerConnectionPage.h"

#include "classlib/CmdUI.h"
#include "dialogs/AlternativeServersDialog.h"
#include "ircproto/IRCNames.h"
#include "res/resource.h"
#include "settings/ServerList.h"

#include <imm.h>

namespace {

const TDialogChoice kEncodings[] = {
    {L"UTF-8", 65001},      {L"CP1252", 1252},     {L"ISO-8859-15", 28605},     {L"ISO-2022-JP", 50221},
    {L"Korean CP949", 949}, {L"Chinese GBK", 936}, {L"Chinese GB18030", 54936}, {L"Chinese Big5", 950},
};

const int kHostLimit = 256;

// CR, LF or NUL would end or split the line the nick is sent in and the tree.ini line it is
// stored in; anything else (a pasted tab, a blank) is the server's to answer.
bool HasNoLineBreak(const CString& text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] == L'\r' || text[i] == L'\n' || text[i] == L'\0')
            return false;
    return true;
}

} // namespace

CString MakeLoginUserName(const CString& typed, const CString& nick)
{
    CString name = typed;
    if (name.IsEmpty()) {
        name = nick;
        name.MakeLower();
    }
    MakeValidUserName(name);
    return name;
}

TServerConnectionPage::TServerConnectionPage() : TServerPage(IDD_SERVER_CONNECTION_PAGE) {}

BOOL TServerConnectionPage::OnInitDialog()
{
    FillHostList();
    // Login names are ASCII: the input method stays off in their edit.
    ::ImmAssociateContext(Item(IDC_SERVER_USERNAME), nullptr);
    return TPropertyPage::OnInitDialog();
}

void TServerConnectionPage::FillHostList()
{
    TStringList hosts;
    LoadServerList(settingsFolder, hosts);
    HWND combo = Item(IDC_SERVER_HOST);
    for (const CString& line : hosts.items)
        ::SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)(const wchar_t*)line);
}

void TServerConnectionPage::Exchange(TDialogExchange& io)
{
    // Empty ones keep OK greyed (the sheet's rule); whatever else is typed is stored.
    io.Edit(IDC_SERVER_NAME, unit->Name, kTextLimit);
    io.ComboText(IDC_SERVER_HOST, unit->Hostname, kHostLimit);
    io.Spin(IDC_SERVER_PORT, unit->Port, 1, 65535);
    io.Check(IDC_SERVER_USE_SSL, unit->UseSSL);
    io.Check(IDC_SERVER_USE_PASSWORD, unit->EnablePassword);
    io.Edit(IDC_SERVER_PASSWORD, unit->Password, 256);
    io.Edit(IDC_SERVER_NICK, unit->Nick, 256).Rule(HasNoLineBreak, IDS_SERVER_NICK_LINE_BREAK);
    io.Edit(IDC_SERVER_USERNAME, unit->Username, 64);
    io.Edit(IDC_SERVER_REALNAME, unit->Realname, 512);
    CString altNicks = unit->AltNicks;
    io.Edit(IDC_SERVER_ALT_NICKS, altNicks, 512);
    if (io.IsStoring())
        unit->SetAltNicks(altNicks);
    io.Check(IDC_SERVER_AUTO_CONNECT, unit->AutoConnect);
    io.Choice(IDC_SERVER_CODEPAGE, unit->Codepage, kEncodings);
}

void TServerConnectionPage::Store()
{
    unit->Username = MakeLoginUserName(unit->Username, unit->Nick);
    if (unit->Realname.IsEmpty())
        unit->Realname = unit->Nick;
}

void TServerConnectionPage::OnAlternativeServers()
{
    // The dialog starts from the host and port on screen.
    unit->Hostname = GetControlText(Item(IDC_SERVER_HOST));
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Store);
    io.Spin(IDC_SERVER_PORT, unit->Port, 1, 65535);
    TAlternativeServersDialog dialog(unit, settingsFolder, geometry);
    dialog.m_pParentWnd = this;
    if (dialog.DoModal() != IDOK)
        return;
    TDialogExchange back(m_hWnd, TDialogExchange::Direction::Load);
    back.ComboText(IDC_SERVER_HOST, unit->Hostname, kHostLimit);
    back.Spin(IDC_SERVER_PORT, unit->Port, 1, 65535);
}

void TServerConnectionPage::OnUpdatePassword(CCmdUI* ui) { ui->Enable(IsChecked(IDC_SERVER_USE_PASSWORD)); }
