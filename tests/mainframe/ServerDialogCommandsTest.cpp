// The main window's add-server and server-properties commands as a user meets them: the dialog
// opened by its action name, filled with real keys and clicks, and what the world, tree.ini and
// the scripted server get after OK or Cancel.

#include "tests/mainframe/ServedFrameFixture.h"

#include "dialogs/AutoOpDialog.h"
#include "foundation/Path.h"
#include "res/resource.h"
#include "tests/common/ControlText.h"
#include "tests/common/SheetInput.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"

#include <functional>
#include <map>

namespace {

// Every file of the settings folder with its bytes.
std::map<CString, CStringA> SettingsFiles(TConfig& settings)
{
    std::vector<CString> names;
    FindFileNames(names, settings.GetSettingsFolder() + L"*");
    std::map<CString, CStringA> files;
    for (const CString& name : names)
        if (name != L"." && name != L"..")
            files[name] = ReadFileBytes(settings.GetSettingsFolder() + name);
    return files;
}

void ClickRow(TSheetInput& input, int row) { input.ClickRow(IDC_SERVER_CHANNEL_LIST, row); }

// A row added on the channel page with New and the channel dialog answered.
void AddChannelRow(TSheetInput& input, const wchar_t* name)
{
    EXPECT_TRUE(
        ClickAndAnswer(input.Control(IDC_SERVER_CHANNEL_NEW), HasControl(IDC_CHANNEL_MODE_BUTTON), [name](HWND dialog) {
            TSheetInput(dialog).Retype(IDC_CHANNEL_NAME, name);
            FocusForInput(::GetDlgItem(dialog, IDOK));
            PressKey(VK_RETURN);
        }));
    input.Idle();
}

class ServerDialogCommands : public ServedFrameFixture {
protected:
    void SetUp() override
    {
        ServedFrameFixture::SetUp();
        WriteFileBytes(settings.GetSettingsFolder() + L"servers.txt",
                       "irc.example.net (Example)\r\n-\r\n127.0.0.1\r\n");
        world->SaveServerTree();
    }
    // Runs the action with the step answering the server property dialog inside its loop.
    bool RunWithDialog(const wchar_t* action, std::function<void(TSheetInput&)> step)
    {
        int shown = ShownWindowCount();
        WhenShown(HasControl(IDC_PROPERTY_TAB), [step](HWND dialog) {
            TSheetInput input(dialog);
            input.Idle();
            step(input);
        });
        EXPECT_TRUE(frame->ExecuteAction(action));
        PumpPendingMessages();
        // A step's own watches count as well.
        return ShownWindowCount() > shown;
    }
    CString PortText() const
    {
        CString text;
        text.Format(L"%d", server.Port());
        return text;
    }
    const TUnitConfig* StoredUnit(const std::vector<TUnitConfig>& units, const wchar_t* name)
    {
        for (const TUnitConfig& unit : units)
            if (unit.Name == name)
                return &unit;
        return nullptr;
    }
};

} // namespace

