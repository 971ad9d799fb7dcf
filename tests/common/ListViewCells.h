#pragma once
// Where a user points at a list view's cell or a row's check box.

#include "tests/common/UserInput.h"

#include <commctrl.h>

// The screen point at the middle of the cell; the first column's bounds span the whole row, so
// its cell ends at the column's width.
inline POINT ListViewCellPoint(HWND list, int row, int column)
{
    RECT rect = {};
    ListView_GetSubItemRect(list, row, column, LVIR_BOUNDS, &rect);
    if (column == 0)
        rect.right = rect.left + ListView_GetColumnWidth(list, 0);
    return ScreenPointOf(list, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// The screen point on the row's check box, which sits at the row's left end.
inline POINT ListViewCheckBoxPoint(HWND list, int row)
{
    RECT rect = {};
    ListView_GetItemRect(list, row, &rect, LVIR_BOUNDS);
    return ScreenPointOf(list, rect.left + 8, (rect.top + rect.bottom) / 2);
}
