#include "tests/common/ShownWindow.h"

#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <utility>
#include <vector>

namespace {

struct TShownSearch {
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK MatchShown(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<TShownSearch*>(data);
    if (::IsWindowVisible(window) && (*search->match)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::function<bool(HWND)> g_match;
std::function<void(HWND)> g_step;
UINT_PTR g_timer = 0;
int g_shown = 0;

void CALLBACK PollShown(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND window = FindShownWindow(g_match);
    if (!window)
        return;
    ::KillTimer(nullptr, id);
    g_timer = 0;
    g_shown++;
    std::function<void(HWND)> step = g_step;
    WaitForInputHandled();
    step(window);
}

bool IsDialog(HWND window)
{
    wchar_t kind[16] = {};
    ::GetClassNameW(window, kind, 16);
    return wcscmp(kind, L"#32770") == 0;
}

BOOL CALLBACK CollectShownDialog(HWND window, LPARAM data)
{
    if (::IsWindowVisible(window) && IsDialog(window))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

const UINT kLeftOpenMs = 15000;
std::map<UINT_PTR, HWND> g_answered; // guard timer -> the dialog a step answered

void CALLBACK CancelLeftOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    HWND dialog = g_answered[id];
    g_answered.erase(id);
    if (::IsWindow(dialog) && ::IsWindowVisible(dialog)) {
        ADD_FAILURE() << "a dialog stayed open";
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

} // namespace

HWND FindShownWindow(const std::function<bool(HWND)>& match)
{
    TShownSearch search = {&match, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchShown, (LPARAM)&search);
    return search.found;
}

std::function<bool(HWND)> HasControl(int id)
{
    return [id](HWND window) { return ::GetDlgItem(window, id) != nullptr; };
}

std::function<bool(HWND)> IsColorChooser()
{
    const int kRedField = 706;
    return HasControl(kRedField);
}

std::function<bool(HWND)> HasCaption(const wchar_t* caption)
{
    return [caption](HWND window) {
        wchar_t text[128] = L"";
        ::GetWindowTextW(window, text, 128);
        return wcscmp(text, caption) == 0;
    };
}

void WhenShown(std::function<bool(HWND)> match, std::function<void(HWND)> step)
{
    StopWatching();
    g_match = std::move(match);
    g_step = std::move(step);
    g_timer = ::SetTimer(nullptr, 0, 50, PollShown);
}

void StopWatching()
{
    if (g_timer)
        ::KillTimer(nullptr, g_timer);
    g_timer = 0;
}

int ShownWindowCount() { return g_shown; }

std::function<bool(HWND)> IsNewDialog()
{
    // Every shown dialog counts as old, also one disabled under a modal one now.
    std::vector<HWND> before;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectShownDialog, (LPARAM)&before);
    return [before](HWND window) {
        return IsDialog(window) && ::IsWindowEnabled(window) &&
               std::find(before.begin(), before.end(), window) == before.end();
    };
}

void WhenDialogShown(std::function<void(HWND)> step)
{
    WhenShown(IsNewDialog(), [step](HWND dialog) {
        g_answered[::SetTimer(nullptr, 0, kLeftOpenMs, CancelLeftOpen)] = dialog;
        step(dialog);
    });
}

bool ClickAndAnswer(HWND button, std::function<bool(HWND)> match, std::function<void(HWND)> answer)
{
    int shown = ShownWindowCount();
    WhenShown(std::move(match), std::move(answer));
    ClickAt(ScreenPointOf(button));
    bool opened = PumpMessagesUntil([&] { return ShownWindowCount() > shown; }, 5000);
    StopWatching();
    WaitForInputHandled();
    return opened;
}
