#pragma once
// The auto-op and user group windows driven from the main window: menus, the tree on the left,
// the mask editor on the right.

#include "tests/mainframe/ServedFrameFixture.h"

#include "res/resource.h"
#include "tests/common/ControlText.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"

#include <commctrl.h>
#include <fstream>
#include <sstream>

class AutoOpWindowsFixture : public ServedFrameFixture {
protected:
    // A menu of the menu bar by position, then the keys of its item.
    void ChooseFromMemberMenu(std::initializer_list<const wchar_t*> nicks, std::initializer_list<WORD> keys)
    {
        SelectMembers(nicks);
        ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(*nicks.begin()), true); }, keys));
    }
    static std::vector<CString> Listed(HWND window) { return ListBoxLines(::GetDlgItem(window, IDC_MASK_LIST)); }
    // The item reached by the texts from the root level down; null when one is missing.
    static HTREEITEM FindItem(HWND tree, std::initializer_list<const wchar_t*> path)
    {
        HTREEITEM parent = TVI_ROOT, found = nullptr;
        for (const wchar_t* text : path) {
            found = nullptr;
            for (HTREEITEM item = parent == TVI_ROOT ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, parent); item;
                 item = TreeView_GetNextSibling(tree, item))
                if (TreeItemText(tree, item) == text) {
                    found = item;
                    break;
                }
            if (!found)
                return nullptr;
            parent = found;
        }
        return found;
    }
    static CString SelectedText(HWND window)
    {
        HWND tree = ::GetDlgItem(window, IDC_MASK_TREE);
        HTREEITEM item = TreeView_GetSelection(tree);
        return item ? TreeItemText(tree, item) : CString();
    }
    void ClickItem(HWND window, std::initializer_list<const wchar_t*> path)
    {
        HWND tree = ::GetDlgItem(window, IDC_MASK_TREE);
        HTREEITEM item = FindItem(tree, path);
        ASSERT_TRUE(item);
        RECT rect = {};
        TreeView_GetItemRect(tree, item, &rect, TRUE);
        ClickAt(ScreenPointOf(tree, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    }
    // Typed into the mask edit and added with Enter.
    void AddTyped(HWND window, const wchar_t* mask)
    {
        FocusForInput(::GetDlgItem(window, IDC_MASK_EDIT));
        TypeText(mask);
        PressKey(VK_RETURN);
    }
    void ClickButton(HWND window, int id)
    {
        ::SendMessageW(window, WM_KICKIDLE, 0, 0);
        ClickAt(ScreenPointOf(::GetDlgItem(window, id)));
    }
    CString MaskOf(const wchar_t* nick)
    {
        const TIRCMember* member = alpha->FindMember(nick);
        return member ? settings.preference.MakeMask(nick, member->user, member->host) : CString();
    }
    std::string ReadSettingsFile(const wchar_t* name)
    {
        std::ifstream in(Narrow(settings.GetSettingsFolder() + name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};
