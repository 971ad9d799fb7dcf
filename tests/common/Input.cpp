#include "tests/common/Input.h"

#include "tests/common/MessagePump.h"

#include <vector>

namespace {

// Queued together: a button press that starts a modal loop (the scroll bar's) gets its release.
void SendMouse(std::initializer_list<DWORD> flags, LONG x = 0, LONG y = 0, DWORD data = 0)
{
    std::vector<INPUT> inputs;
    for (DWORD f : flags) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = x;
        input.mi.dy = y;
        input.mi.mouseData = data;
        input.mi.dwFlags = f;
        inputs.push_back(input);
    }
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
    PumpMessagesFor(30);
}

} // namespace

void MoveMouseTo(POINT screen)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    // Absolute coordinates run from 0 to 65535 across the screen; round to the pixel's middle.
    const LONG x = (LONG)((screen.x * 65536LL + 32768) / width);
    const LONG y = (LONG)((screen.y * 65536LL + 32768) / height);
    SendMouse({MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE}, x, y);
}

void PressLeftButton() { SendMouse({MOUSEEVENTF_LEFTDOWN}); }

void ReleaseLeftButton() { SendMouse({MOUSEEVENTF_LEFTUP}); }

void ClickLeft(POINT screen)
{
    MoveMouseTo(screen);
    SendMouse({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void DoubleClickLeft(POINT screen)
{
    MoveMouseTo(screen);
    SendMouse({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

void ClickRight(POINT screen)
{
    MoveMouseTo(screen);
    SendMouse({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
}

void TurnWheel(int delta) { SendMouse({MOUSEEVENTF_WHEEL}, 0, 0, (DWORD)delta); }

namespace {

void AppendChord(std::vector<INPUT>& inputs, std::initializer_list<WORD> keys)
{
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
}

} // namespace

void PressKeys(std::initializer_list<WORD> keys) { PressChords({keys}); }

void PressChords(std::initializer_list<std::initializer_list<WORD>> chords)
{
    std::vector<INPUT> inputs;
    for (const auto& chord : chords)
        AppendChord(inputs, chord);
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
    PumpMessagesFor(50);
}

POINT ClientToScreenPoint(HWND hwnd, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(hwnd, &point);
    return point;
}
