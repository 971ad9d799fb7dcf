// Text of several lines is confirmed before it goes to a channel; the about box; the order of
// the servers and their channels, edited in a copy and then applied to the real tree by name.

#include "mainframe/MainApp.h"
#include "mainframe/MainFrame.h"

#include "controls/Clipboard.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/AutoOpDialog.h"
#include "dialogs/PasteDialog.h"
#include "dialogs/TreeDialog.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

namespace {

HTREEITEM FindChildByText(TTreeView* tree, HTREEITEM parent, const CString& text)
{
    HTREEITEM item = parent ? tree->GetChildItem(parent) : tree->GetRootItem();
    for (; item; item = tree->GetNextSiblingItem(item))
        if (tree->GetItemText(item) == text)
            return item;
    return nullptr;
}

// Moves the item with its branch to the end of its siblings; the new handle.
HTREEITEM MoveToEnd(TTreeView* tree, HTREEITEM item)
{
    HTREEITEM parent = tree->GetParentItem(item);
    HTREEITEM copy = tree->CopyItem(item, parent ? parent : TVI_ROOT, TVI_LAST);
    tree->DeleteItem(item);
    return copy;
}

} // namespace

void CMainApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}

void CMainFrame::OnAppAbout() { app->OnAppAbout(); }

void CMainFrame::OnSendMultiLine()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit || !channel || unit->GetState() != TIRCUnit::StateLoggedIn || !channel->IsJoined())
        return;
    ConfirmAndSendLines(unit, channel, GetClipboardText(), false);
}

void CMainFrame::ConfirmAndSendLines(TIRCUnit* unit, TIRCChannel* channel, const CString& text, bool pasteMode)
{
    TPreference& preference = settings->preference;
    TSize2& size = settings->geometry.pasteSize;
    TPasteDialog dialog(this);
    dialog.SetText(text);
    dialog.SetQuote(preference.ReferenceMark);
    dialog.notice = preference.SendMultiLineByNotice;
    dialog.pasteMode = pasteMode;
    dialog.SetSize(size.width, size.height);
    // The dialog's loop takes the servers' lines: the node may go and another take its memory.
    unsigned unitSerial = unit->GetSerial(), channelSerial = channel->GetSerial();
    bool confirmed = dialog.DoModal() == IDOK;
    unit = confirmed && world ? world->FindUnitBySerial(unitSerial) : nullptr;
    channel = unit ? unit->FindChannelBySerial(channelSerial) : nullptr;
    // An emptied text sends nothing; the choices below are kept whatever the answer.
    if (channel)
        world->SendPastedText(unit, channel, dialog.GetText(), dialog.notice);
    preference.ReferenceMark = dialog.GetQuote();
    preference.SendMultiLineByNotice = dialog.notice;
    size = {dialog.GetWidth(), dialog.GetHeight()};
    preference.Save(settings->GetSettingsFolder());
}

void CMainFrame::EditServerTree()
{
    if (!world)
        return;
    TTreeDialog dialog;
    world->StoreServerTree(dialog.world);
    dialog.imageList = contentPanel.GetTreeImageList();
    if (dialog.DoModal() != IDOK)
        return;
    TWorldConfig order = dialog.GetWorldConfig();
    TTreeView* tree = contentPanel.GetServerTree();

    // Moving an item away from the selection must not select, and so clear the marks of, its neighbours.
    TIRCWorld::TSelectionHold hold(*world);
    CString selectedUnit, selectedChannel;
    if (HTREEITEM selected = tree->GetSelectedItem()) {
        if (HTREEITEM parent = tree->GetParentItem(selected)) {
            selectedUnit = tree->GetItemText(parent);
            selectedChannel = tree->GetItemText(selected);
        } else {
            selectedUnit = tree->GetItemText(selected);
        }
    }

    for (const TUnitConfig& unit : order.Units) {
        HTREEITEM unitItem = FindChildByText(tree, nullptr, unit.Name);
        if (!unitItem)
            continue;
        unitItem = MoveToEnd(tree, unitItem);
        for (const TChannelConfig& channel : unit.Channels)
            if (HTREEITEM channelItem = FindChildByText(tree, unitItem, channel.Name))
                MoveToEnd(tree, channelItem);
    }

    if (HTREEITEM unitItem = selectedUnit.IsEmpty() ? nullptr : FindChildByText(tree, nullptr, selectedUnit)) {
        HTREEITEM channelItem = selectedChannel.IsEmpty() ? nullptr : FindChildByText(tree, unitItem, selectedChannel);
        tree->SelectItem(channelItem ? channelItem : unitItem);
    }
    RefreshServerColumns();
    world->SaveServerTree();
}
