#include "tests/common/UserInput.h"

#include "classlib/Wnd.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

INPUT KeyEvent(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    // The right-hand modifiers are told from the left ones by the extended flag alone.
    if (key == VK_RMENU || key == VK_RCONTROL)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return input;
}

void SendKeyEvent(WORD key, bool up)
{
    INPUT input = KeyEvent(key, up);
    SendInput(1, &input, sizeof(input));
}

DWORD g_lastPress = 0;

// A press soon after another one would make a double click of what should be a new gesture.
void WaitOutDoubleClick()
{
    DWORD since = GetTickCount() - g_lastPress;
    if (since < GetDoubleClickTime() + 50)
        PumpMessagesFor(GetDoubleClickTime() + 50 - since);
}

void SendMouse(POINT point, DWORD flags)
{
    if (flags & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN))
        NoteButtonPress();
    int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, width);
    input.mi.dy = MulDiv(point.y, 65535, height);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(input));
}

} // namespace

void NoteButtonPress() { g_lastPress = GetTickCount(); }

BOOL CreateTopmostWindow(CWnd& window, const wchar_t* title, int x, int y, int width, int height)
{
    return window.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_BTNFACE + 1)), title,
                           WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, x, y, width, height, nullptr, nullptr);
}

namespace {

const DWORD kFocusBoundMs = 5000;

// The window with the keyboard focus in the window's thread, which may be another program's.
HWND FocusOfThreadOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    return ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Another thread's window takes the focus through the input state the two threads share for a
// moment, as its own thread's SetFocus would give it.
void SetFocusOfOtherThread(HWND window)
{
    DWORD mine = ::GetCurrentThreadId(), theirs = ::GetWindowThreadProcessId(window, nullptr);
    if (!::AttachThreadInput(mine, theirs, TRUE))
        return;
    ::SetFocus(window);
    ::AttachThreadInput(mine, theirs, FALSE);
}

} // namespace

void FocusForInput(HWND window)
{
    HWND top = GetAncestor(window, GA_ROOT);
    bool ours = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
    // A dialog hands the focus on to its control, a drop-down box to its edit.
    auto focused = [&] {
        if (GetForegroundWindow() != top)
            return false;
        HWND focus = ours ? GetFocus() : FocusOfThreadOf(window);
        return focus && (focus == window || IsChild(window, focus));
    };
    // Other programs on the same desktop may hold the foreground for a moment.
    bool done = PumpMessagesUntil(
        [&] {
            if (GetForegroundWindow() != top) {
                // In front also of the windows beside it, so that clicks meant for it land there.
                if (ours)
                    SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                SetForegroundWindow(top);
                if (ours)
                    SetActiveWindow(top);
            }
            if (!focused() && GetForegroundWindow() == top)
                ours ? (void)SetFocus(window) : SetFocusOfOtherThread(window);
            if (!focused())
                return false;
            // Whatever the change of focus set going is read before the focus counts as settled.
            WaitForInputHandled();
            return focused();
        },
        kFocusBoundMs);
    if (!done)
        ADD_FAILURE() << "the window did not get the keyboard focus within " << kFocusBoundMs << " ms";
}

void PressKey(WORD key, std::initializer_list<WORD> modifiers)
{
    for (WORD m : modifiers)
        SendKeyEvent(m, false);
    SendKeyEvent(key, false);
    SendKeyEvent(key, true);
    for (auto it = modifiers.end(); it != modifiers.begin();)
        SendKeyEvent(*--it, true);
    WaitForInputHandled();
}

namespace {

UINT_PTR g_menuWatch = 0;

bool InMenuMode()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE);
}

// Runs inside the menu bar's own loop: once the loop has started, Escape leaves it.
void CALLBACK LeaveMenuBar(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!InMenuMode())
        return;
    KillTimer(nullptr, id);
    g_menuWatch = 0;
    SendKeyEvent(VK_ESCAPE, false);
    SendKeyEvent(VK_ESCAPE, true);
}

} // namespace

void PressMenuKey(WORD key, std::initializer_list<WORD> modifiers)
{
    g_menuWatch = SetTimer(nullptr, 0, 20, LeaveMenuBar);
    // Returns once the key and the Escape have been read: the menu loop runs while the key is
    // handled, so a menu bar that stays open fails the wait.
    PressKey(key, modifiers);
    if (g_menuWatch)
        KillTimer(nullptr, g_menuWatch);
    g_menuWatch = 0;
    WaitForInputHandled();
}

void TypeText(const wchar_t* text)
{
    for (; *text; text++) {
        SHORT scan = VkKeyScanW(*text);
        if (HIBYTE(scan) & 1)
            PressKey(LOBYTE(scan), {VK_SHIFT});
        else
            PressKey(LOBYTE(scan));
    }
}

