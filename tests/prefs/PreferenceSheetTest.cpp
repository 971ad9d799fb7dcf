// The preference window as a whole: its tree of 26 pages in their order and levels, every
// behaviour page editing the live preferences, every page visited and confirmed unchanged leaving
// "preference.ini" and "view.ini" byte for byte as they were, a page that cannot be stored keeping
// every page from storing while a folder on a drive that is not there is stored as typed, Cancel,
// Esc in an open list, and edits surviving page changes.

#include "tests/common/DialogSteps.h"
#include "tests/common/InputHandled.h"
#include "tests/common/ShownWindow.h"
#include "tests/prefs/PreferenceSheetFixture.h"

#include "foundation/Path.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

class PreferenceSheetTest : public PreferenceSheetFixture {
protected:
    CString ItemText(HWND tree, HTREEITEM item)
    {
        wchar_t text[64] = L"";
        TVITEMW info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text;
        info.cchTextMax = 64;
        TreeView_GetItem(tree, &info);
        return text;
    }
    // Depth-first: each title with its level, and whether every branch is open.
    void Walk(HWND tree, HTREEITEM item, int level, std::vector<CString>& rows, bool& allOpen)
    {
        for (; item; item = TreeView_GetNextSibling(tree, item)) {
            CString row;
            row.Format(L"%d %s", level, ItemText(tree, item).GetString());
            rows.push_back(row);
            HTREEITEM child = TreeView_GetChild(tree, item);
            if (child && !(TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED))
                allOpen = false;
            Walk(tree, child, level + 1, rows, allOpen);
        }
    }
};

} // namespace

