#include "legacy/LegacyImport.h"
#include "settings/Config.h"

#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"
#include "foundation/Path.h"
#include "settings/ServerPassword.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using TStrings = std::vector<CString>;

// An old installation folder for the user "jim", with its files written in code page 932 as
// the old version wrote them.
class LegacyImportTest : public ::testing::Test {
protected:
    LegacyImportTest()
    {
        oldFolder = temp.path + L"old\\";
        CreateDirectoryW(oldFolder, nullptr);
        CreateDirectoryW(oldFolder + L"Config", nullptr);
        config.SetLegacyFolder(oldFolder);
        config.legacyProfileName = L"jim";
        config.preference.Load(temp.path + L"none\\");
    }

    void WriteOld(const wchar_t* name, CString body)
    {
        body.Replace(L"\n", L"\r\n");
        ASSERT_TRUE(WriteFileBytes(oldFolder + L"Config\\jim" + name, ConvertToCodePage(body, CP_SHIFT_JIS)));
    }

    TTempFolder temp;
    CString oldFolder;
    TConfig config;
};

TEST_F(LegacyImportTest, GeneralSettingsMapOntoPreferencesAndWindowState)
{
    config.preference.DCCChatAction = 0;
    config.preference.RestoreTrayIconOnSingleClick = true;
    WriteOld(L"-general.ini", L"[Action]\n"
                              L"TopMost=true\n"
                              L"RestoreOnDoubleClick=true\nNickInitType=0\nOpenURLType=3\n"
                              L"AutoAcceptInvite=true\nNATType=7\n"
                              L"ReferenceHeader=\"＞ \"\n"
                              L"[User]\nAwayMes=離席中\nUserMode=-i\n"
                              L"[Mode]\nCount=4\nChanName0=#日本語\nMode0=+nt\nChanName1=デフォルト\nMode1=+t\n"
                              L"ChanName2=#a\nChanName3=\nMode3=+m\n"
                              L"[Sound]\nEnableKickSnd=true\nKickSndPath=C:\\snd\\キック.wav\n"
                              L"[CTCP]\nIgnoreDCC=true\nAutoAcceptDCCSend=true\nAutoCloseDCCReceive=true\n"
                              L"AutoResume=false\n"
                              L"[Logging]\nAutoLogSave=false\nLogChannelsCount=3\nLogSavePath=\nTalkLogSave=true\n"
                              L"[Keyword]\nKeyIgnoreCase=true\nKeyCount=3\nKeyItem0=ケトロ\nKeyItem1=\nKeyItem2=bar\n"
                              L"ForbiddenCount=0\n"
                              L"[SpecialUser]\nCount=2\nItem0=\nItem1=*!*@friend.jp\n"
                              L"[AutoOp]\n");
    ImportLegacyGeneral(config);

    const TPreference& p = config.preference;
    EXPECT_TRUE(config.topMost);
    EXPECT_FALSE(p.RestoreTrayIconOnSingleClick);
    EXPECT_EQ(p.NickPolicy, 3);
    EXPECT_EQ(p.URLOpenMethod, 1);
    EXPECT_EQ(p.InviteAction, 2);
    EXPECT_EQ(p.IPResolveMethod, 3);
    EXPECT_EQ(p.ReferenceMark, L"＞ ");
    EXPECT_EQ(p.WhoTiming, 2); // missing key: the fixed default

    EXPECT_EQ(config.legacyAwayMessage, L"離席中");
    EXPECT_EQ(config.legacyUserMode, L"-i");
    EXPECT_EQ(config.legacyUserName, L"username");
    EXPECT_EQ(config.legacyChannelModes, (std::map<CString, CString>{{L"#日本語", L"+nt"}, {L"デフォルト", L"+t"}}));

    EXPECT_EQ(p.KickSoundFile, L"C:\\snd\\キック.wav");
    EXPECT_EQ(p.DCCReceiveAction, 0);
    EXPECT_TRUE(p.CloseDialogOnEndTransfer);
    EXPECT_EQ(p.DCCChatAction, 0); // the receive dialog's key says nothing about chats
    EXPECT_FALSE(p.AutoResume);
    EXPECT_FALSE(p.ReceiveOnResumeFail);

    EXPECT_TRUE(p.EnableChannelLog);
    EXPECT_EQ(p.LogRootDir, GetDefaultLogFolder());
    EXPECT_TRUE(p.EnableTalkLog);
    EXPECT_TRUE(p.EnableDCCChatLog);

    EXPECT_FALSE(p.keyword.Case);
    EXPECT_EQ(p.keyword.Like, (TStrings{L"ケトロ", L"bar"}));
    EXPECT_TRUE(p.keyword.Dislike.empty());
    EXPECT_EQ(p.userGroups.groups[1].masks, TStrings{L"*!*@friend.jp"});
    EXPECT_TRUE(p.EnableAutoOpDelay);
}

