#pragma once
// Texts a user reads in common controls of other windows, by handle.

#include "classlib/ListBox.h"
#include "classlib/TreeCtrl.h"

#include <commctrl.h>

#include <vector>

inline CString TreeItemText(HWND tree, HTREEITEM item)
{
    CTreeCtrlT<CWindow> view;
    view.m_hWnd = tree;
    return view.GetItemText(item);
}

// The texts of the item's children in order; a null item gives the root level's.
inline std::vector<CString> ChildTexts(HWND tree, HTREEITEM parent)
{
    std::vector<CString> texts;
    HTREEITEM item = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree);
    for (; item; item = TreeView_GetNextSibling(tree, item))
        texts.push_back(TreeItemText(tree, item));
    return texts;
}

inline std::vector<CString> ListBoxLines(HWND list)
{
    CListBoxT<CWindow> box;
    box.m_hWnd = list;
    std::vector<CString> lines;
    for (int i = 0; i < box.GetCount(); i++)
        lines.push_back(box.GetText(i));
    return lines;
}

// The text of a list view's cell.
inline CString ListViewCellText(HWND list, int row, int column)
{
    wchar_t text[MAX_PATH * 2] = L"";
    ListView_GetItemText(list, row, column, text, MAX_PATH * 2);
    return text;
}

// One column of every row of a list view, top to bottom.
inline std::vector<CString> ListViewColumnTexts(HWND list, int column = 0)
{
    std::vector<CString> texts;
    for (int row = 0; row < ListView_GetItemCount(list); row++)
        texts.push_back(ListViewCellText(list, row, column));
    return texts;
}

// The first row whose cell in the column reads the text, or -1.
inline int ListViewRowWith(HWND list, int column, const CString& text)
{
    for (int row = 0; row < ListView_GetItemCount(list); row++)
        if (ListViewCellText(list, row, column) == text)
            return row;
    return -1;
}

// The column headings of a list view, left to right.
inline std::vector<CString> ColumnHeadings(HWND list)
{
    HWND header = ListView_GetHeader(list);
    std::vector<CString> headings;
    for (int i = 0; i < Header_GetItemCount(header); i++) {
        wchar_t text[64] = L"";
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        Header_GetItem(header, i, &item);
        headings.push_back(text);
    }
    return headings;
}
