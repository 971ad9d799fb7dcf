// A script's handler that holds a message box open: the server's lines go on being taken while
// it waits, and what they remove is not used when the handler returns.

#include "../common/FreedMemory.h"
#include "../common/MessagePump.h"
#include "../common/UserInput.h"
#include "../irc/IrcTestSupport.h"
#include "ScriptFakes.h"
#include "ScriptWorld.h"
#include "foundation/CodePage.h"
#include "script/UnitScriptServer.h"
#include "settings/Config.h"
#include "settings/PopupFile.h"
#include "world/IRCWorld.h"

#include <algorithm>
#include <functional>

namespace {

// The handler of the first text it hears holds a box titled "kvhold" until it is answered.
const char kHoldingScript[] = "var held = false;\r\n"
                              "function hold(text) {\r\n"
                              "  if (held) { log('heard ' + text); return; }\r\n"
                              "  held = true; log('holding'); executeMenu('hold'); log('released'); }\r\n"
                              "function event::onChannelText(prefix, channel, text) { hold(text); }\r\n"
                              "function event::onTalkText(prefix, target, text) { hold(text.substr(0, 4)); }\r\n"
                              "function event::onError(message) { log('error ' + message); }\r\n"
                              "function event::onDccChatText(frame, nick, text) { hold(text); }\r\n"
                              "function later() { hold('timer'); }\r\n"
                              "function event::onSendingCommand(command, text, result) {\r\n"
                              "  if (command == 'HOLD') hold(text);\r\n"
                              "  if (command == 'LATER') setTimeout(later, 10); }\r\n";

// The main window's action opens a modal box, as its dialogs do.
class TBoxFrame : public TFakeScriptFrame {
public:
    void ExecuteAction(const CString& name) override
    {
        if (name == L"hold")
            ::MessageBoxW(nullptr, L"held", L"kvhold", MB_OK);
    }
};

// A macro rule whose action opens the main window's modal box, as the Menu action does, and
// leaves the command to be sent.
class TBoxMacros : public IUnitMacroEngine {
public:
    bool ProcessEvent(const TIRCReceiveMessage& message, const CString&) override
    {
        if (message.command != L"FROB")
            return false;
        frame->logs.push_back(L"macro: holding");
        frame->ExecuteAction(L"hold");
        frame->logs.push_back(L"macro: released");
        return false;
    }
    CString ExpandVariables(const CString& text, const CString&) override { return text; }
    TBoxFrame* frame = nullptr;
};

class HeldHandlerTest : public TUnitTest {
protected:
    void SetUp() override
    {
        TUnitTest::SetUp();
        frame.scriptFolder = frame.filesFolder = scripts.path;
        ASSERT_TRUE(WriteFileBytes(scripts.File(L"hold.js"), kHoldingScript));
    }
    void TearDown() override
    {
        world.reset();
        manager.reset();
        scriptServer.reset();
        unit.reset();
    }
    // Logged in to the scripted server with the holding script loaded.
    void Start()
    {
        peer = ConnectTo(server, true);
        ASSERT_NE(peer, nullptr);
        scriptServer.reset(new TUnitScriptServer(unit.get()));
        manager.reset(new TScriptManager(scriptServer.get(), &frame));
        unit->SetScripts(manager.get());
        manager->LoadScripts({L"hold.js"});
        ASSERT_TRUE(frame.errors.empty()) << Narrow(frame.errors[0]);
    }
    // A world with one server that runs the holding script, logged in to the scripted server
    // and joined to #kv; null when it did not get there.
    TIRCUnit* StartWorld()
    {
        world = MakeScriptWorld(config, host, folder.path, maker);
        TUnitConfig record;
        record.Name = L"held";
        record.Hostname = L"127.0.0.1";
        record.Port = server.Port();
        record.ScriptFiles = {L"hold.js"};
        TIRCUnit* held = world->AddUnit(record);
        if (!held)
            return nullptr;
        // Counted before the connect: the server may take it before Connect returns.
        int accepted = server.Accepted();
        held->Connect();
        peer = server.WaitClient(accepted + 1);
        if (!peer || !peer->WaitFor("USER "))
            return nullptr;
        peer->Send(":irc.example 001 kvnick :Welcome\r\n:kvnick!kvuser@my.host JOIN :#kv\r\n");
        if (!PumpMessagesUntil([&] { return held->FindChannel(L"#kv") != nullptr; }, kWaitBoundMs))
            return nullptr;
        return held;
    }
    // From the timers of whatever loop runs (the box's own): each step once the one before it is
    // done and the box is shown; after the last, Return answers the box. Past the bound the box
    // is answered anyway, and stepsDone tells how far it got.
    void WhileHeld(std::vector<std::function<bool()>> steps)
    {
        heldSteps = std::move(steps);
        stepsDone = 0;
        DWORD start = ::GetTickCount();
        pressed = 0;
        poll = [this, start] {
            HWND box = ::FindWindowW(L"#32770", L"kvhold");
            DWORD now = ::GetTickCount();
            if (box && stepsDone < heldSteps.size() && heldSteps[stepsDone]())
                stepsDone++;
            // Once, and again only if the box missed the key.
            bool due = stepsDone == heldSteps.size() || now - start > kWaitBoundMs;
            if (box && due && (!pressed || now - pressed > 1000)) {
                pressed = now;
                ::SetForegroundWindow(box);
                QueueKey(VK_RETURN);
            }
            if ((box || stepsDone == 0) && now - start < 3 * kWaitBoundMs)
                RunLater(20, poll);
        };
        RunLater(20, poll);
    }
    // The box was shown and answered: its handler has returned.
    bool BoxGone()
    {
        return PumpMessagesUntil([&] { return stepsDone > 0 && !::FindWindowW(L"#32770", L"kvhold"); },
                                 2 * kWaitBoundMs);
    }
    // carol takes the nick bob left and her talk takes its place while the handler of the first
    // piece sent to bob's talk holds its box; a talk opened then stands in bob's talk's memory.
    // Only that first piece leaves.
    void SendWhileTalkMerges(const std::function<void(TIRCChannel*)>& send)
    {
        Start();
        TIRCChannel* talk = unit->OpenTalk(TIRCMember(L"bob", L"b", L"h.example"));
        ASSERT_NE(unit->OpenTalk(TIRCMember(L"carol", L"c", L"h.example")), nullptr);
        ASSERT_NE(talk, nullptr);
        TIRCChannel* later = nullptr;
        TFreedMemoryTrap trap(talk);
        WhileHeld({
            [&] {
                peer->Send(":carol!c@h.example NICK :bob\r\n");
                return true;
            },
            [&] {
                if (unit->HasChannel(talk))
                    return false;
                later = unit->OpenTalk(TIRCMember(L"dan", L"d", L"h.example"));
                return true;
            },
        });
        send(talk);
        ASSERT_TRUE(BoxGone());
        EXPECT_EQ(stepsDone, 2u);
        ASSERT_EQ((void*)later, (void*)talk) << "the talk in the freed memory";
        ASSERT_TRUE(RoundTrip(*unit, *peer));
        int pieces = 0, strayed = 0;
        for (const std::string& line : peer->Lines()) {
            pieces += line.rfind("PRIVMSG bob :", 0) == 0;
            strayed += line.rfind("PRIVMSG dan :", 0) == 0;
        }
        EXPECT_EQ(pieces, 1);
        EXPECT_EQ(strayed, 0);
        ExpectHeldOnce();
    }
    // The one box held its handler until answered, and no script failed.
    void ExpectHeldOnce()
    {
        EXPECT_EQ(frame.Logged(), (std::vector<CString>{L"holding", L"released"}));
        EXPECT_TRUE(frame.errors.empty());
    }
    static bool Shows(const std::vector<std::string>& lines, const char* text)
    {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }

