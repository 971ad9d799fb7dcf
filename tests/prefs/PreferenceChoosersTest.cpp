// The preference pages' buttons that open the system's file and folder choosers, answered as a
// user answers them: what the chooser gives lands in the page's field and, after OK, in
// "preference.ini"; leaving the chooser with Escape keeps the field as it was.

#include "tests/common/CommonChoosers.h"
#include "tests/common/ImportPatch.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/prefs/PreferenceSheetFixture.h"

#include <mmsystem.h>
#include <ole2.h>

#include <functional>

namespace {

using E = TPageEdit;

class PreferenceChoosersTest : public PreferenceSheetFixture {
protected:
    HWND Field(int id) { return Control(dialog->GetCurrentPage(), id); }
    CString FieldText(int id) { return GetControlText(Field(id)); }
    // Clicks the shown page's button and answers the chooser it opens; false when none showed.
    bool ClickButtonAndAnswer(int button, std::function<bool(HWND)> match, std::function<void(HWND)> answer)
    {
        bool shown = ::ClickAndAnswerChooser(Field(button), std::move(match), std::move(answer));
        Idle();
        return shown;
    }
    CString SoundCell(int row) { return ListViewCellText(Field(IDC_SOUND_LIST), row, 1); }
    bool SoundChecked(int row) { return ListView_GetCheckState(Field(IDC_SOUND_LIST), row) != FALSE; }
};

} // namespace

TEST_F(PreferenceChoosersTest, FolderButtonsPutTheChosenFolderInTheFieldAndEscapeKeepsIt)
{
    struct {
        TPropertyPage* (*page)(TPreferenceDialog&);
        int field, button;
        const wchar_t *start, *subfolder, *section, *key, *screenshot;
    } rows[] = {
        {PageOf<&TPreferenceDialog::logPage>, IDC_LOG_FOLDER, IDC_LOG_BROWSE, L"logs", L"archive", L"Log",
         L"LogRootDir", L"pref-log-folder-chooser.png"},
        {PageOf<&TPreferenceDialog::dccReceivePage>, IDC_RECV_FOLDER, IDC_RECV_BROWSE, L"dcc", L"incoming", L"DCC",
         L"DCCRootDir", L"pref-dcc-folder-chooser.png"},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(::CreateDirectoryW(folder.path + row.start, nullptr));
        ASSERT_TRUE(::CreateDirectoryW(folder.path + row.start + L"\\" + row.subfolder, nullptr));
    }
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr))); // the new-style folder chooser needs it
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.key)));
        CString start = folder.path + row.start;
        CString chosen = start + L"\\" + row.subfolder;
        closeCount = okCount = 0;
        Open();
        ASSERT_TRUE(dialog);
        ShowPage(row.page(*dialog));
        CString before = FieldText(row.field);
        ASSERT_EQ(start + L"\\", before);

        ASSERT_TRUE(ClickButtonAndAnswer(row.button, IsFolderChooserAt(row.start), CancelChooser))
            << "the chooser did not show the field's folder";
        EXPECT_EQ(before, FieldText(row.field));

        bool reached = false;
        ASSERT_TRUE(ClickButtonAndAnswer(row.button, IsFolderChooserAt(row.start), [&](HWND chooser) {
            SaveWindowPng(chooser, ScreenshotPath(row.screenshot));
            reached = AnswerFolderChooserWithSubfolder(chooser, row.subfolder);
            if (!reached)
                CancelChooser(chooser);
        }));
        EXPECT_TRUE(reached) << "the subfolder was not reached with the keys";
        EXPECT_EQ(chosen, FieldText(row.field));
        ClickOk();
        ASSERT_EQ(1, okCount);
        EXPECT_EQ(std::wstring(chosen), Stored(row.section, row.key));
    }
    ::OleUninitialize();
}

