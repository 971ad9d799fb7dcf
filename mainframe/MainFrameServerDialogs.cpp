// The frame's commands that open the server property dialog: adding a server and editing the
// selected one. The dialog is modal; the server read before it may be gone after.

#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "mainframe/MainApp.h"
#include "mainframe/MainFrame.h"
#include "mainframe/NodeStates.h"
#include "prefs/ServerPropertyDialog.h"
#include "res/resource.h"
#include "world/IRCWorld.h"

void CMainFrame::OnAddServer()
{
    if (!world)
        return;
    // With a server selected the new one starts as its copy, without name, channels or masks.
    TServerPropertyDialog dialog(this);
    auto [selected, channel] = GetSelectedNode();
    if (selected) {
        static_cast<TUnitSetting&>(dialog.unit) = selected->GetSettings();
        world->StoreUnitChannels(selected, dialog.unit);
        dialog.unit.Name.Empty();
        dialog.unit.Channels.clear();
        dialog.unit.AutoOpMasks.clear();
    }
    dialog.SetTitle(LoadResourceString(IDS_ADD_SERVER_TITLE));
    dialog.SetConfig(settings);
    if (dialog.DoModal() != IDOK)
        return;
    TUnitConfig record = dialog.unit;
    while (world->FindUnit(record.Name))
        record.Name += L"_";
    if (TIRCUnit* unit = world->AddUnit(record)) {
        world->InsertUnitTreeItem(unit);
        world->SortUnits();
        for (const TChannelConfig& entry : record.Channels)
            world->AddChannelNode(unit, entry, TIRCChannel::KindChannel);
    }
    RefreshServerColumns();
    world->SaveServerTree();
}

void CMainFrame::OnServerProperties()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit || !world)
        return;
    TServerPropertyDialog dialog(this);
    static_cast<TUnitSetting&>(dialog.unit) = unit->GetSettings();
    world->StoreUnitChannels(unit, dialog.unit);
    const TUnitConfig opened = dialog.unit;
    dialog.SetTitle(LoadResourceString(IDS_SERVER_PROPERTIES_TITLE));
    dialog.SetConfig(settings);
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, nullptr);
    if (dialog.DoModal() != IDOK || !FindNodeAgain(asked, unit, channel))
        return;
    world->ApplyServerSettings(unit, opened, dialog.unit);
    // The open auto-op window keeps what was edited there for the server under its new name.
    if (autoOpDialog && unit->GetName() != opened.Name)
        autoOpDialog->RenameServer(opened.Name, unit->GetName());
    // Connection settings wait for the next connect; a changed away message shows at once.
    if (IsLoggedIn(unit) && dialog.unit.AwayMessage != opened.AwayMessage)
        unit->GetSession().awayMessage = unit->ExpandText(dialog.unit.AwayMessage);
    RefreshServerColumns();
    world->SaveServerTree();
}
