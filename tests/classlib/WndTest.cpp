#include "classlib/Wnd.h"
#include "classlib/App.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TRecordingWnd : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        if (message == WM_USER + 7)
            return 1234;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { ncDestroyed = true; }

    std::vector<UINT> seen;
    bool ncDestroyed = false;
};

bool Saw(const std::vector<UINT>& seen, UINT message)
{
    for (UINT m : seen)
        if (m == message)
            return true;
    return false;
}

} // namespace

TEST(CWnd, ReceivesCreationMessagesAndItsOwn)
{
    TRecordingWnd wnd;
    LPCWSTR cls = AfxRegisterWndClass(0);
    ASSERT_NE(cls, nullptr);
    ASSERT_TRUE(wnd.CreateEx(0, cls, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
    EXPECT_TRUE(Saw(wnd.seen, WM_NCCREATE));
    EXPECT_TRUE(Saw(wnd.seen, WM_CREATE));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 7), 1234);

    HWND hwnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_TRUE(wnd.ncDestroyed);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(CWnd, SubclassesSystemClassesAndKeepsTheirBehaviour)
{
    TRecordingWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, L"EDIT", L"typed", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr));
    EXPECT_TRUE(Saw(edit.seen, WM_NCCREATE));
    wchar_t text[16] = {};
    GetWindowTextW(edit.m_hWnd, text, 16);
    EXPECT_STREQ(text, L"typed");
    edit.SetWindowText(L"other");
    GetWindowTextW(edit.m_hWnd, text, 16);
    EXPECT_STREQ(text, L"other");
}

TEST(CWnd, RegisteringTheSameClassTwiceGivesOneName)
{
    LPCWSTR a = AfxRegisterWndClass(CS_DBLCLKS);
    LPCWSTR b = AfxRegisterWndClass(CS_DBLCLKS);
    EXPECT_EQ(a, b);
    EXPECT_STRNE(a, AfxRegisterWndClass(0));
}

namespace {

// Lives on its own page, and deleting it takes the page away, so any touch of the object
// after its PostNcDestroy deleted it faults instead of passing unnoticed.
class TSelfDeletingWnd : public CWnd {
public:
    static void* operator new(size_t size)
    {
        void* p = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        s_page = p;
        return p;
    }
    static void operator delete(void* p) { VirtualFree(p, 4096, MEM_DECOMMIT); }

    void PostNcDestroy() override
    {
        s_deleted = true;
        delete this;
    }

    static void* s_page;
    static bool s_deleted;
};

void* TSelfDeletingWnd::s_page = nullptr;
bool TSelfDeletingWnd::s_deleted = false;

} // namespace

TEST(CWnd, DestroyWindowLeavesAWindowThatDeletedItselfAlone)
{
    TSelfDeletingWnd* wnd = new TSelfDeletingWnd;
    ASSERT_TRUE(wnd->CreateEx(0, AfxRegisterWndClass(0), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
    HWND hwnd = wnd->m_hWnd;
    EXPECT_TRUE(wnd->DestroyWindow());
    EXPECT_TRUE(TSelfDeletingWnd::s_deleted);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    VirtualFree(TSelfDeletingWnd::s_page, 0, MEM_RELEASE);
}

namespace {

class TRefusingWnd : public TSelfDeletingWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NCCREATE)
            return FALSE;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(CWnd, RefusedCreationLeavesAWindowThatDeletedItselfAlone)
{
    TSelfDeletingWnd::s_deleted = false;
    TRefusingWnd* wnd = new TRefusingWnd;
    EXPECT_FALSE(wnd->CreateEx(0, AfxRegisterWndClass(0), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
    EXPECT_TRUE(TSelfDeletingWnd::s_deleted);
    VirtualFree(TSelfDeletingWnd::s_page, 0, MEM_RELEASE);
}
