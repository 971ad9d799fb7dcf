// The main window's side of the preference window: opened from the tray menu and from the main
// window's key, a second command only raising it; the activation hot key off while it is open and
// back after Cancel; a new hot key another program holds warned of, yet kept in "preference.ini"
// and taken once free; a modal dialog over the main window holding it too. While the preference
// window is active the main window's keys still work and the page keeps its own; the search
// bar's edit follows the input line's font and colours after OK. The program closing while a box
// the window opened is up takes the window with it, yet not from under the handler that waits on
// the box. The tray icon turned off while the window hides in the tray brings the window back.

#include "tests/mainframe/MainFrameFixture.h"

#include "controls/TrayIcon.h"
#include "dialogs/MessageBoxes.h"
#include "res/resource.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"
#include "tests/prefs/ChooserSteps.h"
#include "tests/prefs/PreferenceSteps.h"

#include <commctrl.h>

#include <functional>

namespace {

class PreferencesFrameTest : public MainFrameFixture {
protected:
    void ConfigureUnit(TUnitConfig&) override
    {
        TPreference& p = settings.preference;
        p.RestoreOnHotKey = true;
        p.RestoreHotKeyVCode = 'J';
        p.RestoreHotKeyModifiers = HOTKEYF_CONTROL | HOTKEYF_ALT;
    }
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        // The key the frame registers at start, as the application has it do.
        frame->ApplyStartupSettings(SW_SHOWNORMAL);
        PumpPendingMessages();
    }
    TPreferenceDialog* OpenFromKey() { return OpenPreferencesFromKey(*frame); }
    void ClickButton(int id)
    {
        ClickAt(ScreenPointOf(::GetDlgItem(frame->GetPreferenceDialog()->m_hWnd, id)));
        WaitUntil([&] { return frame->GetPreferenceDialog() == nullptr; }, "the preference window closed");
    }
    static int FontHeight(HWND window)
    {
        LOGFONTW font = {};
        ::GetObjectW((HFONT)::SendMessageW(window, WM_GETFONT, 0, 0), sizeof font, &font);
        return abs(font.lfHeight);
    }
    // Whether RegisterHotKey can take the combination now.
    bool KeyIsFree(UINT modifiers, UINT key)
    {
        if (!::RegisterHotKey(helper, 7, modifiers, key))
            return false;
        ::UnregisterHotKey(helper, 7);
        return true;
    }
    HWND helper = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Ctrl+Alt+Q typed into the window page's hot-key field, then taken by another program (one
    // held already could not even be typed); the preference window, ready for its OK. Null when
    // the window, its page or the other program's key did not come.
    TPreferenceDialog* ChooseAKeyAnotherProgramTakes()
    {
        TPreferenceDialog* dialog = OpenFromKey();
        if (!dialog || !ShowPreferencePage(dialog, &dialog->windowPage))
            return nullptr;
        FocusForInput(::GetDlgItem(dialog->windowPage.m_hWnd, IDC_WIN_HOTKEY));
        PressKey('Q', {VK_CONTROL, VK_MENU});
        return ::RegisterHotKey(helper, 9, MOD_CONTROL | MOD_ALT, 'Q') ? dialog : nullptr;
    }
    // The session ends (the program closes without asking) while the box that a handler of the
    // preference window opened is up; `start` starts that handler. The window goes with the
    // program, its handler returns into it whole, and the key it turned off stays off.
    void EndSessionWhileShown(const std::function<bool(HWND)>& box, const std::function<void()>& start)
    {
        bool closedUnder = false;
        WhenShown(box, [&](HWND) {
            frame->SendMessageW(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
            closedUnder = frame->IsClosing();
        });
        start();
        EXPECT_TRUE(PumpMessagesUntil([&] { return closedUnder && !FindShownWindow(box); }, 5000))
            << "the program did not close under the box";
        StopWatching();
        EXPECT_EQ(nullptr, frame->GetPreferenceDialog());
        EXPECT_FALSE(frame->IsHotKeyActive());
    }
};

} // namespace

