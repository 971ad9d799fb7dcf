#include "dialogs/AutoOpDialog.h"

#include "foundation/ResourceString.h"
#include "res/resource.h"

#include <algorithm>

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

bool TAutoOpDialog::SelectNode(const CString& serverName, const CString& channelName)
{
    HTREEITEM root = tree.GetRootItem();
    if (!root)
        return false;
    if (serverName.IsEmpty()) {
        tree.SelectItem(root);
        return true;
    }
    for (HTREEITEM unit = tree.GetChildItem(root); unit; unit = tree.GetNextSiblingItem(unit)) {
        if (tree.GetItemText(unit) != serverName)
            continue;
        if (channelName.IsEmpty()) {
            tree.SelectItem(unit);
            return true;
        }
        HTREEITEM level = unit;
        for (HTREEITEM channel = tree.GetChildItem(unit); channel; channel = tree.GetNextSiblingItem(channel)) {
            if (tree.GetItemText(channel) == channelName) {
                level = channel;
                break;
            }
        }
        // A talk, or a channel the window does not list, has its masks at its server.
        tree.SelectItem(level);
        return true;
    }
    return false;
}

void TAutoOpDialog::RenameServer(const CString& oldName, const CString& newName)
{
    TUnitConfig* unit = FindUnitConfig(oldName);
    if (!unit)
        return;
    unit->Name = newName;
    // The item too, or the selected one would no longer find its list.
    if (HTREEITEM root = m_hWnd ? tree.GetRootItem() : nullptr)
        for (HTREEITEM item = tree.GetChildItem(root); item; item = tree.GetNextSiblingItem(item))
            if (tree.GetItemText(item) == oldName) {
                tree.SetItemText(item, newName);
                break;
            }
}

namespace {

// The first record of the name not taken yet, so records of one name pair up in their order.
template <class TRecord>
TRecord* TakeByName(std::vector<TRecord>& records, std::vector<bool>& taken, const CString& name)
{
    for (size_t i = 0; i < records.size(); i++)
        if (!taken[i] && records[i].Name == name) {
            taken[i] = true;
            return &records[i];
        }
    return nullptr;
}

template <class TRecord> bool SameNames(const std::vector<TRecord>& a, const std::vector<TRecord>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TRecord& x, const TRecord& y) { return x.Name == y.Name; });
}

// The same servers with the same channels in the same order: the tree needs no rebuilding.
bool SameShape(const TWorldConfig& a, const TWorldConfig& b)
{
    return std::equal(a.Units.begin(), a.Units.end(), b.Units.begin(), b.Units.end(),
                      [](const TUnitConfig& x, const TUnitConfig& y) {
                          return x.Name == y.Name && SameNames(x.Channels, y.Channels);
                      });
}

} // namespace

void TAutoOpDialog::FollowTree(const TWorldConfig& now)
{
    HTREEITEM selected = m_hWnd ? tree.GetSelectedItem() : nullptr;
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
    // What the window holds keeps the masks edited here; what is new comes with its own.
    TWorldConfig followed = now;
    static_cast<TWorldSetting&>(followed) = world;
    std::vector<bool> takenUnits(world.Units.size());
    for (TUnitConfig& unit : followed.Units) {
        TUnitConfig* held = TakeByName(world.Units, takenUnits, unit.Name);
        if (!held)
            continue;
        unit.AutoOpMasks = held->AutoOpMasks;
        std::vector<bool> takenChannels(held->Channels.size());
        for (TChannelConfig& channel : unit.Channels)
            if (TChannelConfig* heldChannel = TakeByName(held->Channels, takenChannels, channel.Name))
                channel.AutoOpMasks = heldChannel->AutoOpMasks;
    }
    bool reshaped = !SameShape(world, followed);
    world = followed;
    if (!m_hWnd || !reshaped)
        return;
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