TEST_F(ServerDialogCommands, AddServerThroughTheDialogMakesAServerThatLogsIn)
{
    struct TAddCase {
        const char* what;
        bool fromSelected;
        const wchar_t* name;
        const wchar_t* nick;
    } cases[] = {
        {"from the selected server: its settings, no name, no channels", true, L"second", L"kvtwo"},
        {"with nothing selected: the defaults", false, L"third", L"kvthree"},
    };
    int clients = 1;
    for (const TAddCase& c : cases) {
        SCOPED_TRACE(c.what);
        world->Select(c.fromSelected ? net : nullptr, nullptr);
        PumpPendingMessages();
        ASSERT_TRUE(RunWithDialog(L"addserver", [&](TSheetInput& input) {
            EXPECT_EQ(CString(L"サーバを追加"), GetControlText(input.sheet));
            EXPECT_EQ(CString(), input.Text(IDC_SERVER_NAME));
            EXPECT_EQ(CString(c.fromSelected ? L"127.0.0.1" : L""), input.Text(IDC_SERVER_HOST));
            input.Retype(IDC_SERVER_NAME, c.name);
            input.Retype(IDC_SERVER_HOST, L"127.0.0.1");
            input.Retype(IDC_SERVER_PORT, PortText());
            input.Retype(IDC_SERVER_NICK, c.nick);
            input.ShowTab(2);
            EXPECT_EQ(0, ListView_GetItemCount(input.Control(IDC_SERVER_CHANNEL_LIST)));
            input.ClickOk();
        }));
        TIRCUnit* added = world->FindUnit(c.name);
        ASSERT_TRUE(added);
        EXPECT_TRUE(world->FindUnitTreeItem(added));
        EXPECT_TRUE(added->GetChannels().empty());
        std::vector<TUnitConfig> stored = StoredUnits();
        const TUnitConfig* record = StoredUnit(stored, c.name);
        ASSERT_TRUE(record);
        EXPECT_EQ(CString(c.nick), record->Nick);
        EXPECT_EQ(server.Port(), record->Port);
        EXPECT_TRUE(record->AutoOpMasks.empty());

        // The new server is one a user can use at once.
        added->Connect();
        TLineSocket* second = server.WaitClient(++clients);
        ASSERT_TRUE(second);
        ASSERT_TRUE(second->WaitFor("USER "));
        std::vector<std::string> lines = second->Lines();
        EXPECT_EQ(1, (int)std::count(lines.begin(), lines.end(), "NICK " + Narrow(c.nick)));
        second->Send(":irc.test 001 " + Narrow(c.nick) + " :Welcome\r\n");
        EXPECT_TRUE(PumpMessagesUntil([&] { return added->GetState() == TIRCUnit::StateLoggedIn; }, kWaitBoundMs));
    }
}

TEST_F(ServerDialogCommands, CancelLeavesEveryFileByteIdentical)
{
    struct TCancelCase {
        const char* what;
        const wchar_t* action;
        std::function<void(TSheetInput&)> steps;
    } cases[] = {
        {"add server, several pages typed into, Esc", L"addserver",
         [](TSheetInput& input) {
             input.Retype(IDC_SERVER_NAME, L"never");
             input.ShowTab(1);
             input.Retype(IDC_SERVER_QUIT_MESSAGE, L"never");
             input.ShowTab(3);
             input.Click(IDC_PROXY_ENABLE);
             PressKey(VK_ESCAPE);
         }},
        {"server properties, a channel deleted and the name changed, the Cancel button", L"serverproperty",
         [](TSheetInput& input) {
             input.Retype(IDC_SERVER_NAME, L"renamed");
             input.ShowTab(2);
             ClickRow(input, 0);
             input.Click(IDC_SERVER_CHANNEL_DELETE);
             ClickAt(ScreenPointOf(::GetDlgItem(input.sheet, IDCANCEL)));
         }},
        {"server properties, the name changed, Esc in the open code list closing the list alone, Esc",
         L"serverproperty",
         [](TSheetInput& input) {
             input.Retype(IDC_SERVER_NAME, L"renamed");
             OpenListAndEscapeIt(input.Control(IDC_SERVER_CODEPAGE), L'E');
             input.Idle();
             EXPECT_FALSE(input.Closed()) << "Esc in the list closed the window";
             EXPECT_EQ(CString(L"renamed"), input.Text(IDC_SERVER_NAME));
             PressKey(VK_ESCAPE);
         }},
    };
    for (const TCancelCase& c : cases) {
        SCOPED_TRACE(c.what);
        world->Select(net, nullptr);
        PumpPendingMessages();
        std::map<CString, CStringA> before = SettingsFiles(settings);
        ASSERT_TRUE(RunWithDialog(c.action, c.steps));
        EXPECT_EQ(before, SettingsFiles(settings));
        EXPECT_TRUE(world->FindUnit(L"net"));
        EXPECT_EQ(1u, world->GetUnits().size());
        EXPECT_TRUE(Channel(L"#alpha") && Channel(L"#beta"));
    }
}

