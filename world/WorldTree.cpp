// The server tree: one root item per unit, its channels and talks below, the nodes as item data;
// its colours, sorting and moves.
#include "world/IRCWorld.h"

#include "settings/Config.h"
#include "world/WorldFrame.h"

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

void SetItemImage(TTreeView* tree, HTREEITEM item, int image)
{
    TVITEMW tv = {};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.iImage = tv.iSelectedImage = image;
    tree->SendMessage(TVM_SETITEMW, 0, (LPARAM)&tv);
}

HTREEITEM InsertNodeItem(TTreeView* tree, HTREEITEM parent, HTREEITEM after, const CString& text, void* node, int image)
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

void* TIRCWorld::TreeItemData(HTREEITEM item) const
{
    TVITEMW tv = {};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    return serverTree->GetItem(&tv) ? (void*)tv.lParam : nullptr;
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
            auto* sibling = (TIRCChannel*)TreeItemData(child);
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
    if (!serverTree || !unit)
        return nullptr;
    for (HTREEITEM item = serverTree->GetRootItem(); item; item = serverTree->GetNextSiblingItem(item))
        if (TreeItemData(item) == unit)
            return item;
    return nullptr;
}

HTREEITEM TIRCWorld::FindChannelTreeItem(HTREEITEM unitItem, const TIRCChannel* channel) const
{
    if (!unitItem || !channel)
        return nullptr;
    for (HTREEITEM item = serverTree->GetChildItem(unitItem); item; item = serverTree->GetNextSiblingItem(item))
        if (TreeItemData(item) == channel)
            return item;
    return nullptr;
}

void TIRCWorld::RefreshTreeItem(TIRCUnit* unit, TIRCChannel* channel)
{
    if (!serverTree || !HasUnit(unit))
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
    if (!item)
        return;
    // Selecting clears the marks of the node selected: only a deleted selection moves it.
    HTREEITEM selected = serverTree->GetSelectedItem();
    if (selected && (selected == item || serverTree->GetParentItem(selected) == item)) {
        HTREEITEM next = serverTree->GetNextSiblingItem(item);
        if (!next)
            next = serverTree->GetNextItem(item, TVGN_PREVIOUS);
        if (!next)
            next = serverTree->GetParentItem(item);
        serverTree->SelectItem(next);
    }
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
        unit = (TIRCUnit*)TreeItemData(parent);
        channel = (TIRCChannel*)TreeItemData(item);
    } else {
        unit = (TIRCUnit*)TreeItemData(item);
    }
}

void TIRCWorld::OnSelChanged(TTreeView*, HTREEITEM, HTREEITEM)
{
    if (selectionHeld)
        return;
    TIRCUnit* unit;
    TIRCChannel* channel;
    ReadTreeSelection(unit, channel);
    Select(unit, channel, true);
}

void TIRCWorld::SelectTreeItem(TIRCUnit* unit, TIRCChannel* channel)
{
    if (!serverTree)
        return;
    HTREEITEM item = FindUnitTreeItem(unit);
    if (channel)
        item = FindChannelTreeItem(item, channel);
    if (serverTree->GetSelectedItem() != item)
        serverTree->SelectItem(item);
}

void TIRCWorld::EndSelectionHold()
{
    if (--selectionHeld > 0 || !serverTree)
        return;
    TIRCUnit* unit;
    TIRCChannel* channel;
    ReadTreeSelection(unit, channel);
    if (unit != currentUnit || channel != currentChannel)
        Select(unit, channel, true);
    else
        UpdateTitle(); // a rename meanwhile read the selection from the tree while it was elsewhere
}

void TIRCWorld::ExpandUnitItem(TIRCUnit* unit)
{
    if (HTREEITEM item = FindUnitTreeItem(unit))
        serverTree->Expand(item, TVE_EXPAND);
}

void TIRCWorld::RedrawTree()
{
    if (serverTree)
        serverTree->InvalidateRect(nullptr, TRUE);
}

