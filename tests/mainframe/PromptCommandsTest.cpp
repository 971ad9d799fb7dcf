// The frame's commands that ask first, as a user meets them: opened from their key, menu or
// action name, text typed into the prompt, OK or Cancel, and the line the server gets.

#include "tests/mainframe/ServedFrameFixture.h"

#include "controls/Clipboard.h"
#include "controls/UpdateDialog.h"
#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "res/resource.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/FreedMemory.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/TempFolder.h"

#include <dlgs.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class PromptCommands : public ServedFrameFixture {
protected:
    void TearDown() override
    {
        StopWatching();
        ServedFrameFixture::TearDown();
    }
    bool HasLine(const std::string& exact)
    {
        for (const std::string& line : peer->Lines())
            if (line == exact)
                return true;
        return false;
    }
    void FocusInputLine() { FocusForInput(frame->GetInputLine()->m_hWnd); }
    // The selected node when it is a talk, else null.
    TIRCChannel* SelectedTalk()
    {
        TIRCUnit* unit = nullptr;
        TIRCChannel* node = nullptr;
        world->GetSelection(unit, node);
        return node && node->GetKind() == TIRCChannel::KindTalk ? node : nullptr;
    }
    // The prompt with the edit, once shown, gets the text typed over its own and Return; what
    // happens meanwhile happens first, while the prompt is open.
    void AnswerPrompt(int edit, const wchar_t* typed, std::function<void()> meanwhile = nullptr)
    {
        WhenShown(HasControl(edit), [edit, typed, meanwhile](HWND prompt) {
            if (meanwhile)
                meanwhile();
            Retype(::GetDlgItem(prompt, edit), typed);
            PressKey(VK_RETURN);
        });
    }
    // The bytes as a string, and those a log view's text makes in the log's code page.
    static std::string Bytes(const CStringA& bytes) { return std::string(bytes.GetString(), bytes.GetLength()); }
    std::string LogBytes(TLogView* view)
    {
        return Bytes(ConvertToCodePage(view->GetAllText(), (UINT)settings.preference.LogCodepage));
    }
};

struct TPromptRow {
    const char* name;
    std::function<void()> open;
    int editId;
    const wchar_t* caption;
    const wchar_t* initial;
    const wchar_t* typed;
    std::string line;
    std::string prefix;
};

} // namespace

