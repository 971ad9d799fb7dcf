#pragma once
// A real main window over settings in a temporary folder, with a world of one server "net" and
// its channels "#alpha" and "#beta", and a recorder for files the window offers by DCC.

#include "irc/IRCChannel.h"
#include "mainframe/MainApp.h"
#include "mainframe/MainFrame.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TempSettingsFolders.h"
#include "tests/common/UserInput.h"
#include "world/IRCWorld.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

class TSentFileRecorder : public IDroppedFileSender {
public:
    void AddSendItem(TIRCUnit*, const CString& nick, const CString& path) override { sent.emplace_back(nick, path); }
    std::vector<std::pair<CString, CString>> sent;
};

class MainFrameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseFolder(settings);
        settings.LoadWindowSettings();
        settings.preference.Load(settings.GetSettingsFolder());
        settings.view.Load(settings);
        settings.menuVisible = true;
        settings.enableToolBar = true;
        TUnitConfig unit;
        unit.Name = L"net";
        for (const wchar_t* name : {L"#alpha", L"#beta"}) {
            unit.Channels.emplace_back();
            unit.Channels.back().Name = name;
        }
        ConfigureUnit(unit);
        settings.world.Units.push_back(unit);

        frame = new CMainFrame(&app, &settings);
        ASSERT_TRUE(frame->CreateFrame());
        world = std::make_unique<TIRCWorld>(&settings, frame, &app.GetAddressFinder());
        world->Attach(frame);
        world->CreateUnitsFromSettings();
        frame->SetWorld(world.get());
        frame->SetDroppedFileSender(&sent);
        net = world->FindUnit(L"net");
        ASSERT_NE(nullptr, net);
        // Placed here instead of from window.ini, and written there at the close as a placed one.
        frame->SetWindowPos(nullptr, 40, 40, 820, 560, SWP_NOZORDER);
        frame->ShowWindow(SW_SHOWNORMAL);
        frame->placed = true;
        ::SetForegroundWindow(frame->m_hWnd);
        WaitUntil([&] { return ::GetForegroundWindow() == frame->m_hWnd; }, "the main window in front");
        PumpPendingMessages();
    }
    void TearDown() override
    {
        // The world lets go of its views before the controls go; then the window's own close,
        // asking nothing, takes its other windows with it.
        world->Shutdown();
        if (frame && ::IsWindow(frame->m_hWnd)) {
            frame->ending = true;
            frame->SendMessageW(WM_CLOSE, 0, 0);
        }
        if (frame)
            frame->SetWorld(nullptr);
        world.reset();
        delete frame;
        // The destroyed main window ends the loop of a program; a test goes on.
        MSG quit;
        while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    // Settings folders in the test's folder, as the window's and a later start's.
    void UseFolder(TConfig& config) { UseTempFolders(config, folder, true); }
    // A fixture's own server settings, before the world is made from them.
    virtual void ConfigureUnit(TUnitConfig&) {}
    TIRCChannel* Channel(const wchar_t* name) { return net->FindChannel(name); }
    // What tree.ini holds now, read as the next start would.
    std::vector<TUnitConfig> StoredUnits()
    {
        TConfig stored;
        UseFolder(stored);
        stored.LoadServerTree();
        return stored.world.Units;
    }
    HMENU TopMenu(int index) { return ::GetSubMenu(::GetMenu(frame->m_hWnd), index); }
    // Opens the main menu's popup at the position with a click and chooses with the keys.
    void ChooseFromMenuBar(int position, std::initializer_list<WORD> keys)
    {
        RECT item = {};
        ::GetMenuItemRect(frame->m_hWnd, ::GetMenu(frame->m_hWnd), position, &item);
        ASSERT_TRUE(ChooseFromOpenedPopup(
            [&] {
                ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
            },
            keys));
    }
    // "最小化(&M)" shares its key with an item above: the way there is up from the last item.
    void MinimiseFromMenu()
    {
        FocusForInput(frame->GetInputLine()->m_hWnd);
        ChooseFromMenuBar(0, {VK_UP, VK_UP, VK_RETURN});
        ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(frame->m_hWnd) != FALSE; }, "the main window minimised"));
    }
    // The state of a menu item after the window updated the popup as it does before showing it.
    UINT ItemState(HMENU popup, UINT id)
    {
        frame->SendMessageW(WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(0, FALSE));
        return ::GetMenuState(popup, id, MF_BYCOMMAND);
    }
    CString ItemText(HMENU popup, UINT id)
    {
        wchar_t text[128] = L"";
        ::GetMenuStringW(popup, id, text, 128, MF_BYCOMMAND);
        return text;
    }

    TTempFolder folder;
    CMainApp app;
    TConfig settings;
    TSentFileRecorder sent;
    CMainFrame* frame = nullptr;
    std::unique_ptr<TIRCWorld> world;
    TIRCUnit* net = nullptr;
};
