#include "foundation/HotKey.h"
#include "foundation/HtmlHelp.h"
#include "foundation/MessageWindow.h"

#include "tests/common/TempFolder.h"

#include <commctrl.h>
#include <gtest/gtest.h>

TEST(HotKeyTest, HotKeyControlModifiersMapToRegisterModifiers)
{
    const struct {
        WORD control;
        UINT registered;
    } cases[] = {
        {0, 0},
        {HOTKEYF_SHIFT, MOD_SHIFT},
        {HOTKEYF_CONTROL, MOD_CONTROL},
        {HOTKEYF_ALT, MOD_ALT},
        {HOTKEYF_SHIFT | HOTKEYF_CONTROL, MOD_SHIFT | MOD_CONTROL},
        {6, MOD_CONTROL | MOD_ALT},
        {7, MOD_SHIFT | MOD_CONTROL | MOD_ALT},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.registered, THotKeyManager::ToRegisterModifiers(c.control)) << c.control;
}

namespace {
// Whether someone else holds Ctrl+Alt+L: a second registration of the same keys then fails.
bool CtrlAltLIsTaken(HWND window)
{
    if (!RegisterHotKey(window, 2, MOD_CONTROL | MOD_ALT, 'L'))
        return true;
    UnregisterHotKey(window, 2);
    return false;
}
} // namespace

TEST(HotKeyTest, DefaultKeyIsRegisteredWhileActiveAndReleasedAfter)
{
    TMessageWindow window;
    window.Create(nullptr);
    ASSERT_FALSE(CtrlAltLIsTaken(window)) << "Ctrl+Alt+L held by another program";
    {
        THotKeyManager manager;
        manager.SetHotKey(window, 6, 'L');
        manager.SetActive(true);
        manager.SetActive(true);
        EXPECT_TRUE(manager.IsActive());
        EXPECT_TRUE(CtrlAltLIsTaken(window));
        manager.SetActive(false);
        EXPECT_FALSE(CtrlAltLIsTaken(window));
        manager.SetActive(true);
    }
    // The destructor of an active manager lets the key go.
    EXPECT_FALSE(CtrlAltLIsTaken(window));
}

TEST(HotKeyTest, KeyTakenElsewhereLeavesTheManagerInactiveUntilItIsFree)
{
    TMessageWindow window, other;
    window.Create(nullptr);
    other.Create(nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 3, MOD_CONTROL | MOD_ALT, 'L')) << "Ctrl+Alt+L held by another program";
    THotKeyManager manager;
    manager.SetHotKey(window, 6, 'L');
    manager.SetActive(true);
    EXPECT_FALSE(manager.IsActive());
    // Once the key is free, asking again registers it.
    UnregisterHotKey(other, 3);
    manager.SetActive(true);
    EXPECT_TRUE(manager.IsActive());
    EXPECT_TRUE(CtrlAltLIsTaken(window));
}

TEST(HtmlHelpTest, MissingHelpFileShowsNothing)
{
    TTempFolder temp;
    THtmlHelp help;
    EXPECT_FALSE(help.ShowTopic(L"help\\index.html"));
    help.SetHelpFile(temp.File(L"Ketroval2.chm"));
    EXPECT_FALSE(help.ShowTopic(L"help\\index.html"));
}