TEST_F(PreferencesFrameTest, TrayMenuOpensItAndASecondCommandOnlyRaisesIt)
{
    HWND trayWindow = frame->GetTrayIcon().GetWindow();
    ASSERT_TRUE(trayWindow);
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ::PostMessageW(trayWindow, WM_TRAYICON, 0, WM_RBUTTONUP); }, {'S'}));
    ASSERT_TRUE(PumpMessagesUntil([&] { return frame->GetPreferenceDialog() != nullptr; }, 3000));
    TPreferenceDialog* dialog = frame->GetPreferenceDialog();
    EXPECT_TRUE(::IsWindowVisible(dialog->m_hWnd));
    ::ShowWindow(dialog->m_hWnd, SW_MINIMIZE);
    WaitUntil([&] { return ::IsIconic(dialog->m_hWnd) != FALSE; }, "the window minimised");
    EXPECT_EQ(dialog, OpenFromKey()) << "no second window";
    EXPECT_FALSE(::IsIconic(dialog->m_hWnd)) << "restored";
    ClickButton(IDCANCEL);
    EXPECT_EQ(nullptr, frame->GetPreferenceDialog());
}

// Hidden in the tray, the window has only the tray icon to come back by: turning the icon off,
// from the tray's menu or in the preferences opened from it, brings the window back restored.
TEST_F(PreferencesFrameTest, TrayIconTurnedOffWhileTheWindowHidesInTheTrayBringsTheWindowBack)
{
    HWND trayWindow = frame->GetTrayIcon().GetWindow();
    ASSERT_TRUE(trayWindow);
    auto openTrayMenu = [&] { ::PostMessageW(trayWindow, WM_TRAYICON, 0, WM_RBUTTONUP); };
    const struct {
        const char* what;
        std::function<void()> turnOff;
    } ways[] = {
        {"the tray menu's item", [&] { ASSERT_TRUE(ChooseFromOpenedPopup(openTrayMenu, {'I'})); }},
        {"the preferences' OK",
         [&] {
             ASSERT_TRUE(ChooseFromOpenedPopup(openTrayMenu, {'S'}));
             ASSERT_TRUE(PumpMessagesUntil([&] { return frame->GetPreferenceDialog() != nullptr; }, 3000));
             TPreferenceDialog* dialog = frame->GetPreferenceDialog();
             ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->trayIconPage));
             HWND box = ::GetDlgItem(dialog->trayIconPage.m_hWnd, IDC_TRAY_ENABLE);
             ClickAt(ScreenPointOf(box, 6, 5));
             ASSERT_TRUE(
                 PumpMessagesUntil([&] { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 3000));
             ClickButton(IDOK);
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        settings.preference.EnableTrayIcon = true;
        settings.preference.HideWindowOnMinimize = true;
        frame->GetTrayIcon().SetEnabled(true);
        ASSERT_TRUE(frame->GetTrayIcon().IsPresent());
        RECT file = {};
        ::GetMenuItemRect(frame->m_hWnd, ::GetMenu(frame->m_hWnd), 0, &file);
        ASSERT_TRUE(ChooseFromOpenedPopup(
            [&] {
                ClickAt(POINT{(file.left + file.right) / 2, (file.top + file.bottom) / 2});
            },
            {'M'}));
        ASSERT_TRUE(
            PumpMessagesUntil([&] { return ::IsIconic(frame->m_hWnd) && !::IsWindowVisible(frame->m_hWnd); }, 5000))
            << "File, M did not hide the window in the tray";
        way.turnOff();
        EXPECT_TRUE(
            PumpMessagesUntil([&] { return ::IsWindowVisible(frame->m_hWnd) && !::IsIconic(frame->m_hWnd); }, 5000))
            << "the window did not come back";
        EXPECT_FALSE(frame->GetTrayIcon().IsPresent());
        EXPECT_FALSE(settings.preference.EnableTrayIcon);
        TPreference saved;
        saved.Load(settings.GetSettingsFolder());
        EXPECT_FALSE(saved.EnableTrayIcon);
        EXPECT_TRUE(PumpMessagesUntil([&] { return ::GetForegroundWindow() == frame->m_hWnd; }, 5000))
            << "the window is not in front";
    }
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"tray-off-window-back.png"));
}