TEST_F(LegacyImportTest, MissingOrUnreadableKeysLeaveSettingsAsTheyWere)
{
    TPreference& p = config.preference;
    p.RestoreTrayIconOnSingleClick = true;
    p.InviteAction = 0;
    p.ReconnectTime = 77;
    p.keyword.Case = true;
    p.URLOpenMethod = 2;
    p.URLOpenApplication = L"browser.exe";
    p.DCCRootDir = L"D:\\dcc";
    p.keyword.Like = {L"old"};
    WriteOld(L"-general.ini", L"[Action]\nAutoAcceptInvite=yes\nNickInitType=2\nReconnectInterval=\n"
                              L"[Keyword]\nKeyCount=-4\n");
    ImportLegacyGeneral(config);

    EXPECT_TRUE(p.RestoreTrayIconOnSingleClick);
    EXPECT_EQ(p.InviteAction, 0);
    EXPECT_EQ(p.NickPolicy, 1);
    EXPECT_EQ(p.ReconnectTime, 0); // present without digits reads as 0
    EXPECT_TRUE(p.keyword.Case);
    EXPECT_EQ(p.DCCRootDir, L"D:\\dcc");
    // Fixed defaults stand in for the missing keys.
    EXPECT_EQ(p.URLOpenMethod, 0);
    EXPECT_EQ(p.URLOpenApplication, L"");
    // A count below zero still empties its list.
    EXPECT_TRUE(p.keyword.Like.empty());
}

TEST_F(LegacyImportTest, UnreadableGeneralFileChangesNothing)
{
    config.legacyChannelModes[L"#keep"] = L"+n";
    config.legacyUserName = L"kept";
    config.preference.NickPolicy = 2;
    ImportLegacyGeneral(config);
    EXPECT_EQ(config.legacyChannelModes.size(), 1u);
    EXPECT_EQ(config.legacyUserName, L"kept");
    EXPECT_EQ(config.preference.NickPolicy, 2);
}

TEST_F(LegacyImportTest, HugeCountsAreBounded)
{
    WriteOld(L"-general.ini", L"[Keyword]\nKeyCount=2147483647\nKeyItem0=a\nKeyItem12000=beyond\n"
                              L"[Mode]\nCount=999999999\nChanName5=#x\nMode5=+n\n");
    WriteOld(L"-profile.ini", L"[Root]\nProfileCount=2147483647\nName3=net\n"
                              L"[net]\nAutoJoinChCount=2147483647\nAutoJoinChItem0=#c\n"
                              L"MacroFilesCount=2147483647\n");
    ImportLegacyGeneral(config);
    ImportLegacyProfiles(config);
    EXPECT_EQ(config.preference.keyword.Like, TStrings{L"a"});
    EXPECT_EQ(config.legacyChannelModes.at(L"#x"), L"+n");
    ASSERT_EQ(config.world.Units.size(), 1u);
    EXPECT_EQ(config.world.Units[0].Channels.size(), 1u);
}

