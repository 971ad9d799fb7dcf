// The script settings window as a user meets it: real servers of a world with real script
// managers, right-clicks on the list's cells, its buttons and Escape.

#include "script/ScriptSelectDialog.h"
#include "../common/ControlText.h"
#include "../common/DialogSteps.h"
#include "../common/ListViewCells.h"
#include "../common/MessagePump.h"
#include "../common/Screenshot.h"
#include "../common/UserInput.h"
#include "ScriptFakes.h"
#include "res/windows/script.h"
#include "script/UnitScriptServer.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <algorithm>
#include <memory>

namespace {

class TSelectRecorder : public IScriptSelectDialogListener {
public:
    // Deletes the window as its owner does.
    void OnScriptSelectDialogClosed(TScriptSelectDialog* dialog) override
    {
        closed++;
        delete dialog;
    }
    void OnScriptSelectionChanged(TScriptSelectDialog*) override { changed++; }
    void OnShowScriptConsole(TScriptSelectDialog*) override { console++; }

    int closed = 0;
    int changed = 0;
    int console = 0;
};

// One server of the world with its own script manager, as the program wires them.
struct TServerScripts {
    TServerScripts(TIRCUnit* unit, IScriptFrame* frame) : server(unit), manager(&server, frame)
    {
        unit->SetScripts(&manager);
        manager.LoadScripts(unit->GetSettings().ScriptFiles);
    }
    TUnitScriptServer server;
    TScriptManager manager;
};

// Loaded scripts come in code-unit order of their names.
std::vector<CString> Sorted(std::vector<CString> names)
{
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
    return names;
}

const char kScript[] = "log('top');\r\n"
                       "function event::onLoad() { log('load'); }\r\n"
                       "function event::onUnload() { log('unload'); }\r\n";

class ScriptSelectDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const wchar_t* name : {L"a.js", L"B.js", L"日本語.js", L"readme.txt"})
            ASSERT_TRUE(WriteFileBytes(scripts.File(name), kScript));
        CreateDirectoryW(scripts.File(L"folder.js"), nullptr);
        frame.scriptFolder = frame.filesFolder = scripts.path;
        config.scriptFolder = scripts.path;
        config.geometry.scriptSelectSize = {520, 320};
        config.geometry.scriptSelectFileHeader = 120;
        config.preference.Load(settingsFolder.path);
        AddServer(L"ＩＲＣネット", 5, {L"a.js"});
        AddServer(L"second", 500, {L"B.js", L"a.js"});
        AddServer(L"third", 70, {});
        world = std::make_unique<TIRCWorld>(&config, nullptr);
        world->CreateUnitsFromSettings();
        for (TIRCUnit* unit : world->GetUnits())
            serverScripts.push_back(std::make_unique<TServerScripts>(unit, &frame));
        frame.logs.clear();
    }
    void TearDown() override
    {
        delete dialog;
        // The units unload their scripts as they go, so the managers go after them, as the
        // program's do with their units.
        world.reset();
        serverScripts.clear();
    }
    void AddServer(const wchar_t* name, int columnWidth, std::vector<CString> enabled)
    {
        config.world.Units.emplace_back();
        config.world.Units.back().Name = name;
        config.world.Units.back().ScriptHeaderWidth = columnWidth;
        config.world.Units.back().ScriptFiles = enabled;
    }
    TIRCUnit* Unit(int index) { return world->GetUnits()[index]; }
    void Open(std::vector<TIRCUnit*> servers)
    {
        dialog = new TScriptSelectDialog(&config, world.get());
        dialog->listener = &recorder;
        dialog->SetServers(servers);
        ASSERT_TRUE(dialog->Create());
        dialog->ShowWindow(SW_SHOW);
        PumpPendingMessages();
    }
    HWND List() { return dialog->GetList().m_hWnd; }
    int Row(const wchar_t* file) { return dialog->GetList().FindItemByText(file); }
    CString Cell(const wchar_t* file, int column) { return dialog->GetList().GetItemText(Row(file), column); }
    void RightClick(const wchar_t* file, int column)
    {
        FocusForInput(List());
        ClickAt(ListViewCellPoint(List(), Row(file), column), true);
    }

    TTempFolder scripts;
    TTempFolder settingsFolder;
    TComApartment apartment;
    TFakeScriptFrame frame;
    TConfig config;
    std::unique_ptr<TIRCWorld> world;
    std::vector<std::unique_ptr<TServerScripts>> serverScripts;
    TSelectRecorder recorder;
    TScriptSelectDialog* dialog = nullptr;
};

