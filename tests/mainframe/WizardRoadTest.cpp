// The first start of the real program from an empty settings folder, driven by keys and clicks:
// the beginner's path to a working server, the advanced path, the take-over of the previous
// version's settings from the three places it may come from, and a cancelled start that
// leaves the files it found as they were.

#include "tests/mainframe/ProgramInput.h"
#include "tests/mainframe/ProgramRun.h"

#include "classlib/MsgMap.h"
#include "controls/Clipboard.h"
#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "foundation/Path.h"
#include "legacy/LegacyImport.h"
#include "mainframe/FirstStartWizard.h"
#include "res/resource.h"
#include "res/windows/wizard.h"
#include "settings/Config.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

// A wizard page, the take-over question (its "choose another place" button) or another dialog
// of the program, once shown and in front: keys sent before would go elsewhere.
HWND WaitDialogWith(TProgramRun& run, int controlId, DWORD timeoutMs = 15000)
{
    HWND found = run.WaitDialogWith(controlId, timeoutMs);
    if (found && WaitUntil([&] { return ::GetForegroundWindow() == found; }, "the dialog in front"))
        WaitAnswer(found);
    return found;
}

// The system's folder chooser once it is in front with its start folder selected.
HWND WaitFolderChooser(TProgramRun& run)
{
    HWND found = nullptr;
    PumpMessagesUntil(
        [&] {
            for (HWND w = ::GetTopWindow(nullptr); w && !found; w = ::GetWindow(w, GW_HWNDNEXT)) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(w, &owner);
                if (owner == run.ProcessId() && ::IsWindowVisible(w) && !FindChildren(w, WC_TREEVIEWW).empty())
                    found = w;
            }
            return found != nullptr;
        },
        15000);
    if (found)
        WaitUntil(
            [&] {
                return ::GetForegroundWindow() == found &&
                       TreeView_GetSelection(FindChildren(found, WC_TREEVIEWW).at(0)) != nullptr;
            },
            "the folder chooser in front, its start folder selected");
    return found;
}

bool Checked(HWND dialog, int id) { return ::SendMessageW(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The page's idle pass sets its buttons once the program's queue runs dry after the input. A
// button that must change state is waited for; one that must keep its state is read after the
// page's idle pass has run once more with the text now in the field.
bool Enabled(HWND dialog, int id)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(dialog, WM_KICKIDLE, 0, 0, SMTO_NORMAL, 10000, &result))
        ADD_FAILURE() << "the page's idle pass did not run: the button's state may be from before the input";
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

bool BecomesEnabled(HWND dialog, int id, bool enabled)
{
    return WaitUntil([&] { return (::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE) == enabled; },
                     enabled ? "the button enabled" : "the button disabled");
}

// The field shows the text: the keys have been read.
void WaitText(HWND field, const CString& text)
{
    WaitUntil([&] { return WindowText(field) == text; }, "the typed text in the field");
}

void Click(HWND dialog, int id) { ClickAt(ScreenPointOf(::GetDlgItem(dialog, id))); }

// Selects all of a field's text and types over it (a combo box's edit knows no Ctrl+A).
void TypeInto(HWND field, const wchar_t* text)
{
    ClickAt(ScreenPointOf(field, 10, 8));
    PressKey(VK_END);
    PressKey(VK_HOME, {VK_SHIFT});
    PressKey(VK_DELETE);
    TypeText(text);
    WaitText(field, text);
}

void Shoot(HWND window, const wchar_t* name) { SaveWindowPng(window, ScreenshotPath(name)); }

// Focus on the window (a dialog, a control of one) and Return, as a user takes what it offers.
void PressReturnIn(HWND window)
{
    FocusForInput(window);
    PressKey(VK_RETURN);
}

// The servers the start stored, read back by the program's own loaders after a check that it
// counts as installed: a line each of the name, host:port, nick, user and real names, "auto"
// when it connects at start, and its channels.
CString StoredServers(const TProgramRun& run)
{
    TConfig config;
    config.settingsFolder = run.SettingsFolder();
    config.LoadServerTree();
    config.preference.Load(config.settingsFolder);
    EXPECT_TRUE(config.preference.Installed);
    CString text;
    for (const TUnitConfig& unit : config.world.Units) {
        text += unit.Name + L" " + unit.Hostname + L":" + std::to_wstring(unit.Port).c_str() + L" " + unit.Nick + L" " +
                unit.Username + L" " + unit.Realname + (unit.AutoConnect ? L" auto" : L"");
        for (const TChannelConfig& channel : unit.Channels)
            text += L" " + channel.Name;
        text += L"\n";
    }
    return text;
}

// The Windows user name the program takes the previous version's profile name from.
CString LegacyProfileName()
{
    CString name = TConfig::GetSystemFolderEnvironment().windowsUserName;
    ReplaceInvalidPathChars(name);
    return name;
}

// A previous version's installation in the folder, written in code page 932 as it wrote it:
// one server with one channel, which StoredServers shows as kLegacyServer once taken over.
const wchar_t kLegacyServer[] = L"旧ネット irc.old.example:6668 oldnick olduser 古い名前 #昔\n";
void WriteLegacyInstall(const CString& folder)
{
    CreateFolderTree(folder + L"Config\\");
    CString base = folder + L"Config\\" + LegacyProfileName();
    WriteFileBytes(base + L"-general.ini",
                   ConvertToCodePage(L"[User]\r\nUsername=olduser\r\nRealname=古い名前\r\n", CP_SHIFT_JIS));
    WriteFileBytes(base + L"-profile.ini",
                   ConvertToCodePage(L"[Root]\r\nProfileCount=1\r\nName0=旧ネット\r\nAutoConnect0=false\r\n"
                                     L"[旧ネット]\r\nServer=irc.old.example\r\nPort=6668\r\nNick=oldnick\r\n"
                                     L"AutoJoinChCount=1\r\nAutoJoinChItem0=#昔\r\n",
                                     CP_SHIFT_JIS));
}

// Closes the main window, answers the question whether to quit, and waits for the end.
void CloseProgram(TProgramRun& run, HWND main)
{
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    HWND ask = run.WaitWindow(L"確認");
    ASSERT_TRUE(ask);
    PressReturnIn(ask);
    EXPECT_EQ(0, run.WaitExit(10000));
}

// The main window comes; closed, it has stored the previous version's server.
void ExpectLegacyTakenOverAtTheClose(TProgramRun& run)
{
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);
    CloseProgram(run, main);
    EXPECT_EQ(StoredServers(run), CString(kLegacyServer));
}

