// The WHOIS window as the replies fill it and as a user works it: one window per nick, the
// limit on open windows, its buttons, dropped files and its address lookup.

#include "tests/world/UserInfoFixture.h"

#include "tests/common/DialogSteps.h"
#include "tests/common/HostLookupStub.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <shlobj.h>

namespace {

const char* const kWhoisReply[] = {
    ":irc.example 311 kvnick Alice ali host.example * :Alice Liddell",
    ":irc.example 312 kvnick Alice irc.example :Test server",
    ":irc.example 313 kvnick Alice :is an IRC operator",
    ":irc.example 301 kvnick Alice :out for lunch",
    ":irc.example 317 kvnick Alice 3725 1700000000 :seconds idle, signon time",
    ":irc.example 319 kvnick Alice :@#kv-a +#kv-b #kv-c",
    ":irc.example 318 kvnick Alice :End of WHOIS list",
};

class WhoisWindowTest : public LoggedInWindowTest {
protected:
    void FeedWhois(const char* const* lines, size_t count)
    {
        for (size_t i = 0; i < count; i++)
            Feed(lines[i]);
    }
    std::vector<CString> Channels(HWND dialog)
    {
        std::vector<CString> items;
        HWND combo = ::GetDlgItem(dialog, IDC_WHOIS_CHANNELS);
        int count = (int)::SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            wchar_t text[256] = {};
            ::SendMessageW(combo, CB_GETLBTEXT, i, (LPARAM)text);
            items.push_back(text);
        }
        return items;
    }
};

// A drop as the shell makes it: the DROPFILES header, then wide paths each ending in NUL, and a
// final NUL.
HGLOBAL MakeDrop(const std::vector<CString>& paths)
{
    size_t chars = 1;
    for (const CString& path : paths)
        chars += path.GetLength() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    wchar_t* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const CString& path : paths) {
        wcscpy(text, path);
        text += path.GetLength() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

TEST_F(WhoisWindowTest, ReplyFillsTheWindowInsteadOfTheServerLog)
{
    FeedWhois(kWhoisReply, std::size(kWhoisReply));
    TWhoisDialog* window = WhoisWindow(L"alice");
    ASSERT_NE(window, nullptr) << "found under the folded nick";
    HWND hwnd = window->m_hWnd;
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_EQ(window->GetWindowText(), L"Alice のユーザ情報");
    const struct {
        int id;
        const wchar_t* text;
    } fields[] = {
        {IDC_WHOIS_NICK, L"Alice (IRC Operator)"},
        {IDC_WHOIS_USER, L"ali"},
        {IDC_WHOIS_HOST, L"host.example"},
        {IDC_WHOIS_REAL_NAME, L"Alice Liddell"},
        {IDC_WHOIS_SERVER, L"irc.example / Test server"},
        {IDC_WHOIS_AWAY, L"out for lunch"},
        {IDC_WHOIS_IDLE, L"1:02:05"},
    };
    for (const auto& f : fields)
        EXPECT_EQ(Field(hwnd, f.id), f.text) << f.id;
    EXPECT_FALSE(Field(hwnd, IDC_WHOIS_LOGIN_TIME).IsEmpty());
    EXPECT_EQ(Channels(hwnd), (std::vector<CString>{L"@#kv-a", L"+#kv-b", L"#kv-c"}));
    EXPECT_EQ(::SendDlgItemMessageW(hwnd, IDC_WHOIS_CHANNELS, CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hwnd, IDC_WHOIS_JOIN)));
    EXPECT_EQ(::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST) << "copies the main window";
    EXPECT_FALSE(ServerLogHas("Alice is")) << "nothing of it printed";
}

