// The three pick dialogs as a user meets them: preselection, clicks and double clicks on the
// list, Update after the folder changed, OK with nothing chosen.

#include "tests/common/ControlText.h"
#include "tests/common/InputHandled.h"
#include "tests/common/Screenshot.h"
#include "tests/macrowindows/MacroWindowSteps.h"

#include "dialogs/PickDialogs.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<CString>;

HWND List(HWND dialog) { return Control(dialog, IDC_SELECT_LIST); }

int Selected(HWND dialog) { return (int)::SendMessageW(List(dialog), LB_GETCURSEL, 0, 0); }

// What the user does in an open picker; -1 as a row means "click into the list below the rows".
enum class TPick { Ok, ClickThenOk, DoubleClick, ClearThenOk, Cancel, ClearThenCancel };

void Pick(HWND dialog, TPick how, int row)
{
    if (how == TPick::DoubleClick)
        return DoubleClickAt(ListBoxRowPoint(List(dialog), row));
    if (how == TPick::ClickThenOk) {
        ClickAt(ListBoxRowPoint(List(dialog), row));
        WaitUntil([&] { return Selected(dialog) == row; }, "the row chosen");
    } else if (how == TPick::ClearThenOk || how == TPick::ClearThenCancel) {
        // A click below the last row clears the selection.
        ClickAt(ScreenPointOf(List(dialog), 20, 150));
        WaitUntil([&] { return Selected(dialog) < 0; }, "no row chosen");
    }
    Click(dialog, how == TPick::Cancel || how == TPick::ClearThenCancel ? IDCANCEL : IDOK);
}

} // namespace

TEST(PickDialogsTest, CandidatePickerKeepsTheCallersOrderAndHandsBackTheChoice)
{
    const struct {
        const wchar_t* preselect;
        int selectedAtStart; // -1: none
        TPick how;
        int row;
        INT_PTR end;
        const wchar_t* result;
    } cases[] = {
        {L"macro", 2, TPick::Ok, 0, IDOK, L"Macro"},       // letter case aside
        {L"nothing", -1, TPick::Ok, 0, IDOK, L""},         // no candidate: nothing chosen
        {L"", -1, TPick::ClickThenOk, 1, IDOK, L"Quit"},   // a click, then OK
        {L"Show", 0, TPick::DoubleClick, 3, IDOK, L"Zed"}, // a double click accepts
        {L"Show", 0, TPick::ClearThenOk, 0, IDOK, L""},    // OK with nothing selected
        {L"Show", 0, TPick::Cancel, 0, IDCANCEL, L"Show"}, // Cancel leaves the text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        TSelectDialog dialog;
        for (const wchar_t* candidate : {L"Show", L"Quit", L"Macro", L"Zed"})
            dialog.AddCandidate(candidate);
        dialog.SetText(c.preselect);
        INT_PTR end = RunDialog(dialog, [&](HWND window) {
            EXPECT_EQ(ListBoxLines(List(window)), (Lines{L"Show", L"Quit", L"Macro", L"Zed"}));
            EXPECT_EQ(Selected(window), c.selectedAtStart);
            if (c.how == TPick::Ok && c.selectedAtStart >= 0)
                SaveWindowPng(window, ScreenshotPath(L"select-dialog.png"));
            Pick(window, c.how, c.row);
        });
        EXPECT_EQ(end, c.end);
        EXPECT_EQ(dialog.GetText(), CString(c.result));
    }
}

