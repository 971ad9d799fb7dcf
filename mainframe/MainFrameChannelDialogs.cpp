// The frame's commands that open the channel dialog (add a channel, its properties) and the
// mode dialog of a joined channel. The dialogs are modal: the node read before may be gone
// after, so it is checked again before anything is changed or sent.

#include "dialogs/ChannelDialog.h"
#include "dialogs/ModeDialog.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "ircproto/IRCNames.h"
#include "mainframe/MainFrame.h"
#include "mainframe/NodeStates.h"
#include "world/IRCWorld.h"

void CMainFrame::OnAddChannel()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit)
        return;
    // A new entry takes the selected channel's switches, never its name or its auto-op masks.
    TChannelConfig record;
    if (channel && channel->GetKind() == TIRCChannel::KindChannel) {
        record = channel->GetConfig();
        record.Name.Empty();
        record.AutoOpMasks.clear();
    }
    TChannelDialog dialog;
    dialog.SetChannelConfig(record);
    dialog.adding = true;
    dialog.serverName = unit->GetName();
    dialog.serverModes = &unit->GetSession().capabilities.modes;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, nullptr);
    if (dialog.DoModal() != IDOK || !FindNodeAgain(asked, unit, channel))
        return;
    world->AddChannelNode(unit, dialog.GetChannelConfig(), TIRCChannel::KindChannel);
    world->SaveServerTree();
}

void CMainFrame::OnChannelProperties()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit || !channel || channel->GetKind() != TIRCChannel::KindChannel)
        return;
    TChannelDialog dialog;
    dialog.SetChannelConfig(channel->GetConfig());
    dialog.serverName = unit->GetName();
    dialog.serverModes = &unit->GetSession().capabilities.modes;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    if (dialog.DoModal() != IDOK || !FindNodeAgain(asked, unit, channel))
        return;
    // The dialog does not show the auto-op masks: the auto-op window may have changed them meanwhile.
    TChannelConfig edited = dialog.GetChannelConfig();
    edited.AutoOpMasks = channel->GetConfig().AutoOpMasks;
    channel->GetConfig() = edited;
    world->RefreshTreeItem(unit, channel);
    world->SaveServerTree();
}

void CMainFrame::OnChannelMode()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit) || !channel || !channel->IsJoined() || !IsModeChannelName(channel->GetIRCName()))
        return;
    TModeDialog dialog;
    dialog.SetServerName(unit->GetName());
    const TChannelMode opened = channel->mode;
    dialog.mode = opened;
    dialog.SetChannelName(channel->GetName());
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    if (dialog.DoModal() != IDOK || !FindPromptTarget(asked, unit, channel) || !channel->IsJoined())
        return;
    // Without operator status the server would only refuse the change.
    if (!channel->op)
        return;
    // Only what the user changed goes out: modes set meanwhile (another operator, the server's
    // first report of them) are not undone.
    TChannelMode wanted = channel->mode;
    wanted.TakeChanges(opened, dialog.GetMode());
    unit->ChangeChannelModes(channel, wanted);
}
