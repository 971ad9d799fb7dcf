#include "tests/common/PopupMenu.h"

#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Bound to the popup menu windows of the system class.
const wchar_t kPopupClass[] = L"#32768";

HWND FindShownPopup()
{
    HWND popup = ::FindWindowW(kPopupClass, nullptr);
    return popup && ::IsWindowVisible(popup) ? popup : nullptr;
}

std::vector<TShownMenuItem> ReadItems(HMENU menu)
{
    std::vector<TShownMenuItem> items;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; i++) {
        wchar_t text[256] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 256;
        ::GetMenuItemInfoW(menu, (UINT)i, TRUE, &info);
        TShownMenuItem item;
        item.id = info.hSubMenu ? 0 : info.wID;
        item.text = text;
        item.grayed = (info.fState & MFS_DISABLED) != 0;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.popup = info.hSubMenu != nullptr;
        items.push_back(item);
    }
    return items;
}

void CALLBACK CloseLeftOverMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (FindShownPopup())
        ::EndMenu();
}

void SendKey(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

// Looks for a shown popup every 100 ms (a click waits out the double-click time first), then
// runs the step inside the menu's own loop; done tells the caller either way.
void WhenPopupShown(const std::function<void(HWND)>& step, bool& done, int triesLeft = 30)
{
    RunLater(100, [&done, step, triesLeft] {
        if (HWND popup = FindShownPopup()) {
            step(popup);
            done = true;
        } else if (triesLeft > 0) {
            WhenPopupShown(step, done, triesLeft - 1);
        } else {
            done = true;
        }
    });
}

} // namespace

const TShownMenuItem* TShownMenu::Find(UINT id) const
{
    for (const TShownMenuItem& item : items)
        if (!item.popup && !item.separator && item.id == id)
            return &item;
    return nullptr;
}

bool TShownMenu::Grayed(UINT id) const
{
    const TShownMenuItem* item = Find(id);
    if (!item)
        ADD_FAILURE() << "no item " << id << " in the menu";
    return !item || item->grayed;
}

std::vector<UINT> TShownMenu::Ids() const
{
    std::vector<UINT> ids;
    for (const TShownMenuItem& item : items)
        ids.push_back(item.separator || item.popup ? 0 : item.id);
    return ids;
}

TShownMenu ReadOpenedPopup(const std::function<void()>& open, const wchar_t* screenshot)
{
    TShownMenu shown;
    bool done = false;
    WhenPopupShown(
        [&](HWND popup) {
            shown.shown = true;
            shown.items = ReadItems((HMENU)::SendMessageW(popup, MN_GETHMENU, 0, 0));
            if (screenshot)
                SaveWindowPng(popup, screenshot);
            ::EndMenu();
        },
        done);
    // A menu that opens after the search gave up would otherwise hold its loop for ever.
    UINT_PTR guard = ::SetTimer(nullptr, 0, 4500, CloseLeftOverMenu);
    open();
    PumpMessagesUntil([&] { return done; }, 5000);
    WaitForInputHandled();
    ::KillTimer(nullptr, guard);
    return shown;
}

bool ChooseFromOpenedPopup(const std::function<void()>& open, std::initializer_list<WORD> keys)
{
    bool shown = false, done = false;
    std::vector<WORD> pressed(keys);
    WhenPopupShown(
        [&](HWND) {
            shown = true;
            for (WORD key : pressed)
                SendKey(key);
        },
        done);
    UINT_PTR guard = ::SetTimer(nullptr, 0, 4500, CloseLeftOverMenu);
    open();
    PumpMessagesUntil([&] { return done; }, 5000);
    // The keys pressed in the menu, and the command they chose, are handled before the test goes on.
    WaitForInputHandled();
    ::KillTimer(nullptr, guard);
    return shown;
}
