#include "settings/Preference.h"

#include "foundation/CodePage.h"
#include "foundation/Path.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const char DefaultFile[] =
#include "data/PreferenceDefault.inc"
    ;

class PreferenceTest : public ::testing::Test {
protected:
    void LoadFile(const CString& body)
    {
        ASSERT_TRUE(WriteFileBytes(temp.File(L"preference.ini"), ConvertToUtf8(L"Encoding=UTF-8\r\n" + body)));
        preference.Load(temp.path);
    }

    // The saved file with CR LF turned into LF.
    CString SavedText()
    {
        EXPECT_TRUE(preference.Save(temp.path));
        CString text = ConvertFromUtf8(ReadFileBytes(temp.File(L"preference.ini")));
        text.Remove(L'\r');
        return text;
    }

    TTempFolder temp;
    TPreference preference;
};

CString ExpectedDefaultFile()
{
    CString text = ConvertFromUtf8(DefaultFile);
    CString documents = GetMyDocumentsFolder();
    TrimTrailingBackslashes(documents);
    text.Replace(L"{LOG}", documents + L"\\KetrovalLog\\");
    text.Replace(L"{DCC}", GetDesktopFolder());
    return text;
}

CString Numbered(const CString& format, int index)
{
    CString text;
    text.Format(format, index);
    return text;
}

// The default file with values changed: flags flipped, numbers one up (each choice code stays
// in range), texts extended, and two items in every list. Only the keys on lines whose number
// has a bit of linesToChange set are changed, so that two keys sharing one member show up.
CString ChangedFile(const CString& defaults, int linesToChange)
{
    CString rest = defaults, out, section;
    for (int lineNumber = 0; !rest.IsEmpty(); lineNumber++) {
        int end = rest.Find(L'\n');
        CString line = end < 0 ? rest : rest.Left(end);
        rest = end < 0 ? CString() : rest.Mid(end + 1);
        int equals = line.Find(L'=');
        if (line.Left(1) == L"[")
            section = line;
        if (equals < 0 || line.Left(9) == L"Encoding=" || !(lineNumber & linesToChange)) {
            out += line + L"\n";
            continue;
        }
        CString key = line.Left(equals), value = line.Mid(equals + 1);
        if (key == L"Count" || key.Right(6) == L".Count") {
            CString format = section == L"[NickList]"  ? L"Item.%02d"
                             : section == L"[Ison]"    ? L"IsonTarget.%02d"
                             : section == L"[Keyword]" ? key.Left(key.GetLength() - 5) + L"%02d.Pattern"
                                                       : key.Left(key.GetLength() - 5) + L"%d.Mask";
            out += key + L"=2\n";
            for (int i = 0; i < 2; i++)
                out += Numbered(format, i) + L"=" + key + Numbered(L"-item%d", i) + L"\n";
        } else if (value == L"true" || value == L"false") {
            out += key + (value == L"true" ? L"=false\n" : L"=true\n");
        } else if (!value.IsEmpty() && wcsspn(value, L"0123456789") == (size_t)value.GetLength()) {
            out += key + Numbered(L"=%d\n", _wtoi(value) + 1);
        } else {
            out += key + L"=" + value + L"x\n";
        }
    }
    return out;
}

} // namespace

TEST_F(PreferenceTest, NoFileGivesEveryDefaultInFileOrder)
{
    preference.Load(temp.path);
    EXPECT_FALSE(preference.Installed);
    EXPECT_EQ(preference.RestoreHotKeyVCode, 76);
    EXPECT_EQ(preference.userGroups.groups[0].name, L"自分");
    EXPECT_EQ(preference.userGroups.groups[3].name, L"グループ3");
    EXPECT_EQ(SavedText(), ExpectedDefaultFile());
}

