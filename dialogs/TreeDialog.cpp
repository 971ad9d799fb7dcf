#include "dialogs/TreeDialog.h"

#include "classlib/CmdUI.h"
#include "classlib/ToolBar.h"
#include "res/windows/paste.h"

TTreeDialog::TTreeDialog() : TUpdateDialog(IDD_TREE_DIALOG) {}

BOOL TTreeDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    tree.SubclassDlgItem(IDC_TREE_VIEW, m_hWnd);
    tree.listener = this;
    tree.dragListener = this;
    if (imageList)
        tree.SetImageList(imageList->m_hImageList, TVSIL_NORMAL);
    for (const TUnitConfig& unit : world.Units) {
        int image = unit.ExtraFlag ? 0 : 1;
        HTREEITEM unitItem = tree.InsertItem(unit.Name);
        TVITEMW item = {};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = unitItem;
        item.iImage = item.iSelectedImage = image;
        tree.SendMessage(TVM_SETITEMW, 0, (LPARAM)&item);
        for (const TChannelConfig& channel : unit.Channels) {
            HTREEITEM channelItem = tree.InsertItem(channel.Name, unitItem);
            item.hItem = channelItem;
            item.iImage = item.iSelectedImage = channel.ExtraFlag ? 2 : channel.AutoJoin ? 3 : 4;
            tree.SendMessage(TVM_SETITEMW, 0, (LPARAM)&item);
        }
        tree.Expand(unitItem, TVE_EXPAND);
    }
    if (HTREEITEM first = tree.GetRootItem())
        tree.SelectItem(first);
    return TRUE;
}

void TTreeDialog::OnUpdateUp(CCmdUI* ui)
{
    HTREEITEM selected = tree.GetSelectedItem();
    ui->Enable(selected && tree.GetPrevSiblingItem(selected));
}

void TTreeDialog::OnUpdateDown(CCmdUI* ui)
{
    HTREEITEM selected = tree.GetSelectedItem();
    ui->Enable(selected && tree.GetNextSiblingItem(selected));
}

// The neighbour moves below, so the selected item keeps its handle and its selection.
void TTreeDialog::OnUp()
{
    HTREEITEM selected = tree.GetSelectedItem();
    HTREEITEM previous = selected ? tree.GetPrevSiblingItem(selected) : nullptr;
    if (!previous)
        return;
    HTREEITEM parent = tree.GetParentItem(selected);
    tree.CopyItem(previous, parent ? parent : TVI_ROOT, selected);
    tree.DeleteItem(previous);
    tree.SelectItem(selected);
    ::SetFocus(tree.m_hWnd);
}

void TTreeDialog::OnDown()
{
    HTREEITEM selected = tree.GetSelectedItem();
    HTREEITEM next = selected ? tree.GetNextSiblingItem(selected) : nullptr;
    if (!next)
        return;
    HTREEITEM parent = tree.GetParentItem(selected);
    HTREEITEM copy = tree.CopyItem(selected, parent ? parent : TVI_ROOT, next);
    tree.DeleteItem(selected);
    tree.SelectItem(copy);
    ::SetFocus(tree.m_hWnd);
}

HTREEITEM TTreeDialog::ResolveTarget(HTREEITEM dragged, HTREEITEM target) const
{
    if (!dragged || !target)
        return nullptr;
    HTREEITEM server = tree.GetItemDepth(target) == 0 ? target : tree.GetParentItem(target);
    if (tree.GetItemDepth(dragged) == 0)
        return server;
    HTREEITEM own = tree.GetParentItem(dragged);
    if (server == own)
        return target == own ? tree.GetChildItem(own) : target;
    for (HTREEITEM after = tree.GetNextSiblingItem(own); after; after = tree.GetNextSiblingItem(after))
        if (after == server)
            return tree.GetLastChild(own);
    return tree.GetChildItem(own);
}

void TTreeDialog::OnDragOver(TTreeView*, HTREEITEM dragged, HTREEITEM& target)
{
    target = ResolveTarget(dragged, target);
}

void TTreeDialog::OnDrop(TTreeView*, HTREEITEM dragged, HTREEITEM target)
{
    HTREEITEM goal = ResolveTarget(dragged, target);
    if (!goal || goal == dragged)
        return;
    bool below = false;
    for (HTREEITEM item = dragged; item; item = tree.GetNextSiblingItem(item))
        if (item == goal) {
            below = true;
            break;
        }
    HTREEITEM parent = tree.GetParentItem(dragged);
    HTREEITEM after = goal;
    if (!below) {
        after = tree.GetPrevSiblingItem(goal);
        if (!after)
            after = TVI_FIRST;
    }
    HTREEITEM copy = tree.CopyItem(dragged, parent ? parent : TVI_ROOT, after);
    tree.DeleteItem(dragged);
    tree.SelectItem(copy);
}

void TTreeDialog::OnOK()
{
    TWorldConfig rebuilt;
    for (HTREEITEM unitItem = tree.GetRootItem(); unitItem; unitItem = tree.GetNextSiblingItem(unitItem)) {
        TUnitConfig unit;
        unit.Name = tree.GetItemText(unitItem);
        for (HTREEITEM item = tree.GetChildItem(unitItem); item; item = tree.GetNextSiblingItem(item)) {
            TChannelConfig channel;
            channel.Name = tree.GetItemText(item);
            unit.Channels.push_back(channel);
        }
        rebuilt.Units.push_back(unit);
    }
    world = rebuilt;
    TUpdateDialog::OnOK();
}
