#pragma once
// One unit of a real world with the world's WHO and WHOIS windows: lines fed as if received, or
// a real server, and recorders for the server log, the DCC side and the main window.

#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"
#include "tests/irc/SendSideSupport.h"

#include "settings/Config.h"
#include "settings/WindowGeometry.h"
#include "world/IRCWorld.h"
#include "world/UserInfoDialogs.h"
#include "world/WhoisDialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>

class TUserInfoFrame : public IUserInfoFrame, public IIRCWorldHost {
public:
    HWND GetFrameWindow() override { return nullptr; }
    bool IsTopMost() override { return topMost; }
    void OnUserInfo() override { userInfoCalls++; }
    void CopyTextToClipboard(const CString&) override {}
    int FindActionCommand(const CString&) override { return 0; }

    bool topMost = true;
    int userInfoCalls = 0;
};

// A world without windows whose units print into the recorder's views.
class TRecordingWorld : public TIRCWorld {
public:
    TRecordingWorld(TConfig* config, IIRCWorldHost* host, TUnitRecorder* recorder)
        : TIRCWorld(config, host), recorder(recorder)
    {
    }
    ILogLineSink* GetLogSink(TIRCUnit* unit, TIRCChannel* channel) override
    {
        return recorder->GetLogSink(unit, channel);
    }

private:
    TUnitRecorder* recorder;
};

class UserInfoWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        preference.Load(folder.path);
        // The units print with the view settings' line formats.
        config.view.Load(config);
        preference.IPResolveMethod = 1;
        preference.WhoTiming = 0;
        TUnitConfig config;
        config.Name = L"testnet";
        config.Hostname = L"127.0.0.1";
        config.Nick = L"kvnick";
        config.Username = L"kvuser";
        config.Realname = L"Ketroval Test";
        tree.Units.push_back(config);
    }
    void TearDown() override
    {
        world.reset();
        dialogs.reset();
    }
    // The world and its unit, with the windows wired; port 0 leaves the server's port unset.
    TIRCUnit& Build(int port = 0, int codePage = CP_UTF8)
    {
        if (port)
            tree.Units[0].Port = port;
        tree.Units[0].Codepage = codePage;
        world = std::make_unique<TRecordingWorld>(&config, &frame, &recorder);
        world->CreateUnitsFromSettings();
        unit = world->GetUnits()[0];
        unit->SetDccManager(&side);
        unit->SetFrame(&side);
        dialogs = std::make_unique<TUserInfoDialogs>(world.get(), &preference, &geometry, &frame);
        world->SetUserInfoWindows(dialogs.get());
        return *unit;
    }
    // Registered as kvnick without a socket; sent lines stay queued.
    void LogInOffline()
    {
        unit->GetConnection().transport.active = true;
        TIRCUnitSession& session = unit->GetSession();
        session.currentNick = session.firstNick = session.secondNick = session.wantedNick = L"kvnick";
        session.state = TIRCUnit::StateConnecting;
        unit->OnConnect(&unit->GetConnection());
        Feed(":irc.example 001 kvnick :Welcome");
        TakeQueued();
    }
    void Feed(const std::string& line) { FeedLine(*unit, line); }
    std::vector<std::string> TakeQueued() { return TakeQueuedLines(unit->GetConnection()); }
    TWhoisDialog* WhoisWindow(const CString& nick) { return static_cast<TWhoisDialog*>(unit->FindWhoisDialog(nick)); }
    static CString Field(HWND dialog, int id) { return GetControlText(::GetDlgItem(dialog, id)); }
    static void ClickButton(HWND dialog, int id) { ClickAt(ScreenPointOf(::GetDlgItem(dialog, id))); }
    bool ServerLogHas(const std::string& text)
    {
        for (const std::string& line : recorder.ViewTexts(nullptr))
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }
    // A request window as it opens: its caption, when the request came, its buttons' words, and
    // with no main window here, its place in the middle of the work area.
    static void ExpectRequestWindow(HWND window, const wchar_t* caption, int timeId, const CString& timeText,
                                    const wchar_t* ok, const wchar_t* cancel)
    {
        EXPECT_EQ(GetControlText(window), CString(caption));
        EXPECT_TRUE(std::regex_match(Narrow(Field(window, timeId)), std::regex("\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}")));
        EXPECT_EQ(Field(window, timeId), timeText);
        EXPECT_EQ(Field(window, IDOK), CString(ok));
        EXPECT_EQ(Field(window, IDCANCEL), CString(cancel));
        RECT rect = {}, work = {};
        ::GetWindowRect(window, &rect);
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
        EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);
    }

    TTempFolder folder;
    TConfig config;
    TPreference& preference = config.preference;
    TWorldConfig& tree = config.world;
    TUnitRecorder recorder;
    TSendRecorder side;
    TUserInfoFrame frame;
    TWindowGeometry geometry;
    // Outlives the world: the units close their windows through it as they go.
    std::unique_ptr<TUserInfoDialogs> dialogs;
    std::unique_ptr<TIRCWorld> world;
    TIRCUnit* unit = nullptr;
};

// The unit built and logged in before each test.
class LoggedInWindowTest : public UserInfoWindowTest {
protected:
    void SetUp() override
    {
        UserInfoWindowTest::SetUp();
        Build();
        LogInOffline();
    }
};