TEST_F(PreferenceTest, SaveThenLoadGivesBackEveryValue)
{
    CString changed = ChangedFile(ExpectedDefaultFile(), -1);
    CString body = changed.Mid(changed.Find(L'\n') + 1);
    body.Replace(L"\n", L"\r\n");
    LoadFile(body);
    EXPECT_FALSE(preference.Installed);
    EXPECT_TRUE(preference.EnableBaloon);
    EXPECT_EQ(preference.IsonInterval, 61);
    ASSERT_EQ(preference.isonTargets.size(), 2u);
    EXPECT_EQ(preference.userGroups.groups[2].masks[1], L"Group.1.Count-item1");
    EXPECT_EQ(preference.userGroups.groups[2].name, L"グループ2x");
    changed.Replace(L"Installed=false", L"Installed=true"); // a save marks the program set up
    EXPECT_EQ(SavedText(), changed);

    for (int bit = 1; bit < 1024; bit <<= 1) {
        changed = ChangedFile(ExpectedDefaultFile(), bit);
        body = changed.Mid(changed.Find(L'\n') + 1);
        body.Replace(L"\n", L"\r\n");
        LoadFile(body);
        changed.Replace(L"Installed=false", L"Installed=true");
        EXPECT_EQ(SavedText(), changed) << "lines with bit " << bit;
    }
}

TEST_F(PreferenceTest, ListsSkipEmptyItemsAndRenumber)
{
    LoadFile(L"[Keyword]\r\nLike.Count=3\r\nLike.00.Pattern=a\r\nLike.02.Pattern=c\r\n"
             L"Dislike.Count=-4\r\nDislike.00.Pattern=x\r\n"
             L"[UserGroup]\r\nSelf.Count=2\r\nSelf.00.Mask=padded\r\nSelf.1.Mask=b!*@*\r\n"
             L"Group.2.Name=\r\n[NickList]\r\nCount=1\r\nItem.00=nick\r\n");
    ASSERT_EQ(preference.keyword.Like.size(), 2u);
    EXPECT_EQ(preference.keyword.Like[1], L"c");
    EXPECT_TRUE(preference.keyword.Dislike.empty());
    ASSERT_EQ(preference.userGroups.groups[0].masks.size(), 1u);
    EXPECT_EQ(preference.userGroups.groups[0].masks[0], L"b!*@*");
    EXPECT_EQ(preference.userGroups.groups[3].name, L"");
    EXPECT_EQ(preference.userGroups.groups[2].name, L"グループ2");
    ASSERT_EQ(preference.nickList.size(), 1u);
    CString saved = SavedText();
    EXPECT_NE(saved.Find(L"Like.Count=2\nLike.00.Pattern=a\nLike.01.Pattern=c\nDislike.Count=0\n"), -1);
    EXPECT_NE(saved.Find(L"Self.Count=1\nSelf.0.Mask=b!*@*\n"), -1);
}

TEST_F(PreferenceTest, IsonWatchListSurvivesASave)
{
    LoadFile(L"[Ison]\r\nShowIsonWindowOnStart=true\r\nIsonInterval=15\r\nCount=2\r\nIsonTarget.00=alice\r\n"
             L"IsonTarget.01=bob\r\n");
    preference.Save(temp.path);
    TPreference reloaded;
    reloaded.Load(temp.path);
    EXPECT_TRUE(reloaded.ShowIsonWindowOnStart);
    EXPECT_EQ(reloaded.IsonInterval, 15);
    ASSERT_EQ(reloaded.isonTargets.size(), 2u);
    EXPECT_EQ(reloaded.isonTargets[1], L"bob");
}

TEST_F(PreferenceTest, FoldersReplaceOnlyTheExactSentinel)
{
    LoadFile(L"[Log]\r\nLogRootDir=\r\n[DCC]\r\nDCCRootDir=%%%%%%default%%%%%%\r\n");
    EXPECT_EQ(preference.LogRootDir, L"");
    EXPECT_EQ(preference.DCCRootDir, L"%%%%%%default%%%%%%");
    LoadFile(L"[Log]\r\nLogRootDir=%%%%%%DEFAULT%%%%%%\r\n");
    EXPECT_EQ(preference.LogRootDir, GetDefaultLogFolder());
    EXPECT_EQ(preference.LogRootDir.Right(13), L"\\KetrovalLog\\");
    EXPECT_EQ(preference.LogRootDir.Find(L"\\\\"), -1);
}

