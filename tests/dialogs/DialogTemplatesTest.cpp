// Every dialog template of the program as the user's fonts show it: each label, check box, radio
// button, push button and group caption holds its whole text, and no two controls that show text
// lie over one another.

#include "res/windows/preference.h"
#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Windows only the tests make.
const int kFirstTestTemplate = 500;
const int kLastTestTemplate = 599;

// Pages that show the controls of one chosen item at a time, several in one place.
const int kSharedPlaces[] = {IDD_VIEW_LOG_TEXT_PAGE};

INT_PTR CALLBACK PassiveProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL CALLBACK CollectTemplate(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR data)
{
    if (IS_INTRESOURCE(name)) {
        int id = (int)(ULONG_PTR)name;
        if (id < kFirstTestTemplate || id > kLastTestTemplate)
            reinterpret_cast<std::vector<int>*>(data)->push_back(id);
    }
    return TRUE;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = L"";
    ::GetWindowTextW(window, text, 512);
    return text;
}

enum TKind { Other, Label, Push, Check, Group };

TKind KindOf(HWND control)
{
    LONG style = ::GetWindowLongW(control, GWL_STYLE);
    std::wstring name = ClassOf(control);
    if (_wcsicmp(name.c_str(), L"Static") == 0) {
        LONG type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_RIGHT || type == SS_CENTER || type == SS_LEFTNOWORDWRAP ? Label : Other;
    }
    if (_wcsicmp(name.c_str(), L"Button") != 0)
        return Other;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return Push;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return Check;
    case BS_GROUPBOX:
        return Group;
    default:
        return Other;
    }
}

// The text's size in the control's font, with '&' taken as the mnemonic marker; a label wraps
// at its own width.
SIZE TextSize(HWND control, const std::wstring& text, int wrapWidth)
{
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, (HFONT)::SendMessageW(control, WM_GETFONT, 0, 0));
    RECT rect = {0, 0, wrapWidth > 0 ? wrapWidth : 10000, 0};
    UINT flags = DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    ::DrawTextW(dc, text.c_str(), (int)text.size(), &rect, flags);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// What is wrong with how the control shows its text, or empty.
std::string CutText(HWND control, TKind kind)
{
    std::wstring text = TextOf(control);
    if (text.empty())
        return std::string();
    RECT client = {};
    ::GetClientRect(control, &client);
    int width = client.right, height = client.bottom;
    SIZE size = {};
    int room = width;
    switch (kind) {
    case Label:
        size = TextSize(control, text, width);
        if (size.cy > height || size.cx > width)
            return "wraps past its height";
        return std::string();
    case Push:
        room = width - 6;
        break;
    case Check:
        room = width - ::GetSystemMetrics(SM_CXMENUCHECK) - 3;
        break;
    case Group:
        room = width - 16;
        break;
    case Other:
        return std::string();
    }
    // A button that may wrap only needs its lines to fit its height.
    if (::GetWindowLongW(control, GWL_STYLE) & BS_MULTILINE) {
        size = TextSize(control, text, room);
        return size.cy > height ? "wraps past its height" : "";
    }
    size = TextSize(control, text, 0);
    if (size.cx > room) {
        char why[64];
        snprintf(why, sizeof why, "needs %ld pixels, has %d", size.cx, room);
        return why;
    }
    return std::string();
}

RECT RectIn(HWND control, HWND dialog)
{
    RECT rect = {};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Describe(int templateId, HWND control)
{
    return std::to_string(templateId) + " control " + std::to_string(::GetDlgCtrlID(control)) + " \"" +
           Narrow(TextOf(control).c_str()) + "\"";
}

} // namespace

TEST(DialogTemplates, EveryTextFitsItsControlAndNoTwoTextsOverlap)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
    std::vector<int> templates;
    ::EnumResourceNamesW(nullptr, RT_DIALOG, CollectTemplate, (LONG_PTR)&templates);
    ASSERT_GT(templates.size(), 50u);
    // Pages are children of a hidden window, as they are of their sheets.
    WNDCLASSW hostClass = {};
    hostClass.lpfnWndProc = ::DefWindowProcW;
    hostClass.hInstance = ::GetModuleHandleW(nullptr);
    hostClass.lpszClassName = L"KvTemplateHost";
    ::RegisterClassW(&hostClass);
    HWND host = ::CreateWindowExW(0, hostClass.lpszClassName, L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                  hostClass.hInstance, nullptr);
    ASSERT_TRUE(host);
    std::vector<std::string> problems;
    for (int id : templates) {
        HWND dialog = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), host, PassiveProc, 0);
        if (!dialog) {
            problems.push_back(std::to_string(id) + " cannot be made");
            continue;
        }
        std::vector<HWND> shown;
        for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
            if (!(::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE))
                continue;
            TKind kind = KindOf(control);
            std::string cut = CutText(control, kind);
            if (!cut.empty())
                problems.push_back(Describe(id, control) + ": " + cut);
            if (kind != Other && kind != Group && !TextOf(control).empty())
                shown.push_back(control);
        }
        if (std::find(std::begin(kSharedPlaces), std::end(kSharedPlaces), id) != std::end(kSharedPlaces))
            shown.clear();
        for (size_t a = 0; a < shown.size(); a++)
            for (size_t b = a + 1; b < shown.size(); b++) {
                RECT first = RectIn(shown[a], dialog), second = RectIn(shown[b], dialog), both = {};
                if (::IntersectRect(&both, &first, &second))
                    problems.push_back(Describe(id, shown[a]) + " lies over " + Describe(id, shown[b]));
            }
        ::DestroyWindow(dialog);
    }
    ::DestroyWindow(host);
    std::string all;
    for (const std::string& problem : problems)
        all += problem + "\n";
    EXPECT_TRUE(problems.empty()) << all;
}