// Starts the program: its start page, or null.
HWND StartPage(TProgramRun& run) { return run.Start() ? WaitDialogWith(run, IDC_INSTALL_CHOICE) : nullptr; }

// Starts the program and takes what the start page offers with Return: the main window, or null.
HWND StartWithWhatIsOffered(TProgramRun& run)
{
    HWND start = StartPage(run);
    if (!start)
        return nullptr;
    PressReturnIn(start);
    return run.WaitMainWindow();
}

// A control of the window or of one of its pages.
HWND Descendant(HWND window, int id)
{
    HWND found = nullptr;
    for (HWND child = ::GetWindow(window, GW_CHILD); child && !found; child = ::GetWindow(child, GW_HWNDNEXT))
        found = ::GetDlgCtrlID(child) == id ? child : Descendant(child, id);
    return found;
}

// Ctrl+Q in the main window, then the server's name, host and nick typed into its sheet and OK.
void AddServer(TProgramRun& run, HWND main, const wchar_t* name)
{
    FocusForInput(main);
    PressKey('Q', {VK_CONTROL});
    HWND sheet = WaitDialogWith(run, IDC_PROPERTY_TAB);
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(WaitUntil([&] { return Descendant(sheet, IDC_SERVER_NICK) != nullptr; }, "the connection page"));
    TypeInto(Descendant(sheet, IDC_SERVER_NAME), name);
    TypeInto(Descendant(sheet, IDC_SERVER_HOST), L"irc.added.example");
    TypeInto(Descendant(sheet, IDC_SERVER_NICK), L"adder");
    ASSERT_TRUE(BecomesEnabled(sheet, IDOK, true));
    Click(sheet, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(sheet); }, "the server sheet closed"));
}

// The previous version's default folder as a test writes it, marked so that one left behind by
// a run that was killed is known and removed before the next test looks for settings there.
const wchar_t kTestMark[] = L"written-by-wizard-test";

void RemoveTestInstall()
{
    CString folder = kLegacyDefaultFolder;
    if (PathExists(folder + kTestMark))
        DeleteFolderTree(folder.Left(folder.GetLength() - 1));
}

class WizardRoadTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveTestInstall(); }
    void TearDown() override { RemoveTestInstall(); }
};

} // namespace

