// What the world and the main window ask of a unit: the lines each request sends.

#include "tests/irc/SendSideSupport.h"

#include "ircproto/IRCNames.h"

#include <functional>

namespace {

using Lines = std::vector<std::string>;

class UnitOperationsTest : public TSendSideTest {
protected:
    void SetUp() override
    {
        settings.PartMessage = L"<bold>bye";
        settings.QuitMessage = L"off now";
        TSendSideTest::SetUp();
        LogIn();
        channel = AddJoined(L"#a");
    }
    TIRCChannel* channel = nullptr;
};

TEST_F(UnitOperationsTest, EachRequestSendsItsLine)
{
    TChannelMode wanted = channel->mode;
    wanted.moderated = true;
    TIRCChannel* safe = AddJoined(L"!safe");
    safe->SetIRCName(L"!ABCDEsafe");
    const struct {
        const char* name;
        std::function<void()> run;
        Lines sent;
    } cases[] = {
        {"part with the default message", [&] { unit->PartChannelDefault(channel); }, {"PART #a :\002bye"}},
        {"a joined channel deleted is parted with the default message",
         [&] { unit->DeleteChannel(AddJoined(L"#gone")); },
         {"PART #gone :\002bye"}},
        {"part with a comment", [&] { unit->PartChannel(channel, L"later"); }, {"PART #a :later"}},
        {"join by name", [&] { unit->JoinChannelByName(L"#b", L"k"); }, {"JOIN #b k"}},
        {"topic", [&] { unit->SetTopic(channel, L"news"); }, {"TOPIC #a :news"}},
        {"nick", [&] { unit->ChangeNick(L"other"); }, {"NICK other"}},
        {"detailed whois", [&] { unit->SendWhois(L"peer"); }, {"WHOIS peer peer"}},
        {"channel modes against the current ones", [&] { unit->ChangeChannelModes(channel, wanted); }, {"MODE #a +m"}},
        {"unchanged modes send nothing", [&] { unit->ChangeChannelModes(channel, channel->mode); }, {}},
        {"invite to a plain channel", [&] { unit->InviteToChannel(L"peer", L"#a"); }, {"INVITE peer #a"}},
        {"invite by a safe channel's short name",
         [&] { unit->InviteToChannel(L"peer", L"!safe"); },
         {"INVITE peer !ABCDEsafe"}},
        {"invite by an alias",
         [&] { unit->InviteToChannel(L"peer", L"%jp"); },
         {"INVITE peer " + Narrow(ExpandChannelAlias(L"%jp"))}},
        {"away without a message", [&] { unit->SetAway(true, L""); }, {"AWAY :Gone"}},
        {"back", [&] { unit->SetAway(false, L""); }, {"AWAY"}},
        {"five additions in two lines",
         [&] {
             unit->SendModeChanges(channel, L'o', {}, {L"a", L"b", L"c", L"d", L"e"});
         },
         {"MODE #a +ooo a b c", "MODE #a +oo d e"}},
    };
    for (const auto& c : cases) {
        c.run();
        EXPECT_EQ(TakeQueued(), c.sent) << c.name;
    }
    EXPECT_TRUE(unit->GetSession().awayMessage.IsEmpty());
}

TEST_F(UnitOperationsTest, PlainWhoisWhenDetailIsOff)
{
    preference.DetailWhois = false;
    unit->SendWhois(L"peer");
    EXPECT_EQ(TakeQueued(), Lines{"WHOIS peer"});
}

TEST_F(UnitOperationsTest, QuitGoesFirstOnlyWhenTheQueueIsDropped)
{
    for (bool drop : {true, false}) {
        unit->SendCommand(L"PRIVMSG", L"#a", L":one", 2, 0);
        unit->SendCommand(L"PRIVMSG", L"#a", L":two", 2, 0);
        unit->QuitDefault(drop);
        Lines queued = TakeQueued();
        // The first line is already on its way; only the waiting one can be dropped.
        if (drop)
            EXPECT_EQ(queued, (Lines{"PRIVMSG #a :one", "QUIT :off now"}));
        else
            EXPECT_EQ(queued, (Lines{"PRIVMSG #a :one", "PRIVMSG #a :two", "QUIT :off now"}));
    }
}

TEST_F(UnitOperationsTest, MacroFileListChangesOnlyForNamesInIt)
{
    settings.MacroFiles = {L"a.mcr", L"b.mcr", L"a.mcr"};
    MakeUnit();
    const struct {
        const char* name;
        std::function<void()> run;
        std::vector<CString> files;
    } cases[] = {
        {"rename a missing name", [&] { unit->RenameMacroFile(L"x.mcr", L"y.mcr"); }, {L"a.mcr", L"b.mcr", L"a.mcr"}},
        {"remove a missing name", [&] { unit->RemoveMacroFile(L"x.mcr"); }, {L"a.mcr", L"b.mcr", L"a.mcr"}},
        {"rename the first match only",
         [&] { unit->RenameMacroFile(L"a.mcr", L"c.mcr"); },
         {L"c.mcr", L"b.mcr", L"a.mcr"}},
        {"names compare exactly", [&] { unit->RemoveMacroFile(L"A.MCR"); }, {L"c.mcr", L"b.mcr", L"a.mcr"}},
        {"remove the first match", [&] { unit->RemoveMacroFile(L"b.mcr"); }, {L"c.mcr", L"a.mcr"}},
    };
    for (const auto& c : cases) {
        c.run();
        EXPECT_EQ(unit->GetSettings().MacroFiles, c.files) << c.name;
    }
}

TEST_F(UnitOperationsTest, MacrosLoadAgainOnlyWhenTheUnitsOwnFileChanged)
{
    settings.MacroFiles = {L"a"};
    MakeUnit();
    ASSERT_TRUE(WriteFileBytes(folder.path + L"a.kmf", "\r\n"));
    ASSERT_TRUE(WriteFileBytes(folder.path + L"b.kmf", "\r\n"));
    unit->SetMacroFolders(folder.path, folder.path);
    TMacroManager& macros = unit->GetMacroManager();
    macros.LoadFiles();
    ASSERT_TRUE(macros.IsLoaded());
    ASSERT_EQ(unit->GetSettings().MacroFiles.size(), 1u);
    unit->RenameMacroFile(L"other", L"new");
    unit->RemoveMacroFile(L"other");
    EXPECT_TRUE(macros.IsLoaded()) << "another unit's file";
    unit->RenameMacroFile(L"a", L"b");
    EXPECT_FALSE(macros.IsLoaded());
    macros.LoadFiles();
    unit->RemoveMacroFile(L"b");
    EXPECT_FALSE(macros.IsLoaded());
}

TEST_F(UnitOperationsTest, AwayFromTheWorldTakesMarkupLikeTheAwayCommand)
{
    unit->SetAway(true, L"<bold>out<stop>");
    EXPECT_EQ(TakeQueued(), (Lines{"AWAY :\x02out\x0F"}));
    unit->SetAway(true, L"");
    EXPECT_EQ(TakeQueued(), (Lines{"AWAY :Gone"}));
    unit->SetAway(false, L"");
    EXPECT_EQ(TakeQueued(), (Lines{"AWAY"}));
}

} // namespace