TEST_F(PreferenceSheetTest, EveryPageVisitedAndConfirmedUnchangedKeepsTheFile)
{
    Open();
    ASSERT_TRUE(dialog);
    wchar_t caption[32] = L"";
    ::GetWindowTextW(dialog->m_hWnd, caption, 32);
    EXPECT_STREQ(L"設定", caption);
    std::vector<CString> rows;
    bool allOpen = true;
    Walk(dialog->GetTree(), TreeView_GetRoot(dialog->GetTree()), 1, rows, allOpen);
    EXPECT_TRUE(allOpen);
    const std::vector<CString> expected = {L"1 接続",           L"1 キーワード",   L"2 詳細",         L"1 イベント",
                                           L"1 インタフェース", L"1 動作",         L"2 詳細",         L"1 ウィンドウ",
                                           L"1 トレイアイコン", L"1 サウンド",     L"1 ログファイル", L"1 DCC",
                                           L"2 ファイル受信",   L"3 詳細",         L"2 ファイル送信", L"2 チャット",
                                           L"1 ユーザ情報",     L"1 詳細",         L"1 表示テーマ",   L"2 ログ",
                                           L"2 サーバツリー",   L"2 メンバリスト", L"2 入力テキスト", L"2 メッセージ",
                                           L"3 詳細",           L"1 レイアウト"};
    EXPECT_EQ(expected, rows);
    EXPECT_EQ(&dialog->connectionPage, dialog->GetCurrentPage()) << "the connection page comes first";

    // Each page in turn, from the tree, as a user would; every one is kept as a picture.
    for (int i = 0; i < dialog->GetPageCount(); i++) {
        HWND tree = dialog->GetTree();
        HTREEITEM item = nullptr;
        int n = 0;
        for (HTREEITEM at = TreeView_GetRoot(tree); at; at = TreeView_GetNextVisible(tree, at))
            if (n++ == i)
                item = at;
        ASSERT_TRUE(item);
        TreeView_EnsureVisible(tree, item);
        RECT rect = {};
        TreeView_GetItemRect(tree, item, &rect, TRUE);
        ClickAt(ScreenPointOf(tree, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
        ASSERT_TRUE(PumpMessagesUntil([&] { return dialog->GetCurrentIndex() == i; }, 3000)) << "entry " << i;
        Idle();
        wchar_t name[32];
        swprintf(name, 32, L"pref-page-%02d.png", i);
        SaveWindowPng(dialog->m_hWnd, ScreenshotPath(name));
    }
    ClickOk();
    EXPECT_EQ(1, okCount);
    EXPECT_EQ(1, closeCount);
    EXPECT_EQ(golden, FileBytes());
    EXPECT_EQ(viewGolden, FileBytes(L"view.ini"));
}

TEST_F(PreferenceSheetTest, EveryBehaviourPageEditsTheLivePreferences)
{
    Open();
    ASSERT_TRUE(dialog);
    TPreferenceDialog& d = *dialog;
    const std::pair<const char*, TPreferencePage*> live[] = {
        {"connection", &d.connectionPage},
        {"keywords", &d.keywordPage},
        {"keyword details", &d.keywordDetailPage},
        {"events", &d.eventPage},
        {"interface", &d.interfacePage},
        {"behaviour", &d.actionPage},
        {"behaviour details", &d.actionDetailPage},
        {"window", &d.windowPage},
        {"tray icon", &d.trayIconPage},
        {"sounds", &d.soundPage},
        {"log files", &d.logPage},
        {"DCC", &d.dccPage},
        {"file receive", &d.dccReceivePage},
        {"file receive details", &d.dccReceiveDetailPage},
        {"file send", &d.dccSendPage},
        {"DCC chat", &d.dccChatPage},
        {"user information", &d.userInfoPage},
        {"details", &d.detailPage},
        {"layout", &d.viewLayoutPage},
    };
    for (const auto& page : live)
        EXPECT_EQ(&settings.preference, page.second->GetPreference()) << page.first;
    // The theme, tree, member list, input text and message pages edit a working copy instead; the
    // log text page reads the preferences for its samples only.
    std::vector<int> others;
    for (int i = 0; i < d.GetPageCount(); i++) {
        auto* page = dynamic_cast<TPreferencePage*>(d.GetPage(i));
        if (page && std::none_of(std::begin(live), std::end(live), [&](const auto& p) { return p.second == page; }))
            others.push_back(i);
    }
    EXPECT_EQ(std::vector<int>(), others) << "entries editing the preferences that are not named above";
}

TEST_F(PreferenceSheetTest, APageThatCannotBeStoredKeepsEveryPageFromStoring)
{
    // A folder below a file can be neither made nor written.
    FILE* file = _wfopen(folder.File(L"plain.txt"), L"wb");
    ASSERT_TRUE(file);
    fclose(file);
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::connectionPage));
    Apply({TPageEdit::Type, IDC_CONN_RECONNECT_TIME, L"99"});
    ShowPage(&dialog->logPage);
    Apply({TPageEdit::Type, IDC_LOG_FOLDER, CString(folder.File(L"plain.txt\\logs")).GetString()});
    ShowPage(&dialog->interfacePage);
    EXPECT_NE(-1, PressOkAndReadWarning(dialog->m_hWnd).Find(L"フォルダ")) << "the user hears why";
    ASSERT_TRUE(dialog) << "the window stays open";
    EXPECT_EQ(&dialog->logPage, dialog->GetCurrentPage()) << "on the page that failed";
    EXPECT_EQ(0, okCount);
    EXPECT_EQ(45, settings.preference.ReconnectTime) << "no page stored anything";
    EXPECT_EQ(golden, FileBytes());

    // Mended, OK stores both pages.
    Apply({TPageEdit::Type, IDC_LOG_FOLDER, CString(folder.File(L"new\\logs\\")).GetString()});
    ClickOk();
    EXPECT_EQ(1, okCount);
    EXPECT_EQ(L"99", Stored(L"Connection", L"ReconnectTime"));
    EXPECT_EQ(std::wstring(folder.File(L"new\\logs\\")), Stored(L"Log", L"LogRootDir"));
    EXPECT_FALSE(PathExists(folder.File(L"new"))) << "the folder is made by the logger, not by OK";
}