TEST_F(WizardRoadTest, BeginnerPathMakesAServerThatConnectsJoinsAndTalks)
{
    REQUIRE_PEERS();
    std::string host = PeerValue("IRC_WIZARD_HOST");
    ASSERT_FALSE(host.empty()) << "no server on port 6667";
    CString typedHost = ConvertFromUtf8(CStringA(host.c_str()));
    std::string channel = "#wiz" + std::to_string(GetTickCount() % 100000);
    CString typedChannel = ConvertFromUtf8(CStringA(channel.c_str()));

    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(6667, "wizpeer", host.c_str());
    ASSERT_TRUE(peer);
    peer->Send("JOIN " + channel + "\r\n");
    ASSERT_TRUE(peer->WaitFor("JOIN :" + channel));

    TProgramRun run;
    HWND start = StartPage(run);
    ASSERT_TRUE(start);
    EXPECT_TRUE(Checked(start, IDC_INSTALL_CHOICE)) << "no previous version: the beginner's path is offered";
    Shoot(start, L"wizard-start.png");
    PressReturnIn(start);

    HWND server = WaitDialogWith(run, IDC_INSTALL_SERVER);
    ASSERT_TRUE(server);
    EXPECT_EQ(WindowText(::GetDlgItem(server, IDC_INSTALL_SERVER)), CString(L"irc.libera.chat (Libera.Chat)"));
    EXPECT_FALSE(Enabled(server, IDOK)) << "no nick yet";
    EXPECT_EQ(::GetForegroundWindow(), server);
    TypeInto(::GetDlgItem(server, IDC_INSTALL_NICK), L"kvwizard");
    EXPECT_TRUE(BecomesEnabled(server, IDOK, true)) << "a nick and the listed server";
    TypeInto(::GetDlgItem(server, IDC_INSTALL_SERVER), L"-");
    EXPECT_TRUE(BecomesEnabled(server, IDOK, false)) << "a separator line is no server";
    TypeInto(::GetDlgItem(server, IDC_INSTALL_SERVER), typedHost);
    EXPECT_EQ(WindowText(::GetDlgItem(server, IDC_INSTALL_SERVER)), typedHost);
    EXPECT_TRUE(BecomesEnabled(server, IDOK, true));
    Shoot(server, L"wizard-server.png");
    PressKey(VK_RETURN);

    HWND channels = WaitDialogWith(run, IDC_INSTALL_CHANNEL_LIST);
    ASSERT_TRUE(channels);
    HWND list = ::GetDlgItem(channels, IDC_INSTALL_CHANNEL_LIST);
    EXPECT_TRUE(Checked(channels, IDC_INSTALL_CONNECT));
    EXPECT_EQ(::GetForegroundWindow(), channels);
    TypeText(L"nochannel");
    WaitText(::GetDlgItem(channels, IDC_INSTALL_CHANNEL_EDIT), L"nochannel");
    EXPECT_FALSE(Enabled(channels, IDC_INSTALL_CHANNEL_ADD)) << "not a channel name";
    TypeInto(::GetDlgItem(channels, IDC_INSTALL_CHANNEL_EDIT), typedChannel);
    PressKey(VK_RETURN); // Enter in the edit adds
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LB_GETCOUNT, 0, 0) == 1; }, "the channel added"));
    EXPECT_EQ(WindowText(::GetDlgItem(channels, IDC_INSTALL_CHANNEL_EDIT)), CString());
    TypeText(typedChannel.MakeUpper());
    WaitText(::GetDlgItem(channels, IDC_INSTALL_CHANNEL_EDIT), typedChannel);
    EXPECT_FALSE(Enabled(channels, IDC_INSTALL_CHANNEL_ADD)) << "the same channel in other letters";
    // What the JOIN line would split is refused on Add as the channel dialog refuses it.
    for (const wchar_t* name : {L"#a b", L"#x,0"}) {
        TypeInto(::GetDlgItem(channels, IDC_INSTALL_CHANNEL_EDIT), name);
        PressKey(VK_RETURN);
        HWND box = WaitDialogWith(run, 0xFFFF);
        ASSERT_TRUE(box) << Narrow(name);
        EXPECT_NE(-1, WindowText(::GetDlgItem(box, 0xFFFF)).Find(L"空白やカンマ"));
        PressReturnIn(box);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, "the warning answered"));
        EXPECT_EQ(1, (int)::SendMessageW(list, LB_GETCOUNT, 0, 0)) << Narrow(name);
        EXPECT_EQ(WindowText(::GetDlgItem(channels, IDC_INSTALL_CHANNEL_EDIT)), CString(name)) << "left to mend";
    }
    TypeInto(::GetDlgItem(channels, IDC_INSTALL_CHANNEL_EDIT), L"");

    // Back to the server page and forward again keeps both pages' fields.
    Click(channels, IDC_INSTALL_BACK);
    server = WaitDialogWith(run, IDC_INSTALL_SERVER);
    ASSERT_TRUE(server);
    EXPECT_EQ(WindowText(::GetDlgItem(server, IDC_INSTALL_NICK)), CString(L"kvwizard"));
    EXPECT_EQ(WindowText(::GetDlgItem(server, IDC_INSTALL_SERVER)), typedHost);
    Click(server, IDOK);
    channels = WaitDialogWith(run, IDC_INSTALL_CHANNEL_LIST);
    ASSERT_TRUE(channels);
    list = ::GetDlgItem(channels, IDC_INSTALL_CHANNEL_LIST);
    EXPECT_EQ(1, (int)::SendMessageW(list, LB_GETCOUNT, 0, 0));
    Shoot(channels, L"wizard-channel.png");
    PressReturnIn(::GetDlgItem(channels, IDC_INSTALL_CHANNEL_EDIT)); // Enter in the empty edit goes on

    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);
    bool joined = peer->WaitFor(":kvwizard!", 20000);
    Shoot(main, L"wizard-main-window.png");
    ASSERT_TRUE(joined) << "the new server connects at start and joins the channel";

    HWND input = InputLine(main);
    ASSERT_TRUE(input);
    HWND tree = FindChildren(main, L"SysTreeView32").at(0);
    ClickAt(ScreenPointOf(tree, 40, 8));
    PressKey(VK_DOWN);
    ClickAt(ScreenPointOf(input));
    TypeText(L"hello from the first start");
    PressKey(VK_RETURN);
    ASSERT_TRUE(peer->WaitFor("PRIVMSG " + channel + " :hello from the first start"));
    std::string received;
    for (const std::string& line : peer->Lines())
        if (line.find(" PRIVMSG " + channel) != std::string::npos)
            received = line;
    EXPECT_EQ(received.substr(received.find(' ')), " PRIVMSG " + channel + " :hello from the first start");
    EXPECT_EQ(received.find(":kvwizard!"), 0u) << received;
    CloseProgram(run, main);
    // No network in parentheses: named after the nick.
    EXPECT_EQ(StoredServers(run), L"kvwizard " + typedHost + L":6667 kvwizard kvwizard kvwizard auto " +
                                      ConvertFromUtf8(CStringA(channel.c_str())) + L"\n");
}

