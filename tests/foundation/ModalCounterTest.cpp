#include "foundation/ModalCounter.h"

#include "classlib/App.h"
#include "classlib/Wnd.h"

#include <gtest/gtest.h>

namespace {
class ModalCounterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main.CreateEx(0, AfxRegisterWndClass(0), L"main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr);
        ASSERT_NE(nullptr, main.GetSafeHwnd());
        app.m_pMainWnd = &main;
    }
    void TearDown() override { app.m_pMainWnd = nullptr; }

    bool MainEnabled() const { return IsWindowEnabled(main) != FALSE; }

    CWinApp app;
    CWnd main;
};
} // namespace

TEST_F(ModalCounterTest, NestedRunsDisableTheMainWindowUntilTheOuterEnds)
{
    {
        TModalManager outer;
        EXPECT_FALSE(MainEnabled());
        {
            TModalManager inner;
            EXPECT_EQ(2, TModalManager::GetModalCount());
        }
        EXPECT_FALSE(MainEnabled());
        EXPECT_EQ(1, TModalManager::GetModalCount());
    }
    EXPECT_TRUE(MainEnabled());
    EXPECT_EQ(0, TModalManager::GetModalCount());
}

TEST_F(ModalCounterTest, WithoutMainWindowOnlyTheCountChanges)
{
    app.m_pMainWnd = nullptr;
    {
        TModalManager run;
        EXPECT_EQ(1, TModalManager::GetModalCount());
        EXPECT_TRUE(MainEnabled());
    }
    EXPECT_EQ(0, TModalManager::GetModalCount());
}