TEST_F(WhoisWindowTest, SecondWhoisOfTheNickInAnotherCaseRefreshesTheOpenWindow)
{
    FeedWhois(kWhoisReply, std::size(kWhoisReply));
    TWhoisDialog* first = WhoisWindow(L"Alice");
    ASSERT_NE(first, nullptr);
    Feed(":irc.example 311 kvnick ALICE ali2 other.example * :Second");
    Feed(":irc.example 318 kvnick ALICE :End of WHOIS list");
    EXPECT_EQ(WhoisWindow(L"alice"), first);
    HWND hwnd = first->m_hWnd;
    EXPECT_EQ(Field(hwnd, IDC_WHOIS_NICK), L"ALICE") << "operator mark of the last answer gone";
    EXPECT_EQ(Field(hwnd, IDC_WHOIS_USER), L"ali2");
    EXPECT_EQ(Field(hwnd, IDC_WHOIS_AWAY), L"");
    EXPECT_EQ(Field(hwnd, IDC_WHOIS_IDLE), L"");
    EXPECT_EQ(Field(hwnd, IDC_WHOIS_SERVER), L" / ");
    EXPECT_TRUE(Channels(hwnd).empty());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hwnd, IDC_WHOIS_JOIN))) << "nothing to join";
}

TEST_F(WhoisWindowTest, LimitOfOpenWindowsPrintsFurtherRepliesUntilOneCloses)
{
    preference.LimitWhoisDialog = true;
    preference.WhoisDialogMax = 1;
    Feed(":irc.example 311 kvnick one u1 h1 * :First");
    Feed(":irc.example 318 kvnick one :End");
    Feed(":irc.example 311 kvnick two u2 h2 * :Second");
    Feed(":irc.example 312 kvnick two irc.example :Test server");
    Feed(":irc.example 318 kvnick two :End");
    ASSERT_NE(WhoisWindow(L"one"), nullptr);
    EXPECT_EQ(WhoisWindow(L"two"), nullptr);
    EXPECT_TRUE(ServerLogHas("two is Second (u2@h2)"));
    EXPECT_TRUE(ServerLogHas("two is on irc.example (Test server)"));

    ClickButton(WhoisWindow(L"one")->m_hWnd, IDCANCEL);
    EXPECT_EQ(WhoisWindow(L"one"), nullptr) << "Close deletes it";
    Feed(":irc.example 311 kvnick two u2 h2 * :Second");
    ASSERT_NE(WhoisWindow(L"two"), nullptr) << "the closed window no longer counts";

    // Enter closes it as the close box does.
    FocusForInput(::GetDlgItem(WhoisWindow(L"two")->m_hWnd, IDC_WHOIS_USER));
    PressKey(VK_RETURN);
    EXPECT_TRUE(PumpMessagesUntil([&] { return WhoisWindow(L"two") == nullptr; }, kWaitBoundMs)) << "Enter closes it";
    Feed(":irc.example 311 kvnick three u3 h3 * :Third");
    EXPECT_NE(WhoisWindow(L"three"), nullptr);
}