TEST_F(WizardRoadTest, AdvancedPathStartsWithAnEmptyTreeAndIsNotAskedAgain)
{
    TProgramRun run;
    HWND start = StartPage(run);
    ASSERT_TRUE(start);
    Click(start, IDC_INSTALL_CHOICE_ADVANCED);
    Click(start, IDOK);
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);
    HWND tree = FindChildren(main, L"SysTreeView32").at(0);
    EXPECT_EQ(0, (int)::SendMessageW(tree, TVM_GETCOUNT, 0, 0));
    CloseProgram(run, main);
    EXPECT_EQ(StoredServers(run), CString());
    for (const wchar_t* name : {L"window.ini", L"tree.ini", L"preference.ini", L"view.ini"})
        EXPECT_TRUE(PathExists(run.SettingsFolder() + name)) << Narrow(name);

    ASSERT_TRUE(run.Start());
    main = run.WaitMainWindow();
    ASSERT_TRUE(main) << "the second start goes straight to the main window";
    // The wizard, were it shown, is up once the start-up has run and the window answers.
    WaitAnswer(main);
    EXPECT_FALSE(run.WaitDialogWith(IDC_INSTALL_CHOICE, 0));
    CloseProgram(run, main);
}

TEST_F(WizardRoadTest, CancelKeepsTheFilesItFoundByteIdentical)
{
    TProgramRun run;
    // Written by hand, with a key no loader knows: a rewrite would lose it.
    const std::string tree = "[World]\r\nUnit.Count=1\r\n[Unit.00]\r\nName=kept\r\nHostname=irc.kept.example\r\n"
                             "Nick=keeper\r\nHandWritten=yes\r\n";
    run.WriteSettings(L"tree.ini", tree);
    run.WriteSettings(L"window.ini", "[Main]\r\nLeft=20\r\nTop=20\r\nWidth=700\r\nHeight=500\r\nOwn=1\r\n");
    std::string treeBefore = run.ReadSettings(L"tree.ini"), windowBefore = run.ReadSettings(L"window.ini");
    HWND start = StartPage(run);
    ASSERT_TRUE(start);
    PressReturnIn(start);
    HWND server = WaitDialogWith(run, IDC_INSTALL_SERVER);
    ASSERT_TRUE(server);
    TypeInto(::GetDlgItem(server, IDC_INSTALL_NICK), L"someone");
    PressKey(VK_ESCAPE);
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);
    EXPECT_EQ(run.ReadSettings(L"tree.ini"), treeBefore);
    EXPECT_EQ(run.ReadSettings(L"window.ini"), windowBefore);
    EXPECT_EQ(IniValue(run.ReadSettings(L"preference.ini"), "Installed"), "true");
    HWND treeView = FindChildren(main, L"SysTreeView32").at(0);
    EXPECT_EQ(1, (int)::SendMessageW(treeView, TVM_GETCOUNT, 0, 0)) << "the server found is shown, none added";
    CloseProgram(run, main);
}

