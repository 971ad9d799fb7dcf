#pragma once
// A main frame made the way the application makes it, over settings in a fresh folder.

#include "mainframe/MainApp.h"
#include "mainframe/MainFrame.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TempSettingsFolders.h"

#include <gtest/gtest.h>

#include <memory>

inline void LoadDefaults(TConfig& settings)
{
    settings.LoadWindowSettings();
    settings.preference.Load(settings.GetSettingsFolder());
    settings.view.Load(settings);
    settings.mainWindowRect = RECT{40, 40, 840, 640};
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTempFolders(app.GetSettings(), folder);
        LoadDefaults(app.GetSettings());
    }
    void TearDown() override
    {
        if (frame && frame->m_hWnd)
            frame->DestroyWindow();
        frame.reset();
        PumpPendingMessages();
    }
    // Creates and shows the frame; the preferences may be changed before.
    void Open()
    {
        frame = std::make_unique<CMainFrame>(&app, &app.GetSettings());
        frame->SetClassName(L"Ketroval2MainWindow frame test");
        ASSERT_TRUE(frame->CreateFrame());
        frame->ApplyStartupSettings(SW_SHOWNORMAL);
        frame->UpdateWindow();
        PumpPendingMessages();
    }
    TConfig& Settings() { return app.GetSettings(); }
    CContentPanel& Panel() { return frame->GetContentPanel(); }

    TTempFolder folder;
    CMainApp app;
    std::unique_ptr<CMainFrame> frame;
};