TEST_F(LegacyImportTest, ProfilesBecomeServersWithTheOldIdentityAndChannels)
{
    config.legacyUserName = L"jim";
    config.legacyRealName = L"ジム";
    config.legacyAwayMessage = L"離席中";
    config.legacyUserMode = L"+w-i";
    config.legacyChannelModes = {{L"#日本語", L"+nt"}, {L"デフォルト", L"+t"}, {L"!foo", L"+p"}};
    CString letters = EncodeServerPassword(L"パス");
    WriteOld(L"-profile.ini",
             L"[Root]\nProfileCount=4\nName0=\nName1=ＩＲＣネット\nAutoConnect1=true\nName2=bare\nName3=scrambled\n"
             L"[ＩＲＣネット]\nServer=irc.example.jp\nPort=6668\nPassword=\"\"secret\"\"\nNick=ジム\n"
             L"ExtendedServer=true\nExtendedNickLen=15\nMacroFilesCount=3\nMacroFiles0=a.kmf\nMacroFiles2=b.kmf\n"
             L"AutoJoinChCount=7\nAutoJoinChItem0=#日本語 鍵\nAutoJoinChItem1=   #plain\nAutoJoinChItem2=\n"
             L"AutoJoinChItem6=\"   \"\n"
             L"AutoJoinChItem3=!!newchan\nAutoJoinChItem4=!ABCDEfoo\nAutoJoinChItem5=#masked:*.jp\n"
             L"[scrambled]\nPassword=" +
                 letters + L"\nPasswordVersion=2\n");
    ImportLegacyProfiles(config);

    ASSERT_EQ(config.world.Units.size(), 3u);
    const TUnitConfig& u = config.world.Units[0];
    EXPECT_EQ(u.Name, L"ＩＲＣネット");
    EXPECT_EQ(u.Password, L"secret");
    EXPECT_FALSE(u.EnablePassword);
    EXPECT_TRUE(u.AutoConnect);
    EXPECT_FALSE(u.Invisible);
    EXPECT_EQ(u.Username, L"jim");
    EXPECT_EQ(u.MacroFiles, (TStrings{L"a.kmf", L"b.kmf"}));

    ASSERT_EQ(u.Channels.size(), 5u);
    const wchar_t* names[] = {L"#日本語", L"#plain", L"!newchan", L"!foo", L"%masked"};
    const wchar_t* passwords[] = {L"鍵", L"", L"", L"", L""};
    const wchar_t* modes[] = {L"+nt", L"+t", L"+t", L"+p", L"+t"};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(u.Channels[i].Name, names[i]);
        EXPECT_EQ(u.Channels[i].Password, passwords[i]);
        EXPECT_EQ(u.Channels[i].Mode, modes[i]);
    }

    const TUnitConfig& bare = config.world.Units[1];
    EXPECT_EQ(bare.Name, L"bare");
    EXPECT_EQ(bare.Hostname, L"");
    EXPECT_EQ(bare.Port, 6667);
    EXPECT_EQ(bare.NickLen, 9);
    EXPECT_EQ(config.world.Units[2].Password, L"パス");
}

TEST_F(LegacyImportTest, OneByteKeyPasswordsDecodeThroughCodePage932)
{
    CStringA scrambled = ConvertToCodePage(L"pw日本", CP_SHIFT_JIS);
    for (int i = 0; i < scrambled.GetLength(); i++)
        scrambled.SetAt(i, (char)(scrambled[i] ^ 0x3C));
    CStringA file = "[Root]\r\nProfileCount=1\r\nName0=n\r\n[n]\r\nPasswordVersion=1\r\nPassword=";
    ASSERT_TRUE(WriteFileBytes(oldFolder + L"Config\\jim-profile.ini", file + scrambled + "\r\n"));
    config.legacyUserMode = L"+i";
    ImportLegacyProfiles(config);
    ASSERT_EQ(config.world.Units.size(), 1u);
    EXPECT_EQ(config.world.Units[0].Password, L"pw日本");
    EXPECT_TRUE(config.world.Units[0].Invisible);
}

CStringA AutoOpLines(const std::vector<CString>& lines)
{
    CStringA bytes;
    for (const CString& line : lines)
        bytes += EncodeIso2022Jp(line, KANA_MODE_KANA) + "\r\n";
    return bytes;
}

