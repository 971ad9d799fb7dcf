#include "dialogs/InstallDialogs.h"

#include "classlib/CmdUI.h"
#include "controls/DialogExchange.h"
#include "dialogs/ModeDialog.h"
#include "ircproto/IRCNames.h"
#include "settings/ServerList.h"

namespace {

const int kChoiceIds[] = {IDC_INSTALL_CHOICE, IDC_INSTALL_CHOICE_ADVANCED, IDC_INSTALL_CHOICE_LEGACY};

// Each page follows the last with the main window still hidden: nothing else would bring it to
// the front, and the keys would go nowhere.
void ComeForward(HWND page) { ::SetForegroundWindow(page); }

} // namespace

BOOL TInstallStartDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    if (!initialised)
        choice = legacyFound ? TInstallChoice::TakeOver : TInstallChoice::Beginner;
    initialised = true;
    Exchange(TDialogExchange::Direction::Load);
    ComeForward(m_hWnd);
    ::SetFocus(::GetDlgItem(m_hWnd, kChoiceIds[(int)choice]));
    return FALSE;
}

void TInstallStartDialog::Exchange(TDialogExchange::Direction direction)
{
    TDialogExchange io(m_hWnd, direction);
    int index = (int)choice;
    io.Radio({kChoiceIds[0], kChoiceIds[1], kChoiceIds[2]}, index);
    choice = (TInstallChoice)index;
}

void TInstallStartDialog::OnOK()
{
    Exchange(TDialogExchange::Direction::Store);
    TUpdateDialog::OnOK();
}

bool CanLeaveServerPage(const CString& nick, const CString& server)
{
    return IsValidNick(nick) && !server.IsEmpty() && server != L"-";
}

BOOL TInstallServerDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    HWND combo = ::GetDlgItem(m_hWnd, IDC_INSTALL_SERVER);
    TStringList servers;
    GetDefaultServerList(servers);
    for (const CString& line : servers.items)
        ::SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)line.GetString());
    // Shown again after "<<", the page keeps the server the user chose; starting over from the
    // list's first line would connect somewhere else without a word.
    if (server.IsEmpty())
        server = servers.GetAt(0);
    Exchange(TDialogExchange::Direction::Load);
    HWND nickEdit = ::GetDlgItem(m_hWnd, IDC_INSTALL_NICK);
    back = false;
    ComeForward(m_hWnd);
    ::SetFocus(nickEdit);
    ::SendMessageW(nickEdit, EM_SETSEL, 0, -1);
    return FALSE;
}

void TInstallServerDialog::Exchange(TDialogExchange::Direction direction)
{
    TDialogExchange io(m_hWnd, direction);
    io.ComboText(IDC_INSTALL_SERVER, server, kTextLimit);
    io.Edit(IDC_INSTALL_NICK, nick, kTextLimit);
}

void TInstallServerDialog::Store(bool goBack)
{
    Exchange(TDialogExchange::Direction::Store);
    back = goBack;
    TUpdateDialog::OnOK();
}

void TInstallServerDialog::OnOK()
{
    if (CanLeaveServerPage(GetControlText(::GetDlgItem(m_hWnd, IDC_INSTALL_NICK)),
                           GetControlText(::GetDlgItem(m_hWnd, IDC_INSTALL_SERVER))))
        Store(false);
}

void TInstallServerDialog::OnBack() { Store(true); }

void TInstallServerDialog::OnUpdateNext(CCmdUI* ui)
{
    ui->Enable(CanLeaveServerPage(GetControlText(::GetDlgItem(m_hWnd, IDC_INSTALL_NICK)),
                                  GetControlText(::GetDlgItem(m_hWnd, IDC_INSTALL_SERVER))));
}

TInstallChannelDialog::TInstallChannelDialog()
    : TUpdateDialog(IDD_INSTALL_CHANNEL), editor(edit, list,
                                                 {[this](const CString& text) { return FindChannel(text); },
                                                  [this](const CString& text) {
                                                      int index = list.AddString(text);
                                                      list.UpdateHorizontalExtent();
                                                      return index;
                                                  },
                                                  [this](int index) {
                                                      list.DeleteString(index);
                                                      list.UpdateHorizontalExtent();
                                                  }},
                                                 false, [this] { OnOK(); })
{
}

BOOL TInstallChannelDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    list.SubclassDlgItem(IDC_INSTALL_CHANNEL_LIST, m_hWnd);
    edit.SubclassDlgItem(IDC_INSTALL_CHANNEL_EDIT, m_hWnd);
    edit.listener = this;
    list.listener = this;
    edit.SendMessage(EM_LIMITTEXT, kTextLimit);
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Load);
    io.Check(IDC_INSTALL_CONNECT, connectAtStartup);
    list.SetItems(channels);
    list.UpdateHorizontalExtent();
    back = false;
    ComeForward(m_hWnd);
    edit.SetFocus();
    return FALSE;
}

int TInstallChannelDialog::FindChannel(const CString& text) const
{
    int count = list.GetCount();
    for (int i = 0; i < count; i++)
        if (list.GetText(i).CompareNoCase(text) == 0)
            return i;
    return -1;
}

bool TInstallChannelDialog::CanAdd() const
{
    CString text = edit.GetWindowText();
    return IsChannelNameOrAlias(text) && FindChannel(text) < 0;
}

// The name goes out in the JOIN line at the first connect: refused as the channel dialog
// refuses it.
void TInstallChannelDialog::OnAdd()
{
    if (CanAdd() && !RefuseJoinBreakingText(m_hWnd, IDC_INSTALL_CHANNEL_EDIT))
        editor.Add();
}

void TInstallChannelDialog::OnDelete() { editor.DeleteSelected(); }

void TInstallChannelDialog::OnUpdateAdd(CCmdUI* ui) { ui->Enable(CanAdd()); }

void TInstallChannelDialog::OnUpdateDelete(CCmdUI* ui) { ui->Enable(editor.CanDelete()); }

bool TInstallChannelDialog::OnKeyDown(TEdit*, UINT key) { return editor.OnEditKey(key); }

bool TInstallChannelDialog::OnEnter(TEdit*, UINT)
{
    if (edit.GetWindowText().IsEmpty())
        OnOK();
    else
        OnAdd();
    return true;
}

bool TInstallChannelDialog::OnKeyDown(TListBox*, UINT key) { return editor.OnListKey(key); }

void TInstallChannelDialog::OnSelChange(TListBox*) { editor.ShowSelected(); }

void TInstallChannelDialog::Store(bool goBack)
{
    TDialogExchange io(m_hWnd, TDialogExchange::Direction::Store);
    io.Check(IDC_INSTALL_CONNECT, connectAtStartup);
    list.GetItems(channels);
    back = goBack;
    TUpdateDialog::OnOK();
}

void TInstallChannelDialog::OnOK() { Store(false); }

void TInstallChannelDialog::OnBack() { Store(true); }

void TLoadLegacyDialog::OnOK()
{
    result = TLoadLegacyResult::TakeOver;
    TUpdateDialog::OnOK();
}

void TLoadLegacyDialog::OnCancel()
{
    result = TLoadLegacyResult::Back;
    TUpdateDialog::OnCancel();
}

void TLoadLegacyDialog::OnChooseFolder()
{
    result = TLoadLegacyResult::ChooseFolder;
    TUpdateDialog::OnCancel();
}
