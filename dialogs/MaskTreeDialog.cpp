#include "dialogs/MaskTreeDialog.h"

#include "classlib/CmdUI.h"
#include "controls/KeyState.h"

TMaskTreeDialog::~TMaskTreeDialog() { DestroyWindow(); }

BOOL TMaskTreeDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    tree.SubclassDlgItem(IDC_MASK_TREE, m_hWnd);
    list.SubclassDlgItem(IDC_MASK_LIST, m_hWnd);
    edit.SubclassDlgItem(IDC_MASK_EDIT, m_hWnd);
    tree.listener = this;
    FillTree();
    return TRUE;
}

HTREEITEM TMaskTreeDialog::InsertTreeItem(const CString& text, HTREEITEM parent, int image, LPARAM data)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPWSTR>((LPCWSTR)text);
    insert.item.iImage = insert.item.iSelectedImage = image;
    insert.item.lParam = data;
    return tree.InsertItem(&insert);
}

void TMaskTreeDialog::StoreItem(HTREEITEM item)
{
    if (std::vector<CString>* masks = FindItemMasks(item))
        *masks = GetListedMasks();
}

void TMaskTreeDialog::LoadItem(HTREEITEM item)
{
    if (std::vector<CString>* masks = FindItemMasks(item))
        listed.Load(*masks);
    LoadItemExtras(item);
}

void TMaskTreeDialog::OnSelChanged(TTreeView*, HTREEITEM newItem, HTREEITEM oldItem)
{
    if (oldItem)
        StoreItem(oldItem);
    if (newItem)
        LoadItem(newItem);
}

std::vector<CString> TMaskTreeDialog::GetListedMasks() const { return listed.Texts(); }

// Thousands of picked members come one by one: each is found and measured once, and the list is
// drawn after the last.
int TMaskTreeDialog::AddMask(const CString& mask)
{
    listed.BeginBurst(m_hWnd, kEndBurstMessage);
    return listed.Add(mask);
}

LRESULT TMaskTreeDialog::OnEndBurst(WPARAM, LPARAM)
{
    listed.EndBurst();
    return 0;
}

void TMaskTreeDialog::SetMaskText(const CString& text) { edit.SetWindowText(text); }

// The tree keeps its own navigation and the edit shortcuts; anything else is typing meant for
// the mask edit, so it is sent there again.
bool TMaskTreeDialog::ForwardTreeKey(UINT key, UINT message)
{
    bool ctrl = IsKeyDown(VK_CONTROL), shift = IsKeyDown(VK_SHIFT), alt = IsKeyDown(VK_MENU);
    if ((key == VK_TAB || key == VK_UP || key == VK_DOWN) && !ctrl && !shift && !alt)
        return false;
    if ((key == 'C' || key == 'V' || key == 'X' || key == 'Z') && ctrl && !shift && !alt)
        return false;
    edit.SetFocus();
    int length = edit.GetWindowTextLength();
    edit.SetSel(length, length);
    if (key != VK_RETURN) {
        LPARAM lParam = 1 | ((LPARAM)::MapVirtualKeyW(key, 0 /* MAPVK_VK_TO_VSC */) << 16);
        if (message == WM_SYSKEYDOWN)
            lParam |= 1 << 29;
        edit.PostMessage(message, (WPARAM)key, lParam);
    }
    return true;
}

bool TMaskTreeDialog::OnKeyDown(UINT key) { return ForwardTreeKey(key, WM_KEYDOWN); }

bool TMaskTreeDialog::OnSysKeyDown(UINT key) { return ForwardTreeKey(key, WM_SYSKEYDOWN); }

void TMaskTreeDialog::OnOK()
{
    if (HTREEITEM selected = tree.GetSelectedItem())
        StoreItem(selected);
    TUpdateDialog::OnOK();
    ReportOK();
    ReportClose();
}

void TMaskTreeDialog::OnCancel()
{
    TUpdateDialog::OnCancel();
    ReportClose();
}
