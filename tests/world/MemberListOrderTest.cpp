// The shown member list of a big channel through a NAMES burst in random order and a run of
// joins, parts, quits, nick and mode changes: its rows stay in the order the sort setting gives,
// laid out in that order once the burst is over, and the list is sorted only when the setting
// itself changes.

#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/world/common/WorldWindowTest.h"

#include "foundation/CodePage.h"
#include "world/MemberListView.h"

#include <algorithm>
#include <random>

namespace {

class MemberListOrderTest : public TWorldWindowTest {
protected:
    // Logged in without a socket and joined to #big, which the world selects as the first channel.
    void JoinBig(int sortMethod)
    {
        config.preference.MemberSortMethod = sortMethod;
        config.preference.FocusOnJoin = true;
        AddServer(L"net", {L"#big"});
        Build();
        unit = LogInOffline(L"net");
        FeedLine(*unit, ":kvself!u@h JOIN :#big");
        channel = unit->FindChannel(L"#big");
        ASSERT_TRUE(channel);
        list = static_cast<TMemberListView*>(ShownMemberList());
        ASSERT_EQ(static_cast<IMemberListView*>(list), channel->memberView) << "the channel's list is shown";
    }
    // 2,000 nicks in random order, some with the prefixes of owner, op, half-op and voice.
    void FeedNamesBurst()
    {
        for (int i = 0; i < 2000; i++)
            nicks.push_back(RandomNick(i));
        std::shuffle(nicks.begin(), nicks.end(), random);
        std::string line;
        for (const std::string& nick : nicks) {
            static const char* const prefixes[] = {"", "", "", "", "", "", "@", "+", "+", "%", "~"};
            line += (line.empty() ? "" : " ") + std::string(prefixes[random() % 11]) + nick;
            if (line.size() > 350) {
                FeedLine(*unit, ":irc.example 353 kvself = #big :" + line);
                line.clear();
            }
        }
        FeedLine(*unit, ":irc.example 353 kvself = #big :" + line);
        FeedLine(*unit, ":irc.example 366 kvself #big :End of NAMES list");
    }
    // Joins, parts, quits, nick changes and mode changes of random members.
    void FeedChanges(int count)
    {
        for (int i = 0; i < count; i++) {
            std::string& nick = nicks[random() % nicks.size()];
            switch (random() % 6) {
            case 0:
                nick = RandomNick(10000 + i);
                FeedLine(*unit, ":" + nick + "!u@h JOIN :#big");
                break;
            case 1:
                FeedLine(*unit, ":" + nick + "!u@h PART #big :bye");
                nick = RandomNick(20000 + i);
                FeedLine(*unit, ":" + nick + "!u@h JOIN :#big");
                break;
            case 2:
                FeedLine(*unit, ":" + nick + "!u@h QUIT :gone");
                break;
            case 3: {
                std::string renamed = RandomNick(30000 + i);
                FeedLine(*unit, ":" + nick + "!u@h NICK :" + renamed);
                nick = renamed;
                break;
            }
            default: {
                static const char* const modes[] = {"+o", "-o", "+v", "-v", "+h", "+o-v"};
                std::string mode = modes[random() % 6];
                std::string targets = nick + (mode.size() > 2 ? " " + nick : "");
                FeedLine(*unit, ":op!u@h MODE #big " + mode + " " + targets);
                break;
            }
            }
        }
    }
    std::string RandomNick(int serial)
    {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ[]{}_";
        std::string nick;
        for (int n = 3 + (int)(random() % 5); n > 0; n--)
            nick += letters[random() % (sizeof letters - 1)];
        return nick + std::to_string(serial);
    }
    // The rows as the list shows them, and the channel's members in the setting's order.
    std::vector<CString> Rows()
    {
        std::vector<CString> rows;
        for (int i = 0; i < list->GetItemCount(); i++)
            rows.push_back(list->GetItemText(i, 0));
        return rows;
    }
    std::vector<CString> Expected(int sortMethod)
    {
        std::vector<TIRCMember*> members = channel->GetMembers().GetMembers();
        std::sort(members.begin(), members.end(),
                  [&](const TIRCMember* a, const TIRCMember* b) { return CompareMembers(a, b, sortMethod) < 0; });
        std::vector<CString> names;
        for (const TIRCMember* member : members)
            names.push_back(member->nick);
        return names;
    }
    // After the burst the rows stand in reading order, left to right and down.
    void ExpectLaidOutInOrder()
    {
        POINT last = {-1, -1};
        for (int i = 0; i < list->GetItemCount(); i++) {
            POINT at = {};
            list->SendMessage(LVM_GETITEMPOSITION, i, (LPARAM)&at);
            ASSERT_TRUE(at.y > last.y || (at.y == last.y && at.x > last.x)) << "row " << i;
            last = at;
        }
    }
    void ExpectImagesFollowModes()
    {
        for (int i = 0; i < list->GetItemCount(); i++)
            ASSERT_EQ(list->GetItemImage(i), GetMemberImage(*list->GetMember(i))) << "row " << i;
    }