TEST_F(WhoisWindowTest, ButtonsJoinWithoutModePrefixAskAgainAndOpenATalk)
{
    // One member prefix of the server's goes, where a channel name remains: '+' also begins one.
    Feed(":irc.example 005 kvnick PREFIX=(qaohv)~&@%+ :are supported by this server");
    FeedWhois(kWhoisReply, 1);
    Feed(":irc.example 319 kvnick Alice :@#kv-a +#kv-b #kv-c +japan ++japan %#chat &#chat &local #a,0");
    HWND hwnd = WhoisWindow(L"Alice")->m_hWnd;
    const char* const joins[] = {"JOIN #kv-a", "JOIN #kv-b", "JOIN #kv-c",  "JOIN +japan", "JOIN +japan",
                                 "JOIN #chat", "JOIN #chat", "JOIN &local", nullptr};
    HWND combo = ::GetDlgItem(hwnd, IDC_WHOIS_CHANNELS);
    for (size_t i = 0; i < std::size(joins); i++) {
        if (i > 0) {
            FocusForInput(combo);
            PressKey(VK_DOWN);
        }
        ASSERT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), (LRESULT)i);
        ClickButton(hwnd, IDC_WHOIS_JOIN);
        EXPECT_EQ(TakeQueued(), joins[i] ? std::vector<std::string>{joins[i]} : std::vector<std::string>{}) << i;
    }
    EXPECT_TRUE(ServerLogHas("#a,0 は一つのチャンネル名ではないため参加しません")) << "a refusal is told";
    ClickButton(hwnd, IDC_WHOIS_UPDATE);
    // The nick twice: the server of the nick answers, with the idle time.
    EXPECT_EQ(TakeQueued(), (std::vector<std::string>{"WHOIS Alice Alice"}));

    // Alt+T, as the label's mnemonic offers it.
    FocusForInput(::GetDlgItem(hwnd, IDC_WHOIS_UPDATE));
    PressKey('T', {VK_MENU});
    TIRCChannel* talk = unit->FindChannel(L"Alice");
    ASSERT_NE(talk, nullptr);
    EXPECT_EQ(talk->GetKind(), TIRCChannel::KindTalk);
    ASSERT_FALSE(side.frame.empty());
    EXPECT_EQ(side.frame.back(), "select Alice");

    // With the talk open already, Talk makes no talk and selects nothing.
    size_t selections = side.frame.size(), nodes = unit->GetChannels().size();
    FocusForInput(::GetDlgItem(hwnd, IDC_WHOIS_UPDATE));
    PressKey('T', {VK_MENU});
    EXPECT_EQ(side.frame.size(), selections);
    EXPECT_EQ(unit->GetChannels().size(), nodes);
}

TEST_F(WhoisWindowTest, DroppedFilesAreOfferedWholeInDropOrderOnlyWhileLoggedIn)
{
    FeedWhois(kWhoisReply, std::size(kWhoisReply));
    HWND hwnd = WhoisWindow(L"Alice")->m_hWnd;
    // Longer than MAX_PATH: a cut would name another file.
    CString deep = L"C:\\share\\";
    while (deep.GetLength() < 300)
        deep += L"long-folder-name\\";
    const std::vector<CString> paths = {L"C:\\a.txt", deep + L"b.bin", L"C:\\\x65E5\x672C\\c.jpg"};
    ::PostMessageW(hwnd, WM_DROPFILES, (WPARAM)MakeDrop(paths), 0);
    PumpPendingMessages();
    EXPECT_EQ(side.dccNames, paths);
    ASSERT_EQ(side.dcc.size(), 3u);
    EXPECT_EQ(side.dcc[0], "send Alice C:\\a.txt");

    side.dcc.clear();
    unit->GetSession().state = TIRCUnit::StateRegistering;
    ::PostMessageW(hwnd, WM_DROPFILES, (WPARAM)MakeDrop({L"C:\\d.txt"}), 0);
    PumpPendingMessages();
    EXPECT_TRUE(side.dcc.empty()) << "not logged in";
}

