// The macro settings window and the popup menu editor as the frame keeps them: one of each, a
// second command brings it back, servers follow renamed and deleted files, the columns follow
// the server list, and a popup item made in the editor is in the log view's menu and runs.

#include "tests/mainframe/ServedFrameFixture.h"

#include "res/resource.h"
#include "settings/Config.h"
#include "tests/common/ControlText.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UserInput.h"
#include "tests/macrowindows/MacroWindowSteps.h"

#include <algorithm>
#include <functional>

namespace {

using Names = std::vector<CString>;

Names Enabled(TIRCUnit* unit) { return unit->GetSettings().MacroFiles; }

int ColumnOf(HWND list, const wchar_t* heading)
{
    std::vector<CString> headings = ColumnHeadings(list);
    auto it = std::find(headings.begin(), headings.end(), CString(heading));
    return it == headings.end() ? -1 : (int)(it - headings.begin());
}

} // namespace

TEST_F(MainFrameFixture, MacroSettingsFollowTheServersAndTellThemOfFileChanges)
{
    CString folder = settings.GetMacroFolder();
    ASSERT_TRUE(WriteFileBytes(folder + L"one.kmf", "1\tEncoding=UTF-8\r\n"));
    ASSERT_TRUE(WriteFileBytes(folder + L"two.kmf", "1\tEncoding=UTF-8\r\n"));
    frame->SendMessageW(WM_COMMAND, ID_MACRO_SETTINGS, 0);
    PumpPendingMessages();
    TMacroSelectDialog* window = frame->GetMacroSettings();
    ASSERT_NE(nullptr, window);
    HWND list = window->GetList().m_hWnd;
    HWND header = ListView_GetHeader(list);
    EXPECT_EQ(2, ListView_GetItemCount(list));
    EXPECT_EQ(2, Header_GetItemCount(header)); // the file names and "net"

    // A second command brings the same window back.
    ::ShowWindow(window->m_hWnd, SW_MINIMIZE);
    WaitUntil([&] { return ::IsIconic(window->m_hWnd) != FALSE; }, "the window minimised");
    frame->SendMessageW(WM_COMMAND, ID_MACRO_SETTINGS, 0);
    PumpPendingMessages();
    EXPECT_EQ(window, frame->GetMacroSettings());
    EXPECT_FALSE(::IsIconic(window->m_hWnd));

    // The listener's work in the frame: the servers' lists follow the files.
    net->EnableMacroFile(L"one", true);
    net->EnableMacroFile(L"two", true);
    frame->OnMacroFileRenamed(window, L"one", L"uno");
    EXPECT_EQ(Enabled(net), (Names{L"uno", L"two"}));
    EXPECT_EQ(net->GetMacroManager().GetFileNames(), (Names{L"uno", L"two"}));
    frame->OnMacroFileDeleted(window, L"two");
    EXPECT_EQ(Enabled(net), Names{L"uno"});
    EXPECT_NE(-1, ReadFileBytes(settings.GetSettingsFolder() + L"tree.ini").Find("MacroFile.00=uno"));

    // A server added from the menu gets its column at once.
    world->Select(net, nullptr);
    frame->SendMessageW(WM_COMMAND, ID_COPY_SERVER, 0);
    PumpPendingMessages();
    EXPECT_EQ(3, Header_GetItemCount(header));

    FocusForInput(list);
    PressKey(VK_ESCAPE);
    WaitUntil([&] { return frame->GetMacroSettings() == nullptr; }, "Esc closes the window");
    EXPECT_EQ(nullptr, frame->GetMacroSettings());
}

// A server added from the menu rebuilds the server columns of both settings windows; a width the
// user dragged there is kept through it.
TEST_F(MainFrameFixture, ServerColumnWidthsDraggedInEitherSettingsWindowSurviveANewServer)
{
    const struct {
        const char* name;
        UINT command;
        std::function<TServerFileListDialog*()> window;
    } rows[] = {
        {"script settings", ID_SCRIPT_SETTINGS, [&]() -> TServerFileListDialog* { return frame->GetScriptSettings(); }},
        {"macro settings", ID_MACRO_SETTINGS, [&]() -> TServerFileListDialog* { return frame->GetMacroSettings(); }},
    };
    std::vector<int> dragged;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        frame->SendMessageW(WM_COMMAND, row.command, 0);
        TServerFileListDialog* window = row.window();
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(window->m_hWnd) != FALSE; }, 5000));
        HWND list = window->GetList().m_hWnd;
        HWND header = ListView_GetHeader(list);
        ASSERT_EQ(2, Header_GetItemCount(header)); // the file names and "net"
        RECT column = {};
        Header_GetItemRect(header, 1, &column);
        int before = ListView_GetColumnWidth(list, 1);
        DragMouse(ScreenPointOf(header, column.right - 1, 8), ScreenPointOf(header, column.right + 40, 8));
        ASSERT_TRUE(PumpMessagesUntil([&] { return ListView_GetColumnWidth(list, 1) > before + 20; }, 5000));
        dragged.push_back(ListView_GetColumnWidth(list, 1));
    }

    world->Select(net, nullptr);
    frame->SendMessageW(WM_COMMAND, ID_COPY_SERVER, 0);
    for (size_t i = 0; i < std::size(rows); i++) {
        SCOPED_TRACE(rows[i].name);
        HWND list = rows[i].window()->GetList().m_hWnd;
        EXPECT_TRUE(PumpMessagesUntil([&] { return Header_GetItemCount(ListView_GetHeader(list)) == 3; }, 5000));
        EXPECT_EQ(dragged[i], ListView_GetColumnWidth(list, ColumnOf(list, L"net"))) << "the dragged width was lost";
    }
}