    std::mt19937 random{20261208};
    std::vector<std::string> nicks;
    TIRCUnit* unit = nullptr;
    TIRCChannel* channel = nullptr;
    TMemberListView* list = nullptr;
};

// One run per sort setting: 0 nick, 1 mode, 2 group, 3 mode then group, 4 group then mode.
class MemberListSortSettingTest : public MemberListOrderTest, public ::testing::WithParamInterface<int> {};

CString Wide(const std::string& text) { return ConvertFromUtf8(text.c_str()); }

} // namespace

TEST_P(MemberListSortSettingTest, BurstAndChangesKeepTheOrderWithoutSorting)
{
    int method = GetParam();
    JoinBig(method);
    Rows();
    int placed = list->GetPlaceCount();
    FeedNamesBurst();
    ASSERT_EQ(channel->GetMembers().GetCount(), 2001);
    EXPECT_EQ(Rows(), Expected(method));
    EXPECT_EQ(list->GetPlaceCount(), placed + 1) << "the burst is placed in one go";
    FeedChanges(500);
    EXPECT_EQ(Rows(), Expected(method));
    EXPECT_EQ(list->GetPlaceCount(), placed + 2);
    // What a script's members array copies: the rows as shown.
    EXPECT_EQ(channel->GetMembers().GetNicksInListOrder(), Rows());
    EXPECT_EQ(list->GetItemCount(), channel->GetMembers().GetCount());
    EXPECT_EQ(list->GetSortCount(), 0) << "rows are placed, never sorted";
    EXPECT_TRUE(PumpMessagesUntil([&] { return !list->IsRedrawHeld(); }, 5000))
        << "the list is laid out and painted once the burst is over";
    ExpectLaidOutInOrder();
    ExpectImagesFollowModes();
    if (method == 1) {
        SaveWindowPng(frame.m_hWnd, ScreenshotPath(L"member-list-after-burst.png"));
    }
}

INSTANTIATE_TEST_SUITE_P(EverySetting, MemberListSortSettingTest, ::testing::Range(0, 5));

TEST_F(MemberListOrderTest, ANewSortSettingSortsTheListOnceAndLaterChangesFollowIt)
{
    JoinBig(0);
    FeedNamesBurst();
    config.preference.MemberSortMethod = 1;
    FeedChanges(200);
    EXPECT_EQ(list->GetSortCount(), 1);
    EXPECT_EQ(Rows(), Expected(1));
    PumpMessagesUntil([&] { return !list->IsRedrawHeld(); }, 5000);
    ExpectLaidOutInOrder();
}

TEST_F(MemberListOrderTest, ASelectedMemberStaysSelectedWhenItsRowMoves)
{
    JoinBig(1);
    FeedNamesBurst();
    PumpMessagesUntil([&] { return !list->IsRedrawHeld(); }, 5000);
    std::string nick = nicks[nicks.size() / 2];
    int row = list->FindItem(channel->FindMember(Wide(nick)));
    ASSERT_GE(row, 0);
    list->SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    FeedLine(*unit, ":op!u@h MODE #big +q " + nick);
    FeedLine(*unit, ":" + nick + "!u@h NICK :aaa" + nick);
    int moved = list->FindItem(channel->FindMember(Wide("aaa" + nick)));
    ASSERT_GE(moved, 0);
    EXPECT_NE(moved, row);
    EXPECT_EQ(list->GetItemState(moved, LVIS_SELECTED | LVIS_FOCUSED), (UINT)(LVIS_SELECTED | LVIS_FOCUSED));
    std::vector<int> selected;
    list->GetSelectedItemIndexes(selected);
    EXPECT_EQ(selected, std::vector<int>{moved});
}

TEST_F(MemberListOrderTest, ChurnIsLaidOutWhenItPausesAndNowAndThenWhileItLasts)
{
    JoinBig(1);
    FeedNamesBurst();
    ASSERT_TRUE(PumpMessagesUntil([&] { return !list->IsRedrawHeld(); }, 5000));
    int before = list->GetLayoutCount();
    // Changes between every two ticks of the release timer for well over its longest hold.
    DWORD start = GetTickCount();
    bool releasedMeanwhile = false;
    while (GetTickCount() - start < 700) {
        FeedChanges(2);
        PumpMessagesFor(5);
        releasedMeanwhile = releasedMeanwhile || !list->IsRedrawHeld();
    }
    int layouts = list->GetLayoutCount() - before;
    EXPECT_TRUE(releasedMeanwhile) << "endless churn still shows";
    EXPECT_GE(layouts, 2);
    EXPECT_LE(layouts, 8) << "not laid out at every tick while changes keep coming";
    EXPECT_TRUE(PumpMessagesUntil([&] { return !list->IsRedrawHeld(); }, 1000)) << "laid out once the churn pauses";
    EXPECT_EQ(Rows(), Expected(1));
    ExpectLaidOutInOrder();
}

