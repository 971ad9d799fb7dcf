#pragma once
// The server property dialog over one server of a tree.ini in a fresh settings folder, shown
// modeless at a fixed place for real input. After OK the record goes back into the tree and
// tree.ini is written, as the main window does; the stored keys are then read from the file.

#include "prefs/ServerPropertyDialog.h"
#include "settings/Config.h"
#include "settings/IniFile.h"
#include "tests/common/SheetInput.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TempSettingsFolders.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

// A server whose every key differs from its default, so a key lost or rewritten shows.
inline TUnitConfig RichServer()
{
    TUnitConfig unit;
    unit.Name = L"net";
    unit.Hostname = L"irc.example.net";
    unit.Port = 6697;
    unit.UseSSL = true;
    unit.AltServers = {{L"irc2.example.net", 6668}, {L"irc3.example.net", 7000}};
    unit.EnablePassword = true;
    unit.Password = L"s3cret パス";
    unit.Nick = L"kvme";
    unit.Username = L"kvuser";
    unit.Realname = L"Ketroval User";
    unit.SetAltNicks(L"kvme_ kvme__");
    unit.PartMessage = L"bye part";
    unit.QuitMessage = L"bye quit";
    unit.AwayMessage = L"away now";
    unit.UserInfo = L"info text";
    unit.AutoConnect = true;
    unit.Invisible = false;
    unit.AutoAway = true;
    unit.Codepage = 65001;
    unit.EnableNickLen = true;
    unit.NickLen = 16;
    unit.LoginCommands = {L"/join #extra", L"/mode kvme +w"};
    unit.AutoOpMasks = {L"*!*@friend.example"};
    unit.MacroFiles = {L"greet"};
    unit.ScriptFiles = {L"hello.js"};
    unit.EnableSocks = true;
    unit.SocksHostname = L"proxy.example";
    unit.SocksPort = 1081;
    unit.SocksVersion = 5;
    unit.EnableSocksAuth = true;
    unit.SocksUsername = L"proxyuser";
    unit.SocksPassword = L"proxypass";
    TChannelConfig first;
    first.Name = L"#alpha";
    first.Password = L"key1";
    first.Mode = L"+nt";
    first.Topic = L"topic one";
    first.AutoJoin = false;
    first.Console = false;
    first.AutoOpMasks = {L"*!*@op.example"};
    TChannelConfig second;
    second.Name = L"#beta";
    second.Update = false;
    second.Keyword = false;
    unit.Channels = {first, second};
    return unit;
}

class ServerDialogRun : public TSheetInput {
public:
    explicit ServerDialogRun(const TUnitConfig& record)
    {
        UseTempFolders(config, folder);
        config.LoadWindowSettings();
        WriteFileBytes(config.GetSettingsFolder() + L"servers.txt", "irc.example.net (Example)\r\n-\r\n127.0.0.1\r\n");
        for (const wchar_t* name : {L"greet.kmf", L"other.kmf"})
            WriteFileBytes(config.GetMacroFolder() + name, "");
        for (const wchar_t* name : {L"hello.js", L"second.js", L"data.json"})
            WriteFileBytes(config.GetScriptFolder() + name, "");
        config.world.Units = {record};
        config.SaveServerTree();
        treeBefore = ReadFileBytes(TreePath());
        // The dialog edits what the program would have read back from the file.
        config.LoadServerTree();
        dialog.unit = config.world.Units.at(0);
        dialog.SetTitle(L"サーバのプロパティ");
        dialog.SetConfig(&config);
        EXPECT_TRUE(dialog.Create());
        sheet = dialog.m_hWnd;
        dialog.SetWindowPos(HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        WaitUntil([&] { return ::IsWindowVisible(sheet) != FALSE; }, "the dialog shown");
        Idle();
    }

    CString TreePath() const { return config.GetSettingsFolder() + L"tree.ini"; }
    // The record taken back and the tree saved, as after the main window's OK.
    void Save()
    {
        config.world.Units.at(0) = dialog.unit;
        config.SaveServerTree();
    }
    // A key of the server's section as tree.ini holds it.
    CString Stored(const CString& key) const
    {
        TIniFile ini(false);
        ini.Load(TreePath());
        ini.SetSection(L"Unit.00");
        return ini.ReadString(key, L"(none)");
    }

    TTempFolder folder;
    TConfig config;
    TServerPropertyDialog dialog;
    CStringA treeBefore;
};

typedef std::vector<std::pair<const wchar_t*, const wchar_t*>> TStoredKeys;

// One user story on one page: the steps, then either the keys tree.ini holds after OK, or the
// control left focused on the dialog that refused to close (and a word of its message).
struct TPageCase {
    const char* what;
    std::function<void(ServerDialogRun&)> steps;
    TStoredKeys stored;
    int refused = 0;
    const wchar_t* boxWords = L"";
    // Further checks of the saved file.
    std::function<void(ServerDialogRun&)> after = {};
};

// Runs every case on a fresh dialog over the record, on the page of that tab.
inline void RunPageCases(const TUnitConfig& record, int tab, const std::vector<TPageCase>& cases)
{
    for (const TPageCase& c : cases) {
        SCOPED_TRACE(c.what);
        ServerDialogRun run(record);
        run.ShowTab(tab);
        c.steps(run);
        if (c.refused) {
            EXPECT_FALSE(run.Closed());
            EXPECT_EQ(c.refused, run.FocusedId());
            EXPECT_NE(-1, run.boxText.Find(c.boxWords)) << testing::PrintToString(run.boxText);
            continue;
        }
        EXPECT_TRUE(run.Closed());
        run.Save();
        for (const auto& [key, value] : c.stored)
            EXPECT_EQ(CString(value), run.Stored(key)) << testing::PrintToString(CString(key));
        if (c.after)
            c.after(run);
    }
}
