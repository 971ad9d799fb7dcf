#include "dialogs/ChannelDialog.h"

#include "classlib/CmdUI.h"
#include "dialogs/ModeDialog.h"
#include "foundation/ResourceString.h"
#include "ircproto/IRCNames.h"

#include <vector>

TChannelDialog::TChannelDialog() : TUpdateDialog(IDD_CHANNEL_DIALOG) {}

bool TChannelDialog::IsChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

void TChannelDialog::Check(int id, bool on) { ::CheckDlgButton(m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

BOOL TChannelDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    SetEditText(Item(IDC_CHANNEL_NAME), channel.Name, 512);
    SetEditText(Item(IDC_CHANNEL_PASSWORD), channel.Password, 64);
    SetEditText(Item(IDC_CHANNEL_MODE), channel.Mode, 512);
    SetEditText(Item(IDC_CHANNEL_TOPIC), channel.Topic, 512);
    Check(IDC_CHANNEL_AUTO_JOIN, channel.AutoJoin);
    Check(IDC_CHANNEL_CONSOLE, channel.Console);
    Check(IDC_CHANNEL_UPDATE, channel.Update);
    Check(IDC_CHANNEL_KEYWORD, channel.Keyword);
    CString caption;
    if (adding) {
        caption = LoadResourceString(fromSettings ? IDS_CHANNEL_CREATE_TITLE : IDS_CHANNEL_ADD_TITLE);
        ::SetFocus(Item(IDC_CHANNEL_NAME));
    } else {
        caption = LoadResourceString(fromSettings ? IDS_CHANNEL_EDIT_TITLE : IDS_CHANNEL_PROPERTIES_TITLE);
        ::SendMessageW(Item(IDC_CHANNEL_NAME), EM_SETREADONLY, TRUE, 0);
        ::SetFocus(Item(IDC_CHANNEL_PASSWORD));
    }
    if (!serverName.IsEmpty())
        caption += L" - " + serverName;
    SetWindowText(caption);
    return FALSE;
}

void TChannelDialog::OnOK()
{
    channel.Name = GetControlText(Item(IDC_CHANNEL_NAME));
    channel.Password = GetControlText(Item(IDC_CHANNEL_PASSWORD));
    channel.Mode = GetControlText(Item(IDC_CHANNEL_MODE));
    channel.Topic = GetControlText(Item(IDC_CHANNEL_TOPIC));
    channel.AutoJoin = IsChecked(IDC_CHANNEL_AUTO_JOIN);
    channel.Console = IsChecked(IDC_CHANNEL_CONSOLE);
    channel.Update = IsChecked(IDC_CHANNEL_UPDATE);
    channel.Keyword = IsChecked(IDC_CHANNEL_KEYWORD);
    TUpdateDialog::OnOK();
}

void TChannelDialog::OnUpdateOK(CCmdUI* ui)
{
    CString name = GetControlText(Item(IDC_CHANNEL_NAME));
    ui->Enable(IsChannelNameOrAlias(name) && !HasJoinBreakingCharacter(name) &&
               !HasJoinBreakingCharacter(GetControlText(Item(IDC_CHANNEL_PASSWORD))));
}

void TChannelDialog::OnModeButton()
{
    TChannelMode mode;
    mode.serverModes = serverModes;
    std::vector<TModeChange> changes;
    mode.ApplyModeChange(GetControlText(Item(IDC_CHANNEL_MODE)), changes);
    TModeDialog dialog;
    dialog.SetServerName(serverName);
    dialog.mode = mode;
    dialog.SetChannelName(GetControlText(Item(IDC_CHANNEL_NAME)));
    dialog.creation = true;
    if (dialog.DoModal() != IDOK)
        return;
    SetEditText(Item(IDC_CHANNEL_MODE), dialog.GetMode().ToString(), 512);
}