// Both settings windows open at the program's end: a server's choice and the server columns'
// widths reach tree.ini, as when the user closes them.
TEST_F(MainFrameFixture, SettingsWindowsOpenAtTheProgramsEndWriteTheServerTree)
{
    ASSERT_TRUE(WriteFileBytes(settings.GetMacroFolder() + L"one.kmf", "1\tEncoding=UTF-8\r\n"));
    frame->SendMessageW(WM_COMMAND, ID_SCRIPT_SETTINGS, 0);
    frame->SendMessageW(WM_COMMAND, ID_MACRO_SETTINGS, 0);
    PumpPendingMessages();
    ASSERT_TRUE(frame->GetScriptSettings() && frame->GetMacroSettings());
    ListView_SetColumnWidth(frame->GetScriptSettings()->GetList().m_hWnd, 1, 91);
    HWND macros = frame->GetMacroSettings()->GetList().m_hWnd;
    ListView_SetColumnWidth(macros, 1, 93);
    FocusForInput(macros);
    ClickCell(macros, 0, 0);
    ClickCell(macros, 0, 1, true);
    ASSERT_EQ(Enabled(net), Names{L"one"});

    CString tree = settings.GetSettingsFolder() + L"tree.ini";
    ::DeleteFileW(tree);
    frame->ending = true;
    frame->SendMessageW(WM_CLOSE, 0, 0);
    PumpPendingMessages();
    CStringA written = ReadFileBytes(tree);
    EXPECT_NE(-1, written.Find("MacroFile.00=one")) << written.GetString();
    EXPECT_NE(-1, written.Find("MacroHeaderWidth=93"));
    EXPECT_NE(-1, written.Find("ScriptHeaderWidth=91"));
}

TEST_F(MainFrameFixture, MacroSettingsBringBackTheOpenEditorInstead)
{
    ASSERT_TRUE(WriteFileBytes(settings.GetMacroFolder() + L"one.kmf", "1\tEncoding=UTF-8\r\n"));
    frame->SendMessageW(WM_COMMAND, ID_MACRO_SETTINGS, 0);
    PumpPendingMessages();
    TMacroSelectDialog* window = frame->GetMacroSettings();
    ASSERT_NE(nullptr, window);
    FocusForInput(window->GetList().m_hWnd);
    PressKey(VK_RETURN);
    ASSERT_NE(nullptr, window->GetEditor());
    HWND editor = window->GetEditor()->m_hWnd;
    ::ShowWindow(editor, SW_MINIMIZE);
    WaitUntil([&] { return ::IsIconic(editor) != FALSE; }, "the editor minimised");
    frame->SendMessageW(WM_COMMAND, ID_MACRO_SETTINGS, 0);
    PumpPendingMessages();
    EXPECT_FALSE(::IsIconic(editor));
    EXPECT_FALSE(::IsWindowVisible(window->m_hWnd));
    // The frame's idle pass reaches the editor through the window.
    ListView_SetItemState(GetDlgItem(editor, IDC_MACRO_EDITOR_LIST), -1, 0, LVIS_SELECTED);
    ::EnableWindow(GetDlgItem(editor, IDC_MACRO_EDITOR_DELETE), TRUE);
    frame->SendMessageW(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_FALSE(::IsWindowEnabled(GetDlgItem(editor, IDC_MACRO_EDITOR_DELETE)));
    Click(editor, IDCANCEL);
    EXPECT_TRUE(::IsWindowVisible(window->m_hWnd));
}

// The settings window hides while its editor is open, so the editor follows the main window in
// its place: hidden and shown again with it, on top with it, and an editor opened after the
// switch starts in the switch's state.
TEST_F(MainFrameFixture, AnOpenMacroEditorFollowsTheMainWindowInPlaceOfTheSettingsWindow)
{
    auto onTop = [](HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    ASSERT_TRUE(WriteFileBytes(settings.GetMacroFolder() + L"one.kmf", "1\tEncoding=UTF-8\r\n"));
    ASSERT_FALSE(frame->IsTopMost());
    frame->SendMessageW(WM_COMMAND, ID_MACRO_SETTINGS, 0);
    TMacroSelectDialog* window = frame->GetMacroSettings();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(window->m_hWnd) != FALSE; }, 5000));

    // The action runs from the message loop.
    auto flipTopMost = [&] {
        bool before = frame->IsTopMost();
        frame->ExecuteAction(L"topmost");
        ASSERT_TRUE(PumpMessagesUntil([&] { return frame->IsTopMost() != before; }, 5000));
    };
    flipTopMost();
    FocusForInput(window->GetList().m_hWnd);
    PressKey(VK_RETURN);
    ASSERT_TRUE(
        PumpMessagesUntil([&] { return window->GetEditor() && ::IsWindowVisible(window->GetEditor()->m_hWnd); }, 5000));
    HWND editor = window->GetEditor()->m_hWnd;
    EXPECT_TRUE(onTop(editor)) << "the editor did not start on top";
    flipTopMost();
    EXPECT_FALSE(onTop(editor));
    flipTopMost();
    EXPECT_TRUE(onTop(editor));

    settings.preference.HideAllWindowOnMinimize = true;
    frame->ExecuteAction(L"minimize");
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsIconic(frame->m_hWnd) && !::IsWindowVisible(editor); }, 5000))
        << "the editor stayed on screen";
    EXPECT_FALSE(::IsWindowVisible(window->m_hWnd));
    frame->SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(editor) && !::IsIconic(frame->m_hWnd); }, 5000));
    EXPECT_FALSE(::IsWindowVisible(window->m_hWnd)) << "the settings window showed beside its editor";
    // The main window comes back in front; the user brings the editor up before closing it.
    FocusForInput(editor);
    SaveWindowPng(editor, ScreenshotPath(L"mainframe-macro-editor-restored.png"));

    Click(editor, IDCANCEL);
    EXPECT_TRUE(PumpMessagesUntil([&] { return ::IsWindowVisible(window->m_hWnd) != FALSE; }, 5000));
    EXPECT_TRUE(onTop(window->m_hWnd));
}

