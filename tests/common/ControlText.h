#pragma once
// Texts a user reads in common controls of other windows, by handle.

#include "classlib/ListBox.h"
#include "classlib/TreeCtrl.h"

#include <vector>

inline CString TreeItemText(HWND tree, HTREEITEM item)
{
    CTreeCtrlT<CWindow> view;
    view.m_hWnd = tree;
    return view.GetItemText(item);
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
