#include "tests/common/DialogSteps.h"

#include "classlib/Dialog.h"
#include "classlib/MsgMap.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CDialog* g_running = nullptr;

void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_running && g_running->m_hWnd) {
        ADD_FAILURE() << "the dialog stayed open";
        g_running->EndDialog(IDABORT);
    }
}

// The steps start once the dialog is shown and what showing it set going has run.
void RunWhenUp(CDialog& dialog, std::function<void(HWND)> steps)
{
    RunLater(20, [&dialog, steps] {
        if (!dialog.m_hWnd || !::IsWindowVisible(dialog.m_hWnd)) {
            RunWhenUp(dialog, steps);
            return;
        }
        WaitForInputHandled();
        steps(dialog.m_hWnd);
    });
}

} // namespace

HWND Control(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

void KickIdle(HWND dialog) { ::SendMessageW(dialog, WM_KICKIDLE, 0, 0); }

void Click(HWND dialog, int id)
{
    ClickAt(ScreenPointOf(Control(dialog, id)));
    if (::IsWindow(dialog))
        KickIdle(dialog);
}

void Retype(HWND edit, const wchar_t* text)
{
    if (HWND inner = ::FindWindowExW(edit, nullptr, L"Edit", nullptr))
        edit = inner;
    FocusForInput(edit);
    PressKey('A', {VK_CONTROL});
    PressKey(VK_DELETE);
    TypeText(text);
    KickIdle(::GetAncestor(edit, GA_ROOT));
}

void Retype(HWND dialog, int id, const wchar_t* text) { Retype(Control(dialog, id), text); }

void Repaste(HWND dialog, int id, const wchar_t* text)
{
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(::GlobalLock(memory), text, bytes);
    ::GlobalUnlock(memory);
    bool placed = ::OpenClipboard(nullptr) && ::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
    if (!placed) {
        ::GlobalFree(memory);
        ADD_FAILURE() << "the clipboard took no text";
        return;
    }
    HWND edit = Control(dialog, id);
    FocusForInput(edit);
    PressKey('A', {VK_CONTROL});
    PressKey(VK_DELETE);
    PressKey('V', {VK_CONTROL});
    KickIdle(::GetAncestor(edit, GA_ROOT));
}

void ClickListItem(HWND list, int index)
{
    ::SendMessageW(list, LB_SETTOPINDEX, index, 0);
    RECT item = {};
    ::SendMessageW(list, LB_GETITEMRECT, index, (LPARAM)&item);
    ClickAt(ScreenPointOf(list, item.left + 8, (item.top + item.bottom) / 2));
}

void DragColumnTo(HWND list, int column, int width)
{
    HWND header = ListView_GetHeader(list);
    RECT item = {};
    Header_GetItemRect(header, column, &item);
    int middle = (item.top + item.bottom) / 2;
    DragMouse(ScreenPointOf(header, item.right - 1, middle), ScreenPointOf(header, item.left + width - 1, middle));
}

void ExpectColumnStaysShut(HWND list, int column, const std::function<HWND()>& reopen)
{
    std::vector<int> widths;
    for (int i = 0; i < Header_GetItemCount(ListView_GetHeader(list)); i++)
        widths.push_back(i == column ? 0 : ListView_GetColumnWidth(list, i));
    DragColumnTo(list, column, -20);
    EXPECT_EQ(0, ListView_GetColumnWidth(list, column)) << "the column dragged shut";
    HWND again = reopen();
    ASSERT_TRUE(again) << "the window opened again";
    for (int i = 0; i < (int)widths.size(); i++)
        EXPECT_EQ(widths[i], ListView_GetColumnWidth(again, i)) << "column " << i << " opened again";
}

void ChooseComboEntry(HWND combo, int index)
{
    FocusForInput(combo);
    PressKey(VK_F4);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ::GetComboBoxInfo(combo, &info);
    ClickListItem(info.hwndList, index);
}

void AnswerColorChooser(HWND box, COLORREF color)
{
    // The chooser's own control ids: define custom colours, then the red, green and blue fields.
    Click(box, 719);
    const int values[] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    for (int i = 0; i < 3; i++)
        Retype(box, 706 + i, std::to_wstring(values[i]).c_str());
    ClickAt(ScreenPointOf(Control(box, IDOK)));
}

CString PressOkAndReadWarning(HWND dialog, const wchar_t* screenshot)
{
    CString warning;
    WhenDialogShown([&](HWND box) {
        warning = MessageBoxText(box);
        if (screenshot)
            SaveWindowPng(box, ScreenshotPath(screenshot));
        Click(box, IDOK);
    });
    Click(dialog, IDOK);
    StopWatching();
    return warning;
}

CString Text(HWND dialog, int id)
{
    HWND control = Control(dialog, id);
    int length = ::GetWindowTextLengthW(control);
    CString text;
    if (length > 0) {
        ::GetWindowTextW(control, text.GetBuffer(length + 1), length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

CString MessageBoxText(HWND box)
{
    CString text;
    for (HWND label = ::FindWindowExW(box, nullptr, L"Static", nullptr); label;
         label = ::FindWindowExW(box, label, L"Static", nullptr)) {
        int length = ::GetWindowTextLengthW(label);
        if (length <= 0)
            continue;
        CString part;
        ::GetWindowTextW(label, part.GetBuffer(length + 1), length + 1);
        part.ReleaseBuffer();
        text += part;
    }
    return text;
}

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool Enabled(HWND dialog, int id)
{
    KickIdle(dialog);
    return ::IsWindowEnabled(Control(dialog, id)) != FALSE;
}

int CountPixelsOtherThan(HWND window, const RECT& rect, COLORREF color)
{
    ::UpdateWindow(window);
    HDC dc = ::GetDC(window);
    int count = 0;
    for (int x = rect.left; x < rect.right; x++)
        for (int y = rect.top; y < rect.bottom; y++)
            count += ::GetPixel(dc, x, y) != color;
    ::ReleaseDC(window, dc);
    return count;
}

POINT ItemPoint(HWND tree, HTREEITEM item)
{
    RECT rect = {};
    TreeView_GetItemRect(tree, item, &rect, TRUE);
    return ScreenPointOf(tree, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

INT_PTR RunDialog(CDialog& dialog, std::function<void(HWND)> steps)
{
    g_running = &dialog;
    UINT_PTR guard = ::SetTimer(nullptr, 0, 20000, EndStuckDialog);
    RunWhenUp(dialog, steps);
    INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, guard);
    g_running = nullptr;
    return result;
}