using FramePopupEditor = ServedFrameFixture;

TEST_F(FramePopupEditor, AnItemMadeInTheEditorIsInTheLogMenuAndRuns)
{
    // No file yet: the start-up load gives the default menu.
    settings.LoadPopupMenu();
    frame->SendMessageW(WM_COMMAND, ID_POPUP_MENU_SETTINGS, 0);
    PumpPendingMessages();
    TPopupEditorDialog* editor = frame->GetPopupEditor();
    ASSERT_NE(nullptr, editor);
    HWND window = editor->m_hWnd;
    HWND list = GetDlgItem(window, IDC_POPUP_EDITOR_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 9); // the defaults of a first start
    frame->SendMessageW(WM_COMMAND, ID_POPUP_MENU_SETTINGS, 0);
    EXPECT_EQ(editor, frame->GetPopupEditor());

    // Select the last row, then a new item after it.
    ListView_SetItemState(list, 8, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    WhenDialogShown([](HWND item) {
        Retype(item, IDC_POPUP_ITEM_NAME, L"&Wave");
        Retype(item, IDC_POPUP_ITEM_ACTION, L"Send");
        Retype(item, IDC_POPUP_ITEM_TARGET, L"#alpha");
        Retype(item, IDC_POPUP_ITEM_ARGUMENT, L"waves from %n");
        Click(item, IDOK);
    });
    Click(window, IDC_POPUP_EDITOR_NEW);
    Click(window, IDOK);
    WaitUntil([&] { return frame->GetPopupEditor() == nullptr; }, "OK closes the editor");
    EXPECT_EQ(nullptr, frame->GetPopupEditor());
    ASSERT_EQ(10u, settings.popup.items.size());
    EXPECT_EQ(ID_USER_POPUP_FIRST + 9, settings.popup.items[9]->commandId);
    EXPECT_NE(
        -1,
        ReadFileBytes(settings.GetSettingsFolder() + L"popupmenu.kcf").Find("0\t&Wave\tSend\t#alpha\twaves from %n"));

    TLogView* view = Say("some words to click");
    TShownMenu menu =
        ReadOpenedPopup([&] { ClickAt(TextPoint(view, L"words"), true); }, ScreenshotPath(L"popup-editor-menu.png"));
    ASSERT_TRUE(menu.shown);
    std::vector<UINT> ids = menu.Ids();
    EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), (UINT)(ID_USER_POPUP_FIRST + 9)));
    ASSERT_TRUE(ChooseFromOpenedPopup([&] { ClickAt(TextPoint(view, L"words"), true); }, {'W'}));
    ASSERT_TRUE(peer->WaitFor("NOTICE #alpha :waves from kvme"));
}