TEST_F(ServerDialogCommands, PropertiesTakeEffectAtOnceWhereTheyCanAndTheRestAtTheNextConnect)
{
    world->Select(net, nullptr);
    PumpPendingMessages();
    size_t linesBefore = peer->Lines().size();
    ASSERT_TRUE(RunWithDialog(L"serverproperty", [&](TSheetInput& input) {
        EXPECT_EQ(CString(L"サーバのプロパティ"), GetControlText(input.sheet));
        EXPECT_EQ(CString(L"net"), input.Text(IDC_SERVER_NAME));
        input.Retype(IDC_SERVER_NAME, L"home");
        input.Retype(IDC_SERVER_NICK, L"othernick");
        input.Retype(IDC_SERVER_PORT, L"6999");
        input.ShowTab(1);
        input.Retype(IDC_SERVER_AWAY_MESSAGE, L"back later");
        input.ShowTab(2);
        ClickRow(input, 1);
        input.Click(IDC_SERVER_CHANNEL_DELETE);
        input.ClickOk();
    }));
    EXPECT_EQ(net, world->FindUnit(L"home"));
    EXPECT_EQ(nullptr, world->FindUnit(L"net"));
    // At once: the name, the channel list and the away message of the session.
    EXPECT_EQ(CString(L"back later"), net->GetSession().awayMessage);
    EXPECT_EQ(nullptr, Channel(L"#beta"));
    EXPECT_TRUE(alpha->IsJoined());
    // At the next connect: the nick and the port; the connection stays as it is.
    EXPECT_EQ(TIRCUnit::StateLoggedIn, net->GetState());
    EXPECT_EQ(6999, net->GetSettings().Port);
    EXPECT_EQ(CString(L"othernick"), net->GetSettings().Nick);
    RoundTrip();
    std::vector<std::string> lines = peer->Lines();
    for (size_t i = linesBefore; i < lines.size(); i++)
        EXPECT_NE(0u, lines[i].rfind("NICK", 0)) << lines[i];
    std::vector<TUnitConfig> stored = StoredUnits();
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(CString(L"home"), stored[0].Name);
    EXPECT_EQ(6999, stored[0].Port);
    ASSERT_EQ(1u, stored[0].Channels.size());
    EXPECT_EQ(CString(L"#alpha"), stored[0].Channels[0].Name);
}

// The server just renamed stays the one in view: selected in the tree (with its channel when one
// was), named in the title, its commands enabled.
TEST_F(ServerDialogCommands, ARenamedServerStaysSelectedWithItsChannel)
{
    const struct {
        const char* name;
        bool channel;
        const wchar_t* newName;
        const wchar_t* title; // a part of the title
    } rows[] = {
        {"the channel was selected", true, L"home", L"#alpha"},
        {"the server was selected", false, L"work", L"work"},
    };
    HWND tree = frame->GetServerTree()->m_hWnd;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TIRCChannel* wanted = row.channel ? alpha : nullptr;
        world->Select(net, wanted);
        PumpPendingMessages();
        ASSERT_TRUE(RunWithDialog(L"serverproperty", [&](TSheetInput& input) {
            input.Retype(IDC_SERVER_NAME, row.newName);
            input.ClickOk();
        }));
        ASSERT_EQ(net, world->FindUnit(row.newName));
        EXPECT_TRUE(world->IsSelected(net, wanted));
        HTREEITEM selected = TreeView_GetSelection(tree);
        ASSERT_NE(nullptr, selected);
        EXPECT_EQ(row.channel ? CString(L"#alpha") : CString(row.newName), TreeItemText(tree, selected));
        EXPECT_TRUE(PumpMessagesUntil([&] { return GetControlText(frame->m_hWnd).Find(row.title) >= 0; }, kWaitBoundMs))
            << "title: " << Narrow(GetControlText(frame->m_hWnd));
        EXPECT_FALSE(ItemState(TopMenu(1), ID_DISCONNECT) & MF_GRAYED);
    }
}

