#pragma once
// A user's steps on a tab sheet of settings pages, by the sheet's window alone, so they serve a
// sheet a test made and one a command opened modal: pick a tab, retype a field, paste into it,
// confirm, and read the box a refusal shows.

#include "controls/Clipboard.h"
#include "controls/UpdateDialog.h"
#include "res/windows/prefs.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class TSheetInput {
public:
    explicit TSheetInput(HWND sheet = nullptr) : sheet(sheet) {}

    HWND Tab() const { return ::GetDlgItem(sheet, IDC_PROPERTY_TAB); }
    // The control of that id on the page shown, else on any page made so far, else the sheet's.
    HWND Control(int id) const
    {
        HWND found = nullptr;
        for (HWND page = ::GetWindow(Tab(), GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT))
            if (HWND item = ::GetDlgItem(page, id))
                if (!found || ::IsWindowVisible(page))
                    found = item;
        return found ? found : ::GetDlgItem(sheet, id);
    }
    CString Text(int id) const { return GetControlText(Control(id)); }
    bool Checked(int id) const { return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
    int CurrentTab() const { return (int)::SendMessageW(Tab(), TCM_GETCURSEL, 0, 0); }
    // A combo box's own edit stands for the combo box.
    int FocusedId() const
    {
        HWND focus = ::GetFocus();
        wchar_t name[16] = L"";
        ::GetClassNameW(::GetParent(focus), name, 16);
        return ::GetDlgCtrlID(_wcsicmp(name, L"ComboBox") == 0 ? ::GetParent(focus) : focus);
    }
    bool Closed() const { return !::IsWindow(sheet) || !::IsWindowVisible(sheet); }

    // The sheet's idle pass, which a modal loop would run by itself once the input is read.
    void Idle() const
    {
        WaitForInputHandled();
        if (::IsWindow(sheet))
            ::SendMessageW(sheet, WM_KICKIDLE, 0, 0);
    }
    void ShowTab(int index) const
    {
        RECT item = {};
        ::SendMessageW(Tab(), TCM_GETITEMRECT, index, (LPARAM)&item);
        ClickAt(ScreenPointOf(Tab(), (item.left + item.right) / 2, (item.top + item.bottom) / 2));
        WaitUntil([&] { return CurrentTab() == index; }, "the tab shown");
        Idle();
    }
    void Click(int id) const
    {
        ClickAt(ScreenPointOf(Control(id)));
        Idle();
    }
    // A click on the row's label in the list view of that id.
    void ClickRow(int listId, int row) const
    {
        RECT label = {};
        ListView_GetItemRect(Control(listId), row, &label, LVIR_LABEL);
        ClickAt(ScreenPointOf(Control(listId), label.left + 8, (label.top + label.bottom) / 2));
        Idle();
    }
    void Retype(int id, const wchar_t* text) const
    {
        ClickAt(ScreenPointOf(Control(id)));
        PressKey('A', {VK_CONTROL});
        PressKey(VK_DELETE);
        TypeText(text);
        Idle();
    }
    // Replaces the field's text through the clipboard, for characters no key types.
    void Paste(int id, const CString& text) const
    {
        ClickAt(ScreenPointOf(Control(id)));
        PressKey('A', {VK_CONTROL});
        CopyTextToClipboard(text);
        PressKey('V', {VK_CONTROL});
        Idle();
    }
    // Runs the step that confirms; a box shown over the sheet meanwhile is read and answered OK.
    // The step's input is handled once its wait ends, and a box it shows holds that wait in the
    // box's own loop until the box is answered, where the wait's bound is never checked: a box
    // still open at the last look fails the test and is dismissed, so the step ends.
    void Confirm(const std::function<void()>& press)
    {
        auto watch = std::make_shared<TBoxWatch>();
        watch->sheet = sheet;
        watch->newDialog = IsNewDialog();
        WatchForBox(watch, kBoxTries);
        press();
        // A look still pending finds the watch over, even once this input is gone.
        watch->watching = false;
        boxText = watch->boxText;
    }
    void ClickOk()
    {
        Confirm([&] { ClickAt(ScreenPointOf(::GetDlgItem(sheet, IDOK))); });
    }
    void PressEnterIn(int id)
    {
        Confirm([&] {
            ClickAt(ScreenPointOf(Control(id)));
            PressKey(VK_RETURN);
        });
    }

    HWND sheet;
    CString boxText;

private:
    static const int kBoxTries = 60;
    static const DWORD kBoxPollMs = 100;

    struct TBoxWatch {
        HWND sheet = nullptr;
        std::function<bool(HWND)> newDialog;
        CString boxText;
        HWND answered = nullptr; // the sheet's box, once its OK is posted
        bool watching = true;
    };

    // Looks for the box now and then, inside whatever loop runs then, for as long as the step
    // runs. The sheet's box is answered once; any dialog the step opened that is still up once
    // the tries are spent is reported and dismissed.
    static void WatchForBox(const std::shared_ptr<TBoxWatch>& watch, int tries)
    {
        RunLater(kBoxPollMs, [watch, tries] {
            if (!watch->watching)
                return;
            HWND box = FindShownWindow(watch->newDialog);
            if (box && !watch->answered && ::GetWindow(box, GW_OWNER) == watch->sheet) {
                watch->boxText = WindowTextOf(::GetDlgItem(box, 0xFFFF));
                watch->answered = box;
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            } else if (box && tries <= 1) {
                ADD_FAILURE() << "still waiting after " << kBoxTries * kBoxPollMs << " ms: the box \""
                              << Narrow(WindowTextOf(box)) << "\" (" << Narrow(WindowTextOf(::GetDlgItem(box, 0xFFFF)))
                              << ") " << (box == watch->answered ? "still open after its OK" : "never answered");
                ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            }
            WatchForBox(watch, tries > 1 ? tries - 1 : 1);
        });
    }
    static CString WindowTextOf(HWND window)
    {
        wchar_t text[256] = L"";
        ::GetWindowTextW(window, text, 256);
        return text;
    }
};

// Alt+mnemonic and F4 open a combo box's list, Esc closes it again: the steps of a user who
// changes their mind inside the list, after which the sheet must still stand.
inline void OpenListAndEscapeIt(HWND combo, WORD mnemonic)
{
    auto listOpen = [&] { return ::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; };
    PressKey(mnemonic, {VK_MENU});
    PressKey(VK_F4);
    WaitUntil(listOpen, "Alt+mnemonic, F4 open the list");
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return !listOpen(); }, "Esc closes the list");
}
