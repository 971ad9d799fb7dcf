#pragma once
// The main window of MainFrameFixture logged in to a scripted server as "kvme", with "#alpha"
// joined as its operator among alice, bob, +carol, dave and erin (whose address is known), and
// "#alpha" selected. The server side reads what the program sends.

#include "tests/mainframe/MainFrameFixture.h"

#include "foundation/CodePage.h"
#include "irc/Member.h"
#include "logview/LogView.h"
#include "tests/common/ControlText.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/UserInput.h"
#include "tests/irc/IrcTestSupport.h"

#include <commctrl.h>

#include <string>

class TWinsockUser {
public:
    TWinsockUser()
    {
        WSADATA data;
        ::WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~TWinsockUser() { ::WSACleanup(); }
};

class ServedFrameFixture : public MainFrameFixture {
protected:
    void ConfigureUnit(TUnitConfig& unit) override
    {
        unit.Hostname = L"127.0.0.1";
        unit.Port = server.Port();
        unit.Nick = L"kvme";
        unit.Username = L"kvme";
        // The own address comes from the preferences, so pasting it has a known text.
        settings.preference.IPResolveMethod = 3;
        settings.preference.IPAddress = L"192.0.2.7";
        settings.preference.EnableNickContextMenu = true;
    }
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        ASSERT_GT(server.Port(), 0);
        net->Connect();
        peer = server.WaitClient();
        ASSERT_TRUE(peer);
        ASSERT_TRUE(peer->WaitFor("USER "));
        peer->Send(":irc.test 001 kvme :Welcome\r\n");
        ASSERT_TRUE(PumpMessagesUntil([&] { return net->GetState() == TIRCUnit::StateLoggedIn; }, kWaitBoundMs));
        peer->Send(":kvme!me@my.host JOIN :#alpha\r\n"
                   ":irc.test 353 kvme = #alpha :@kvme alice bob +carol dave\r\n"
                   ":irc.test 366 kvme #alpha :End of NAMES list\r\n"
                   ":erin!eu@erin.example JOIN :#alpha\r\n");
        alpha = Channel(L"#alpha");
        ASSERT_TRUE(PumpMessagesUntil([&] { return alpha->IsJoined() && alpha->FindMember(L"erin"); }, kWaitBoundMs));
        world->Select(net, alpha);
        PumpPendingMessages();
        ASSERT_TRUE(alpha->op);
    }

    HWND MemberList() { return world->GetCurrentMemberList()->m_hWnd; }
    int RowOf(const wchar_t* nick)
    {
        const int row = ListViewRowWith(MemberList(), 0, nick);
        if (row < 0)
            ADD_FAILURE() << "no row for " << Narrow(nick);
        return row;
    }
    POINT RowPoint(const wchar_t* nick)
    {
        RECT rect = {};
        ListView_GetItemRect(MemberList(), RowOf(nick), &rect, LVIR_LABEL);
        return ScreenPointOf(MemberList(), rect.left + 8, (rect.top + rect.bottom) / 2);
    }
    // Clicks the first nick and Ctrl+clicks the others, as a user picks several rows.
    void SelectMembers(std::initializer_list<const wchar_t*> nicks)
    {
        bool first = true;
        for (const wchar_t* nick : nicks) {
            INPUT control = {};
            control.type = INPUT_KEYBOARD;
            control.ki.wVk = VK_CONTROL;
            if (!first)
                ::SendInput(1, &control, sizeof control);
            ClickAt(RowPoint(nick));
            control.ki.dwFlags = KEYEVENTF_KEYUP;
            if (!first)
                ::SendInput(1, &control, sizeof control);
            first = false;
        }
        // The clicks land later on a loaded machine.
        WaitUntil([&] { return SelectedRows() == (int)nicks.size(); }, "the rows selected");
    }
    // Every line the program queued so far has reached the server.
    void RoundTrip() { ASSERT_TRUE(::RoundTrip(*net, *peer)) << peer->Received(); }
    // Lines the server got that start with the prefix.
    int CountStarting(const std::string& prefix)
    {
        int count = 0;
        for (const std::string& line : peer->Lines())
            count += line.rfind(prefix, 0) == 0;
        return count;
    }
    // The newest line the server got that starts with the prefix; empty when none did.
    std::string LastStarting(const std::string& prefix)
    {
        std::vector<std::string> lines = peer->Lines();
        auto last = std::find_if(lines.rbegin(), lines.rend(), [&](auto& line) { return line.rfind(prefix, 0) == 0; });
        return last == lines.rend() ? std::string() : *last;
    }
    int SelectedRows() { return (int)::SendMessageW(MemberList(), LVM_GETSELECTEDCOUNT, 0, 0); }

    // The line holding the text has come and is painted, so the pointer finds its words.
    void WaitLinePainted(TLogView* view, const wchar_t* text)
    {
        ASSERT_TRUE(WaitUntil([&] { return HasLogLine(view, text); }, "the line shown")) << Narrow(text);
        WaitUntil([&] { return !view->IsPaintDue(); }, "the line painted");
        PumpPendingMessages();
    }
    // A message of alice's in #alpha, waited for until the channel's view shows it painted.
    TLogView* Say(const std::string& text)
    {
        peer->Send(":alice!al@alice.example PRIVMSG #alpha :" + text + "\r\n");
        WaitLinePainted(alpha->logView, ConvertFromUtf8(CStringA(text.c_str())));
        return alpha->logView;
    }
    // Whether a log line of the view holds the text yet.
    static bool HasLogLine(TLogView* view, const wchar_t* text)
    {
        for (int line = 0; line < view->GetLineCount(); line++)
            if (view->GetLine(line).GetText().Find(text) >= 0)
                return true;
        return false;
    }
    // The first log line of the view holding the text.
    static int LineWith(TLogView* view, const wchar_t* text)
    {
        for (int line = 0; line < view->GetLineCount(); line++)
            if (view->GetLine(line).GetText().Find(text) >= 0)
                return line;
        ADD_FAILURE() << "no line with " << Narrow(text);
        return -1;
    }
    // A screen point over the character, found by the view's own hit test.
    static POINT CharPoint(TLogView* view, int line, int ch)
    {
        RECT client;
        view->GetClientRect(&client);
        for (int y = 1; y < client.bottom; y += 2)
            for (int x = 2; x < client.right; x++) {
                POINT probe = {x, y};
                TLogTextPos pos;
                if (view->HitTest(probe, pos, false) && pos.line == line && pos.ch == ch)
                    return ScreenPointOf(view->m_hWnd, x + 1, y);
            }
        ADD_FAILURE() << "character not shown: " << line << ", " << ch;
        return {0, 0};
    }
    // A point over the text, in the first line that holds lineText.
    POINT TextPoint(TLogView* view, const wchar_t* text, const wchar_t* lineText = nullptr)
    {
        int line = LineWith(view, lineText ? lineText : text);
        return line < 0 ? POINT{0, 0} : CharPoint(view, line, view->GetLine(line).GetText().Find(text) + 1);
    }
    static void EmptyClipboard()
    {
        if (::OpenClipboard(nullptr)) {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
    }

    TWinsockUser winsock;
    TScriptedServer server;
    TLineSocket* peer = nullptr;
    TIRCChannel* alpha = nullptr;
};