// A folder that cannot be made holds OK up only where it will be used and was typed: a stored
// one the user left alone, or one under "do nothing" or with every log off, is stored as it stands.
// One that is there is taken even where no file can be made in it: the writers make their own
// subfolders and tell their own failures.
TEST_F(PreferenceSheetTest, AFolderThatCannotBeMadeHoldsUpOnlyWhereItWasTypedAndIsUsed)
{
    FILE* file = _wfopen(folder.File(L"plain.txt"), L"wb");
    ASSERT_TRUE(file);
    fclose(file);
    const CString stored = folder.File(L"plain.txt\\dcc"), typed = folder.File(L"plain.txt\\typed");
    // No folder can have that name, though the folder above takes files.
    const CString unmakeable = folder.File(L"dcc|new\\in");
    // Not even the administrator may make a file or folder in it.
    const CString closed = L"Z:\\sys\\kernel", belowClosed = L"Z:\\sys\\kernel\\kvlogs";
    const struct {
        const char* name;
        int action; // the receive action stored before
        bool onLogPage;
        std::vector<TPageEdit> edits;
        bool refused;
        CString folder; // stored after OK
    } cases[] = {
        {"stored, do nothing", 0, false, {{TPageEdit::State, IDC_RECV_FOLDER, L"off"}}, false, stored},
        {"stored, in use but left alone", 1, false, {}, false, stored},
        {"typed, then do nothing",
         2,
         false,
         {{TPageEdit::Type, IDC_RECV_FOLDER, typed}, {TPageEdit::Click, IDC_RECV_NOTHING, nullptr}},
         false,
         typed},
        {"typed and in use", 1, false, {{TPageEdit::Type, IDC_RECV_FOLDER, typed}}, true, stored},
        {"typed, in use, and cannot be made", 1, false, {{TPageEdit::Type, IDC_RECV_FOLDER, unmakeable}}, true, stored},
        {"typed, in use, there and takes no files",
         1,
         false,
         {{TPageEdit::Type, IDC_RECV_FOLDER, closed}},
         false,
         closed},
        {"typed, in use, new below one that takes nothing",
         1,
         false,
         {{TPageEdit::Type, IDC_RECV_FOLDER, belowClosed}},
         true,
         stored},
        {"log folder typed with every log off",
         1,
         true,
         {{TPageEdit::Click, IDC_LOG_CHANNEL, nullptr}, {TPageEdit::Type, IDC_LOG_FOLDER, typed}},
         false,
         stored},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.preference.DCCRootDir = stored;
        settings.preference.DCCReceiveAction = c.action;
        okCount = 0;
        bool opened = c.onLogPage ? OpenOn(&TPreferenceDialog::logPage) : OpenOn(&TPreferenceDialog::dccReceivePage);
        ASSERT_TRUE(opened);
        for (const TPageEdit& edit : c.edits) {
            Apply(edit);
            Idle();
        }
        CString warning = PressOkAndReadWarning(dialog->m_hWnd);
        if (c.refused) {
            EXPECT_NE(-1, warning.Find(L"フォルダ"));
            ASSERT_TRUE(dialog) << "the window stays open";
            HWND edit = Control(&dialog->dccReceivePage, IDC_RECV_FOLDER);
            EXPECT_EQ(edit, ::GetFocus()) << "on the folder the user typed";
            EXPECT_TRUE(::IsWindowEnabled(edit));
            SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-folder-refused.png"));
            EXPECT_EQ(0, okCount);
        } else {
            EXPECT_EQ(CString(), warning);
            EXPECT_EQ(1, okCount) << "OK closed the window";
            EXPECT_EQ(std::wstring(c.folder), Stored(L"DCC", L"DCCRootDir"));
            if (c.onLogPage) {
                EXPECT_EQ(std::wstring(typed), Stored(L"Log", L"LogRootDir"));
            }
        }
        if (dialog)
            ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDCANCEL)));
        ASSERT_TRUE(PumpMessagesUntil([&] { return dialog == nullptr; }, kWaitBoundMs));
    }
}

TEST_F(PreferenceSheetTest, AFolderOnADriveThatIsNotThereIsStoredAsTyped)
{
    // An unplugged stick: a drive letter nothing answers to now.
    wchar_t drive = 0;
    for (wchar_t letter = L'Q'; letter >= L'D' && !drive; letter--)
        if (!(::GetLogicalDrives() & (1u << (letter - L'A'))))
            drive = letter;
    ASSERT_NE(0, drive);
    CString dcc, logs;
    dcc.Format(L"%c:\\dcc", drive);
    logs.Format(L"%c:\\logs\\irc\\", drive);
    // The receive folder was stored that way before; the log folder is typed now.
    settings.preference.DCCRootDir = dcc;
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::dccReceivePage));
    EXPECT_EQ(dcc, GetControlText(Control(&dialog->dccReceivePage, IDC_RECV_FOLDER)));
    ShowPage(&dialog->logPage);
    Apply({TPageEdit::Type, IDC_LOG_FOLDER, logs.GetString()});
    ClickOk();
    EXPECT_EQ(1, okCount) << "OK closed the window";
    EXPECT_EQ(std::wstring(dcc), Stored(L"DCC", L"DCCRootDir"));
    EXPECT_EQ(std::wstring(logs), Stored(L"Log", L"LogRootDir"));
}

