#include "dialogs/MaskListIndex.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "ircproto/IRCNames.h"

int TMaskListIndex::Find(const CString& text) const
{
    if (!folded.count(IRCToUpper(text)))
        return -1;
    for (size_t i = 0; i < items.size(); i++)
        if (IRCCompareNoCase(items[i], text) == 0)
            return (int)i;
    return -1;
}

// Each text is measured once, as it comes.
int TMaskListIndex::Insert(const CString& text, CDC& dc)
{
    int index = list.AddString(text);
    if (index < 0)
        return -1;
    folded.insert(IRCToUpper(text));
    items.insert(items.begin() + index, text);
    int extent = dc.GetTextExtent(text).cx + 6;
    extents.insert(extents.begin() + index, extent);
    widths.insert(extent);
    if (extent > list.GetHorizontalExtent())
        list.SetHorizontalExtent(extent);
    return index;
}

int TMaskListIndex::Add(const CString& text)
{
    if (folded.count(IRCToUpper(text)))
        return -1;
    CClientDC dc(list.m_hWnd);
    CSelectObject select(dc, list.GetFont());
    return Insert(text, dc);
}

void TMaskListIndex::Load(const std::vector<CString>& texts)
{
    if (!inBurst)
        list.SendMessage(WM_SETREDRAW, FALSE);
    Clear();
    {
        CClientDC dc(list.m_hWnd);
        CSelectObject select(dc, list.GetFont());
        for (const CString& text : texts)
            Insert(text, dc);
    }
    if (!inBurst) {
        list.SendMessage(WM_SETREDRAW, TRUE);
        list.Invalidate();
    }
}

void TMaskListIndex::Remove(int index)
{
    folded.erase(folded.find(IRCToUpper(items[(size_t)index])));
    items.erase(items.begin() + index);
    widths.erase(widths.find(extents[(size_t)index]));
    extents.erase(extents.begin() + index);
    list.DeleteString(index);
    list.SetHorizontalExtent(widths.empty() ? 0 : *widths.rbegin());
}

void TMaskListIndex::BeginBurst(HWND owner, UINT endMessage)
{
    if (inBurst || !list.m_hWnd)
        return;
    inBurst = true;
    list.SendMessage(WM_SETREDRAW, FALSE);
    ::PostMessageW(owner, endMessage, 0, 0);
}

void TMaskListIndex::EndBurst()
{
    if (!inBurst)
        return;
    inBurst = false;
    list.SendMessage(WM_SETREDRAW, TRUE);
    list.Invalidate();
}

void TMaskListIndex::Clear()
{
    list.ResetContent();
    items.clear();
    folded.clear();
    extents.clear();
    widths.clear();
    list.SetHorizontalExtent(0);
}
