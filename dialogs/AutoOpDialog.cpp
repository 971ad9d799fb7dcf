#include "dialogs/AutoOpDialog.h"

#include "foundation/ResourceString.h"
#include "res/resource.h"

namespace {

// The images of the main window's server tree.
enum { kImageServerOpen, kImageServer, kImageJoined, kImageAutoJoin, kImageChannel, kImageWorld = 7 };

} // namespace

void TAutoOpDialog::FillTree()
{
    if (images)
        tree.SetImageList(images, TVSIL_NORMAL);
    HTREEITEM root = InsertTreeItem(LoadResourceString(IDS_AUTO_OP_WORLD), TVI_ROOT, kImageWorld, 0);
    for (const TUnitConfig& unit : world.Units) {
        HTREEITEM unitItem = InsertTreeItem(unit.Name, root, unit.ExtraFlag ? kImageServerOpen : kImageServer, 0);
        for (const TChannelConfig& channel : unit.Channels) {
            int image = channel.ExtraFlag ? kImageJoined : channel.AutoJoin ? kImageAutoJoin : kImageChannel;
            InsertTreeItem(channel.Name, unitItem, image, 0);
        }
    }
    tree.Expand(root, TVE_EXPAND);
    tree.ExpandAll(root, TVE_EXPAND);
    tree.SelectItem(root);
}

TUnitConfig* TAutoOpDialog::FindUnitConfig(const CString& name)
{
    for (TUnitConfig& unit : world.Units)
        if (unit.Name == name)
            return &unit;
    return nullptr;
}

// Items are found again by their names; servers or channels of one name share the first's list.
std::vector<CString>* TAutoOpDialog::FindItemMasks(HTREEITEM item)
{
    int depth = tree.GetItemDepth(item);
    if (depth == 0)
        return &world.AutoOpMasks;
    if (depth == 1) {
        TUnitConfig* unit = FindUnitConfig(tree.GetItemText(item));
        return unit ? &unit->AutoOpMasks : nullptr;
    }
    if (depth == 2) {
        TUnitConfig* unit = FindUnitConfig(tree.GetItemText(tree.GetParentItem(item)));
        if (!unit)
            return nullptr;
        CString name = tree.GetItemText(item);
        for (TChannelConfig& channel : unit->Channels)
            if (channel.Name == name)
                return &channel.AutoOpMasks;
    }
    return nullptr;
}

void TAutoOpDialog::SelectNode(const CString& serverName, const CString& channelName)
{
    HTREEITEM root = tree.GetRootItem();
    if (!root)
        return;
    if (serverName.IsEmpty()) {
        tree.SelectItem(root);
        return;
    }
    for (HTREEITEM unit = tree.GetChildItem(root); unit; unit = tree.GetNextSiblingItem(unit)) {
        if (tree.GetItemText(unit) != serverName)
            continue;
        if (channelName.IsEmpty()) {
            tree.SelectItem(unit);
            return;
        }
        for (HTREEITEM channel = tree.GetChildItem(unit); channel; channel = tree.GetNextSiblingItem(channel)) {
            if (tree.GetItemText(channel) == channelName) {
                tree.SelectItem(channel);
                return;
            }
        }
        // A talk, or a channel joined after the dialog opened: the server's own masks rather
        // than whatever level was selected before.
        tree.SelectItem(unit);
        return;
    }
}

namespace {

// The named records first, in the names' order; the others keep theirs after them.
template <class TRecord, class TNamed>
void OrderByNames(std::vector<TRecord>& records, const std::vector<TNamed>& named)
{
    std::vector<TRecord> ordered;
    std::vector<bool> taken(records.size(), false);
    for (const TNamed& name : named)
        for (size_t i = 0; i < records.size(); i++)
            if (!taken[i] && records[i].Name == name.Name) {
                ordered.push_back(records[i]);
                taken[i] = true;
                break;
            }
    for (size_t i = 0; i < records.size(); i++)
        if (!taken[i])
            ordered.push_back(records[i]);
    records.swap(ordered);
}

} // namespace

void TAutoOpDialog::TakeTreeOrder(const TWorldConfig& order)
{
    HTREEITEM selected = tree.GetSelectedItem();
    CString serverName, channelName;
    int depth = selected ? tree.GetItemDepth(selected) : 0;
    if (depth == 1) {
        serverName = tree.GetItemText(selected);
    } else if (depth == 2) {
        serverName = tree.GetItemText(tree.GetParentItem(selected));
        channelName = tree.GetItemText(selected);
    }
    if (selected)
        StoreItem(selected);
    OrderByNames(world.Units, order.Units);
    for (TUnitConfig& unit : world.Units)
        for (const TUnitConfig& ordered : order.Units)
            if (ordered.Name == unit.Name) {
                OrderByNames(unit.Channels, ordered.Channels);
                break;
            }
    // Rebuilt without the selection events, which would store one item's list into another.
    ITreeViewListener* events = tree.listener;
    tree.listener = nullptr;
    tree.DeleteItem(TVI_ROOT);
    FillTree();
    SelectNode(serverName, channelName);
    tree.listener = events;
    if (HTREEITEM now = tree.GetSelectedItem())
        LoadItem(now);
}

void TAutoOpDialog::ReportOK()
{
    if (listener)
        listener->OnAutoOpDialogOK(this);
}

void TAutoOpDialog::ReportClose()
{
    if (listener)
        listener->OnAutoOpDialogClose(this);
}