TEST_F(PreferenceTest, EveryStoredChoiceSurvivesLoadAndSave)
{
    // The last choice each page offers, and values only another version could have written.
    const struct {
        const wchar_t* section;
        const wchar_t* key;
        int TPreference::*member;
    } choices[] = {
        {L"Connection", L"IPResolveMethod", &TPreference::IPResolveMethod},
        {L"Event", L"InviteAction", &TPreference::InviteAction},
        {L"Action", L"NickPolicy", &TPreference::NickPolicy},
        {L"Action", L"URLOpenMethod", &TPreference::URLOpenMethod},
        {L"DCC", L"DCCReceiveAction", &TPreference::DCCReceiveAction},
        {L"DCC", L"DCCChatAction", &TPreference::DCCChatAction},
        {L"UserInfo", L"WhoTiming", &TPreference::WhoTiming},
        {L"Detail", L"KanaEncodingMethod", &TPreference::KanaEncodingMethod},
    };
    for (int stored : {3, 7, -2}) {
        CString body;
        for (const auto& c : choices)
            body += Numbered(CString(L"[") + c.section + L"]\r\n" + c.key + L"=%d\r\n", stored);
        LoadFile(body);
        CString saved = SavedText();
        for (const auto& c : choices) {
            EXPECT_EQ(preference.*c.member, stored) << c.key;
            EXPECT_NE(saved.Find(Numbered(CString(L"\n") + c.key + L"=%d\n", stored)), -1) << c.key << stored;
        }
    }
}

TEST_F(PreferenceTest, DamagedNumbersStayUsable)
{
    LoadFile(L"[Event]\r\nInviteDialogMax=-5\r\n[Window]\r\nRestoreHotKeyVCode=65536\r\n"
             L"RestoreHotKeyModifiers=-1\r\n[DCC]\r\n"
             L"CloseDialogOnEndTransfer=1\r\nDCCChatAdaptiveEncodingSelection=true\r\n"
             L"[Keyword]\r\nLike.Count=2000000000\r\nLike.00.Pattern=a\r\n");
    EXPECT_EQ(preference.InviteDialogMax, -5);
    EXPECT_EQ(preference.RestoreHotKeyVCode, 0);
    EXPECT_EQ(preference.RestoreHotKeyModifiers, 65535);
    EXPECT_TRUE(preference.CloseDialogOnEndTransfer);
    EXPECT_TRUE(preference.DCCChatAdaptiveEncodingSelection);
    ASSERT_EQ(preference.keyword.Like.size(), 1u);
    CString saved = SavedText();
    EXPECT_NE(saved.Find(L"RestoreHotKeyModifiers=65535\n"), -1);
    EXPECT_NE(saved.Find(L"CloseDialogOnEndTransfer=1\n"), -1);
    EXPECT_NE(saved.Find(L"DCCChatAdaptiveEncodingSelection=1\n"), -1);
}

TEST_F(PreferenceTest, FailedSaveKeepsTheOldFile)
{
    ASSERT_TRUE(WriteFileBytes(temp.File(L"preference.ini"), "Encoding=UTF-8\r\n[Application]\r\nInstalled=false\r\n"));
    preference.Load(temp.path);
    HANDLE lock = CreateFileW(temp.File(L"preference.ini"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(preference.Save(temp.path));
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(temp.File(L"preference.ini")), "Encoding=UTF-8\r\n[Application]\r\nInstalled=false\r\n");
}

TEST(PreferenceDefaults, ANewBlockHoldsWhatALoadWithoutAFileGives)
{
    TTempFolder temp;
    TPreference loaded;
    loaded.Load(temp.path);
    ASSERT_TRUE(loaded.Save(temp.path));
    CStringA fromLoad = ReadFileBytes(temp.File(L"preference.ini"));
    TPreference fresh;
    ASSERT_TRUE(fresh.Save(temp.path));
    EXPECT_EQ(ReadFileBytes(temp.File(L"preference.ini")), fromLoad);
    EXPECT_EQ(fresh.ReconnectCount, 10);
    EXPECT_EQ(fresh.KanaEncodingMethod, 0);
}