TEST_F(PromptCommands, EachPromptSendsTheTypedLineAndCancelSendsNothing)
{
    settings.preference.DetailWhois = false;
    peer->Send(":alice!a@alice.example TOPIC #alpha :old one\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return alpha->topic == L"old one"; }, kWaitBoundMs));
    auto key = [this](WORD k, std::vector<WORD> modifiers) {
        return [this, k, modifiers] {
            FocusInputLine();
            if (modifiers.size() == 2)
                PressKey(k, {modifiers[0], modifiers[1]});
            else
                PressKey(k, {modifiers[0]});
        };
    };
    auto action = [this](const wchar_t* name) {
        return [this, name] {
            EXPECT_TRUE(frame->ExecuteAction(name));
            PumpPendingMessages();
        };
    };
    auto serverMenu = [this](WORD k) { return [this, k] { ChooseFromMenuBar(1, {k}); }; };
    const TPromptRow rows[] = {
        {"topic", key('T', {VK_MENU}), IDC_INPUT_MESSAGE_TEXT, L"#alpha のトピック設定 - net", L"old one",
         L"fresh topic", "TOPIC #alpha :fresh topic", "TOPIC"},
        {"invite", key('I', {VK_MENU}), IDC_INPUT_NICK_TEXT, L"#alpha に招待 - net", L"", L"zed", "INVITE zed #alpha",
         "INVITE"},
        {"away", key('A', {VK_MENU, VK_SHIFT}), IDC_INPUT_MESSAGE_TEXT, L"離席メッセージを設定 - net", L"Gone",
         L"lunch", "AWAY :lunch", "AWAY"},
        {"action", action(L"sendaction"), IDC_INPUT_MESSAGE_TEXT, L"#alpha へアクション送信 - net", L"", L"waves",
         "PRIVMSG #alpha :\x01"
         "ACTION waves\x01",
         "PRIVMSG #alpha :\x01"
         "ACTION"},
        {"whois", action(L"whois"), IDC_INPUT_NICK_TEXT, L"人物情報を要求 - net", L"", L"zed", "WHOIS zed", "WHOIS"},
        {"part", key('P', {VK_MENU}), IDC_INPUT_MESSAGE_TEXT, L"#alpha を出る - net", L"Leaving...", L"so long",
         "PART #alpha :so long", "PART"},
        {"quit", serverMenu('Q'), IDC_INPUT_MESSAGE_TEXT, L"サーバから切断 - net", L"Leaving...", L"see you",
         "QUIT :see you", "QUIT"},
    };
    for (const TPromptRow& row : rows) {
        SCOPED_TRACE(row.name);
        world->Select(net, alpha);
        PumpPendingMessages();
        int edit = row.editId;
        WhenShown(HasControl(edit), [&](HWND prompt) {
            EXPECT_EQ(CString(row.caption), GetControlText(prompt));
            EXPECT_EQ(CString(row.initial), GetControlText(::GetDlgItem(prompt, edit)));
            FocusForInput(::GetDlgItem(prompt, edit));
            PressKey(VK_ESCAPE);
        });
        int answered = ShownWindowCount();
        row.open();
        ASSERT_EQ(answered + 1, ShownWindowCount()) << "no prompt";
        RoundTrip();
        EXPECT_EQ(0, CountStarting(row.prefix)) << "cancelled";

        AnswerPrompt(edit, row.typed);
        row.open();
        ASSERT_TRUE(peer->WaitFor(row.line, kWaitBoundMs)) << peer->Received();
        EXPECT_TRUE(HasLine(row.line));
        EXPECT_EQ(1, CountStarting(row.prefix));
    }
}

// The prompt opens with the topic of its start. Left as it opened and confirmed after someone set
// another topic, it would only put the old one back: nothing is sent. Confirmed with no change
// meanwhile, or edited, it is sent as usual.
TEST_F(PromptCommands, TopicLeftAsItOpenedDoesNotUndoATopicSetMeanwhile)
{
    peer->Send(":alice!a@alice.example TOPIC #alpha :old one\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return alpha->topic == L"old one"; }, kWaitBoundMs));
    const struct {
        const char* name;
        const char* setMeanwhile; // another topic set while the prompt is open, or null
        const wchar_t* typed;     // null: the opening text is left as it is
        std::string line;         // the TOPIC the server gets; empty: none
    } rows[] = {
        {"unchanged, nothing set meanwhile", nullptr, nullptr, "TOPIC #alpha :old one"},
        {"unchanged after a newer topic", "newer one", nullptr, ""},
        {"edited after a newer topic", "newest one", L"mine", "TOPIC #alpha :mine"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const int topicsBefore = CountStarting("TOPIC");
        WhenShown(HasControl(IDC_INPUT_MESSAGE_TEXT), [&](HWND prompt) {
            HWND edit = ::GetDlgItem(prompt, IDC_INPUT_MESSAGE_TEXT);
            if (row.setMeanwhile) {
                peer->Send(":alice!a@alice.example TOPIC #alpha :" + std::string(row.setMeanwhile) + "\r\n");
                EXPECT_TRUE(PumpMessagesUntil([&] { return Narrow(alpha->topic) == row.setMeanwhile; }, kWaitBoundMs));
            }
            if (row.typed)
                Retype(edit, row.typed);
            FocusForInput(edit);
            PressKey(VK_RETURN);
        });
        FocusInputLine();
        PressKey('T', {VK_MENU});
        StopWatching();
        if (!row.line.empty()) {
            ASSERT_TRUE(peer->WaitFor(row.line, kWaitBoundMs)) << peer->Received();
        }
        RoundTrip();
        EXPECT_EQ(topicsBefore + (row.line.empty() ? 0 : 1), CountStarting("TOPIC")) << peer->Received();
    }
}

// With only the server selected the request is still sent: it names a nick, not a channel.
TEST_F(PromptCommands, WhoisPromptWorksFromTheServerNode)
{
    settings.preference.DetailWhois = false;
    world->Select(net, nullptr);
    PumpPendingMessages();
    AnswerPrompt(IDC_INPUT_NICK_TEXT, L"zed");
    EXPECT_TRUE(frame->ExecuteAction(L"whois"));
    ASSERT_TRUE(peer->WaitFor("WHOIS zed", kWaitBoundMs)) << peer->Received();
    EXPECT_TRUE(HasLine("WHOIS zed"));
}

TEST_F(PromptCommands, LineBreaksInPromptTextNeverMakeASecondLine)
{
    CopyTextToClipboard(L"one\r\nQUIT :evil");
    WhenShown(HasControl(IDC_INPUT_MESSAGE_TEXT), [&](HWND prompt) {
        Retype(::GetDlgItem(prompt, IDC_INPUT_MESSAGE_TEXT), L"");
        PressKey('V', {VK_CONTROL});
        // However the text got there, a line break in it must not reach the server as one.
        CString pasted = GetControlText(::GetDlgItem(prompt, IDC_INPUT_MESSAGE_TEXT));
        ::SetWindowTextW(::GetDlgItem(prompt, IDC_INPUT_MESSAGE_TEXT), pasted + L"\r\nPART #alpha");
        PressKey(VK_RETURN);
    });
    FocusInputLine();
    PressKey('T', {VK_MENU});
    ASSERT_TRUE(peer->WaitFor("TOPIC #alpha :one", kWaitBoundMs)) << peer->Received();
    RoundTrip();
    EXPECT_EQ(1, CountStarting("TOPIC"));
    EXPECT_EQ(0, CountStarting("QUIT"));
    EXPECT_EQ(0, CountStarting("PART"));
}

TEST_F(PromptCommands, TalkPromptOpensTheTalkAndPartClosesItWithoutAsking)
{
    WhenShown(HasControl(IDC_INPUT_NICK_TEXT), [&](HWND prompt) {
        EXPECT_EQ(CString(L"トーク - net"), GetControlText(prompt));
        Retype(::GetDlgItem(prompt, IDC_INPUT_NICK_TEXT), L"Zed");
        PressKey(VK_RETURN);
    });
    ChooseFromMenuBar(1, {'T'});
    TIRCChannel* talk = SelectedTalk();
    ASSERT_TRUE(talk);
    EXPECT_STREQ(L"Zed", talk->GetName());

    // The same nick again shows the open talk rather than a second one.
    world->Select(net, alpha);
    AnswerPrompt(IDC_INPUT_NICK_TEXT, L"Zed");
    ChooseFromMenuBar(1, {'T'});
    ASSERT_EQ(Channel(L"Zed"), SelectedTalk());
    int talks = 0;
    for (TIRCChannel* channel : net->GetChannels())
        talks += channel->GetKind() == TIRCChannel::KindTalk;
    EXPECT_EQ(1, talks);

    int answered = ShownWindowCount();
    WhenShown([](HWND window) { return ::GetDlgItem(window, IDOK) != nullptr; }, [](HWND) { PressKey(VK_ESCAPE); });
    FocusInputLine();
    PressKey('P', {VK_MENU});
    StopWatching();
    EXPECT_EQ(answered, ShownWindowCount()) << "nothing was asked";
    EXPECT_EQ(nullptr, Channel(L"Zed"));
    EXPECT_EQ(0, CountStarting("PART"));
}

// What a prompt asks for is kept when the channel was left or the link dropped while it was open:
// only a server or channel that is gone makes the answer go nowhere.
TEST_F(PromptCommands, AnswersGivenAfterTheChannelOrTheLinkWentStillAct)
{
    auto leaveAlpha = [&] {
        peer->Send(":kvme!me@my.host PART #alpha\r\n");
        ASSERT_TRUE(PumpMessagesUntil([&] { return !alpha->IsJoined(); }, kWaitBoundMs));
    };
    auto dropLink = [&] {
        peer->Close();
        ASSERT_TRUE(PumpMessagesUntil([&] { return net->GetState() != TIRCUnit::StateLoggedIn; }, kWaitBoundMs));
    };

    // The server refuses a topic or an invitation for a channel the user is not in; the
    // program sends them all the same.
    AnswerPrompt(IDC_INPUT_MESSAGE_TEXT, L"late topic", leaveAlpha);
    FocusInputLine();
    PressKey('T', {VK_MENU});
    EXPECT_TRUE(peer->WaitFor("TOPIC #alpha :late topic", kWaitBoundMs)) << peer->Received();
    peer->Send(":kvme!me@my.host JOIN :#alpha\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return alpha->IsJoined(); }, kWaitBoundMs));
    AnswerPrompt(IDC_INPUT_NICK_TEXT, L"zed", leaveAlpha);
    FocusInputLine();
    PressKey('I', {VK_MENU});
    EXPECT_TRUE(peer->WaitFor("INVITE zed #alpha", kWaitBoundMs)) << peer->Received();

    // An away message typed while the link dropped is kept for the reconnect's login, and the away
    // tick still shows, greyed, while the link is down.
    peer->Send(":irc.test 306 kvme :You have been marked as being away\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return net->GetSession().userMode.away; }, kWaitBoundMs));
    world->Select(net, nullptr);
    AnswerPrompt(IDC_INPUT_MESSAGE_TEXT, L"back at six", dropLink);
    FocusInputLine();
    PressKey('A', {VK_MENU, VK_SHIFT});
    EXPECT_EQ(CString(L"back at six"), net->GetSession().awayMessage);
    RECT item = {};
    ::GetMenuItemRect(frame->m_hWnd, ::GetMenu(frame->m_hWnd), 1, &item);
    TShownMenu shown = ReadOpenedPopup([&] {
        ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    });
    const TShownMenuItem* away = shown.Find(ID_TOGGLE_AWAY);
    ASSERT_TRUE(away);
    EXPECT_TRUE(away->checked);
    EXPECT_TRUE(away->grayed);

    // Logged in again by the reconnect the drop armed, the away message goes out again, and the
    // talk asked for while the link dropped opens and is shown.
    peer = TickToReconnect(*net, server, 2);
    ASSERT_TRUE(peer && peer->WaitFor("USER ", kWaitBoundMs));
    peer->Send(":irc.test 001 kvme :Welcome\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return net->GetState() == TIRCUnit::StateLoggedIn; }, kWaitBoundMs));
    EXPECT_TRUE(peer->WaitFor("AWAY :back at six", kWaitBoundMs)) << peer->Received();
    AnswerPrompt(IDC_INPUT_NICK_TEXT, L"Zed", dropLink);
    ChooseFromMenuBar(1, {'T'});
    TIRCChannel* talk = SelectedTalk();
    ASSERT_TRUE(talk);
    EXPECT_STREQ(L"Zed", talk->GetName());

    // A quit answered after the link dropped has nothing to say goodbye to, but the user chose to
    // leave: the reconnect the drop armed never comes.
    peer = TickToReconnect(*net, server, 3);
    ASSERT_TRUE(peer && peer->WaitFor("USER ", kWaitBoundMs));
    peer->Send(":irc.test 001 kvme :Welcome\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return net->GetState() == TIRCUnit::StateLoggedIn; }, kWaitBoundMs));
    AnswerPrompt(IDC_INPUT_MESSAGE_TEXT, L"bye now", dropLink);
    ChooseFromMenuBar(1, {'Q'});
    // As long as the reconnects above took.
    for (int tick = 0; tick < 600 && net->GetState() == TIRCUnit::StateDisconnected; tick++)
        net->Tick();
    EXPECT_EQ(TIRCUnit::StateDisconnected, net->GetState()) << "connected again";
}

// dan takes back the nick bob while the action prompt for bob's talk is open: that talk goes, and
// erin's message opens a talk in its memory. The action goes to no one; to a talk still there it goes.
TEST_F(PromptCommands, AnActionForATalkThatWentMeanwhileGoesNowhere)
{
    TIRCChannel* bob = net->OpenTalk(TIRCMember(L"bob", L"b", L"bob.host"));
    ASSERT_TRUE(bob && net->OpenTalk(TIRCMember(L"dan", L"d", L"dan.host")));
    world->Select(net, bob);
    AnswerPrompt(IDC_INPUT_MESSAGE_TEXT, L"waves");
    EXPECT_TRUE(frame->ExecuteAction(L"sendaction"));
    ASSERT_TRUE(peer->WaitFor("PRIVMSG bob :\x01"
                              "ACTION waves\x01",
                              kWaitBoundMs))
        << peer->Received();

    TFreedMemoryTrap trap(bob);
    TIRCChannel* erin = nullptr;
    AnswerPrompt(IDC_INPUT_MESSAGE_TEXT, L"shrugs", [&] {
        peer->Send(":dan!d@dan.host NICK :bob\r\n:erin!e@erin.host PRIVMSG kvme :hello\r\n");
        EXPECT_TRUE(PumpMessagesUntil([&] { return (erin = Channel(L"erin")) != nullptr; }, kWaitBoundMs));
    });
    const int shown = ShownWindowCount();
    EXPECT_TRUE(frame->ExecuteAction(L"sendaction"));
    // The command runs from the message loop; the prompt has been answered once it is gone again.
    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return ShownWindowCount() > shown && !FindShownWindow(HasControl(IDC_INPUT_MESSAGE_TEXT)); },
        kWaitBoundMs));
    ASSERT_EQ((void*)erin, (void*)bob) << "the talk in the freed memory";
    net->SendInput(erin, L"typed after", false, false, false);
    ASSERT_TRUE(peer->WaitFor("PRIVMSG erin :typed after", kWaitBoundMs)) << peer->Received();
    EXPECT_EQ(1, CountStarting("PRIVMSG erin")) << peer->Received();
    EXPECT_EQ(0, CountStarting("PRIVMSG bob :\x01"
                               "ACTION shrugs"));
}

TEST_F(PromptCommands, InviteFromTheMemberListOffersTheServersOtherChannels)
{
    SelectMembers({L"alice", L"bob"});
    WhenShown(HasControl(IDC_INPUT_INVITE_CHANNEL), [&](HWND prompt) {
        HWND box = ::GetDlgItem(prompt, IDC_INPUT_INVITE_CHANNEL);
        EXPECT_EQ(CString(L"招待 - net"), GetControlText(prompt)) << "the server's name, not the members'";
        ASSERT_EQ(1, (int)::SendMessageW(box, CB_GETCOUNT, 0, 0));
        wchar_t item[32] = L"";
        ::SendMessageW(box, CB_GETLBTEXT, 0, (LPARAM)item);
        EXPECT_STREQ(L"#beta", item);
        Retype(box, L"#beta");
        PumpPendingMessages();
        SaveWindowPng(prompt, ScreenshotPath(L"mainframe-invite-member-prompt.png"));
        PressKey(VK_RETURN);
    });
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"bob"), true); }, {'I'}));
    ASSERT_TRUE(peer->WaitFor("INVITE bob #beta", kWaitBoundMs)) << peer->Received();
    EXPECT_TRUE(HasLine("INVITE alice #beta"));
}

