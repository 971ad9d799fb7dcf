#include "macrowindows/RowListDialog.h"

#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"

#include <algorithm>
#include <climits>

bool TRowListDialog::OnKeyDown(UINT key)
{
    if (key != VK_RETURN)
        return false;
    OnEdit();
    return true;
}

BOOL TRowListDialog::OnInitDialog()
{
    TResizableDialog::OnInitDialog();
    for (UINT id : {(UINT)IDOK, (UINT)IDCANCEL, (UINT)IDC_ROWS_HINT})
        Anchor(id, LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM);
    Anchor(IDC_ROWS_LIST, LAYOUT_ANCHOR_ALL);
    initialised = true;
    return TRUE;
}

void TRowListDialog::SetUpList(DWORD extendedStyle)
{
    list.SubclassDlgItem(IDC_ROWS_LIST, m_hWnd);
    list.listener = this;
    LONG_PTR style = GetWindowLongPtrW(list.m_hWnd, GWL_STYLE);
    SetWindowLongPtrW(list.m_hWnd, GWL_STYLE, style | LVS_SINGLESEL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | extendedStyle);
}

void TRowListDialog::InsertColumns(const std::vector<TColumn>& columns, std::vector<int>& widths,
                                   const std::vector<int>& defaults)
{
    for (size_t i = 0; i < columns.size(); i++) {
        CString heading = LoadResourceString(columns[i].heading);
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        info.fmt = columns[i].format;
        info.pszText = const_cast<LPWSTR>(heading.GetString());
        // A column the user dragged shut stays shut: a stored 0 is a width like any other.
        info.cx = i < widths.size() ? std::clamp(widths[i], 0, SHRT_MAX) : defaults[i];
        ListView_InsertColumn(list.m_hWnd, (int)i, &info);
    }
    widths.resize(columns.size());
}

void TRowListDialog::ShowRows(const TSize2& size, SIZE fallback)
{
    SizeAndCentre(size.width, size.height, fallback);
    list.SetFocus();
    SelectRow(0);
}

void TRowListDialog::StoreGeometry(std::vector<int>& widths, TSize2& size) const
{
    for (size_t i = 0; i < widths.size(); i++)
        widths[i] = ListView_GetColumnWidth(list.m_hWnd, (int)i);
    size = {width, height};
}

void TRowListDialog::SelectRow(int row)
{
    if (row < 0 || row >= list.GetItemCount()) {
        list.ClearSelectionAndFocus();
        return;
    }
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list.m_hWnd, row, FALSE);
}

int TRowListDialog::RowAfterSelection() const
{
    int selected = Selected();
    return selected >= 0 ? selected + 1 : list.GetItemCount();
}

void TRowListDialog::OnCopy()
{
    int selected = Selected();
    if (selected < 0)
        return;
    DuplicateRow(selected, selected + 1);
    SelectRow(selected + 1);
}

void TRowListDialog::OnDelete()
{
    int selected = Selected();
    if (selected < 0)
        return;
    ListView_DeleteItem(list.m_hWnd, selected);
    SelectRow(std::min(selected, list.GetItemCount() - 1));
}

void TRowListDialog::OnUp()
{
    int selected = Selected();
    if (selected <= 0)
        return;
    DuplicateRow(selected, selected - 1);
    ListView_DeleteItem(list.m_hWnd, selected + 1);
    SelectRow(selected - 1);
}

void TRowListDialog::OnDown()
{
    int selected = Selected();
    if (selected < 0 || selected >= list.GetItemCount() - 1)
        return;
    DuplicateRow(selected, selected + 2);
    ListView_DeleteItem(list.m_hWnd, selected);
    SelectRow(selected + 1);
}

void TRowListDialog::OnUpdateSelected(CCmdUI* ui) { ui->Enable(Selected() >= 0); }
void TRowListDialog::OnUpdateUp(CCmdUI* ui) { ui->Enable(Selected() > 0); }

void TRowListDialog::OnUpdateDown(CCmdUI* ui)
{
    int selected = Selected();
    ui->Enable(selected >= 0 && selected < list.GetItemCount() - 1);
}
