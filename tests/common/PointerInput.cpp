#include "tests/common/PointerInput.h"

#include "tests/common/InputHandled.h"
#include "tests/common/UserInput.h"

#include <vector>

namespace {

HWND PointerTarget()
{
    if (HWND capture = GetCapture())
        return capture;
    POINT cursor = {};
    GetCursorPos(&cursor);
    return WindowFromPoint(cursor);
}

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0, DWORD data = 0)
{
    if (flags & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN))
        NoteButtonPress();
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.mouseData = data;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
    WaitForInputHandled(PointerTarget());
}

} // namespace

void MoveMouseTo(POINT screen)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    // Absolute coordinates run from 0 to 65535 across the screen; round to the pixel's middle.
    const LONG x = (LONG)((screen.x * 65536LL + 32768) / width);
    const LONG y = (LONG)((screen.y * 65536LL + 32768) / height);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
}

void PressLeftButton() { SendMouse(MOUSEEVENTF_LEFTDOWN); }

void ReleaseLeftButton() { SendMouse(MOUSEEVENTF_LEFTUP); }

void TurnWheelBy(int delta) { SendMouse(MOUSEEVENTF_WHEEL, 0, 0, (DWORD)delta); }

namespace {

void AppendKey(std::vector<INPUT>& inputs, WORD key)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
}

} // namespace

void RightClickThenKey(POINT screen, WORD key)
{
    MoveMouseTo(screen);
    NoteButtonPress();
    std::vector<INPUT> inputs(2);
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    AppendKey(inputs, key);
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
    WaitForInputHandled(WindowFromPoint(screen));
}