TEST_F(ScriptSelectDialogTest, OpensWithTheStoredLayoutAndShowsWhereEachScriptRuns)
{
    // A server that is not in the world gets no column.
    TUnitSetting straySetting;
    straySetting.Name = L"stray";
    TIRCUnit stray(nullptr, &config.preference, straySetting);
    Open({Unit(0), &stray, Unit(1), Unit(2)});

    EXPECT_EQ((std::vector<CString>{L"ファイル名", L"ＩＲＣネット", L"second", L"third"}), ColumnHeadings(List()));
    // Stored server widths are held to 10 .. 200 pixels.
    const int widths[] = {120, 10, 200, 70};
    for (int column = 0; column < 4; column++)
        EXPECT_EQ(widths[column], ListView_GetColumnWidth(List(), column)) << column;
    // Only files that end in ".js".
    EXPECT_EQ(3, dialog->GetList().GetItemCount());
    EXPECT_EQ(-1, Row(L"readme.txt"));
    EXPECT_EQ(-1, Row(L"folder.js"));
    const struct {
        const wchar_t* file;
        const wchar_t* cells[3];
    } kCells[] = {
        {L"a.js", {L"○", L"○", L""}},
        {L"B.js", {L"", L"○", L""}},
        {L"日本語.js", {L"", L"", L""}},
    };
    for (const auto& row : kCells) {
        for (int server = 0; server < 3; server++)
            EXPECT_EQ(CString(row.cells[server]), Cell(row.file, server + 1)) << row.file << " " << server;
    }
    RECT outer;
    dialog->GetWindowRect(&outer);
    EXPECT_EQ(520, outer.right - outer.left);
    EXPECT_EQ(320, outer.bottom - outer.top);
    EXPECT_EQ(List(), GetFocus());
    EXPECT_EQ(0, dialog->GetList().GetNextItem(-1, LVNI_SELECTED | LVNI_FOCUSED));
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"script-select.png"));
}

TEST_F(ScriptSelectDialogTest, RightClickOnACellStartsOrStopsThatScriptOnThatServerAtOnce)
{
    Open({Unit(0), Unit(1), Unit(2)});
    const struct {
        const wchar_t* file;
        int column;
        const wchar_t* cell;
        std::vector<CString> logged;  // what the scripts wrote, in order
        std::vector<CString> enabled; // the first server's list afterwards
    } kClicks[] = {
        {L"B.js", 1, L"○", {L"ＩＲＣネット/B.js: top", L"ＩＲＣネット/B.js: load"}, {L"a.js", L"B.js"}},
        {L"a.js", 1, L"", {L"ＩＲＣネット/a.js: unload"}, {L"B.js"}},
        {L"B.js", 1, L"", {L"ＩＲＣネット/B.js: unload"}, {}},
        // The file-name column changes nothing.
        {L"日本語.js", 0, L"日本語.js", {}, {}},
        {L"日本語.js", 1, L"○", {L"ＩＲＣネット/日本語.js: top", L"ＩＲＣネット/日本語.js: load"}, {L"日本語.js"}},
    };
    int changes = 0;
    for (const auto& click : kClicks) {
        frame.logs.clear();
        RightClick(click.file, click.column);
        EXPECT_EQ(CString(click.cell), Cell(click.file, click.column)) << click.file;
        EXPECT_EQ(click.logged, frame.logs) << click.file;
        EXPECT_EQ(click.enabled, Unit(0)->GetSettings().ScriptFiles) << click.file;
        EXPECT_EQ(Sorted(click.enabled), serverScripts[0]->manager.GetLoadedNames()) << click.file;
        changes += click.column > 0 ? 1 : 0;
        EXPECT_EQ(changes, recorder.changed) << click.file;
    }
    // The other servers kept their scripts.
    EXPECT_EQ((std::vector<CString>{L"B.js", L"a.js"}), Unit(1)->GetSettings().ScriptFiles);
    EXPECT_EQ((std::vector<CString>{L"B.js", L"a.js"}), serverScripts[1]->manager.GetLoadedNames());

    // Empty space below the rows changes nothing either.
    RECT client;
    GetClientRect(List(), &client);
    FocusForInput(List());
    ClickAt(ScreenPointOf(List(), 200, client.bottom - 5), true);
    EXPECT_EQ(changes, recorder.changed);
    EXPECT_TRUE(frame.errors.empty());
}

TEST_F(ScriptSelectDialogTest, ConsoleButtonAndEscapeReachTheOwnerAndWidthsReachTheSettings)
{
    Open({Unit(0), Unit(1)});
    FocusForInput(List());
    ClickAt(ScreenPointOf(dialog->GetDlgItem(IDC_SCRIPT_SHOW_CONSOLE)));
    EXPECT_TRUE(PumpMessagesUntil([&] { return recorder.console == 1; }, kWaitBoundMs));

    // The window remembers the size the user gives it.
    dialog->SetWindowPos(nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER);
    ListView_SetColumnWidth(List(), 0, 150);
    ListView_SetColumnWidth(List(), 2, 33);
    FocusForInput(List());
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpMessagesUntil([&] { return recorder.closed == 1; }, kWaitBoundMs));
    dialog = nullptr; // the owner deleted it
    EXPECT_EQ(640, config.geometry.scriptSelectSize.width);
    EXPECT_EQ(420, config.geometry.scriptSelectSize.height);
    EXPECT_EQ(150, config.geometry.scriptSelectFileHeader);
    EXPECT_EQ(10, Unit(0)->GetSettings().ScriptHeaderWidth);
    EXPECT_EQ(33, Unit(1)->GetSettings().ScriptHeaderWidth);
    EXPECT_EQ(0, recorder.changed);

    // A file column dragged shut stays shut.
    Open({Unit(0), Unit(1)});
    ExpectColumnStaysShut(List(), 0, [&] {
        FocusForInput(List());
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(PumpMessagesUntil([&] { return recorder.closed == 2; }, kWaitBoundMs));
        dialog = nullptr;
        Open({Unit(0), Unit(1)});
        return List();
    });
}

} // namespace
