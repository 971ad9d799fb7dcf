// Text a server or a peer sends, followed to what acts on it, with the lines the server gets:
// nothing received becomes a second command, a list of channels or an extra parameter.

#include "tests/mainframe/ServedFrameFixture.h"

#include "tests/common/Screenshot.h"

#include "dialogs/InviteDialog.h"
#include "foundation/CodePage.h"
#include "foundation/ResourceString.h"
#include "res/resource.h"
#include "settings/Preference.h"

#include <functional>

namespace {

class ReceivedText : public ServedFrameFixture {
protected:
    // The server log's last line past the given one whose event data ends with the text, once it
    // is shown; -1 when none comes.
    int WaitEventLine(const CString& dataEnd, int after = -1)
    {
        int found = -1;
        PumpMessagesUntil(
            [&] {
                for (int line = net->logView->GetLineCount() - 1; line > after && found < 0; line--) {
                    const CString& data = net->logView->GetLine(line).model.eventData;
                    if (data.GetLength() >= dataEnd.GetLength() && data.Right(dataEnd.GetLength()) == dataEnd)
                        found = line;
                }
                return found >= 0;
            },
            kWaitBoundMs);
        return found;
    }
    int Joins() { return CountStarting("JOIN "); }
    // The server log's lines telling that the name was refused.
    int Refusals(const CString& name)
    {
        const CString told = FormatStringResourceWithText(IDS_NOT_ONE_CHANNEL, name);
        int count = 0;
        for (int line = 0; line < net->logView->GetLineCount(); line++)
            count += net->logView->GetLine(line).GetText().Find(told) >= 0 ? 1 : 0;
        return count;
    }
};

} // namespace

// Joined at once, from the invitation window's OK and by a double click on the printed line;
// a name that is no single channel is printed, joined by none of them, and each refusal is told.
TEST_F(ReceivedText, InvitationsJoinOneChannelByEachWay)
{
    settings.preference.LimitInviteDialog = false;
    settings.preference.ActivateInviteDialog = false;
    world->Select(net, nullptr);
    const struct {
        const char* channel;
        bool joined;
    } cases[] = {{"#ok", true}, {"0", false}, {"#x,0", false}, {"#x 0", false}, {"#x\r0", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.channel);
        const std::string invite = std::string(":alice!a@inviter.example INVITE kvme :") + c.channel + "\r\n";
        const CString dataEnd = L" " + ConvertFromUtf8(c.channel);
        const int expected = c.joined ? 1 : 0;
        const CString name = ConvertFromUtf8(c.channel);

        settings.preference.InviteAction = 2;
        int before = Joins();
        int told = Refusals(name);
        peer->Send(invite);
        int line = WaitEventLine(dataEnd);
        ASSERT_GE(line, 0);
        RoundTrip();
        EXPECT_EQ(Joins() - before, expected) << "at once";
        EXPECT_EQ(Refusals(name) - told, 1 - expected) << "at once";

        settings.preference.InviteAction = 1;
        before = Joins();
        told = Refusals(name);
        peer->Send(invite);
        ASSERT_GT(WaitEventLine(dataEnd, line), line);
        RoundTrip();
        ASSERT_EQ(net->GetInviteDialogs().size(), (size_t)expected) << "a window only for one channel";
        if (c.joined) {
            HWND window = static_cast<TInviteDialog*>(net->GetInviteDialogs()[0])->m_hWnd;
            ClickAt(ScreenPointOf(::GetDlgItem(window, IDOK)));
            ASSERT_TRUE(PumpMessagesUntil([&] { return net->GetInviteDialogs().empty(); }, kWaitBoundMs));
        }
        RoundTrip();
        EXPECT_EQ(Joins() - before, expected) << "the window's OK";
        EXPECT_EQ(Refusals(name) - told, 1 - expected) << "no window";

        settings.preference.InviteAction = 0;
        before = Joins();
        told = Refusals(name);
        DoubleClickAt(CharPoint(net->logView, line, 1));
        RoundTrip();
        EXPECT_EQ(Joins() - before, expected) << "a double click on the line";
        EXPECT_EQ(Refusals(name) - told, 1 - expected) << "a double click on the line";
    }
    EXPECT_EQ(CountStarting("JOIN #ok"), 3);
    EXPECT_EQ(CountStarting("JOIN #x"), 0);
    EXPECT_EQ(CountStarting("JOIN 0"), 0);
}

// An invitation or a chat offer that arrives while the user types leaves the keys in the input
// line unless it is set to come forward: Enter sends the line and neither joins nor connects.
// Set to come forward, its window comes to the front.
TEST_F(ReceivedText, InvitationsAndChatOffersTakeTheKeysOnlyWhenSetToComeForward)
{
    TPreference& preference = settings.preference;
    preference.InviteAction = InviteShowDialog;
    preference.DCCChatAction = 1;
    preference.LimitInviteDialog = preference.EnableMaxDCCChatRequestDialog = false;
    TEdit* input = frame->GetInputLine();
    const struct {
        const char* name;
        std::string line;
        std::function<HWND()> window;
    } offers[] = {
        {"invitation", ":bob!u@inviter.example INVITE kvme :#elsewhere\r\n",
         [&] { return net->GetInviteDialogs().empty() ? nullptr : net->GetInviteDialogs()[0]->GetWindowHandle(); }},
        {"chat offer", ":carol!u@peer.example PRIVMSG kvme :\1DCC CHAT chat 2130706433 5000\1\r\n",
         [&] { return net->GetDccChatDialogs().empty() ? nullptr : net->GetDccChatDialogs()[0]->GetWindowHandle(); }},
    };
    for (bool forward : {false, true}) {
        preference.ActivateInviteDialog = preference.ActivateDCCChatDialog = forward;
        for (const auto& offer : offers) {
            SCOPED_TRACE(std::string(offer.name) + (forward ? ", set to come forward" : ""));
            input->SetWindowText(L"");
            const int sent = CountStarting("PRIVMSG #alpha :typing on");
            FocusForInput(input->m_hWnd);
            TypeText(L"typing");
            peer->Send(offer.line);
            ASSERT_TRUE(WaitUntil([&] { return offer.window() != nullptr; }, "the window opens"));
            HWND window = offer.window();
            if (forward) {
                EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == window; }, "the window in front"));
            } else {
                PumpPendingMessages();
                SaveWindowPng(window, ScreenshotPath(L"received-offer-behind-typing.png"));
                TypeText(L" on");
                PressKey(VK_RETURN);
                RoundTrip();
                EXPECT_EQ(CountStarting("PRIVMSG #alpha :typing on"), sent + 1) << "Enter sent the line";
                EXPECT_EQ(CountStarting("JOIN #elsewhere"), 0);
                EXPECT_EQ(net->FindChannel(L"=carol"), nullptr) << "no chat connects";
                EXPECT_EQ(::GetFocus(), input->m_hWnd);
                EXPECT_TRUE(::IsWindowVisible(window)) << "the window waits for its answer";
            }
            ClickAt(ScreenPointOf(::GetDlgItem(window, IDCANCEL)));
            ASSERT_TRUE(WaitUntil([&] { return offer.window() == nullptr; }, "the window closed"));
        }
    }
}
