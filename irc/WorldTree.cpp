// The server tree: one root item per unit, its channels and talks below, the nodes as item data.
#include "irc/IRCWorld.h"

namespace {

enum { kImageServerOpen, kImageServer, kImageJoined, kImageAutoJoin, kImageChannel, kImageTalk, kImageDccTalk };

int UnitImage(const TIRCUnit* unit)
{
    return unit->GetState() != TIRCUnit::StateDisconnected ? kImageServerOpen : kImageServer;
}

int ChannelImage(const TIRCChannel* channel)
{
    if (channel->GetKind() == TIRCChannel::KindChannel)
        return channel->IsJoined() ? kImageJoined : channel->GetConfig().AutoJoin ? kImageAutoJoin : kImageChannel;
    return channel->GetKind() == TIRCChannel::KindTalk ? kImageTalk : kImageDccTalk;
}

void* ItemData(const TTreeView* tree, HTREEITEM item)
{
    TVITEMW tv = {};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    return tree->GetItem(&tv) ? (void*)tv.lParam : nullptr;
}

void SetItemImage(TTreeView* tree, HTREEITEM item, int image)
{
    TVITEMW tv = {};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.iImage = tv.iSelectedImage = image;
    tree->SendMessage(TVM_SETITEMW, 0, (LPARAM)&tv);
}

HTREEITEM InsertNodeItem(TTreeView* tree, HTREEITEM parent, HTREEITEM after, const CString& text, void* node,
                         int image)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = (LPWSTR)text.GetString();
    insert.item.lParam = (LPARAM)node;
    insert.item.iImage = insert.item.iSelectedImage = image;
    return tree->InsertItem(&insert);
}

} // namespace

void TIRCWorld::Attach(TTreeView* tree)
{
    serverTree = tree;
    serverTree->listener = this;
}

HTREEITEM TIRCWorld::InsertUnitTreeItem(TIRCUnit* unit)
{
    bool wasEmpty = !serverTree->GetRootItem();
    HTREEITEM item = InsertNodeItem(serverTree, TVI_ROOT, TVI_LAST, unit->GetName(), unit, UnitImage(unit));
    if (item && wasEmpty)
        serverTree->SelectItem(item);
    return item;
}

HTREEITEM TIRCWorld::InsertChannelTreeItem(HTREEITEM unitItem, TIRCChannel* channel)
{
    HTREEITEM after = TVI_LAST;
    if (channel->GetKind() == TIRCChannel::KindChannel) {
        after = TVI_FIRST;
        for (HTREEITEM child = serverTree->GetChildItem(unitItem); child;
             child = serverTree->GetNextSiblingItem(child)) {
            auto* sibling = (TIRCChannel*)ItemData(serverTree, child);
            if (sibling->GetKind() != TIRCChannel::KindChannel)
                break;
            after = child;
        }
    }
    HTREEITEM item = InsertNodeItem(serverTree, unitItem, after, channel->GetName(), channel, ChannelImage(channel));
    serverTree->Expand(unitItem, TVE_EXPAND);
    return item;
}

HTREEITEM TIRCWorld::FindUnitTreeItem(const TIRCUnit* unit) const
{
    if (!serverTree)
        return nullptr;
    for (HTREEITEM item = serverTree->GetRootItem(); item; item = serverTree->GetNextSiblingItem(item))
        if (ItemData(serverTree, item) == unit)
            return item;
    return nullptr;
}

HTREEITEM TIRCWorld::FindChannelTreeItem(HTREEITEM unitItem, const TIRCChannel* channel) const
{
    if (!unitItem)
        return nullptr;
    for (HTREEITEM item = serverTree->GetChildItem(unitItem); item; item = serverTree->GetNextSiblingItem(item))
        if (ItemData(serverTree, item) == channel)
            return item;
    return nullptr;
}

void TIRCWorld::RefreshTreeItem(TIRCUnit* unit, TIRCChannel* channel)
{
    if (!HasUnit(unit))
        return;
    HTREEITEM unitItem = FindUnitTreeItem(unit);
    if (!channel) {
        if (unitItem)
            SetItemImage(serverTree, unitItem, UnitImage(unit));
    } else if (HTREEITEM item = unit->HasChannel(channel) ? FindChannelTreeItem(unitItem, channel) : nullptr) {
        SetItemImage(serverTree, item, ChannelImage(channel));
    }
}

void TIRCWorld::DeleteTreeItem(HTREEITEM item)
{
    HTREEITEM next = serverTree->GetNextSiblingItem(item);
    if (!next)
        next = serverTree->GetNextItem(item, TVGN_PREVIOUS);
    if (!next)
        next = serverTree->GetParentItem(item);
    serverTree->SelectItem(next);
    serverTree->DeleteItem(item);
}

void TIRCWorld::ReadTreeSelection(TIRCUnit*& unit, TIRCChannel*& channel) const
{
    unit = nullptr;
    channel = nullptr;
    HTREEITEM item = serverTree->GetSelectedItem();
    if (!item)
        return;
    if (HTREEITEM parent = serverTree->GetParentItem(item)) {
        unit = (TIRCUnit*)ItemData(serverTree, parent);
        channel = (TIRCChannel*)ItemData(serverTree, item);
    } else {
        unit = (TIRCUnit*)ItemData(serverTree, item);
    }
}

void TIRCWorld::OnSelChanged(TTreeView*, HTREEITEM, HTREEITEM)
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    ReadTreeSelection(unit, channel);
    Select(unit, channel, true);
}
