// The server tree's own commands: copying and deleting a server, deleting a channel. Each
// writes "tree.ini" at once, as every edit of the tree does.

#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "mainframe/MainApp.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "script/ScriptSelectDialog.h"
#include "world/IRCWorld.h"

void CMainFrame::OnCopyServer()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit || !world)
        return;
    // The channels follow from the source's nodes, talks included.
    TUnitConfig record;
    static_cast<TUnitSetting&>(record) = unit->GetSettings();
    // The copy's name always ends in at least one "_".
    TIRCUnit* copy = nullptr;
    for (int tries = 0; !copy && tries < 1000; tries++) {
        record.Name += L"_";
        if (!world->FindUnit(record.Name))
            copy = world->AddUnit(record);
    }
    if (!copy)
        return;
    world->InsertUnitTreeItem(copy);
    world->SortUnits();
    for (TIRCChannel* source : unit->GetChannels())
        world->AddChannelNode(copy, source->GetConfig(), source->GetKind());
    RefreshServerColumns();
    world->SaveServerTree();
}

void CMainFrame::OnDeleteServer()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit || !world || unit->GetConnection().IsActive())
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, nullptr);
    if (!ShowConfirmMessage(m_hWnd, LoadResourceString(IDS_DELETE_SERVER_CONFIRM),
                            LoadResourceString(IDS_DELETE_SERVER_CAPTION)))
        return;
    // The box is modal: the server may have gone or connected meanwhile.
    if (!FindNodeAgain(asked, unit, channel) || unit->GetConnection().IsActive())
        return;
    world->DeleteUnit(unit);
    RefreshServerColumns();
    world->SaveServerTree();
}

void CMainFrame::OnDeleteChannel()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit || !channel || !world)
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    if (channel->GetKind() == TIRCChannel::KindChannel &&
        (!ShowConfirmMessage(m_hWnd, LoadResourceString(IDS_DELETE_CHANNEL_CONFIRM),
                             LoadResourceString(IDS_DELETE_CHANNEL_CAPTION)) ||
         !FindNodeAgain(asked, unit, channel)))
        return;
    world->RemoveChannelNode(unit, channel);
    world->SaveServerTree();
}

// The script and macro settings windows show a column per server.
void CMainFrame::RefreshServerColumns()
{
    if (!world)
        return;
    std::vector<TIRCUnit*> servers;
    world->GetUnitsInTreeOrder(servers);
    TServerFileListDialog* windows[] = {scriptSelect.Get(), macroSelect.Get()};
    for (TServerFileListDialog* window : windows) {
        if (!window || !window->m_hWnd)
            continue;
        // The widths of the columns as they stand go to their servers before the columns change.
        window->SaveLayout();
        window->SetServers(servers);
        window->RebuildColumns();
        window->RefreshList();
    }
}