TEST(PickDialogsTest, MacroPickerListsTheFolderWithoutExtensionsAndFollowsUpdate)
{
    const struct {
        const wchar_t* preselect;
        bool addFileBeforeUpdate;
        TPick how;
        int row;
        Lines listed; // after any Update
        int selected;
        const wchar_t* result;
    } cases[] = {
        {L"BETA", false, TPick::Ok, 0, {L"alpha", L"beta"}, 1, L"beta"},
        {L"beta", true, TPick::Ok, 0, {L"aaa", L"alpha", L"beta"}, 2, L"beta"}, // the choice survives Update
        {L"", true, TPick::DoubleClick, 0, {L"aaa", L"alpha", L"beta"}, 0, L"aaa"},
        {L"alpha", false, TPick::ClearThenOk, 0, {L"alpha", L"beta"}, 0, L""},
        {L"", false, TPick::Cancel, 0, {L"alpha", L"beta"}, -1, L""},
        // The name follows the selection, also one a click below the rows cleared.
        {L"alpha", false, TPick::Cancel, 0, {L"alpha", L"beta"}, 0, L"alpha"},
        {L"alpha", false, TPick::ClearThenCancel, 0, {L"alpha", L"beta"}, 0, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        TTempFolder folder;
        WriteFileBytes(folder.File(L"beta.kmf"), "1\tEncoding=UTF-8\r\n");
        WriteFileBytes(folder.File(L"alpha.kmf"), "");
        WriteFileBytes(folder.File(L"notes.txt"), "x");
        // A longer extension that the system's pattern "*.kmf" also gives, through the short name.
        WriteFileBytes(folder.File(L"beta.kmf~"), "x");
        TSelectMacroDialog dialog;
        // Without the trailing backslash: the picker adds it.
        dialog.SetFolder(folder.path.Left(folder.path.GetLength() - 1));
        dialog.SetFileName(c.preselect);
        RunDialog(dialog, [&](HWND window) {
            EXPECT_EQ(Text(window, IDC_SELECT_FOLDER), folder.path);
            if (c.addFileBeforeUpdate) {
                WriteFileBytes(folder.File(L"aaa.kmf"), "");
                Click(window, IDC_SELECT_UPDATE);
            }
            EXPECT_EQ(ListBoxLines(List(window)), c.listed);
            if (c.how != TPick::DoubleClick) {
                EXPECT_EQ(Selected(window), c.selected);
            }
            if (c.addFileBeforeUpdate && c.how == TPick::Ok)
                SaveWindowPng(window, ScreenshotPath(L"select-macro-dialog.png"));
            Pick(window, c.how, c.row);
        });
        EXPECT_EQ(dialog.GetFileName(), CString(c.result));
    }
    // A folder that is not there: an empty list and no choice.
    TSelectMacroDialog missing;
    missing.SetFolder(L"C:\\no-such-folder-here");
    RunDialog(missing, [&](HWND window) {
        EXPECT_EQ(ListBoxLines(List(window)), Lines{});
        Click(window, IDOK);
    });
    EXPECT_EQ(missing.GetFileName(), CString());
}

TEST(PickDialogsTest, SoundPickerListsNamesWithExtensionAndPlaysOnlyASelection)
{
    const struct {
        const wchar_t* preselect;
        bool playEnabled;
        TPick how;
        int row;
        const wchar_t* result;
    } cases[] = {
        {L"", false, TPick::ClickThenOk, 1, L"ding.wav"},
        {L"BELL.WAV", true, TPick::Ok, 0, L"bell.wav"},
        {L"bell.wav", true, TPick::ClearThenOk, 0, L""},
        {L"gone.wav", false, TPick::DoubleClick, 0, L"bell.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        TTempFolder folder;
        WriteFileBytes(folder.File(L"ding.wav"), "RIFF");
        WriteFileBytes(folder.File(L"bell.wav"), "RIFF");
        WriteFileBytes(folder.File(L"tune.mp3"), "ID3");
        TSelectSoundDialog dialog;
        dialog.SetFolder(folder.path);
        dialog.SetFileName(c.preselect);
        RunDialog(dialog, [&](HWND window) {
            EXPECT_EQ(ListBoxLines(List(window)), (Lines{L"bell.wav", L"ding.wav"}));
            EXPECT_EQ(Enabled(window, IDC_SELECT_PLAY), c.playEnabled);
            if (c.playEnabled && c.how == TPick::Ok) {
                SaveWindowPng(window, ScreenshotPath(L"select-sound-dialog.png"));
                // Not a sound at all: the system's default sound, and the dialog stays.
                Click(window, IDC_SELECT_PLAY);
                EXPECT_TRUE(::IsWindowVisible(window));
            }
            Pick(window, c.how, c.row);
        });
        EXPECT_EQ(dialog.GetFileName(), CString(c.result));
    }
}