// The tray menu's icon and balloon switches, used while the tray page is open, show on the page,
// so its OK keeps them; a box the user clicks on the page meanwhile, the other switch's box too,
// is stored as clicked.
TEST_F(PreferencesFrameTest, TrayMenuSwitchesUsedWhileThePageIsOpenAreKeptByItsOK)
{
    TPreference& p = settings.preference;
    TPreferenceDialog* dialog = OpenFromKey();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->trayIconPage));
    HWND page = dialog->trayIconPage.m_hWnd;
    auto checked = [&](int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; };
    auto openTrayMenu = [&] { ::PostMessageW(frame->GetTrayIcon().GetWindow(), WM_TRAYICON, 0, WM_RBUTTONUP); };
    // The tray menu brings the main window forward; the user goes back to the settings first.
    auto clickOnPage = [&](int id, bool after) {
        FocusForInput(dialog->m_hWnd);
        ClickAt(ScreenPointOf(::GetDlgItem(page, id), 6, 5));
        ASSERT_TRUE(WaitUntil([&] { return checked(id) == after; }, "the page's box clicked"));
    };

    ASSERT_TRUE(ChooseFromOpenedPopup(openTrayMenu, {'L'}));
    ASSERT_TRUE(WaitUntil([&] { return p.EnableBaloon; }, "balloons on"));
    EXPECT_TRUE(checked(IDC_TRAY_BALLOON));
    clickOnPage(IDC_TRAY_ONLY_MINIMIZED, true);
    clickOnPage(IDC_TRAY_BALLOON, false);
    ASSERT_TRUE(ChooseFromOpenedPopup(openTrayMenu, {'I'}));
    ASSERT_TRUE(WaitUntil([&] { return !p.EnableTrayIcon; }, "the icon off"));
    EXPECT_FALSE(checked(IDC_TRAY_ENABLE));
    EXPECT_FALSE(checked(IDC_TRAY_BALLOON)) << "the box the user unticked, ticked again by the icon's switch";
    FocusForInput(dialog->m_hWnd);
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"preferences-tray-page-after-menu.png"));

    ClickButton(IDOK);
    TPreference saved;
    saved.Load(settings.GetSettingsFolder());
    EXPECT_FALSE(saved.EnableTrayIcon) << "the menu's switch undone by OK";
    EXPECT_FALSE(saved.EnableBaloon) << "the page's own box";
    EXPECT_TRUE(saved.ShowTrayIconOnMinimized) << "the page's own box";
    EXPECT_FALSE(frame->GetTrayIcon().IsPresent());
}

TEST_F(PreferencesFrameTest, HotKeyIsOffWhileOpenAndBackAfterCancel)
{
    ASSERT_TRUE(frame->IsHotKeyActive());
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL | MOD_ALT, 'J'));
    ASSERT_TRUE(OpenFromKey());
    EXPECT_FALSE(frame->IsHotKeyActive());
    EXPECT_TRUE(KeyIsFree(MOD_CONTROL | MOD_ALT, 'J')) << "free while the preferences are open";
    ClickButton(IDCANCEL);
    EXPECT_TRUE(frame->IsHotKeyActive());
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL | MOD_ALT, 'J'));
}

