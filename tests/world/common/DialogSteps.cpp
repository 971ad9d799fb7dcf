#include "tests/world/common/DialogSteps.h"

#include "controls/UpdateDialog.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

namespace {

TUpdateDialog* g_running = nullptr;

void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_running && g_running->m_hWnd) {
        ADD_FAILURE() << "the dialog stayed open";
        g_running->EndDialog(IDABORT);
    }
}

} // namespace

HWND Control(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

void KickIdle(HWND dialog) { ::SendMessageW(dialog, WM_KICKIDLE, 0, 0); }

void Click(HWND dialog, int id)
{
    ClickAt(ScreenPointOf(Control(dialog, id)));
    PumpMessagesFor(50);
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
    PumpMessagesFor(50);
    KickIdle(::GetAncestor(edit, GA_ROOT));
}

void Retype(HWND dialog, int id, const wchar_t* text) { Retype(Control(dialog, id), text); }

INT_PTR RunDialog(TUpdateDialog& dialog, std::function<void(HWND)> steps)
{
    g_running = &dialog;
    UINT_PTR guard = ::SetTimer(nullptr, 0, 20000, EndStuckDialog);
    RunLater(150, [&dialog, steps] { steps(dialog.m_hWnd); });
    INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, guard);
    g_running = nullptr;
    return result;
}
