// Loading, reloading and unloading scripts, and the order in which they hear events.

#include "../common/FolderWatch.h"
#include "../common/InputHandled.h"
#include "../common/MessagePump.h"
#include "ScriptFakes.h"
#include "foundation/DirectoryWatcher.h"
#include "script/ScriptHost.h"

namespace {
// A script that logs its name with every event it hears.
CStringA MakeNamedScript(const char* name, const char* extra = "")
{
    CStringA text;
    text.Format("log('%s top');\r\n"
                "function event::onLoad() { log('%s load'); }\r\n"
                "function event::onUnload() { log('%s unload'); }\r\n"
                "function event::onConnect() { log('%s connect'); }\r\n"
                "function event::onSendingCommand(c, p, x) { log('%s ' + c + ' ' + p); %s }\r\n",
                name, name, name, name, name, extra);
    return text;
}

void SetWriteTime(const CString& path, DWORD secondsAgo)
{
    HANDLE file = CreateFileW(path, FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time = {{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= (ULONGLONG)secondsAgo * 10000000;
    FILETIME stamp = {time.LowPart, time.HighPart};
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
}
} // namespace

TEST_F(ScriptFixture, ScriptsHearEventsInCodeUnitOrderOfTheirNames)
{
    WriteScript(L"a.js", MakeNamedScript("a"));
    WriteScript(L"B.js", MakeNamedScript("B"));
    Load({L"a.js", L"B.js", L"a.js", L"missing.js"});
    EXPECT_EQ((std::vector<CString>{L"B.js", L"a.js"}), manager.GetLoadedNames());
    EXPECT_EQ((std::vector<CString>{L"a top", L"B top", L"a load", L"B load"}), Logged());
    frame.logs.clear();
    manager.FireOnConnect();
    EXPECT_EQ((std::vector<CString>{L"B connect", L"a connect"}), Logged());
}

TEST_F(ScriptFixture, HandledCommandStopsAtTheScriptThatTookIt)
{
    WriteScript(L"a.js", MakeNamedScript("a"));
    WriteScript(L"B.js", MakeNamedScript("B", "x.handled = (c == 'TAKE');"));
    WriteScript(L"0.js", MakeNamedScript("0"));
    Load({L"a.js", L"B.js", L"0.js"});
    frame.logs.clear();
    EXPECT_TRUE(manager.FireOnSendingCommand(L"TAKE", L"it"));
    EXPECT_EQ((std::vector<CString>{L"0 TAKE it", L"B TAKE it"}), Logged());
    frame.logs.clear();
    EXPECT_FALSE(manager.FireOnSendingCommand(L"LEAVE", L"it"));
    EXPECT_EQ((std::vector<CString>{L"0 LEAVE it", L"B LEAVE it", L"a LEAVE it"}), Logged());
}

TEST_F(ScriptFixture, ChangedScriptsReloadAndUnchangedOnesStay)
{
    WriteScript(L"a.js", MakeNamedScript("a"));
    WriteScript(L"b.js", MakeNamedScript("b"));
    SetWriteTime(folder.File(L"a.js"), 100);
    Load({L"a.js", L"b.js"});
    TScriptHost* first = manager.FindHost(L"a.js");
    frame.logs.clear();
    Load({L"a.js", L"b.js"});
    EXPECT_TRUE(frame.logs.empty());
    EXPECT_EQ(first, manager.FindHost(L"a.js"));

    // Same size, new time stamp: the new instance runs before the old one hears onUnload.
    SetWriteTime(folder.File(L"a.js"), 50);
    Load({L"a.js"});
    EXPECT_EQ((std::vector<CString>{L"a top", L"a unload", L"b unload", L"a load"}), Logged());
    EXPECT_EQ((std::vector<CString>{L"a.js"}), manager.GetLoadedNames());

    frame.logs.clear();
    DeleteFileW(folder.File(L"a.js"));
    Load({L"a.js"});
    EXPECT_EQ((std::vector<CString>{L"a unload"}), Logged());
    EXPECT_TRUE(manager.GetLoadedNames().empty());
}

TEST_F(ScriptFixture, ScriptTextReachesTheEngineWithCrLfLineEnds)
{
    // LF-only line ends, a byte-order mark and no final line break.
    WriteScript(L"test.js", "\xEF\xBB\xBF function f() {\n}\nlog(escape(f.toString()))");
    Load({L"test.js"});
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ(CString(L"function%20f%28%29%20%7B%0D%0A%7D"), LastLog());

    WriteScript(L"bad.js", "var a = 1;\n// two\nvar = 3");
    Load({L"bad.js"});
    ASSERT_FALSE(frame.errors.empty());
    EXPECT_NE(-1, frame.errors[0].Find(L"line 3)")) << frame.errors[0].GetString();
}

namespace {
// What the main window does when the scripts folder changes: load the same list again.
class TReloadOnChange : public IDirectoryWatcherListener {
public:
    TReloadOnChange(TScriptManager& manager, std::vector<CString> names) : manager(manager), names(names) {}
    void OnDirectoryChanged(TDirectoryWatcher*) override
    {
        manager.LoadScripts(names);
        changes++;
    }
    TScriptManager& manager;
    std::vector<CString> names;
    int changes = 0;
};
} // namespace

TEST_F(ScriptFixture, EditedScriptReloadsWhenTheFolderWatcherReports)
{
    WriteScript(L"a.js", "var version = 1; function event::onConnect() { log('version ' + version); }");
    Load({L"a.js"});
    TReloadOnChange reload(manager, {L"a.js"});
    TDirectoryWatcher watcher(&reload);
    watcher.SetFolder(folder.path);
    ASSERT_TRUE(watcher.Start());
    ASSERT_TRUE(WaitUntilWatching(folder.path, [&] { return reload.changes > 0; }));
    TScriptHost* first = manager.FindHost(L"a.js");
    WriteScript(L"a.js", "var version = 22; function event::onConnect() { log('version ' + version); }");
    // The new instance is made before the old one goes, so it never takes the old one's place.
    WaitUntil([&] { return manager.FindHost(L"a.js") != first; }, "the edited script reloaded");
    EXPECT_TRUE(watcher.Stop());
    frame.logs.clear();
    manager.FireOnConnect();
    EXPECT_EQ((std::vector<CString>{L"version 22"}), Logged());
}

TEST_F(ScriptFixture, EventsFiredFromInsideAHandlerRunNested)
{
    // The server echoes a script's own message as an event, as the engine does for sent text.
    struct TEchoingServer : TFakeScriptServer {
        TScriptManager* manager = nullptr;
        void ExecuteCommand(const CString& line) override
        {
            TFakeScriptServer::ExecuteCommand(line);
            manager->FireOnChannelText({L"me", L"me", L"", L""}, L"#a", line);
        }
    };
    TEchoingServer echoing;
    TScriptManager nested(&echoing, &frame);
    echoing.manager = &nested;
    WriteScript(L"a.js", "function event::onConnect() { log('before'); sendRaw('PRIVMSG #a :x'); log('after'); }\r\n"
                         "function event::onChannelText(p, c, t) { log('echo ' + t); }\r\n");
    nested.LoadScripts({L"a.js"});
    nested.FireOnConnect();
    EXPECT_EQ((std::vector<CString>{L"before", L"echo PRIVMSG #a :x", L"after"}), Logged());
    EXPECT_TRUE(frame.errors.empty());
}

TEST_F(ScriptFixture, ScriptUnloadedFromInsideItsOwnCodeFinishesFirst)
{
    // The server unloads every script when asked to connect, as a shutdown from a menu would.
    struct TUnloadingServer : TFakeScriptServer {
        TScriptManager* manager = nullptr;
        void Connect() override { manager->UnloadAll(true); }
    };
    TUnloadingServer unloading;
    unloading.connected = false;
    TScriptManager own(&unloading, &frame);
    unloading.manager = &own;
    WriteScript(L"a.js", "function event::onUnload() { log('unload'); }\r\n"
                         "function event::onConnect() { connect(); log('after ' + name); }\r\n"
                         "setTimeout(function() { connect(); log('timer after ' + name); }, 10);\r\n");
    own.LoadScripts({L"a.js"});
    own.FireOnConnect();
    EXPECT_EQ((std::vector<CString>{L"unload", L"after testnet"}), Logged());
    EXPECT_TRUE(own.GetLoadedNames().empty());
    EXPECT_TRUE(frame.errors.empty());

    frame.logs.clear();
    own.LoadScripts({L"a.js"});
    WaitUntil([&] { return frame.logs.size() >= 2; }, "the timer's connect and what followed it");
    EXPECT_EQ((std::vector<CString>{L"unload", L"timer after testnet"}), Logged());
    EXPECT_TRUE(own.GetLoadedNames().empty());
}