TEST_F(PromptCommands, KickAsksForTheCommentAndCancelKicksNobody)
{
    settings.preference.PromptOnKick = true;
    settings.preference.KickMessage = L"Flooder";
    for (bool accept : {false, true}) {
        SelectMembers({L"bob"});
        WhenShown(HasControl(IDC_INPUT_MESSAGE_TEXT), [&](HWND prompt) {
            HWND edit = ::GetDlgItem(prompt, IDC_INPUT_MESSAGE_TEXT);
            EXPECT_EQ(CString(L"#alpha から追い出す - net"), GetControlText(prompt));
            EXPECT_EQ(CString(L"Flooder"), GetControlText(edit));
            if (!accept) {
                FocusForInput(edit);
                PressKey(VK_ESCAPE);
                return;
            }
            Retype(edit, L"bye");
            PressKey(VK_RETURN);
        });
        ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(RowPoint(L"bob"), true); }, {'K'}));
    }
    ASSERT_TRUE(peer->WaitFor("KICK #alpha bob :bye", kWaitBoundMs)) << peer->Received();
    RoundTrip();
    EXPECT_EQ(1, CountStarting("KICK"));
}

TEST_F(PromptCommands, ColourEffectPutsTheTagAtTheCaret)
{
    TInputEdit* input = frame->GetInputLine();
    FocusInputLine();
    TypeText(L"ab");
    for (bool accept : {false, true}) {
        FocusInputLine();
        PressKey(VK_END);
        PressKey(VK_LEFT);
        WhenShown(HasControl(IDC_COLOR_EFFECT_TEXT), [&](HWND dialog) {
            FocusForInput(::GetDlgItem(dialog, IDC_COLOR_EFFECT_TEXT));
            if (!accept) {
                PressKey(VK_ESCAPE);
                return;
            }
            for (int i = 0; i < 5; i++)
                PressKey(VK_DOWN);
            // The background waits for the dialog's idle-time rules to see a text colour.
            ::SendMessageW(dialog, WM_KICKIDLE, 0, 0);
            FocusForInput(::GetDlgItem(dialog, IDC_COLOR_EFFECT_BACK));
            for (int i = 0; i < 3; i++)
                PressKey(VK_DOWN);
            PressKey(VK_RETURN);
        });
        EXPECT_TRUE(frame->ExecuteAction(L"coloreffect"));
        WaitUntil([&] { return ShownWindowCount() && !FindShownWindow(HasControl(IDC_COLOR_EFFECT_TEXT)); },
                  "the colour window closed");
        PumpPendingMessages();
        EXPECT_EQ(CString(accept ? L"a<color red,navy>b" : L"ab"), input->GetWindowText())
            << Narrow(input->GetWindowText());
    }
}

