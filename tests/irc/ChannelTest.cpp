// Channels: their names on the server, join state, auto-op queue, mask lists and chat ports.

#include "tests/common/StringPrinter.h"
#include "tests/irc/ReceiveTestSupport.h"

#include "ircproto/IRCNames.h"

namespace {

class ChannelTest : public TReceiveTest {
protected:
    // Logged in, #chan joined as its operator with the given members.
    TIRCChannel* JoinAsOp(const char* members)
    {
        LogIn({"#chan"}, members);
        TIRCChannel* channel = Channel(L"#chan");
        channel->op = true;
        return channel;
    }
};

TEST_F(ChannelTest, IRCNameFromTheStoredName)
{
    LogIn();
    const struct {
        const wchar_t* name;
        CString ircName;
    } cases[] = {{L"!safe", L""}, {L"%local", CString(L"#local") + kServerMaskSuffix}, {L"#plain", L"#plain"}};
    for (const auto& c : cases)
        EXPECT_EQ(AddChannel(c.name)->GetIRCName(), c.ircName) << c.name;

    TIRCChannel* safe = unit->FindChannel(L"!safe");
    safe->SetIRCName(L"!ABCDEsafe");
    safe->OnJoined();
    safe->OnLeft();
    EXPECT_EQ(safe->GetIRCName(), L"");
}

TEST_F(ChannelTest, JoinAndLeaveResetTheLiveState)
{
    TIRCChannel* channel = JoinAsOp("a b");
    channel->topic = L"t";
    std::vector<TModeChange> changes;
    channel->mode.ApplyModeChange(L"+ntk key", changes);
    channel->EnsureMemberView();
    EXPECT_EQ(windows.view.items.size(), 3u);
    channel->QueueAutoOp(L"a");
    channel->OnLeft();
    EXPECT_FALSE(channel->IsJoined());
    EXPECT_EQ(channel->GetMembers().GetCount(), 0);
    EXPECT_TRUE(channel->GetAutoOpQueue().empty());
    EXPECT_EQ(channel->memberView, nullptr);

    channel->OnJoined();
    EXPECT_EQ(channel->topic, L"");
    EXPECT_EQ(channel->mode.ToString(), L"");
    EXPECT_FALSE(channel->namesComplete || channel->whoComplete || channel->modesKnown || channel->op);
}

TEST_F(ChannelTest, AutoOpWithoutDelaySendsEachNickAtOnce)
{
    preference.EnableAutoOpDelay = false;
    TIRCChannel* channel = JoinAsOp("a b @opped");
    for (const wchar_t* nick : {L"a", L"b", L"opped", L"stranger"})
        channel->QueueAutoOp(nick);
    EXPECT_EQ(TakeQueued(), (Lines{"MODE #chan +o a", "MODE #chan +o b"}));
}

TEST_F(ChannelTest, AutoOpWithDelaySendsBatchesOfThreeAfterTheWait)
{
    preference.EnableAutoOpDelay = true;
    preference.AutoOpDelayMin = preference.AutoOpDelayMax = 2;
    TIRCChannel* channel = JoinAsOp("a b c d e gone");
    for (const wchar_t* nick : {L"a", L"gone", L"a", L"b", L"c", L"d", L"e"})
        channel->QueueAutoOp(nick);
    channel->RemoveMember(L"gone");
    channel->ChangeMemberMode(L"d", L'o', true);
    channel->ProcessAutoOpQueue(true);
    channel->ProcessAutoOpQueue(true);
    EXPECT_TRUE(TakeQueued().empty());
    for (int tick = 0; tick < 3; tick++)
        channel->ProcessAutoOpQueue(true);
    EXPECT_EQ(TakeQueued(), (Lines{"MODE #chan +ooo a b c", "MODE #chan +o e"}));

    channel->op = false;
    channel->QueueAutoOp(L"a");
    EXPECT_TRUE(channel->GetAutoOpQueue().empty());
}

TEST_F(ChannelTest, ModeChangesGoThreeToALineRemovalsFirst)
{
    TIRCChannel* channel = JoinAsOp("");
    unit->SendModeChanges(channel, L'b', {L"r1"}, {L"a1", L"a2", L"a3", L"a4"});
    EXPECT_EQ(TakeQueued(), (Lines{"MODE #chan -b+bb r1 a1 a2", "MODE #chan +bb a3 a4"}));
}

TEST_F(ChannelTest, MaskListOKSendsOnlyRealChanges)
{
    TIRCChannel* channel = JoinAsOp("");
    channel->ShowMaskList(TIRCChannel::BanList);
    ASSERT_EQ(windows.lists.size(), 1u);
    TFakeMaskList* list = windows.lists[0];
    list->filled = {L"a!*@*", L"Nick!*@*", L"old!*@*"};
    list->masks = {L"a!*@*", L"NICK!*@*", L"new!*@*"};
    channel->OnMaskDialogOK(list);
    EXPECT_EQ(TakeQueued(), (Lines{"MODE #chan -b+b old!*@* new!*@*"}));

    list->masks = list->filled;
    channel->OnMaskDialogOK(list);
    channel->OnMaskDialogOK(nullptr);
    EXPECT_TRUE(TakeQueued().empty());

    channel->OnMaskDialogUpdate(list);
    EXPECT_EQ(TakeQueued(), (Lines{"MODE #chan +b"}));
    channel->ShowMaskList(TIRCChannel::BanList);
    EXPECT_EQ(windows.lists.size(), 1u);
    EXPECT_EQ(list->shows, 2);
    channel->OnMaskDialogClose(list);
    EXPECT_EQ(channel->GetMaskList(TIRCChannel::BanList), nullptr);
    EXPECT_EQ(windows.deleted.size(), 1u);
}

TEST_F(ChannelTest, ListedMasksStopAtTheBound)
{
    TIRCChannel* channel = JoinAsOp("");
    EXPECT_FALSE(channel->AddListedMask(TIRCChannel::InviteList, L"x"));
    channel->ShowMaskList(TIRCChannel::InviteList);
    for (int i = 0; i < TIRCChannel::kMaxListMasks; i++)
        ASSERT_TRUE(channel->AddListedMask(TIRCChannel::InviteList, L"m"));
    EXPECT_FALSE(channel->AddListedMask(TIRCChannel::InviteList, L"m"));
    EXPECT_EQ(windows.lists[0]->GetMaskCount(), TIRCChannel::kMaxListMasks);
    EXPECT_EQ(TIRCChannel::MaskListIndex(L'R'), TIRCChannel::ReopList);
    EXPECT_EQ(TIRCChannel::MaskListIndex(L'k'), -1);
}

// The counter is the process's: an empty range starts it afresh. Only ports 0 (the system
// chooses) to 65535 are handed out, whatever the range says.
TEST_F(ChannelTest, ChatPortsCycleThroughTheRange)
{
    const struct {
        int first, last;
        std::vector<int> ports;
    } rows[] = {
        {2000, 1999, {-1, -1, -1}}, {1024, 1025, {1024, 1025, 1024}},
        {0, 1, {0, 1, 0}},          {65534, 70000, {65534, 65535, 65534}},
        {0, 0, {0, 0, 0}},          {-5, 1, {1, 0, 1}},
    };
    TIRCChannel* channel = JoinAsOp("");
    for (const auto& row : rows) {
        preference.DCCChatPortStart = row.first;
        preference.DCCChatPortEnd = row.last;
        std::vector<int> ports;
        for (int i = 0; i < 3; i++)
            ports.push_back(channel->GetChatPort());
        EXPECT_EQ(ports, row.ports) << row.first << ".." << row.last;
    }
}

} // namespace
