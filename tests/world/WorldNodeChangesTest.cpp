// What the selection, the keyboard focus and the stored tree make of nodes that change under
// them: a channel left by a kick, a talk whose peer changes nick, a channel deleted from its
// server's properties and one joined for the first time.

#include "tests/common/StringPrinter.h"
#include "tests/world/common/WorldWindowTest.h"

#include <algorithm>

namespace {

class WorldNodeChangesTest : public TTwoServersTest {
protected:
    void JoinWithMembers(TIRCChannel* channel)
    {
        std::string name = Narrow(channel->GetName());
        FeedLine(*net, ":kvself!u@h JOIN :" + name);
        FeedLine(*net, ":irc.example 353 kvself = " + name + " :kvself peer");
    }
    TIRCChannel* OpenTalk(const wchar_t* nick)
    {
        TChannelConfig record;
        record.Name = nick;
        return world->AddChannelNode(home, record, TIRCChannel::KindTalk);
    }
    CString InputText() { return TEdit::GetText(frame.chat.input.m_hWnd); }
};

} // namespace

// A kick selects the channel again, as a click would: its list goes empty, the marks of the kick
// line clear, and with the end asked for on selection a log left scrolled back shows the kick.
TEST_F(WorldNodeChangesTest, AKickedChannelThatIsSelectedIsSelectedAgain)
{
    config.preference.Reconnect = false;
    Prepare();
    LogInOffline(L"net");
    const struct {
        const char* name;
        bool bottomOnSelect;
        TIRCChannel* const* kicked;
        bool alphaAtEnd;
        bool kickedMarked;
    } rows[] = {
        {"the selected channel, the end asked for", true, &alpha, true, false},
        {"the selected channel, left where it is", false, &alpha, false, false},
        {"another channel", true, &beta, false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        config.preference.ViewBottomOnSelect = row.bottomOnSelect;
        world->Select(net, alpha);
        for (TIRCChannel* channel : {alpha, beta}) {
            JoinWithMembers(channel);
            for (int i = 0; i < 100; i++)
                net->PrintToChannel(channel, L"peer", L"a line to scroll past", 0, 0, false);
        }
        alpha->logView->ScrollToTop();
        (*row.kicked)->updateMark = true;
        FeedLine(*net, ":op!u@h KICK " + Narrow((*row.kicked)->GetName()) + " kvself :out");
        ASSERT_FALSE((*row.kicked)->IsJoined());
        EXPECT_EQ(Selected(), TNode(net, alpha));
        EXPECT_EQ(alpha->logView->IsAtEnd(), row.alphaAtEnd);
        EXPECT_EQ((*row.kicked)->updateMark, row.kickedMarked);
        EXPECT_EQ(ShownMemberList(), frame.members.GetCard(alpha->IsJoined() ? (UINT)(UINT_PTR)alpha : 1));
        (*row.kicked)->updateMark = false;
    }
}

// The node last shown on a server goes by its name: when its talk is renamed the name follows, so
// switching servers comes back to that talk (and %a names it), not to the server nor to another
// person's talk that took the old nick. A rename of another talk leaves it alone.
TEST_F(WorldNodeChangesTest, ARenamedTalkStaysTheNodeLastShownOnItsServer)
{
    Prepare();
    TIRCChannel *bob = nullptr, *dan = nullptr;
    const struct {
        const char* name;
        TIRCChannel* const* shown;
        std::function<void()> action;
        const wchar_t* lastShown;
    } rows[] = {
        {"the talk shown is renamed and another opens under the old nick", &bob,
         [&] {
             FeedLine(*home, ":bob!u@h NICK :bob2");
             OpenTalk(L"bob");
         },
         L"bob2"},
        {"the talk shown takes the nick of one that goes", &dan, [&] { FeedLine(*home, ":dan!u@h NICK :bob"); },
         L"bob"},
        {"another talk is renamed", &gamma, [&] { FeedLine(*home, ":carl!u@h NICK :carl2"); }, L"#gamma"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        bob = OpenTalk(L"bob");
        OpenTalk(L"carl");
        dan = OpenTalk(L"dan");
        world->Select(home, *row.shown);
        world->Select(net, nullptr);
        row.action();
        EXPECT_EQ(world->GetCurrentChannelName(home), CString(row.lastShown));
        world->SelectNextServer(true, false);
        EXPECT_EQ(Selected(), TNode(home, home->FindChannel(row.lastShown)));
        EXPECT_NE(Selected().second, nullptr);
        for (TIRCChannel* talk : std::vector<TIRCChannel*>(home->GetChannels()))
            if (talk->GetKind() == TIRCChannel::KindTalk)
                world->RemoveChannelNode(home, talk);
    }
}

// Removing channels in the server's properties: the focused log of a channel that stays keeps
// the focus; the focused log of the channel removed leaves it to the input line, where typing
// goes on.
TEST_F(WorldNodeChangesTest, TheFocusOfALogDeletedWithItsChannelGoesToTheInputLine)
{
    Prepare();
    for (TIRCChannel* channel : {alpha, beta})
        net->PrintSystemText(channel, L"a line");
    world->Select(net, beta);
    HWND betaLog = beta->logView->m_hWnd;
    const struct {
        const wchar_t* removed;
        HWND focused;
    } rows[] = {{L"#alpha", betaLog}, {L"#beta", frame.chat.input.m_hWnd}};
    for (const auto& row : rows) {
        SCOPED_TRACE(Narrow(row.removed));
        FocusForInput(betaLog);
        TUnitConfig now;
        static_cast<TUnitSetting&>(now) = net->GetSettings();
        world->StoreUnitChannels(net, now);
        TUnitConfig edited = now;
        edited.Channels.erase(std::find_if(edited.Channels.begin(), edited.Channels.end(),
                                           [&](const TChannelConfig& c) { return c.Name == row.removed; }));
        world->ApplyServerSettings(net, now, edited);
        EXPECT_EQ(net->FindChannel(row.removed), nullptr);
        EXPECT_EQ(::GetFocus(), row.focused);
    }
    frame.chat.input.SetWindowText(L"");
    TypeText(L"x");
    EXPECT_EQ(InputText(), CString(L"x"));
}

// A channel joined for the first time is stored with the tree once it is joined: the record the
// auto-op window draws says so, beside a channel of the tree that is not joined.
TEST_F(WorldNodeChangesTest, AChannelJoinedForTheFirstTimeIsStoredAsJoined)
{
    Prepare();
    LogInOffline(L"net");
    FeedLine(*net, ":kvself!u@h JOIN :#new");
    ASSERT_NE(net->FindChannel(L"#new"), nullptr);
    const TUnitConfig* stored = nullptr;
    for (const TUnitConfig& unit : config.world.Units)
        if (unit.Name == L"net")
            stored = &unit;
    ASSERT_NE(stored, nullptr);
    std::vector<std::pair<CString, bool>> joined;
    for (const TChannelConfig& channel : stored->Channels)
        joined.emplace_back(channel.Name, channel.ExtraFlag);
    EXPECT_EQ(joined, (std::vector<std::pair<CString, bool>>{{L"#alpha", false}, {L"#beta", false}, {L"#new", true}}));
}