// Settings another program holds open without read sharing: the start names each file with the
// system's reason, does not take them for a new installation, and leaves them as they were.
TEST_F(WizardRoadTest, UnreadableSettingsAreNamedAndLeftAsTheyWere)
{
    TProgramRun run;
    run.WriteSettings(L"preference.ini", "[Application]\r\nInstalled=true\r\n");
    run.WriteSettings(L"tree.ini", "[World]\r\nUnit.Count=1\r\n[Unit.00]\r\nName=kept\r\n");
    run.WriteSettings(L"view.ini", "[LogText]\r\nLineFont.03.Color=ff0000\r\n");
    const wchar_t* const names[] = {L"preference.ini", L"tree.ini", L"view.ini"};
    std::vector<std::string> before;
    std::vector<HANDLE> holders;
    for (const wchar_t* name : names) {
        before.push_back(run.ReadSettings(name));
        holders.push_back(CreateFileW(run.SettingsFolder() + name, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(INVALID_HANDLE_VALUE, holders.back()) << Narrow(name);
    }
    ASSERT_TRUE(run.Start());
    HWND warning = WaitDialogWith(run, 0xFFFF, 30000);
    ASSERT_TRUE(warning) << "no word of the unreadable files";
    const CString text = WindowText(::GetDlgItem(warning, 0xFFFF));
    for (const wchar_t* name : names)
        EXPECT_NE(-1, text.Find(run.SettingsFolder() + name)) << Narrow(text);
    EXPECT_NE(-1, text.Find(GetSystemErrorText(ERROR_SHARING_VIOLATION))) << Narrow(text);
    Shoot(warning, L"unreadable-settings.png");
    PressReturnIn(warning);
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main) << "the start goes on to the main window, no first-start questions";
    // The wizard, were it shown, is up once the start-up has run and the window answers.
    WaitAnswer(main);
    EXPECT_FALSE(run.WaitDialogWith(IDC_INSTALL_CHOICE, 0));
    // Readable now, the files are still not written over with what the program could not read:
    // OK in the preferences writes preference.ini and view.ini, a server added tree.ini.
    for (HANDLE holder : holders)
        CloseHandle(holder);
    FocusForInput(main);
    PressKey('S', {VK_MENU});
    HWND preferences = WaitDialogWith(run, IDC_SHEET_TREE);
    ASSERT_TRUE(preferences);
    Click(preferences, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(preferences); }, "the preferences closed"));
    AddServer(run, main, L"added");
    HWND tree = FindChildren(main, L"SysTreeView32").at(0);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(tree, TVM_GETCOUNT, 0, 0) == 1; }, "the server added"));
    CloseProgram(run, main);
    for (size_t i = 0; i < before.size(); i++)
        EXPECT_EQ(run.ReadSettings(names[i]), before[i]) << Narrow(names[i]);
}

