#include "dialogs/UserGroupDialog.h"

#include "controls/IconImageList.h"

// Group 0 of the list is the user's own; the tree shows the numbered ones first.
void TUserGroupDialog::FillTree()
{
    const UINT icons[] = {IDI_USER_GROUP, IDI_USER_SELF};
    if (BuildIconImageList(images, icons, 2))
        tree.SetImageList(images.m_hImageList, TVSIL_NORMAL);
    for (int i = 0; i < 5; i++)
        InsertTreeItem(groups.groups[i + 1].name, TVI_ROOT, 0, i);
    InsertTreeItem(groups.groups[0].name, TVI_ROOT, 1, SelfGroupData);
    tree.SelectItem(tree.GetRootItem());
}

LPARAM TUserGroupDialog::GetItemData(HTREEITEM item) const
{
    TVITEMW tv = {};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    tree.SendMessage(TVM_GETITEMW, 0, (LPARAM)&tv);
    return tv.lParam;
}

TUserGroup* TUserGroupDialog::FindGroup(HTREEITEM item)
{
    if (!item || tree.GetParentItem(item))
        return nullptr;
    LPARAM data = GetItemData(item);
    if (data == SelfGroupData)
        return &groups.groups[0];
    if (data >= 0 && data < 5)
        return &groups.groups[data + 1];
    return nullptr;
}

std::vector<CString>* TUserGroupDialog::FindItemMasks(HTREEITEM item)
{
    TUserGroup* group = FindGroup(item);
    return group ? &group->masks : nullptr;
}

void TUserGroupDialog::LoadItemExtras(HTREEITEM item)
{
    TUserGroup* group = FindGroup(item);
    if (!group)
        return;
    loading = true;
    ::SetWindowTextW(GetDlgItem(IDC_GROUP_NAME), group->name);
    loading = false;
    ::EnableWindow(GetDlgItem(IDC_GROUP_NAME), group != &groups.groups[0]);
}

void TUserGroupDialog::OnNameChange()
{
    if (loading || !tree.m_hWnd)
        return;
    HTREEITEM item = tree.GetSelectedItem();
    TUserGroup* group = FindGroup(item);
    if (!group || group == &groups.groups[0])
        return;
    group->name = GetControlText(GetDlgItem(IDC_GROUP_NAME));
    tree.SetItemText(item, group->name);
}

HTREEITEM TUserGroupDialog::FindItemByData(LPARAM data) const
{
    for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item))
        if (GetItemData(item) == data)
            return item;
    return nullptr;
}

void TUserGroupDialog::SelectGroupItem(int index)
{
    if (HTREEITEM item = FindItemByData(index))
        tree.SelectItem(item);
}

void TUserGroupDialog::SelectSpecialGroupItem()
{
    if (HTREEITEM item = FindItemByData(SelfGroupData))
        tree.SelectItem(item);
}

void TUserGroupDialog::ReportOK()
{
    if (listener)
        listener->OnUserGroupDialogOK(this);
}

void TUserGroupDialog::ReportClose()
{
    if (listener)
        listener->OnUserGroupDialogClose(this);
}