// OK applies the user's edits to the server as it is now: what changed while the dialog was open
// stays, and records that name one channel under IRC folding make one channel with one item.
TEST_F(ServerDialogCommands, OkAppliesTheEditsToTheServerAsItIsNow)
{
    const struct {
        const char* name;
        std::function<void()> before;
        std::function<void(TSheetInput&)> step;
        std::function<void()> check;
    } rows[] = {
        {"a channel joined meanwhile stays joined; the row the user deleted goes", [] {},
         [&](TSheetInput& input) {
             peer->Send(":kvme!me@my.host JOIN :#new\r\n");
             WaitUntil([&] { return Channel(L"#new") && Channel(L"#new")->IsJoined(); }, "the joined channel");
             input.ShowTab(2);
             ClickRow(input, 1);
             input.Click(IDC_SERVER_CHANNEL_DELETE);
             input.ClickOk();
         },
         [&] {
             TIRCChannel* joined = Channel(L"#new");
             ASSERT_TRUE(joined);
             EXPECT_TRUE(joined->IsJoined());
             EXPECT_TRUE(world->FindChannelTreeItem(world->FindUnitTreeItem(net), joined));
             EXPECT_EQ(nullptr, Channel(L"#beta"));
             RoundTrip();
             EXPECT_EQ(0, CountStarting("PART #new"));
         }},
        {"auto-op masks confirmed in the auto-op window meanwhile stay",
         [&] { EXPECT_TRUE(frame->ExecuteAction(L"operatorlist")); },
         [&](TSheetInput& input) {
             TAutoOpDialog* autoOp = frame->GetAutoOpDialog();
             ASSERT_TRUE(autoOp);
             autoOp->SelectNode(L"net", L"");
             autoOp->AddMask(L"srv!*@*");
             autoOp->SelectNode(L"net", L"#alpha");
             autoOp->AddMask(L"chan!*@*");
             ::PostMessageW(autoOp->m_hWnd, WM_COMMAND, IDOK, 0);
             WaitUntil([&] { return frame->GetAutoOpDialog() == nullptr; }, "the auto-op window confirmed");
             input.Retype(IDC_SERVER_NICK, L"othernick");
             input.ClickOk();
         },
         [&] {
             EXPECT_EQ(std::vector<CString>{L"srv!*@*"}, net->GetSettings().AutoOpMasks);
             EXPECT_EQ(std::vector<CString>{L"chan!*@*"}, Channel(L"#alpha")->GetConfig().AutoOpMasks);
             EXPECT_EQ(CString(L"othernick"), net->GetSettings().Nick);
             std::vector<TUnitConfig> stored = StoredUnits();
             ASSERT_EQ(1u, stored.size());
             EXPECT_EQ(std::vector<CString>{L"srv!*@*"}, stored[0].AutoOpMasks);
         }},
        {"#a[ and #a{ are one channel: one item, deleted and repainted", [] {},
         [](TSheetInput& input) {
             input.ShowTab(2);
             AddChannelRow(input, L"#a[");
             AddChannelRow(input, L"#a{");
             input.ClickOk();
         },
         [&] {
             TIRCChannel* folded = Channel(L"#a[");
             ASSERT_TRUE(folded);
             HWND tree = frame->GetServerTree()->m_hWnd;
             auto items = [&] { return ChildTexts(tree, world->FindUnitTreeItem(net)); };
             EXPECT_EQ((std::vector<CString>{L"#alpha", L"#new", L"#a{"}), items()) << "the later record's name";
             world->RemoveChannelNode(net, folded);
             ::RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
             PumpPendingMessages();
             EXPECT_EQ((std::vector<CString>{L"#alpha", L"#new"}), items());
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        world->Select(net, nullptr);
        PumpPendingMessages();
        row.before();
        ASSERT_TRUE(RunWithDialog(L"serverproperty", row.step));
        row.check();
    }
}