void TypeTextAtOnce(const wchar_t* text)
{
    std::vector<INPUT> keys;
    auto add = [&](WORD key, bool up) { keys.push_back(KeyEvent(key, up)); };
    for (; *text; text++) {
        SHORT scan = VkKeyScanW(*text);
        bool shift = HIBYTE(scan) & 1;
        if (shift)
            add(VK_SHIFT, false);
        add(LOBYTE(scan), false);
        add(LOBYTE(scan), true);
        if (shift)
            add(VK_SHIFT, true);
    }
    SendInput((UINT)keys.size(), keys.data(), sizeof(INPUT));
    WaitForInputHandled();
}

void ClickAt(POINT point, bool right)
{
    WaitOutDoubleClick();
    SendMouse(point, 0);
    SendMouse(point, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    SendMouse(point, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    WaitForInputHandled(WindowFromPoint(point));
}

void QueueClickAt(POINT point)
{
    SendMouse(point, 0);
    SendMouse(point, MOUSEEVENTF_LEFTDOWN);
    SendMouse(point, MOUSEEVENTF_LEFTUP);
}

void QueueKey(WORD key, std::initializer_list<WORD> modifiers)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD k, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = k;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD m : modifiers)
        add(m, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        add(*m, KEYEVENTF_KEYUP);
    ::SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
}

void TurnWheel(POINT point, int notches)
{
    SendMouse(point, 0);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = (DWORD)(notches * WHEEL_DELTA);
    SendInput(1, &input, sizeof(input));
    WaitForInputHandled(WindowFromPoint(point));
}

void DoubleClickAt(POINT point)
{
    WaitOutDoubleClick();
    SendMouse(point, 0);
    for (int i = 0; i < 2; i++) {
        SendMouse(point, MOUSEEVENTF_LEFTDOWN);
        SendMouse(point, MOUSEEVENTF_LEFTUP);
    }
    WaitForInputHandled(WindowFromPoint(point));
}

namespace {

// Controls run their own loops while a button is down (drag detection), so the rest of a
// gesture has to come from another thread while this one keeps dispatching.
DWORD WINAPI RunGesture(void* param)
{
    (*(std::function<void()>*)param)();
    return 0;
}

void PerformWhilePumping(std::function<void()> gesture, HWND target)
{
    HANDLE thread = CreateThread(nullptr, 0, RunGesture, &gesture, 0, nullptr);
    // The gesture's own pauses are short; a thread that does not end holds the test here.
    WaitUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, "the gesture sent");
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    WaitForInputHandled(target);
}

} // namespace

void DragMouse(POINT from, POINT to)
{
    WaitOutDoubleClick();
    PerformWhilePumping(
        [=] {
            SendMouse(from, 0);
            Sleep(30);
            SendMouse(from, MOUSEEVENTF_LEFTDOWN);
            Sleep(30);
            const int steps = 8;
            for (int i = 1; i <= steps; i++) {
                SendMouse(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, 0);
                Sleep(25);
            }
            Sleep(80); // a user stops over the target before letting go
            SendMouse(to, MOUSEEVENTF_LEFTUP);
        },
        WindowFromPoint(to));
}

POINT ScreenPointOf(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return ScreenPointOf(window, client.right / 2, client.bottom / 2);
}

POINT ScreenPointOf(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return point;
}

RECT WindowRectIn(HWND window, HWND parent)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, (POINT*)&rect, 2);
    return rect;
}

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; i++) {
        crc ^= data[i];
        for (int k = 0; k < 8; k++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back((uint8_t)(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutBig32(out, (uint32_t)data.size());
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBig32(out, Crc32(body.data(), body.size()));
}

// A zlib stream of stored (uncompressed) blocks: big files, but no compressor needed.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        out.push_back(pos + n == raw.size() ? 1 : 0);
        out.push_back((uint8_t)n);
        out.push_back((uint8_t)(n >> 8));
        out.push_back((uint8_t)~n);
        out.push_back((uint8_t)(~n >> 8));
        out.insert(out.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(out, (b << 16) | a);
    return out;
}

void MakeFolders(const std::wstring& path)
{
    for (size_t i = path.find_first_of(L"\\/", 3); i != std::wstring::npos; i = path.find_first_of(L"\\/", i + 1))
        CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
}

} // namespace

bool SaveWindowPng(HWND window, const wchar_t* path)
{
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::vector<uint8_t> raw;
    const uint8_t* pixels = (const uint8_t*)bits;
    for (int y = 0; y < height; y++) {
        raw.push_back(0); // no filter
        for (int x = 0; x < width; x++) {
            const uint8_t* p = pixels + ((size_t)y * width + x) * 4;
            raw.insert(raw.end(), {p[2], p[1], p[0]});
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig32(header, (uint32_t)width);
    PutBig32(header, (uint32_t)height);
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    MakeFolders(path);
    FILE* file = _wfopen(path, L"wb");
    if (!file)
        return false;
    bool ok = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && ok;
}