// No control of the window raises these two; the unit answers them all the same.
TEST_F(WhoisWindowTest, MaskSlotFillsTheIgnoreListAndSendFileSlotOffersTheChosenFileWhileLoggedIn)
{
    FeedWhois(kWhoisReply, std::size(kWhoisReply));
    IWhoisWindow* window = WhoisWindow(L"Alice");
    ASSERT_NE(window, nullptr);
    IWhoisDialogListener& listener = *unit;
    preference.AutoMask = false;
    listener.OnAddMask(window, L"Alice", L"ali", L"host.example");
    listener.OnAddMask(window, L"Alice", L"", L"host.example");
    EXPECT_EQ(side.frame, (std::vector<std::string>{"ignore Alice!ali@host.example", "ignore Alice!*@host.example"}));

    const struct {
        const char* name;
        bool loggedIn;
        const wchar_t* chosen; // empty: the chooser is cancelled
        std::vector<std::string> frame;
        std::vector<std::string> dcc;
    } rows[] = {
        {"a chosen file is offered whole", true, L"C:\\a b.bin", {"choose Alice"}, {"send Alice C:\\a b.bin"}},
        {"a cancelled chooser offers nothing", true, L"", {"choose Alice"}, {}},
        {"nothing is asked while not logged in", false, L"C:\\a.txt", {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        side.frame.clear();
        side.dcc.clear();
        side.chosenFile = row.chosen;
        unit->GetSession().state = row.loggedIn ? TIRCUnit::StateLoggedIn : TIRCUnit::StateRegistering;
        listener.OnSendFile(window, L"Alice");
        EXPECT_EQ(side.frame, row.frame);
        EXPECT_EQ(side.dcc, row.dcc);
    }
}

// The system's open-file dialog as the user answers it: a path typed and Enter, or Escape.
TEST_F(WhoisWindowTest, TheWorldsFileChooserNamesTheNickAndGivesTheTypedPath)
{
    CString file = folder.path + L"offer.txt";
    ASSERT_TRUE(WriteFileBytes(file, "hello"));
    CString caption;
    WhenDialogShown([&](HWND dialog) {
        caption = GetControlText(dialog);
        HWND box = ::GetDlgItem(dialog, 0x47C);
        Retype(box ? box : ::GetDlgItem(dialog, 0x480), file);
        // Left to the chooser's own loop, which turns Enter into its OK.
        QueueKey(VK_RETURN);
    });
    CString path;
    EXPECT_TRUE(world->ChooseFileToSend(L"Alice", path));
    EXPECT_EQ(caption, L"Alice に送信するファイルを選択");
    EXPECT_EQ(path, file);

    WhenDialogShown([](HWND dialog) {
        FocusForInput(dialog);
        QueueKey(VK_ESCAPE);
    });
    path.Empty();
    EXPECT_FALSE(world->ChooseFileToSend(L"Alice", path));
    EXPECT_EQ(path, L"");
}

TEST_F(WhoisWindowTest, HostAddressIsLookedUpAndAnUnresolvableHostLeavesItEmpty)
{
    Feed(":irc.example 311 kvnick Bob bob 127.0.0.1 * :Bob");
    HWND hwnd = WhoisWindow(L"Bob")->m_hWnd;
    EXPECT_TRUE(PumpMessagesUntil([&] { return Field(hwnd, IDC_WHOIS_ADDRESS) == L"127.0.0.1"; }, 5000));

    Feed(":irc.example 311 kvnick Bob bob no-such-host.invalid * :Bob");
    EXPECT_EQ(Field(hwnd, IDC_WHOIS_ADDRESS), L"") << "the old address goes with the old host";
    PumpMessagesFor(1500);
    EXPECT_EQ(Field(hwnd, IDC_WHOIS_ADDRESS), L"");
}

// The system still writes the host entry of a lookup that was running when the user closed the
// window, after the window and its resolver are gone.
TEST_F(WhoisWindowTest, AWindowClosedWhileItsHostIsLookedUpLeavesTheHeapSound)
{
    THostLookupStub lookups;
    ASSERT_TRUE(lookups.IsHooked());
    Feed(":irc.example 311 kvnick Bob bob slow.example * :Bob");
    ASSERT_EQ(lookups.lookups.size(), 1u);
    EXPECT_EQ(lookups.lookups[0].name, "slow.example");
    HWND hwnd = WhoisWindow(L"Bob")->m_hWnd;
    FocusForInput(hwnd);
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return WhoisWindow(L"Bob") == nullptr; }, "the window closed");
    EXPECT_FALSE(::IsWindow(hwnd));
    // Let go, not destroyed: the late answer still has a lookup to write into.
    ASSERT_TRUE(::IsWindow(lookups.lookups[0].window)) << "the abandoned lookup is still there";
    lookups.Answer(0, {htonl(INADDR_LOOPBACK)});
    WaitUntil([&] { return !::IsWindow(lookups.lookups[0].window); }, "the lookup took its answer");
    EXPECT_TRUE(HeapsAreSound());

    // An open window takes the same answer.
    Feed(":irc.example 311 kvnick Carol c slow.example * :Carol");
    ASSERT_EQ(lookups.lookups.size(), 2u);
    lookups.Answer(1, {htonl(INADDR_LOOPBACK)});
    HWND carol = WhoisWindow(L"Carol")->m_hWnd;
    WaitUntil([&] { return Field(carol, IDC_WHOIS_ADDRESS) == L"127.0.0.1"; }, "the address shown");
}