TEST_F(PreferenceSheetTest, CancelStoresNothingAndEditsSurvivePageChanges)
{
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::interfacePage));
    Apply({TPageEdit::Type, IDC_UI_KICK_MESSAGE, L"first edit"});
    ShowPage(&dialog->eventPage);
    ShowPage(&dialog->interfacePage);
    EXPECT_EQ(L"first edit", GetControlText(Control(&dialog->interfacePage, IDC_UI_KICK_MESSAGE)))
        << "the page is the same window, not loaded again";
    ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDCANCEL)));
    ASSERT_TRUE(PumpMessagesUntil([&] { return closeCount == 1; }, 3000));
    EXPECT_EQ(0, okCount);
    EXPECT_EQ(L"さようなら", settings.preference.KickMessage);
    EXPECT_EQ(golden, FileBytes());
}

// Esc in an open list closes the list alone: the window stays with the edit of another page in
// place; the next Esc cancels and nothing is stored.
TEST_F(PreferenceSheetTest, EscInAnOpenListClosesOnlyTheListAndTheNextEscCancels)
{
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::interfacePage));
    Apply({TPageEdit::Type, IDC_UI_KICK_MESSAGE, L"typed edit"});
    ShowPage(&dialog->logPage);
    HWND codes = Control(&dialog->logPage, IDC_LOG_ENCODING);
    auto listOpen = [&] { return ::SendMessageW(codes, CB_GETDROPPEDSTATE, 0, 0) != 0; };
    PressKey('E', {VK_MENU});
    ASSERT_TRUE(PumpMessagesUntil([&] { return ::GetFocus() == codes; }, 3000)) << "Alt+E reaches the list";
    PressKey(VK_F4);
    ASSERT_TRUE(PumpMessagesUntil(listOpen, 3000)) << "F4 did not open the list";
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(PumpMessagesUntil([&] { return !listOpen(); }, 3000)) << "Esc did not close the list";
    Idle();
    ASSERT_TRUE(dialog) << "Esc closed the window";
    EXPECT_EQ(0, closeCount);
    EXPECT_EQ(L"typed edit", GetControlText(Control(&dialog->interfacePage, IDC_UI_KICK_MESSAGE)));
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-esc-in-list.png"));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(PumpMessagesUntil([&] { return closeCount == 1; }, 3000)) << "the second Esc did not cancel";
    EXPECT_EQ(0, okCount);
    EXPECT_EQ(L"さようなら", settings.preference.KickMessage);
    EXPECT_EQ(golden, FileBytes());
}

TEST_F(PreferenceSheetTest, TheShownPagesItemStaysMarkedWhileThePageHasTheFocus)
{
    // Four pages are titled "詳細": only the mark tells which one is shown.
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::actionDetailPage));
    Apply({TPageEdit::Click, IDC_ACTD_UNAWAY, L""});
    HWND tree = dialog->GetTree();
    ASSERT_NE(tree, ::GetFocus()) << "the page has the focus";
    const COLORREF marked = ::GetSysColor(COLOR_HIGHLIGHT);
    auto unmarkedPixels = [&](TPropertyPage* page, int& area) {
        RECT rect = {};
        TreeView_GetItemRect(tree, dialog->FindItem(page), &rect, TRUE);
        area = (rect.right - rect.left) * (rect.bottom - rect.top);
        return CountPixelsOtherThan(tree, rect, marked);
    };
    int area = 0;
    int unmarked = unmarkedPixels(&dialog->actionDetailPage, area);
    EXPECT_GT(area, 0);
    EXPECT_LT(unmarked, area / 2) << "the text is drawn over the mark";
    unmarked = unmarkedPixels(&dialog->keywordDetailPage, area);
    EXPECT_EQ(area, unmarked) << "another page of the same title";
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(L"pref-page-focus.png"));
}
