#pragma once
// Message boxes answered as a user answers them, with what each one said kept for the test.

#include "classlib/String.h"
#include "foundation/ModalCounter.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

// Answers every message box of this thread with the key, from whatever loop runs then, keeping
// what each box said.
class TBoxAnswerer {
public:
    explicit TBoxAnswerer(WORD key) : key(key)
    {
        active = this;
        timer = ::SetTimer(nullptr, 0, 150, Tick);
    }
    ~TBoxAnswerer()
    {
        ::KillTimer(nullptr, timer);
        active = nullptr;
    }

    std::vector<CString> texts;
    // Modal windows counted while each box was open.
    std::vector<int> modalCounts;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (active)
            active->Answer();
    }
    void Answer()
    {
        HWND box = FindBox();
        if (!box)
            return;
        if (box != lastBox) {
            lastBox = box;
            tries = 0;
            wchar_t text[256] = L"";
            // The text's control id differs between systems.
            if (!::GetDlgItemTextW(box, 0xFFFF, text, 256))
                ::GetDlgItemTextW(box, 100, text, 256);
            texts.push_back(text);
            modalCounts.push_back(TModalManager::GetModalCount());
        }
        if (++tries > 10) {
            ADD_FAILURE() << "a message box stayed open";
            ::EndDialog(box, IDCANCEL);
            return;
        }
        ::SetForegroundWindow(box);
        QueueKey(key);
    }
    static BOOL CALLBACK TakeBox(HWND window, LPARAM param)
    {
        wchar_t name[16] = L"";
        ::GetClassNameW(window, name, 16);
        if (wcscmp(name, L"#32770") == 0 && ::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER)) {
            *(HWND*)param = window;
            return FALSE;
        }
        return TRUE;
    }
    static HWND FindBox()
    {
        HWND found = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), TakeBox, (LPARAM)&found);
        return found;
    }

    inline static TBoxAnswerer* active = nullptr;
    WORD key;
    UINT_PTR timer = 0;
    HWND lastBox = nullptr;
    int tries = 0;
};