TEST_F(PromptCommands, SaveLogWritesTheWholeLogAndAsksBeforeOverwriting)
{
    TLogView* view = world->GetCurrentLogView();
    ASSERT_TRUE(view && view->GetLineCount() > 0);
    SYSTEMTIME today = {};
    ::GetLocalTime(&today);
    CString proposed;
    proposed.Format(L"#alpha-%04d%02d%02d.txt", today.wYear, today.wMonth, today.wDay);
    CString path = folder.File(L"saved.txt");
    // A longer file is there already: the first answer keeps it, a failed write leaves it whole,
    // and the last answer overwrites it.
    const std::string longer(50000, 'x');
    ASSERT_TRUE(WriteFileBytes(path, CStringA(longer.data(), (int)longer.size())));
    enum { Keep, FailWriting, Overwrite };
    for (int round : {Keep, FailWriting, Overwrite}) {
        bool overwrite = round != Keep;
        CString shownName;
        bool warned = false;
        WhenShown(HasCaption(L"ログをファイルに保存"), [&](HWND chooser) {
            // The file name box of the explorer-style chooser, which opens with the focus in it.
            shownName = GetControlText(::GetDlgItem(chooser, cmb13));
            HWND name = ::GetFocus();
            if (overwrite) {
                SaveWindowPng(chooser, ScreenshotPath(L"mainframe-save-log-chooser.png"));
            }
            WhenShown(HasCaption(L"確認"), [&](HWND box) {
                FocusForInput(::GetDlgItem(box, IDOK));
                if (overwrite) {
                    SaveWindowPng(box, ScreenshotPath(L"mainframe-save-log-overwrite.png"));
                }
                if (round == FailWriting) {
                    SimulateWriteFailureAfter(100);
                    WhenShown(HasCaption(L"失敗"), [&](HWND warning) {
                        warned = true;
                        EXPECT_EQ(CString(L"ファイルを開けませんでした"), MessageBoxText(warning));
                        FocusForInput(::GetDlgItem(warning, IDOK));
                        QueueKey(VK_RETURN);
                    });
                }
                QueueKey(overwrite ? VK_RETURN : VK_ESCAPE);
            });
            ::SetWindowTextW(name, path);
            QueueKey(VK_RETURN);
        });
        ChooseFromMenuBar(0, {'S'});
        WaitUntil([&] { return ShownWindowCount() >= (round == Keep          ? 2
                                                      : round == FailWriting ? 5
                                                                             : 7); },
                  "the save's windows answered");
        PumpPendingMessages();
        SimulateWriteFailureAfter(-1);
        EXPECT_EQ(proposed, shownName);
        EXPECT_EQ(round == FailWriting, warned);
        if (round != Overwrite) {
            EXPECT_TRUE(Bytes(ReadFileBytes(path)) == longer) << "the old file stays";
        }
    }
    std::string written = Bytes(ReadFileBytes(path));
    EXPECT_TRUE(written == LogBytes(view)) << written.size();
    EXPECT_NE(std::string::npos, written.find("erin")) << "the log's own lines are there";
}