TEST_F(LegacyImportTest, AutoOpGroupsGoToTheWorldOrToMatchingChannels)
{
    TUnitConfig a, b;
    a.Channels.resize(3);
    a.Channels[0].Name = L"#other";
    a.Channels[1].Name = L"#Chat";
    a.Channels[2].Name = L"#chat";
    a.Channels[2].AutoOpMasks = {L"untouched"};
    b.Channels.resize(2);
    b.Channels[0].Name = L"#CHAT";
    b.Channels[1].Name = L"#quiet";
    b.Channels[1].AutoOpMasks = {L"kept"};
    config.world.Units = {a, b};
    config.world.AutoOpMasks = {L"old"};
    config.legacyChannelModes = {{L"#新規", L"+k"}};
    ASSERT_TRUE(
        WriteFileBytes(oldFolder + L"Config\\jim-autoop.kcf",
                       AutoOpLines({L" stray!*@*", L"ALL", L" *!*@a", L"#chat", L" 花子!*@*.jp", L"", L"all", L" *!*@b",
                                    L" *!*@c", L"#quiet", L"!!safe", L" s!*@*", L"#新規", L" 太郎!*@*", L"", L""})));
    ImportLegacyAutoOp(config);

    EXPECT_EQ(config.world.AutoOpMasks, (TStrings{L"*!*@b", L"*!*@c"}));
    const TUnitConfig& ua = config.world.Units[0];
    const TUnitConfig& ub = config.world.Units[1];
    EXPECT_EQ(ua.Channels[1].AutoOpMasks, TStrings{L"花子!*@*.jp"});
    EXPECT_EQ(ua.Channels[2].AutoOpMasks, TStrings{L"untouched"});
    EXPECT_EQ(ub.Channels[0].AutoOpMasks, TStrings{L"花子!*@*.jp"});
    EXPECT_EQ(ub.Channels[1].AutoOpMasks, TStrings{L"kept"});
    // Channels that no server had are added to every server.
    for (const TUnitConfig* u : {&ua, &ub}) {
        ASSERT_EQ(u->Channels.size(), (size_t)(u == &ua ? 5 : 4));
        const TChannelConfig& safe = u->Channels[u->Channels.size() - 2];
        const TChannelConfig& added = u->Channels.back();
        EXPECT_EQ(safe.Name, L"!safe");
        EXPECT_EQ(safe.Mode, L"+sn");
        EXPECT_EQ(added.Name, L"#新規");
        EXPECT_EQ(added.Mode, L"+k");
        EXPECT_EQ(added.AutoOpMasks, TStrings{L"太郎!*@*"});
    }
}

// Hundreds of servers and thousands of groups that no server has: each group would be copied to
// every server. What the file makes stays within the bound, the groups past it are left out
// whole and counted, and a small group after them still finds its channel.
TEST_F(LegacyImportTest, AutoOpGroupsForManyServersStayWithinTheBound)
{
    const int servers = 800, groups = 4000;
    CString profile = L"[Root]\n";
    profile.AppendFormat(L"ProfileCount=%d\n", servers);
    for (int i = 0; i < servers; i++)
        profile.AppendFormat(L"Name%d=s%d\n", i, i);
    profile += L"[s7]\nAutoJoinChCount=1\nAutoJoinChItem0=#home\n";
    WriteOld(L"-profile.ini", profile);
    auto group = [](int i) {
        CString name;
        name.Format(L"#g%d", i);
        return name;
    };
    std::vector<CString> lines;
    for (int i = 0; i < groups; i++) {
        lines.push_back(group(i));
        lines.push_back(L" *!*@g.jp");
    }
    lines.insert(lines.end(), {L"#HOME", L" *!*@home.jp"});
    ASSERT_TRUE(WriteFileBytes(oldFolder + L"Config\\jim-autoop.kcf", AutoOpLines(lines)));
    ImportLegacyProfiles(config);
    ASSERT_EQ(config.world.Units.size(), (size_t)servers);

    int leftOut = ImportLegacyAutoOp(config);

    const long long perGroup = servers * 2; // a channel and its one mask in every server
    const int taken = (int)(kMaxLegacyAutoOpRecords / perGroup);
    EXPECT_EQ(leftOut, groups - taken);
    long long records = 0;
    for (const TUnitConfig& unit : config.world.Units)
        for (const TChannelConfig& channel : unit.Channels)
            records += 1 + (long long)channel.AutoOpMasks.size();
    EXPECT_LE(records, kMaxLegacyAutoOpRecords + 1) << "the channel the profile made";
    const TUnitConfig& last = config.world.Units.back();
    ASSERT_EQ(last.Channels.size(), (size_t)taken);
    EXPECT_EQ(last.Channels.front().Name, L"#g0");
    EXPECT_EQ(last.Channels.back().Name, group(taken - 1));
    EXPECT_EQ(last.Channels.back().AutoOpMasks, TStrings{L"*!*@g.jp"});
    EXPECT_EQ(config.world.Units[7].Channels.at(0).AutoOpMasks, TStrings{L"*!*@home.jp"});
}

