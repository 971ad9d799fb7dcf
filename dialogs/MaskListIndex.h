#pragma once
// TMaskListIndex: the texts of a sorted mask list box kept beside it, in its order and IRC-folded,
// with each text's width. A list of thousands is searched, filled and thinned out without asking
// the control item by item or measuring every item again for the horizontal scroll range.

#include "classlib/DC.h"
#include "controls/ListBox.h"

#include <set>
#include <vector>

class TMaskListIndex {
public:
    explicit TMaskListIndex(TListBox& list) : list(list) {}
    TMaskListIndex(const TMaskListIndex&) = delete;
    TMaskListIndex& operator=(const TMaskListIndex&) = delete;

    // The index of the text under IRC folding, or -1.
    int Find(const CString& text) const;
    // The index it took; -1 when an equal text is listed or the control refused it.
    int Add(const CString& text);
    // The list box emptied and filled with the texts as they are, repeats included.
    void Load(const std::vector<CString>& texts);
    void Remove(int index);
    void Clear();
    const std::vector<CString>& Texts() const { return items; }

    // Masks come in bursts of thousands; the list box redrawing its scroll bar after each would
    // take minutes, so it is drawn once, when the owner handles the message posted here.
    void BeginBurst(HWND owner, UINT endMessage);
    void EndBurst();

private:
    int Insert(const CString& text, CDC& dc);

    TListBox& list;
    std::vector<CString> items;
    std::multiset<CString> folded;
    // The widths by item, and sorted: the widest is the scroll range.
    std::vector<int> extents;
    std::multiset<int> widths;
    bool inBurst = false;
};
