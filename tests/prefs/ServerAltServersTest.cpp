// The connection page's alternative-servers button as a user meets it: the list opens with the
// host and port typed on the page first; Cancel leaves the page as typed, OK puts the list's
// first server back on the page and the rest in tree.ini.

#include "tests/prefs/ServerDialogFixture.h"

#include "res/windows/wizard.h"
#include "tests/common/ControlText.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/Screenshot.h"

namespace {

const wchar_t kCaption[] = L"代替サーバの設定";

// Each row of the list as "host port".
std::vector<CString> ServerRows(HWND dialog)
{
    HWND list = Control(dialog, IDC_ALT_LIST);
    std::vector<CString> rows;
    for (int row = 0; row < ListView_GetItemCount(list); row++)
        rows.push_back(ListViewCellText(list, row, 0) + L" " + ListViewCellText(list, row, 1));
    return rows;
}

void ClickServerRow(HWND dialog, int row)
{
    HWND list = Control(dialog, IDC_ALT_LIST);
    RECT cell = {};
    ListView_GetItemRect(list, row, &cell, LVIR_LABEL);
    ClickAt(ScreenPointOf(list, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    KickIdle(dialog);
}

} // namespace

TEST(ServerAlternativeServersButton, StartsFromTheTypedHostAndOnlyOkChangesThePage)
{
    ServerDialogRun run(RichServer());
    run.ShowTab(0);
    run.Retype(IDC_SERVER_HOST, L"irc.typed.net");
    run.Retype(IDC_SERVER_PORT, L"6999");
    ASSERT_EQ(CString(L"irc.typed.net"), run.Text(IDC_SERVER_HOST));

    // Cancel, after overwriting the first row in the list.
    std::vector<CString> shown;
    ASSERT_TRUE(ClickAndAnswer(run.Control(IDC_SERVER_ALT_SERVERS), HasCaption(kCaption), [&](HWND dialog) {
        shown = ServerRows(dialog);
        SaveWindowPng(dialog, ScreenshotPath(L"server-alt-servers.png"));
        Retype(dialog, IDC_ALT_HOST, L"irc.dropped.net");
        Click(dialog, IDC_ALT_OVERWRITE);
        EXPECT_EQ(CString(L"irc.dropped.net 6999"), ServerRows(dialog).at(0));
        Click(dialog, IDCANCEL);
    })) << "the alternative servers did not open";
    std::vector<CString> expected = {L"irc.typed.net 6999", L"irc2.example.net 6668", L"irc3.example.net 7000"};
    EXPECT_EQ(expected, shown);
    EXPECT_EQ(CString(L"irc.typed.net"), run.Text(IDC_SERVER_HOST));
    EXPECT_EQ(CString(L"6999"), run.Text(IDC_SERVER_PORT));

    // OK, after moving the last server to the top.
    ASSERT_TRUE(ClickAndAnswer(run.Control(IDC_SERVER_ALT_SERVERS), HasCaption(kCaption), [&](HWND dialog) {
        shown = ServerRows(dialog);
        ClickServerRow(dialog, 2);
        Click(dialog, IDC_ALT_UP);
        Click(dialog, IDC_ALT_UP);
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(expected, shown) << "the cancelled overwrite came back";
    EXPECT_EQ(CString(L"irc3.example.net"), run.Text(IDC_SERVER_HOST));
    EXPECT_EQ(CString(L"7000"), run.Text(IDC_SERVER_PORT));

    run.ClickOk();
    ASSERT_TRUE(run.Closed());
    run.Save();
    EXPECT_EQ(CString(L"irc3.example.net"), run.Stored(L"Hostname"));
    EXPECT_EQ(CString(L"7000"), run.Stored(L"Port"));
    EXPECT_EQ(CString(L"2"), run.Stored(L"AltServer.Count"));
    EXPECT_EQ(CString(L"irc.typed.net"), run.Stored(L"AltServer.00.Hostname"));
    EXPECT_EQ(CString(L"6999"), run.Stored(L"AltServer.00.Port"));
    EXPECT_EQ(CString(L"irc2.example.net"), run.Stored(L"AltServer.01.Hostname"));
}