// The list keeps the members' selection, focus and selection mark with them while rows are
// placed, removed and moved around them.
TEST_F(MemberListOrderTest, SelectionFocusAndMarkStayWithTheirMembersThroughChurn)
{
    JoinBig(0);
    FeedNamesBurst();
    ASSERT_TRUE(PumpMessagesUntil([&] { return !list->IsRedrawHeld(); }, 5000));
    std::vector<std::string> chosen = {nicks[10], nicks[500], nicks[1500]};
    for (const std::string& nick : chosen)
        list->SetItemState(list->FindItem(channel->FindMember(Wide(nick))), LVIS_SELECTED, LVIS_SELECTED);
    int focused = list->FindItem(channel->FindMember(Wide(chosen[1])));
    list->SetItemState(focused, LVIS_FOCUSED, LVIS_FOCUSED);
    list->SendMessage(LVM_SETSELECTIONMARK, 0, focused);
    auto selectedNicks = [&] {
        std::vector<CString> names;
        for (int i = list->GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list->GetNextItem(i, LVNI_SELECTED))
            names.push_back(list->GetItemText(i, 0));
        std::sort(names.begin(), names.end());
        return names;
    };
    std::string renamed = "000" + chosen[1];
    const struct {
        std::string line;
        std::vector<std::string> selected;
        std::string focusedNick;
    } steps[] = {
        {":0first!u@h JOIN :#big", {chosen[0], chosen[1], chosen[2]}, chosen[1]},
        {":" + nicks[5] + "!u@h PART #big :bye", {chosen[0], chosen[1], chosen[2]}, chosen[1]},
        {":" + chosen[1] + "!u@h NICK :" + renamed, {chosen[0], renamed, chosen[2]}, renamed},
        {":" + chosen[2] + "!u@h QUIT :gone", {chosen[0], renamed}, renamed},
        {":op!u@h MODE #big +o " + chosen[0], {chosen[0], renamed}, renamed},
    };
    for (const auto& step : steps) {
        FeedLine(*unit, step.line);
        std::vector<CString> expected;
        for (const std::string& nick : step.selected)
            expected.push_back(Wide(nick));
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(selectedNicks(), expected) << step.line;
        EXPECT_EQ((size_t)list->SendMessage(LVM_GETSELECTEDCOUNT), expected.size()) << step.line;
        int focus = list->FindItem(channel->FindMember(Wide(step.focusedNick)));
        EXPECT_EQ(list->GetItemState(focus, LVIS_FOCUSED), (UINT)LVIS_FOCUSED) << step.line;
        EXPECT_EQ((int)list->SendMessage(LVM_GETSELECTIONMARK), focus) << step.line;
    }
    // Deselecting through the control is seen too: the next rows placed bring no selection back.
    list->DeselectAll();
    FeedLine(*unit, ":0second!u@h JOIN :#big");
    EXPECT_TRUE(selectedNicks().empty());
}

// Rows answer with their members, and the cells the list measures once it shows its rows are
// as wide as the widest nick, which shows whole.
TEST_F(MemberListOrderTest, RowsCarryTheirMembersAndTheWidestNickShowsWhole)
{
    JoinBig(0);
    FeedNamesBurst();
    ASSERT_TRUE(PumpMessagesUntil([&] { return !list->IsRedrawHeld(); }, 5000));
    list->RedrawWindow();
    PumpPendingMessages();
    for (int row : {0, 1000, list->GetItemCount() - 1}) {
        EXPECT_EQ((const TIRCMember*)list->GetItemData(row), list->GetMember(row));
        EXPECT_EQ(list->FindItemByData(list->GetItemData(row)), row);
    }
    int widest = 0, widestRow = -1;
    for (int row = 0; row < list->GetItemCount(); row++) {
        CString nick = list->GetItemText(row, 0);
        int width = (int)list->SendMessage(LVM_GETSTRINGWIDTHW, 0, (LPARAM)nick.GetString());
        if (width > widest)
            widest = width, widestRow = row;
    }
    ASSERT_GE(widestRow, 0);
    RECT label = {};
    label.left = LVIR_LABEL;
    list->SendMessage(LVM_GETITEMRECT, widestRow, (LPARAM)&label);
    EXPECT_GE(label.right - label.left, widest) << list->GetItemText(widestRow, 0).GetString();
    list->SendMessage(LVM_ENSUREVISIBLE, widestRow, FALSE);
    list->SetItemState(widestRow, LVIS_SELECTED, LVIS_SELECTED);
    list->RedrawWindow();
    PumpPendingMessages();
    SaveWindowPng(frame.m_hWnd, ScreenshotPath(L"member-list-widest-nick.png"));
}
