#pragma once
// Popup menus as a user meets them: opened by real input, read while they are on screen, and
// closed or answered with keys the way a user picks an item.

#include "classlib/String.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

struct TShownMenuItem {
    UINT id = 0;
    CString text;
    bool grayed = false;
    bool checked = false;
    bool separator = false;
    bool popup = false;
};

struct TShownMenu {
    bool shown = false;
    std::vector<TShownMenuItem> items;

    // The item with the id, or null.
    const TShownMenuItem* Find(UINT id) const;
    // Whether the item is greyed; a missing item fails the test and counts as greyed.
    bool Grayed(UINT id) const;
    // The ids in menu order, 0 for separators and submenus.
    std::vector<UINT> Ids() const;
};

// Runs open (a right click), reads the popup menu that appeared, keeps a picture of it when a
// path is given, and closes it with no choice made.
TShownMenu ReadOpenedPopup(const std::function<void()>& open, const wchar_t* screenshot = nullptr);
// Runs open, then presses the keys (menu mnemonics) in the popup menu that appeared. A menu still
// open a moment later is closed; false when no menu appeared.
bool ChooseFromOpenedPopup(const std::function<void()>& open, std::initializer_list<WORD> keys);