// The node chosen is saved even when the selection moves while the chooser is open; a node gone
// meanwhile is told, and no file is written.
TEST_F(PromptCommands, SaveLogKeepsToTheNodeChosenAndTellsWhenItWentMeanwhile)
{
    settings.preference.FocusOnTalk = true;
    const CString alphaPath = folder.File(L"alpha.txt"), talkPath = folder.File(L"talk.txt");
    // Runs the save from the menu; `meanwhile` happens while the chooser is open.
    bool warned = false;
    auto save = [&](const CString& path, const std::function<void()>& meanwhile, const std::function<bool()>& done) {
        warned = false;
        WhenShown(HasCaption(L"ログをファイルに保存"), [&](HWND) {
            HWND name = ::GetFocus();
            meanwhile();
            ::SetWindowTextW(name, path);
            WhenShown(HasCaption(L"失敗"), [&](HWND warning) {
                warned = true;
                EXPECT_NE(-1, MessageBoxText(warning).Find(L"サーバまたはチャンネルがなくなった"))
                    << "no file was opened";
                SaveWindowPng(warning, ScreenshotPath(L"mainframe-save-log-node-gone.png"));
                FocusForInput(::GetDlgItem(warning, IDOK));
                QueueKey(VK_RETURN);
            });
            FocusForInput(name);
            QueueKey(VK_RETURN);
        });
        ChooseFromMenuBar(0, {'S'});
        EXPECT_TRUE(PumpMessagesUntil(done, kWaitBoundMs)) << "the save did not end";
        PumpPendingMessages();
        StopWatching();
    };
    auto written = [](const CString& path) { return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; };

    save(
        alphaPath,
        [&] {
            // A new talk takes the selection.
            peer->Send(":zed!z@zed.host PRIVMSG kvme :hello there\r\n");
            EXPECT_TRUE(PumpMessagesUntil([&] { return SelectedTalk() != nullptr; }, kWaitBoundMs));
        },
        [&] { return written(alphaPath); });
    TIRCChannel* talk = SelectedTalk();
    ASSERT_TRUE(talk) << "the talk took the selection";
    EXPECT_FALSE(warned);
    EXPECT_EQ(LogBytes(alpha->logView), Bytes(ReadFileBytes(alphaPath))) << "the channel's log, not the talk's";

    // A script closes the talk being saved.
    save(
        talkPath, [&] { world->RemoveChannelNode(net, talk); }, [&] { return warned; });
    EXPECT_TRUE(warned);
    EXPECT_FALSE(written(talkPath));

    // A talk opened into the memory of the one being saved is not it.
    TIRCChannel* bob = net->OpenTalk(TIRCMember(L"bob", L"b", L"bob.host"));
    ASSERT_TRUE(bob);
    world->Select(net, bob);
    TIRCChannel* dan = nullptr;
    const CString bobPath = folder.File(L"bob.txt");
    save(
        bobPath,
        [&] {
            TFreedMemoryTrap trap(bob);
            world->RemoveChannelNode(net, bob);
            dan = net->OpenTalk(TIRCMember(L"dan", L"d", L"dan.host"));
        },
        [&] { return warned; });
    ASSERT_EQ((void*)dan, (void*)bob) << "the talk in the freed memory";
    EXPECT_TRUE(warned);
    EXPECT_FALSE(written(bobPath));
}

