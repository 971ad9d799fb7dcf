#include "dialogs/ChannelDialog.h"

#include "classlib/CmdUI.h"
#include "dialogs/ModeDialog.h"
#include "foundation/ResourceString.h"
#include "ircproto/IRCNames.h"

#include <vector>

TChannelDialog::TChannelDialog() : TUpdateDialog(IDD_CHANNEL_DIALOG) {}

void TChannelDialog::Exchange(TDialogExchange::Direction direction)
{
    TDialogExchange io(m_hWnd, direction);
    io.Edit(IDC_CHANNEL_NAME, channel.Name, 512);
    io.Edit(IDC_CHANNEL_PASSWORD, channel.Password, 64);
    io.Edit(IDC_CHANNEL_MODE, channel.Mode, 512);
    io.Edit(IDC_CHANNEL_TOPIC, channel.Topic, 512);
    io.Check(IDC_CHANNEL_AUTO_JOIN, channel.AutoJoin);
    io.Check(IDC_CHANNEL_CONSOLE, channel.Console);
    io.Check(IDC_CHANNEL_UPDATE, channel.Update);
    io.Check(IDC_CHANNEL_KEYWORD, channel.Keyword);
}

BOOL TChannelDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    Exchange(TDialogExchange::Direction::Load);
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

// Name and key go out as words of the JOIN line. An existing entry's name cannot be edited
// here: whatever made it, it must not keep the rest of the entry from being confirmed.
void TChannelDialog::OnOK()
{
    if ((adding && RefuseJoinBreakingText(m_hWnd, IDC_CHANNEL_NAME)) ||
        RefuseJoinBreakingText(m_hWnd, IDC_CHANNEL_PASSWORD))
        return;
    Exchange(TDialogExchange::Direction::Store);
    TUpdateDialog::OnOK();
}

void TChannelDialog::OnUpdateOK(CCmdUI* ui)
{
    ui->Enable(IsChannelNameOrAlias(GetControlText(Item(IDC_CHANNEL_NAME))));
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