TEST_F(LegacyImportTest, NickAndIgnoreListsReplaceOnlyWhenTheirFileIsRead)
{
    config.preference.nickList = {L"before"};
    config.world.IgnoreMasks = {L"kept!*@*"};
    ASSERT_TRUE(WriteFileBytes(oldFolder + L"Config\\jim-nicks.kcf", ConvertToUtf8(L"a\r\n\r\nジム\r\n")));
    ImportLegacyNicks(config);
    ImportLegacyIgnore(config);
    EXPECT_EQ(config.preference.nickList, (TStrings{L"a", L"ジム"}));
    EXPECT_EQ(config.world.IgnoreMasks, TStrings{L"kept!*@*"});

    ASSERT_TRUE(WriteFileBytes(oldFolder + L"Config\\jim-ignore.kcf", "x!*@*\r\n\r\n*!*@spam\r\n"));
    ImportLegacyIgnore(config);
    EXPECT_EQ(config.world.IgnoreMasks, (TStrings{L"x!*@*", L"*!*@spam"}));
}

class LegacyCopyTest : public LegacyImportTest {
protected:
    LegacyCopyTest()
    {
        for (const wchar_t* folder : {L"Macro", L"Macro\\File", L"Macro\\sub.kmf", L"Sound", L"Image", L"Template"})
            CreateDirectoryW(oldFolder + folder, nullptr);
        config.macroFolder = NewFolder(L"macros\\");
        config.filesFolder = NewFolder(L"files\\");
        config.soundsFolder = NewFolder(L"sounds\\");
        config.userImageFolder = NewFolder(L"images\\");
        config.userThemeFolder = NewFolder(L"themes\\");
    }

    CString NewFolder(const wchar_t* name)
    {
        CString path = temp.path + L"new\\" + name;
        CreateDirectoryW(temp.path + L"new", nullptr);
        CreateDirectoryW(path, nullptr);
        return path;
    }
    void WriteFile(const CString& name, const char* bytes) { ASSERT_TRUE(WriteFileBytes(oldFolder + name, bytes)); }
};

TEST_F(LegacyCopyTest, OldFilesAreCopiedIntoTheNewFolders)
{
    WriteFile(L"Macro\\挨拶.kmf", "macro");
    WriteFile(L"Macro\\notes.txt", "no");
    WriteFile(L"Macro\\sub.kmf\\inner.kmf", "no");
    WriteFile(L"Macro\\File\\text.txt", "file");
    WriteFile(L"Sound\\ding.wav", "wav");
    WriteFile(L"Image\\back.jpg", "jpg");
    WriteFile(L"Template\\Deep.kvf", "builtin");
    WriteFile(L"Template\\モモハウス.kvf", "builtin");
    WriteFile(L"Template\\mine.kvf", "mine");
    ASSERT_TRUE(WriteFileBytes(config.macroFolder + L"挨拶.kmf", "older and longer"));

    ImportLegacyMacrosAndSounds(config);
    ImportLegacyImagesAndTemplates(config);

    EXPECT_EQ(ReadFileBytes(config.macroFolder + L"挨拶.kmf"), "macro");
    EXPECT_EQ(CountEntries(config.macroFolder), 1); // neither the .txt nor the folder
    EXPECT_EQ(ReadFileBytes(config.filesFolder + L"text.txt"), "file");
    EXPECT_EQ(ReadFileBytes(config.soundsFolder + L"ding.wav"), "wav");
    EXPECT_EQ(ReadFileBytes(config.userImageFolder + L"back.jpg"), "jpg");
    EXPECT_EQ(ReadFileBytes(config.userThemeFolder + L"mine.kvf"), "mine");
    EXPECT_EQ(CountEntries(config.userThemeFolder), 1);
    EXPECT_EQ(CountEntries(temp.path + L"new\\"), 5); // nothing landed beside the target folders

    // Built-in names are matched exactly.
    DeleteFileW(oldFolder + L"Template\\Deep.kvf");
    WriteFile(L"Template\\deep.kvf", "own");
    ImportLegacyImagesAndTemplates(config);
    EXPECT_EQ(ReadFileBytes(config.userThemeFolder + L"deep.kvf"), "own");
}