TEST_F(PromptCommands, RebuildingMembersEmptiesTheListAndFillsItFromWho)
{
    ChooseFromMenuBar(2, {'F'});
    ASSERT_TRUE(peer->WaitFor("WHO #alpha", kWaitBoundMs)) << peer->Received();
    EXPECT_EQ(nullptr, alpha->FindMember(L"erin"));
    EXPECT_EQ(0, ListView_GetItemCount(MemberList()));
    peer->Send(":irc.test 352 kvme #alpha eu erin.example irc.test erin H@ :0 Erin\r\n"
               ":irc.test 315 kvme #alpha :End of WHO list\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return alpha->whoComplete; }, kWaitBoundMs));
    const TIRCMember* erin = alpha->FindMember(L"erin");
    ASSERT_TRUE(erin);
    EXPECT_STREQ(L"erin.example", erin->host);
    EXPECT_TRUE(erin->IsOp());
    EXPECT_EQ(1, ListView_GetItemCount(MemberList()));
}

TEST(LogFileName, NameAndDateWithUnsafeCharactersReplaced)
{
    SYSTEMTIME date = {};
    date.wYear = 2024;
    date.wMonth = 3;
    date.wDay = 5;
    for (auto [node, file] : {std::pair{L"#a/b", L"#a_b-20240305.txt"},
                              {L"net", L"net-20240305.txt"},
                              {L"#x:<>\\*?|\"y", L"#x________y-20240305.txt"},
                              {L"&日本語", L"&日本語-20240305.txt"}})
        EXPECT_EQ(CString(file), MakeLogFileName(node, date)) << Narrow(node);
}
