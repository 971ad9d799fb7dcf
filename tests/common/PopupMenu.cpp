#include "tests/common/PopupMenu.h"

#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

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

} // namespace

const TShownMenuItem* TShownMenu::Find(UINT id) const
{
    for (const TShownMenuItem& item : items)
        if (!item.popup && !item.separator && item.id == id)
            return &item;
    return nullptr;
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
    RunLater(400, [&] {
        if (HWND popup = FindShownPopup()) {
            shown.shown = true;
            shown.items = ReadItems((HMENU)::SendMessageW(popup, MN_GETHMENU, 0, 0));
            if (screenshot)
                SaveWindowPng(popup, screenshot);
            ::EndMenu();
        }
        done = true;
    });
    open();
    PumpMessagesUntil([&] { return done; }, 3000);
    PumpMessagesFor(100);
    return shown;
}

bool ChooseFromOpenedPopup(const std::function<void()>& open, std::initializer_list<WORD> keys)
{
    bool shown = false, done = false;
    std::vector<WORD> pressed(keys);
    RunLater(400, [&] {
        shown = FindShownPopup() != nullptr;
        if (shown) {
            ::SetTimer(nullptr, 0, 1500, CloseLeftOverMenu);
            for (WORD key : pressed)
                SendKey(key);
        }
        done = true;
    });
    open();
    PumpMessagesUntil([&] { return done; }, 3000);
    PumpMessagesFor(200);
    return shown;
}