TEST_F(UnitOperationsTest, ShutdownQuitsALoggedInServerFirstAndArmsNoReconnect)
{
    unit->SendCommand(L"PRIVMSG", L"#a", L":one", 2, 0);
    unit->SendCommand(L"PRIVMSG", L"#a", L":two", 2, 0);
    unit->GetSession().reconnectArmed = true;
    unit->Shutdown(false);
    EXPECT_TRUE(unit->GetSession().shutdown);
    EXPECT_EQ(TakeQueued(), (Lines{"PRIVMSG #a :one", "QUIT :off now"}));
    // The server ends the connection after the QUIT: nothing comes back.
    unit->OnClose(&unit->GetConnection());
    EXPECT_FALSE(unit->GetSession().reconnectArmed);
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
}

TEST_F(UnitOperationsTest, ImmediateShutdownClosesWithoutQuitAndStartsOverAtTheMainServer)
{
    unit->GetSession().altServerIndex = 1;
    unit->Shutdown(true);
    EXPECT_EQ(TakeQueued(), Lines{});
    EXPECT_EQ(unit->GetState(), TIRCUnit::StateDisconnected);
    EXPECT_FALSE(unit->GetConnection().IsActive());
    EXPECT_FALSE(unit->GetSession().reconnectArmed);
    EXPECT_EQ(unit->GetSession().altServerIndex, -1);
}