// Windows logging off while the first questions are up, and a close request coming then: the
// window was never placed, so the close writes nothing over the window.ini it found, and the
// start-up goes no further: the server marked for the start is not connected. (The log-off's own
// close is dropped while a modal window disables the main window.)
TEST_F(WizardRoadTest, ALogOffDuringTheFirstQuestionsWritesNoWindowStateAndStartsNothing)
{
    const struct {
        const char* name;
        bool unreadable;
        int control; // of the window up
    } cases[] = {{"the start page", false, IDC_INSTALL_CHOICE}, {"the unreadable settings warning", true, 0xFFFF}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TScriptedServer marked;
        TProgramRun run;
        run.WriteSettings(L"tree.ini", "[World]\r\nUnit.Count=1\r\n[Unit.00]\r\nName=marked\r\nHostname=127.0.0.1\r\n"
                                       "Port=" +
                                           std::to_string(marked.Port()) + "\r\nNick=kvlate\r\nAutoConnect=1\r\n");
        run.WriteSettings(L"window.ini", "[Main]\r\nLeft=20\r\nTop=20\r\nWidth=700\r\nHeight=500\r\nOwn=1\r\n");
        const std::string windowBefore = run.ReadSettings(L"window.ini");
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (c.unreadable) {
            run.WriteSettings(L"preference.ini", "[Application]\r\nInstalled=true\r\n");
            holder = CreateFileW(run.SettingsFolder() + L"preference.ini", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, holder);
        }
        ASSERT_TRUE(run.Start());
        HWND question = WaitDialogWith(run, c.control, 30000);
        ASSERT_TRUE(question);
        HWND main = ::GetWindow(question, GW_OWNER);
        ASSERT_TRUE(main);
        DWORD_PTR answer = 0;
        EXPECT_TRUE(
            ::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kWaitBoundMs, &answer));
        EXPECT_EQ(TRUE, (BOOL)answer);
        EXPECT_TRUE(::SendMessageTimeoutW(main, WM_CLOSE, 0, 0, SMTO_NORMAL, kWaitBoundMs, &answer));
        EXPECT_EQ(0, run.WaitExit(kWaitBoundMs));
        if (holder != INVALID_HANDLE_VALUE)
            CloseHandle(holder);
        EXPECT_EQ(run.ReadSettings(L"window.ini"), windowBefore);
        // Connections are taken in order: the first one taken is this probe's, nothing before it.
        std::unique_ptr<TLineSocket> probe = ConnectLineSocket(marked.Port());
        ASSERT_TRUE(probe);
        probe->Send("PROBE\r\n");
        TLineSocket* first = marked.WaitClient(1);
        ASSERT_TRUE(first);
        EXPECT_TRUE(first->WaitFor("PROBE")) << "the server marked for the start was connected";
    }
}

TEST_F(WizardRoadTest, TakeOverFromTheProgramFolderImportsAtOnce)
{
    TProgramRun run;
    WriteLegacyInstall(run.ProgramFolder());
    CString general = run.ProgramFolder() + L"Config\\" + LegacyProfileName() + L"-general.ini";
    CStringA generalBefore = ReadFileBytes(general);
    HWND start = StartPage(run);
    ASSERT_TRUE(start);
    EXPECT_TRUE(Checked(start, IDC_INSTALL_CHOICE_LEGACY)) << "settings were found: the take-over is offered";
    PressReturnIn(start);
    HWND main = run.WaitMainWindow();
    ASSERT_TRUE(main);
    // The question, were it asked, is up once the start-up has run and the window answers.
    WaitAnswer(main);
    EXPECT_FALSE(run.WaitDialogWith(IDC_LOAD_LEGACY_OTHER, 0)) << "no question for the program folder";
    CloseProgram(run, main);
    EXPECT_EQ(StoredServers(run), CString(kLegacyServer));
    EXPECT_EQ(ReadFileBytes(general), generalBefore) << "the old files are only read";
}

// An auto-op group larger than the take-over makes is left out, and the user is told so before
// the main window; everything else is taken over.
TEST_F(WizardRoadTest, TakeOverSaysWhatItLeftOut)
{
    TProgramRun run;
    WriteLegacyInstall(run.ProgramFolder());
    CStringA groups = "#big\r\n";
    for (long long i = 0; i <= kMaxLegacyAutoOpRecords; i++)
        groups += " *!*@a\r\n";
    WriteFileBytes(run.ProgramFolder() + L"Config\\" + LegacyProfileName() + L"-autoop.kcf", groups);
    HWND start = StartPage(run);
    ASSERT_TRUE(start);
    FocusForInput(start);
    // Taking over a hundred thousand records keeps the program from answering for a while (many
    // seconds on the checking heap): the key is given without waiting for the answer.
    QueueKey(VK_RETURN);
    HWND told = run.WaitWindow(L"設定の引き継ぎ", 60000);
    ASSERT_TRUE(told) << "no word of what was left out";
    wchar_t text[256] = L"";
    ::GetDlgItemTextW(told, 0xFFFF, text, 256);
    EXPECT_NE(std::wstring(text).find(L"1 個のグループ"), std::wstring::npos) << Narrow(text);
    Shoot(told, L"wizard-left-out.png");
    PressReturnIn(told);
    ExpectLegacyTakenOverAtTheClose(run);
}