    TComApartment apartment;
    TTempFolder scripts;
    TBoxFrame frame;
    TScriptedServer server;
    TLineSocket* peer = nullptr;
    std::unique_ptr<TUnitScriptServer> scriptServer;
    std::unique_ptr<TScriptManager> manager;
    TConfig config;
    TNoHost host;
    TFrameScriptsMaker maker{&frame};
    std::unique_ptr<TIRCWorld> world;
    std::vector<std::function<bool()>> heldSteps;
    size_t stepsDone = 0;
    DWORD pressed = 0;
    std::function<void()> poll;
};

} // namespace

TEST_F(HeldHandlerTest, TheServerIsAnsweredAndItsLinesShownWhileAHandlerHoldsABox)
{
    Start();
    peer->Send(":kvnick!kvuser@my.host JOIN :#kv\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return unit->FindChannel(L"#kv") != nullptr; }, kWaitBoundMs));
    WhileHeld({
        [&] {
            peer->Send("PING :during\r\n:bob!b@h.example PRIVMSG #kv :meanwhile\r\n");
            return true;
        },
        [&] {
            if (peer->Received().find("PONG :during") == std::string::npos)
                return false;
            peer->Send("ERROR :Closing Link: kvnick (ping timeout)\r\n");
            peer->Close();
            return true;
        },
        [&] { return unit->GetState() == TIRCUnit::StateDisconnected; },
    });
    peer->Send(":bob!b@h.example PRIVMSG #kv :first\r\n");
    ASSERT_TRUE(BoxGone());
    EXPECT_EQ(stepsDone, 3u) << "the PONG and the close came only after the box";
    EXPECT_EQ(frame.Logged(), (std::vector<CString>{L"holding", L"heard meanwhile",
                                                    L"error Closing Link: kvnick (ping timeout)", L"released"}));
    EXPECT_TRUE(Shows(recorder.ViewTexts(unit->FindChannel(L"#kv")), "meanwhile"));
    EXPECT_TRUE(Shows(recorder.ViewTexts(nullptr), "ping timeout")) << "the server's reason for the close";
    EXPECT_TRUE(frame.errors.empty());
}

// The talk a typed message or pasted lines go to is removed while the handler of the first piece
// waits, and a talk opened then takes its memory: the rest goes neither to the old talk's nick
// nor to the new talk.
TEST_F(HeldHandlerTest, ATalkRemovedWhileAHandlerHoldsABoxIsNotUsedAfterIt)
{
    // Typed: two pieces, the first ends among the a's. Pasted: two lines.
    CString typed(L'a', 500);
    typed += CString(L'b', 100);
    SendWhileTalkMerges([&](TIRCChannel* talk) { unit->SendInput(talk, typed, false, false, false); });
}

TEST_F(HeldHandlerTest, ATalkRemovedWhileAHandlerHoldsABoxTakesNoFurtherPastedLines)
{
    SendWhileTalkMerges([&](TIRCChannel* talk) { unit->SendTextLines(talk, L"aaaa one\r\nbbbb two", false); });
}

// A server is deleted, alone or with every server as the program ends, while a script or a macro
// of its own holds a box (a received line's handler, a typed command's, a timer's, a popup
// item's): the handler returns into a unit that still exists, and the unit goes afterwards.
TEST_F(HeldHandlerTest, AServerDeletedWhileItsHandlerHoldsABoxGoesAfterIt)
{
    const wchar_t* const kPopup = L"popup";
    struct {
        const wchar_t* typed; // null: a line from the server
        bool allAtEnd;
    } roads[] = {{nullptr, false},       {L"/hold typed", false}, {L"/later", false},     {L"/frob typed", false},
                 {kPopup, false},        {nullptr, true},         {L"/hold typed", true}, {L"/later", true},
                 {L"/frob typed", true}, {kPopup, true}};
    TBoxMacros macros;
    macros.frame = &frame;
    // The user's DLL holds the box from its hook, and its reply is run after it.
    TPopupItem menuItem;
    menuItem.action = L"dllhook";
    menuItem.target = ConvertFromUtf8(KV_MACRO_TEST_DLL);
    menuItem.target.Replace(L'/', L'\\');
    menuItem.actionInfo = L"HoldHook";
    for (const auto& road : roads) {
        SCOPED_TRACE(Narrow(road.typed ? road.typed : L"received") + (road.allAtEnd ? " at the end" : ""));
        TIRCUnit* held = StartWorld();
        ASSERT_NE(held, nullptr);
        held->SetMacroEngine(&macros);
        frame.logs.clear();
        WhileHeld({[&] {
            if (road.allAtEnd)
                world->Shutdown();
            else
                world->DeleteUnit(held);
            return true;
        }});
        if (road.typed == kPopup)
            held->RunPopupMenuCommand(menuItem);
        else if (road.typed)
            held->SendInput(held->FindChannel(L"#kv"), road.typed, false, false, true);
        else
            peer->Send(":bob!b@h.example PRIVMSG #kv :first\r\n");
        ASSERT_TRUE(BoxGone());
        EXPECT_TRUE(world->GetUnits().empty());
        if (!road.typed || road.typed == kPopup) {
            EXPECT_TRUE(PumpMessagesUntil([&] { return peer->Closed(); }, kWaitBoundMs));
        }
        world.reset();
        if (road.typed == kPopup)
            EXPECT_TRUE(frame.Logged().empty() && frame.errors.empty() && !Shows(peer->Lines(), "after the box"))
                << peer->Received();
        else
            ExpectHeldOnce();
    }
}

// A DCC chat talk closed while the handler of its peer's line holds a box: the chat goes, and
// its connection is not used after the talk.
TEST_F(HeldHandlerTest, ADccChatTalkClosedWhileItsLineHoldsABoxIsNotUsedAfterIt)
{
    Start();
    preference.DCCChatAction = 2;
    TScriptedServer chatPeer;
    peer->Send(":bob!b@h.example PRIVMSG kvnick :\1DCC CHAT chat 2130706433 " + std::to_string(chatPeer.Port()) +
               "\1\r\n");
    TLineSocket* chat = chatPeer.WaitClient();
    ASSERT_NE(chat, nullptr);
    TIRCChannel* talk = unit->FindChannel(L"=bob");
    ASSERT_NE(talk, nullptr);
    ASSERT_TRUE(PumpMessagesUntil([&] { return talk->IsJoined(); }, kWaitBoundMs));
    WhileHeld({[&] {
        unit->DeleteChannel(talk);
        return true;
    }});
    chat->Send("hello\r\nagain\r\n");
    ASSERT_TRUE(BoxGone());
    EXPECT_EQ(unit->FindChannel(L"=bob"), nullptr);
    EXPECT_TRUE(PumpMessagesUntil([&] { return chat->Closed(); }, kWaitBoundMs));
    ExpectHeldOnce();
}