TEST_F(WhoisWindowTest, NickChangeMovesTheWindowToTheNewNick)
{
    Feed(":irc.example 311 kvnick Carol c h * :Carol");
    Feed(":irc.example 311 kvnick Dave d h * :Dave");
    TWhoisDialog* carol = WhoisWindow(L"Carol");
    TWhoisDialog* dave = WhoisWindow(L"Dave");
    ASSERT_TRUE(carol && dave);
    Feed(":Carol!c@h NICK :Dave");
    EXPECT_EQ(WhoisWindow(L"Carol"), nullptr);
    EXPECT_EQ(WhoisWindow(L"Dave"), carol) << "the window of the old nick wins";
    EXPECT_EQ(Field(carol->m_hWnd, IDC_WHOIS_NICK), L"Dave");
}

TEST_F(WhoisWindowTest, WindowOfAUnitGoneFromTheWorldDoesNothing)
{
    Feed(":irc.example 311 kvnick Erin e h * :Erin");
    Feed(":irc.example 319 kvnick Erin :#kv-e");
    TWhoisDialog* window = WhoisWindow(L"Erin");
    ASSERT_NE(window, nullptr);
    // The same window seen from a world that no longer holds its unit.
    TConfig empty;
    TIRCWorld other(&empty, &frame);
    window->SetListener(unit, &other, unit);
    HWND hwnd = window->m_hWnd;
    ClickButton(hwnd, IDC_WHOIS_UPDATE);
    ClickButton(hwnd, IDC_WHOIS_JOIN);
    ::PostMessageW(hwnd, WM_DROPFILES, (WPARAM)MakeDrop({L"C:\\x.txt"}), 0);
    PumpPendingMessages();
    ClickButton(hwnd, IDCANCEL);
    EXPECT_TRUE(TakeQueued().empty());
    EXPECT_TRUE(side.dcc.empty());
    EXPECT_EQ(WhoisWindow(L"Erin"), window) << "the unit was not told of the close";
}

} // namespace

namespace {

std::vector<HWND> g_kicked;

LRESULT CALLBACK RecordKickIdle(int code, WPARAM wParam, LPARAM lParam)
{
    auto* call = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->message == WM_KICKIDLE)
        g_kicked.push_back(call->hwnd);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(WhoisWindowTest, IdleUpdatesOfTheMainLoopReachEveryWhoisAndWhoWindow)
{
    FeedWhois(kWhoisReply, std::size(kWhoisReply));
    Feed(":irc.example 311 kvnick Bob bu 127.0.0.1 * :Bob");
    Feed(":irc.example 318 kvnick Bob :End of WHOIS list");
    Feed(":kvnick!kvuser@me.example JOIN :#kv-who");
    TIRCChannel* channel = unit->FindChannel(L"#kv-who");
    ASSERT_NE(channel, nullptr);
    channel->ShowWhoDialog();
    ASSERT_NE(channel->GetWhoDialog(), nullptr);
    ASSERT_NE(WhoisWindow(L"alice"), nullptr);
    ASSERT_NE(WhoisWindow(L"bob"), nullptr);

    g_kicked.clear();
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordKickIdle, nullptr, ::GetCurrentThreadId());
    world->KickIdleAllDialogs(0, 0);
    ::UnhookWindowsHookEx(hook);
    std::sort(g_kicked.begin(), g_kicked.end());
    std::vector<HWND> expected = {WhoisWindow(L"alice")->m_hWnd, WhoisWindow(L"bob")->m_hWnd,
                                  dynamic_cast<CWnd*>(channel->GetWhoDialog())->m_hWnd};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(g_kicked, expected);
}