// Settings the main window applies at its start: a take-over writes them after the window was made,
// and they count from this first session on, not only from the next start.
TEST_F(WizardRoadTest, TakenOverMenuAndLayoutCountAtOnceAndStay)
{
    TProgramRun run;
    WriteLegacyInstall(run.ProgramFolder());
    CString base = run.ProgramFolder() + L"Config\\" + LegacyProfileName();
    CStringA general = ReadFileBytes(base + L"-general.ini");
    WriteFileBytes(base + L"-general.ini", general + "[Action]\r\nShowMenu=false\r\n");
    WriteFileBytes(base + L"-view.ini", "[Format]\r\nInvertPanel=1\r\nInvertList=1\r\n");
    HWND main = StartWithWhatIsOffered(run);
    ASSERT_TRUE(main);
    Shoot(main, L"wizard-taken-over-layout.png");
    EXPECT_EQ(nullptr, ::GetMenu(main)) << "the menu bar the old version hid";
    RECT tree = {}, logs = {};
    ::GetWindowRect(FindChildren(main, L"SysTreeView32").at(0), &tree);
    ::GetWindowRect(FindChildren(main, L"Ketroval2ChatPanel").at(0), &logs);
    EXPECT_LE(tree.right, logs.left) << "the logs on the right";
    EXPECT_LT(tree.top, logs.top + 20) << "the server tree above the member list";
    CloseProgram(run, main);
    EXPECT_EQ(IniValue(run.ReadSettings(L"window.ini"), "MenuVisible"), "false") << "saved as it was taken over";
}

// The history windows are made with the main window, before the take-over: its line limit and
// its copy on selection count in both from this first session on.
TEST_F(WizardRoadTest, TakenOverLogSettingsReachTheHistoryWindowsAtOnce)
{
    REQUIRE_PEERS();
    const std::string host = PeerValue("IRC_WIZARD_HOST");
    ASSERT_FALSE(host.empty()) << "no server on port 6667";
    const std::string channel = "#hist" + std::to_string(GetTickCount() % 100000);
    std::unique_ptr<TLineSocket> peer = ConnectIrcClient(6667, "histpeer", host.c_str());
    ASSERT_TRUE(peer);
    peer->Send("JOIN " + channel + "\r\n");
    ASSERT_TRUE(peer->WaitFor("JOIN :" + channel));

    TProgramRun run;
    CreateFolderTree(run.ProgramFolder() + L"Config\\");
    const CString base = run.ProgramFolder() + L"Config\\" + LegacyProfileName();
    WriteFileBytes(base + L"-general.ini", "[Action]\r\nLogInstantCopy=true\r\n[Logging]\r\nLogMaxLine=2\r\n"
                                           "[Keyword]\r\nKeyCount=1\r\nKeyItem0=kvword\r\n");
    WriteFileBytes(base + L"-profile.ini",
                   CStringA(("[Root]\r\nProfileCount=1\r\nName0=hist\r\nAutoConnect0=true\r\n[hist]\r\nServer=" + host +
                             "\r\nPort=6667\r\nNick=kvhist\r\nAutoJoinChCount=1\r\nAutoJoinChItem0=" + channel + "\r\n")
                                .c_str()));
    HWND main = StartWithWhatIsOffered(run);
    ASSERT_TRUE(main);
    ASSERT_TRUE(peer->WaitFor(":kvhist!", 20000)) << "the server taken over joins";
    for (const char* word : {"one", "two", "three"})
        peer->Send("PRIVMSG " + channel + " :kvword " + word + " http://example.com/" + word + "\r\n");
    // Answered after the lines: they have been shown.
    peer->Send("PRIVMSG kvhist :\1PING 77\1\r\n");
    ASSERT_TRUE(peer->WaitFor("\1PING 77\1"));

    for (auto [itemKey, title] : {std::pair{'K', L"キーワード履歴"}, {'U', L"URL履歴"}}) {
        SCOPED_TRACE(Narrow(title));
        ChooseMenuItem(main, 'V', itemKey);
        HWND history = run.WaitWindow(title);
        ASSERT_TRUE(history);
        HWND view = FindChildren(history, L"Ketroval2LogView").at(0);
        FocusForInput(view);
        RECT r;
        ::GetClientRect(view, &r);
        // Dragged over every line, without Ctrl+C.
        const DWORD before = ::GetClipboardSequenceNumber();
        DragMouse(ScreenPointOf(view, 2, 2), ScreenPointOf(view, r.right - 4, r.bottom - 4));
        CString copied;
        ASSERT_TRUE(WaitUntil(
            [&] { return ::GetClipboardSequenceNumber() != before && !(copied = GetClipboardText()).IsEmpty(); },
            "the selection copied"));
        EXPECT_EQ(-1, copied.Find(L"kvword one")) << "the old line limit: " << Narrow(copied);
        EXPECT_NE(-1, copied.Find(L"kvword two")) << Narrow(copied);
        EXPECT_NE(-1, copied.Find(L"kvword three")) << Narrow(copied);
        PressKey(VK_ESCAPE);
    }
    CloseProgram(run, main);
}