TEST_F(PreferencesFrameTest, HotKeyAnotherProgramHoldsIsWarnedOfYetStoredAndTakenOnceFree)
{
    TPreferenceDialog* dialog = ChooseAKeyAnotherProgramTakes();
    ASSERT_TRUE(dialog);
    CString warning = PressOkAndReadWarning(dialog->m_hWnd, L"hotkey-taken.png");
    WaitUntil([&] { return frame->GetPreferenceDialog() == nullptr; }, "the preference window closed");
    EXPECT_NE(-1, warning.Find(L"ホットキー")) << "the user hears why";
    EXPECT_FALSE(frame->IsHotKeyActive()) << "the key is the other program's";
    EXPECT_TRUE(KeyIsFree(MOD_CONTROL | MOD_ALT, 'J')) << "the old key is let go";
    // The choice stays, for the next start finds the key free once that program has ended.
    EXPECT_EQ('Q', settings.preference.RestoreHotKeyVCode);
    TPreference saved;
    saved.Load(settings.GetSettingsFolder());
    EXPECT_TRUE(saved.RestoreOnHotKey);
    EXPECT_EQ('Q', saved.RestoreHotKeyVCode);
    EXPECT_EQ(HOTKEYF_CONTROL | HOTKEYF_ALT, saved.RestoreHotKeyModifiers);

    // Free again, the stored key is the main window's as soon as the preferences are applied.
    ::UnregisterHotKey(helper, 9);
    ASSERT_TRUE(OpenFromKey());
    ClickButton(IDCANCEL);
    EXPECT_TRUE(frame->IsHotKeyActive());
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL | MOD_ALT, 'Q'));
}

TEST_F(PreferencesFrameTest, TheProgramClosingUnderTheOKsWarningLeavesTheWindowToItsOK)
{
    TPreferenceDialog* dialog = ChooseAKeyAnotherProgramTakes();
    ASSERT_TRUE(dialog);
    EndSessionWhileShown(HasControl(0xFFFF), [&] { ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDOK))); });
    ::UnregisterHotKey(helper, 9);
    TPreference saved;
    saved.Load(settings.GetSettingsFolder());
    EXPECT_EQ('Q', saved.RestoreHotKeyVCode) << "the OK the user gave is kept";
}

TEST_F(PreferencesFrameTest, TheProgramClosingUnderAPagesChooserTakesTheChooserWithTheWindow)
{
    TPreferenceDialog* dialog = OpenFromKey();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->actionPage));
    HWND page = dialog->actionPage.m_hWnd;
    ClickAt(ScreenPointOf(::GetDlgItem(page, IDC_ACT_URL_APPLICATION), 6, 5));
    HWND browse = ::GetDlgItem(page, IDC_ACT_BROWSE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(browse) != FALSE; }, "the chooser's button enabled"));
    EndSessionWhileShown(HasCaption(L"URLを開くアプリを選択"), [&] { ClickAt(ScreenPointOf(browse)); });
}

