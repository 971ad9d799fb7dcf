// Start-up and close decisions that need no window: the single-instance name, the snapping
// arithmetic and the question asked before closing.

#include "mainframe/AttachWindow.h"
#include "mainframe/MainApp.h"
#include "mainframe/MainFrame.h"
#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

TEST(MainWindowClassName, NamesUserAndProgramFolderWithItsDigest)
{
    // The digest of the UTF-16LE bytes of "c:\program files\ketroval2\", computed elsewhere.
    EXPECT_EQ(CString(L"Ketroval2MainWindow alice 208c3b1661bcb5601635fd35afc61a94"),
              BuildMainWindowClassName(L"alice", L"C:\\Program Files\\Ketroval2\\"));
}

TEST(MainWindowClassName, OnlyTheCaseOfAsciiLettersIsIgnored)
{
    const CString base = BuildMainWindowClassName(L"alice", L"C:\\Apps\\Ketroval2\\");
    EXPECT_EQ(base, BuildMainWindowClassName(L"alice", L"c:\\APPS\\ketroval2\\"));
    EXPECT_NE(base, BuildMainWindowClassName(L"alice", L"C:\\Apps\\Ketroval3\\"));
    EXPECT_NE(base, BuildMainWindowClassName(L"bob", L"C:\\Apps\\Ketroval2\\"));
    // Letters beyond A to Z keep their case: another folder to Windows is another installation.
    EXPECT_NE(BuildMainWindowClassName(L"alice", L"C:\\\x00C4pps\\"),
              BuildMainWindowClassName(L"alice", L"C:\\\x00E4pps\\"));
}

TEST(SnapToWorkArea, EdgesWithinTheDistanceTakeTheWindow)
{
    const RECT work = {0, 0, 1280, 770};
    const RECT size = {0, 0, 400, 300};
    const struct {
        const char* what;
        POINT topLeft;
        bool release;
        POINT expected;
    } cases[] = {
        {"far from every edge", {300, 200}, false, {300, 200}},
        {"10 px from the left", {10, 200}, false, {0, 200}},
        {"16 px from the left stays", {16, 200}, false, {16, 200}},
        {"10 px from the top", {300, 10}, false, {300, 0}},
        {"near the right", {870, 200}, false, {880, 200}},
        {"near the bottom", {300, 462}, false, {300, 470}},
        {"corner", {-5, 460}, false, {0, 470}},
        {"pushed past the left, held", {-40, 200}, false, {0, 200}},
        {"pushed past the left, released", {-40, 200}, true, {-40, 200}},
        {"just past the left, released", {-15, 200}, true, {0, 200}},
        {"pushed past the bottom, released", {300, 490}, true, {300, 490}},
    };
    for (const auto& c : cases) {
        RECT snapped = SnapToWorkArea(size, c.topLeft, work, 16, c.release);
        EXPECT_EQ(c.expected.x, snapped.left) << c.what;
        EXPECT_EQ(c.expected.y, snapped.top) << c.what;
        EXPECT_EQ(400, snapped.right - snapped.left) << c.what;
        EXPECT_EQ(300, snapped.bottom - snapped.top) << c.what;
    }
}

TEST(SnapToWorkArea, WindowWiderThanTheWorkAreaEndsAlignedRight)
{
    RECT snapped = SnapToWorkArea(RECT{0, 0, 1400, 300}, POINT{5, 100}, RECT{0, 0, 1280, 770}, 16, false);
    EXPECT_EQ(1280, snapped.right);
    EXPECT_EQ(-120, snapped.left);
}

TEST(QuitQuestion, PromptPreferenceWinsOverFilesInTransfer)
{
    const struct {
        bool prompt;
        int receiving, sending;
        const wchar_t* expected;
    } cases[] = {
        {true, 0, 0, L"終了します"},
        {true, 2, 1, L"終了します"},
        {false, 2, 1, L"3 個のファイルを送受信中です\n本当に終了しますか?"},
        {false, 2, 0, L"2 個のファイルを受信中です\n本当に終了しますか?"},
        {false, 0, 4, L"4 個のファイルを送信中です\n本当に終了しますか?"},
        {false, 0, 0, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), ChooseQuitQuestion(c.prompt, c.receiving, c.sending))
            << c.prompt << " " << c.receiving << " " << c.sending;
}