TEST_F(PreferenceChoosersTest, SoundChangeTakesTheChosenFileAndTicksTheRowAndPlayPlaysTheSelectedRow)
{
    TSoundRecorder recorder;
    ASSERT_TRUE(recorder.IsHooked()) << "the program does not play through the system's PlaySoundW";
    const std::vector<TSoundCall>& sounds = recorder.sounds;
    CString sound = folder.File(L"chime.wav");
    ASSERT_TRUE(WriteFileBytes(sound, "RIFF\x24\0\0\0WAVE"));
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::soundPage));
    // Row 3, the talk message, has neither a file nor its box ticked.
    const int talk = 3;
    Apply({E::Select, IDC_SOUND_LIST, L"3"});
    Apply({E::State, IDC_SOUND_PLAY, L"off"});

    CString title;
    ASSERT_TRUE(ClickButtonAndAnswer(IDC_SOUND_CHANGE, IsFileChooser(), [&](HWND chooser) {
        title = GetControlText(chooser);
        CancelChooser(chooser);
    }));
    EXPECT_EQ(CString(L"サウンドファイルを変更"), title);
    EXPECT_EQ(CString(), SoundCell(talk));
    EXPECT_FALSE(SoundChecked(talk));

    // A double click on the row's box, another row selected: the chooser is the row's, and
    // leaving it leaves the box as it was.
    HWND list = Field(IDC_SOUND_LIST);
    Apply({E::Select, IDC_SOUND_LIST, L"0"});
    RECT row = {};
    ListView_GetItemRect(list, talk, &row, LVIR_BOUNDS);
    int shown = ShownWindowCount();
    WhenShown(IsFileChooser(), CancelChooser);
    DoubleClickAt(ScreenPointOf(list, row.left + 8, (row.top + row.bottom) / 2));
    ASSERT_TRUE(PumpMessagesUntil([&] { return ShownWindowCount() > shown; }, kWaitBoundMs)) << "no chooser";
    StopWatching();
    ASSERT_TRUE(PumpMessagesUntil([&] { return !FindShownWindow(IsFileChooser()); }, kWaitBoundMs));
    Idle();
    EXPECT_FALSE(SoundChecked(talk));
    EXPECT_EQ(talk, ListView_GetNextItem(list, -1, LVNI_SELECTED));

    ASSERT_TRUE(ClickButtonAndAnswer(IDC_SOUND_CHANGE, IsFileChooser(), [&](HWND chooser) {
        SaveWindowPng(chooser, ScreenshotPath(L"pref-sound-chooser.png"));
        AnswerFileChooser(chooser, sound);
    }));
    EXPECT_EQ(sound, SoundCell(talk));
    EXPECT_TRUE(SoundChecked(talk));
    Apply({E::State, IDC_SOUND_PLAY, L"on"});
    Apply({E::Click, IDC_SOUND_PLAY, L""});
    ASSERT_EQ(1u, sounds.size());
    EXPECT_EQ(sound, sounds[0].path);
    EXPECT_EQ(DWORD(SND_FILENAME | SND_ASYNC), sounds[0].flags);
    // Another row plays its own file.
    Apply({E::Select, IDC_SOUND_LIST, L"5"});
    Apply({E::Click, IDC_SOUND_PLAY, L""});
    ASSERT_EQ(2u, sounds.size());
    EXPECT_EQ(CString(L"C:\\Sounds\\ding.wav"), sounds[1].path);

    ClickOk();
    ASSERT_EQ(1, okCount);
    EXPECT_EQ(std::wstring(sound), Stored(L"Sound", L"TalkMessageSoundFile"));
    EXPECT_EQ(L"true", Stored(L"Sound", L"EnableTalkMessageSound"));
}

TEST_F(PreferenceChoosersTest, UrlApplicationButtonTakesTheChosenProgramAndEscapeKeepsTheTypedOne)
{
    CString program = folder.File(L"viewer.exe");
    ASSERT_TRUE(WriteFileBytes(program, "MZ"));
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::actionPage));
    Apply({E::Click, IDC_ACT_URL_APPLICATION, L""});
    Apply({E::Type, IDC_ACT_APPLICATION, L"D:\\Web\\open.exe"});

    CString offered;
    ASSERT_TRUE(ClickButtonAndAnswer(IDC_ACT_BROWSE, IsFileChooser(), [&](HWND chooser) {
        offered = GetControlText(::GetDlgItem(chooser, cmb13));
        CancelChooser(chooser);
    }));
    // The chooser offers the program typed so far (its name, the folder being the one it shows).
    EXPECT_TRUE(!offered.IsEmpty() && CString(L"D:\\Web\\open.exe").Find(offered) >= 0) << Narrow(offered);
    EXPECT_EQ(CString(L"D:\\Web\\open.exe"), FieldText(IDC_ACT_APPLICATION));

    ASSERT_TRUE(ClickButtonAndAnswer(IDC_ACT_BROWSE, IsFileChooser(), [&](HWND chooser) {
        SaveWindowPng(chooser, ScreenshotPath(L"pref-url-application-chooser.png"));
        AnswerFileChooser(chooser, program);
    }));
    EXPECT_EQ(program, FieldText(IDC_ACT_APPLICATION));
    ClickOk();
    ASSERT_EQ(1, okCount);
    EXPECT_EQ(std::wstring(program), Stored(L"Action", L"URLOpenApplication"));
    EXPECT_EQ(L"1", Stored(L"Action", L"URLOpenMethod"));
}