TEST_F(PreferencesFrameTest, AModalDialogOverTheMainWindowHoldsThePreferencesToo)
{
    TPreferenceDialog* dialog = OpenFromKey();
    ASSERT_TRUE(dialog);
    bool enabledMeanwhile = true;
    WhenShown(HasControl(0xFFFF), [&](HWND box) {
        enabledMeanwhile = ::IsWindowEnabled(dialog->m_hWnd) != FALSE;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ShowWarningMessage(frame->m_hWnd, L"modal", CString());
    StopWatching();
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(::IsWindowEnabled(dialog->m_hWnd));
    ClickButton(IDCANCEL);
}

TEST_F(PreferencesFrameTest, MainWindowKeysWorkWhileItIsActiveAndThePageKeepsItsOwn)
{
    // Text selected in the input line, which the main window's Del and Ctrl+X would take.
    HWND input = frame->GetInputLine()->m_hWnd;
    ::SetWindowTextW(input, L"keep");
    ::SendMessageW(input, EM_SETSEL, 0, -1);
    TPreferenceDialog* dialog = OpenFromKey();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->keywordPage));
    HWND like = ::GetDlgItem(dialog->keywordPage.m_hWnd, IDC_KEY_LIKE);
    FocusForInput(like);
    ASSERT_EQ(dialog->m_hWnd, ::GetForegroundWindow());
    TypeText(L"xab");
    PressKey(VK_RETURN);
    TypeText(L"c");
    PressKey(VK_HOME, {VK_CONTROL});
    PressKey(VK_DELETE);
    PressKey(VK_END, {VK_CONTROL, VK_SHIFT});
    PressKey('X', {VK_CONTROL});
    PressKey('V', {VK_CONTROL});
    PressKey('V', {VK_CONTROL});
    EXPECT_EQ(CString(L"ab\r\ncab\r\nc"), GetControlText(like)) << "Enter, Del and the edit keys in the page's edit";
    EXPECT_EQ(dialog, frame->GetPreferenceDialog()) << "Enter did not close the window";
    EXPECT_EQ(CString(L"keep"), GetControlText(input));

    PressKey(VK_TAB);
    EXPECT_NE(like, ::GetFocus());
    EXPECT_TRUE(::IsChild(dialog->m_hWnd, ::GetFocus())) << "Tab moves within the window";

    // Down in the page tree shows the next page.
    FocusForInput(dialog->GetTree());
    TPropertyPage* before = dialog->GetCurrentPage();
    PressKey(VK_DOWN);
    EXPECT_TRUE(PumpMessagesUntil([&] { return dialog->GetCurrentPage() != before; }, 3000));

    // The hot-key field takes Ctrl+F as the key chosen; elsewhere the main window's Ctrl+F shows
    // its search bar.
    ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->windowPage));
    HWND hotKey = ::GetDlgItem(dialog->windowPage.m_hWnd, IDC_WIN_HOTKEY);
    FocusForInput(hotKey);
    PressKey('F', {VK_CONTROL});
    // (The control reads the letter back from the scan code, which the test's input leaves out.)
    EXPECT_EQ(HOTKEYF_CONTROL, HIBYTE(LOWORD(::SendMessageW(hotKey, HKM_GETHOTKEY, 0, 0))));
    EXPECT_FALSE(frame->GetContentPanel().IsSearchBarShown());
    FocusForInput(::GetNextDlgTabItem(dialog->GetCurrentPage()->m_hWnd, nullptr, FALSE));
    PressKey('F', {VK_CONTROL});
    EXPECT_TRUE(PumpMessagesUntil([&] { return frame->GetContentPanel().IsSearchBarShown(); }, 3000));
    if (frame->GetPreferenceDialog())
        ClickButton(IDCANCEL);
}

TEST_F(PreferencesFrameTest, SearchBarEditTakesTheInputLinesLookAfterOk)
{
    FocusForInput(frame->m_hWnd);
    PressKey('F', {VK_CONTROL});
    ASSERT_TRUE(PumpMessagesUntil([&] { return frame->GetContentPanel().IsSearchBarShown(); }, 3000));
    TEdit& search = frame->GetContentPanel().GetSearchBar().edit;
    int height = FontHeight(search.m_hWnd);
    TPreferenceDialog* dialog = OpenFromKey();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(ShowPreferencePage(dialog, &dialog->viewEditPage));
    HWND page = dialog->viewEditPage.m_hWnd;
    ASSERT_TRUE(ClickAndChoose(::GetDlgItem(page, IDC_EDIT_VIEW_BACK_COLOR), RGB(250, 240, 200)));
    ASSERT_TRUE(ClickAndChoose(::GetDlgItem(page, IDC_EDIT_VIEW_TEXT_COLOR), RGB(120, 20, 30)));
    ASSERT_TRUE(ClickAndChoose(::GetDlgItem(page, IDC_EDIT_VIEW_FONT), 0, L"20"));
    ClickButton(IDOK);
    ASSERT_EQ(nullptr, frame->GetPreferenceDialog());
    EXPECT_EQ(RGB(250, 240, 200), search.backgroundColor);
    EXPECT_EQ(RGB(120, 20, 30), search.textColor);
    EXPECT_GT(FontHeight(search.m_hWnd), height);
    EXPECT_EQ(FontHeight(frame->GetInputLine()->m_hWnd), FontHeight(search.m_hWnd));
    RECT bar, edit;
    ::GetWindowRect(frame->GetContentPanel().GetSearchBar().m_hWnd, &bar);
    ::GetWindowRect(search.m_hWnd, &edit);
    EXPECT_LE(edit.bottom, bar.bottom) << "the bar grew with its edit";
    SaveWindowPng(frame->m_hWnd, ScreenshotPath(L"prefs-search-bar-look.png"));
}