namespace {

// Letters A to Z folded, nothing else: the order does not depend on the system's locale.
int CompareFolded(const CString& a, const CString& b)
{
    int n = a.GetLength() < b.GetLength() ? a.GetLength() : b.GetLength();
    for (int i = 0; i < n; i++) {
        wchar_t x = a[i] >= L'a' && a[i] <= L'z' ? a[i] - 32 : a[i];
        wchar_t y = b[i] >= L'a' && b[i] <= L'z' ? b[i] - 32 : b[i];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.GetLength() - b.GetLength();
}

int CALLBACK CompareUnitItems(LPARAM a, LPARAM b, LPARAM)
{
    return CompareFolded(((TIRCUnit*)a)->GetName(), ((TIRCUnit*)b)->GetName());
}

// Channels before talks, talks before DCC chats.
int CALLBACK CompareChannelItems(LPARAM a, LPARAM b, LPARAM)
{
    auto* x = (TIRCChannel*)a;
    auto* y = (TIRCChannel*)b;
    if (x->GetKind() != y->GetKind())
        return x->GetKind() - y->GetKind();
    return CompareFolded(x->GetName(), y->GetName());
}

} // namespace

void TIRCWorld::SortChildren(HTREEITEM parent)
{
    TVSORTCB sort = {};
    sort.hParent = parent;
    sort.lpfnCompare = parent == TVI_ROOT ? &CompareUnitItems : &CompareChannelItems;
    serverTree->SendMessage(TVM_SORTCHILDRENCB, 0, (LPARAM)&sort);
}

void TIRCWorld::SelectByNames(const CString& unitName, const CString& channelName)
{
    TIRCUnit* unit = FindUnit(unitName);
    Select(unit, unit && !channelName.IsEmpty() ? unit->FindChannel(channelName) : nullptr, false);
}

void TIRCWorld::NoteSelection(CString& unitName, CString& channelName) const
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    unitName = unit ? unit->GetName() : CString();
    channelName = channel ? channel->GetName() : CString();
}

void TIRCWorld::SortUnits() { SortChannels(TVI_ROOT); }

// TVI_ROOT sorts the servers; the selected node is found again by its names.
void TIRCWorld::SortChannels(HTREEITEM parent)
{
    if (!serverTree || !preference->SortTree || !parent)
        return;
    CString unitName, channelName;
    NoteSelection(unitName, channelName);
    SortChildren(parent);
    SelectByNames(unitName, channelName);
}

void TIRCWorld::SortTree()
{
    if (!serverTree || !preference->SortTree)
        return;
    CString unitName, channelName;
    NoteSelection(unitName, channelName);
    SortChildren(TVI_ROOT);
    for (HTREEITEM item = serverTree->GetRootItem(); item; item = serverTree->GetNextSiblingItem(item)) {
        bool expanded = (serverTree->GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        SortChildren(item);
        serverTree->Expand(item, expanded ? TVE_EXPAND : TVE_COLLAPSE);
    }
    SelectByNames(unitName, channelName);
}

void TIRCWorld::MoveSelectedNode(bool up)
{
    if (!serverTree)
        return;
    HTREEITEM selected = serverTree->GetSelectedItem();
    HTREEITEM neighbour = selected ? serverTree->GetNextItem(selected, up ? TVGN_PREVIOUS : TVGN_NEXT) : nullptr;
    if (!neighbour)
        return;
    HTREEITEM parent = serverTree->GetParentItem(selected);
    HTREEITEM after = selected;
    if (!up) {
        after = serverTree->GetNextItem(selected, TVGN_PREVIOUS);
        after = after ? after : TVI_FIRST;
    }
    // The selected item is never re-created, so the selection and the current node stay put.
    HTREEITEM copy = serverTree->CopyItem(neighbour, parent ? parent : TVI_ROOT, after);
    if (copy && !parent) {
        bool expanded = (serverTree->GetItemState(neighbour, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        serverTree->Expand(copy, expanded ? TVE_EXPAND : TVE_COLLAPSE);
    }
    serverTree->DeleteItem(neighbour);
    serverTree->ScrollItemIntoView(selected);
}

void TIRCWorld::OnCustomDraw(TTreeView* tree, NMHDR* header, LRESULT* result)
{
    auto* draw = (NMTVCUSTOMDRAW*)header;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    const bool after = draw->nmcd.dwDrawStage == CDDS_ITEMPOSTPAINT;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT && !after) {
        *result = 0;
        return;
    }
    auto item = (HTREEITEM)draw->nmcd.dwItemSpec;
    int depth = tree->GetItemDepth(item);
    // A channel's number goes over the row the control has painted.
    *result = after ? 0 : depth == 1 ? CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT : CDRF_NEWFONT;
    void* data = (void*)draw->nmcd.lItemlParam;
    if (!data)
        return;
    TIRCNode* node = depth == 0 ? static_cast<TIRCNode*>((TIRCUnit*)data) : static_cast<TIRCNode*>((TIRCChannel*)data);
    bool inactive = frame && !frame->IsApplicationActive() && preference->HideSelectionOnInactive;
    TRowColors row = TreeRowColors(config->view.settings.tree, tree->GetSelectedItem() == item && !inactive,
                                   node->keywordMark, node->newTalkMark, node->updateMark);
    draw->clrText = row.text;
    draw->clrTextBk = row.back;
    if (after)
        tree->DrawSiblingNumber(draw); // the number that Ctrl+digit selects
}