TEST_F(WizardRoadTest, TakeOverFromTheDefaultFolderAsksFirst)
{
    CString folder = kLegacyDefaultFolder;
    // Not the test's own (that one is gone after the set-up): a real one, which the test must not take.
    ASSERT_FALSE(PathExists(folder)) << "a previous version's folder exists on this machine";
    WriteLegacyInstall(folder);
    WriteFileBytes(folder + kTestMark, "");

    TProgramRun run;
    HWND start = StartPage(run);
    ASSERT_TRUE(start);
    EXPECT_TRUE(Checked(start, IDC_INSTALL_CHOICE_LEGACY));
    PressReturnIn(start);
    HWND ask = WaitDialogWith(run, IDC_LOAD_LEGACY_OTHER);
    ASSERT_TRUE(ask);
    EXPECT_EQ(WindowText(ask), CString(L"設定の引き継ぎ"));
    Shoot(ask, L"wizard-take-over-question.png");
    Click(ask, IDCANCEL); // back
    start = WaitDialogWith(run, IDC_INSTALL_CHOICE);
    ASSERT_TRUE(start);
    EXPECT_TRUE(Checked(start, IDC_INSTALL_CHOICE_LEGACY)) << "the start page keeps the choice";
    PressReturnIn(start);
    ask = WaitDialogWith(run, IDC_LOAD_LEGACY_OTHER);
    ASSERT_TRUE(ask);
    Click(ask, IDOK); // take over
    ExpectLegacyTakenOverAtTheClose(run);
}

TEST_F(WizardRoadTest, TakeOverFromAChosenFolderAsksAgainWhenNothingIsThere)
{
    TProgramRun run;
    WriteLegacyInstall(run.ProgramFolder() + L"old\\");
    HWND start = StartPage(run);
    ASSERT_TRUE(start);
    Click(start, IDC_INSTALL_CHOICE_LEGACY);
    Click(start, IDOK);

    // The chooser starts in the program folder, which holds no settings: asked to choose again.
    HWND chooser = WaitFolderChooser(run);
    ASSERT_TRUE(chooser);
    Shoot(chooser, L"wizard-folder-chooser.png");
    PressReturnIn(FindChildren(chooser, WC_TREEVIEWW).at(0));
    HWND again = run.WaitWindow(L"設定の引き継ぎ");
    ASSERT_TRUE(again);
    EXPECT_FALSE(::GetDlgItem(again, IDC_LOAD_LEGACY_OTHER)) << "the question, not the take-over dialog";
    Shoot(again, L"wizard-not-found.png");
    PressReturnIn(again);

    // Into the folder "old" below the program folder, with the keys.
    chooser = WaitFolderChooser(run);
    ASSERT_TRUE(chooser);
    HWND tree = FindChildren(chooser, WC_TREEVIEWW).at(0);
    FocusForInput(tree);
    HTREEITEM programFolder = TreeView_GetSelection(tree);
    PressKey(VK_RIGHT);
    WaitUntil([&] { return TreeView_GetItemState(tree, programFolder, TVIS_EXPANDED) & TVIS_EXPANDED; },
              "the program folder opened");
    TypeText(L"old");
    WaitUntil([&] { return TreeView_GetParent(tree, TreeView_GetSelection(tree)) == programFolder; },
              "a folder in it selected");
    PressKey(VK_RETURN);
    ExpectLegacyTakenOverAtTheClose(run);
}