// Linked files (symbolic links, deduplicated files) carry the reparse-point mark and are copied
// like any file; folders, linked or not, never are.
TEST(LegacyCopyEntries, FilesAreCopiedLinkedOrNotAndFoldersNever)
{
    const struct {
        unsigned long attributes;
        const wchar_t* name;
        bool templates, copied;
    } rows[] = {
        {FILE_ATTRIBUTE_NORMAL, L"ding.wav", false, true},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT, L"linked.wav", false, true},
        {FILE_ATTRIBUTE_REPARSE_POINT, L"mine.kvf", true, true},
        {FILE_ATTRIBUTE_DIRECTORY, L"sub.kmf", false, false},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, L"junction", false, false},
        {FILE_ATTRIBUTE_REPARSE_POINT, L"Deep.kvf", true, false},
        {FILE_ATTRIBUTE_REPARSE_POINT, L"..", false, false},
        {FILE_ATTRIBUTE_NORMAL, L"CON", false, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.copied, IsLegacyFileToCopy(row.attributes, row.name, row.templates)) << Narrow(row.name);
}

TEST_F(LegacyCopyTest, UnsetTargetFoldersReceiveNothing)
{
    WriteFile(L"Sound\\ding.wav", "wav");
    config.soundsFolder.Empty();
    CString current = GetCurrentFolder();
    SetCurrentFolder(temp.path);
    ImportLegacyMacrosAndSounds(config);
    SetCurrentFolder(current);
    EXPECT_FALSE(PathExists(temp.path + L"ding.wav"));
}

TEST_F(LegacyImportTest, TakeOverNeedsTheGeneralFileOfTheProfile)
{
    EXPECT_FALSE(HasLegacySettings(config));
    ASSERT_TRUE(WriteFileBytes(oldFolder + L"Config\\someone-general.ini", "[User]\r\n"));
    EXPECT_FALSE(HasLegacySettings(config));

    WriteOld(L"-general.ini", L"[User]\nRealname=ジム\n[Action]\nTopMost=true\n");
    EXPECT_TRUE(HasLegacySettings(config));
    ImportLegacySettings(config);
    EXPECT_EQ(config.legacyRealName, L"ジム");
    EXPECT_TRUE(config.topMost);
    EXPECT_TRUE(config.world.Units.empty());
    EXPECT_TRUE(config.world.AutoOpMasks.empty());
}

TEST_F(LegacyImportTest, DamagedFilesLoadWithDefaults)
{
    CStringA junk;
    for (int i = 0; i < 4096; i++)
        junk += (char)((i * 7919) % 256);
    for (const wchar_t* name : {L"-general.ini", L"-profile.ini", L"-autoop.kcf", L"-nicks.kcf", L"-view.ini"})
        ASSERT_TRUE(WriteFileBytes(oldFolder + L"Config\\jim" + name, junk));
    ImportLegacySettings(config);
    EXPECT_EQ(config.legacyUserName, L"username");
    EXPECT_EQ(config.legacyUserMode, L"+i");
    EXPECT_TRUE(config.world.Units.empty());
}

} // namespace
