// The macro settings window as a user meets it: the macro folder's files against the servers,
// cells switched by a right click, files made, copied, renamed and deleted through its prompts,
// typed names that would leave the folder refused, and the editor opened in its place.

#include "tests/common/InputHandled.h"
#include "tests/common/Screenshot.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/macrowindows/MacroWindowSteps.h"
#include "tests/world/common/NoWorldHost.h"

#include "foundation/Path.h"
#include "foundation/SafeFileName.h"
#include "macrowindows/MacroSelectDialog.h"
#include "res/windows/macro.h"
#include "res/windows/prompts.h"
#include "settings/Preference.h"
#include "world/IRCWorld.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Names = std::vector<CString>;

class TSelectRecorder : public IMacroSelectDialogListener {
public:
    void OnMacroSelectDialogClosed(TMacroSelectDialog*) override { events += "closed "; }
    void OnMacroFilesChanged(TMacroSelectDialog*) override { events += "changed "; }
    void OnMacroFileRenamed(TMacroSelectDialog*, const CString& from, const CString& to) override
    {
        events += "renamed " + std::string(Narrow(from).c_str()) + ">" + Narrow(to).c_str() + " ";
    }
    void OnMacroFileDeleted(TMacroSelectDialog*, const CString& name) override
    {
        events += "deleted " + std::string(Narrow(name).c_str()) + " ";
    }
    std::string events;
};

// Answers the prompt that the next click opens: types the name and confirms, or cancels on null.
void AnswerPrompt(const wchar_t* name, CString* shownText = nullptr)
{
    WhenDialogShown([name, shownText](HWND prompt) {
        if (shownText)
            *shownText = Text(prompt, IDC_INPUT_MESSAGE_TEXT);
        if (!name) {
            Click(prompt, IDCANCEL);
            return;
        }
        Retype(prompt, IDC_INPUT_MESSAGE_TEXT, name);
        Click(prompt, IDOK);
    });
}

class MacroSelectDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        user.config.preference.Load(user.folder.path);
        user.config.view.Load(user.config);
        for (const auto& [name, files] : {std::pair<const wchar_t*, Names>{L"alpha", {L"a"}},
                                          std::pair<const wchar_t*, Names>{L"beta", {L"b", L"gone"}}}) {
            TUnitConfig unit;
            unit.Name = name;
            unit.MacroFiles = files;
            user.config.world.Units.push_back(unit);
        }
        world = std::make_unique<TIRCWorld>(&user.config, &host);
        world->CreateUnitsFromSettings();
        ASSERT_TRUE(WriteFileBytes(user.MacroPath(L"b"), "1\tEncoding=UTF-8\r\n"));
        ASSERT_TRUE(WriteFileBytes(user.MacroPath(L"a"), "1\tEncoding=UTF-8\r\n0\r\n"));
        Open();
    }
    void TearDown() override { delete dialog; }
    // The folder holds "a" and "b" again and the window lists them.
    void ResetFiles()
    {
        std::vector<CString> names;
        FindFileNames(names, user.config.macroFolder + L"*.kmf");
        for (const CString& name : names)
            DeleteFileW(user.config.macroFolder + name);
        WriteFileBytes(user.MacroPath(L"b"), "1\tEncoding=UTF-8\r\n");
        WriteFileBytes(user.MacroPath(L"a"), "1\tEncoding=UTF-8\r\n0\r\n");
        recorder.events.clear();
        dialog->RefreshList();
    }
    void Open()
    {
        // No server tree here: the world's own order stands for it.
        std::vector<TIRCUnit*> servers = world->GetUnits();
        dialog = new TMacroSelectDialog(&user.config, world.get());
        dialog->listener = &recorder;
        dialog->SetServers(servers);
        ASSERT_TRUE(dialog->Create(IDD_MACRO_SELECT, nullptr));
        dialog->ShowWindow(SW_SHOW);
        window = dialog->m_hWnd;
        list = Control(window, IDC_MACRO_SELECT_LIST);
        FocusForInput(list);
    }
    Names Rows()
    {
        Names rows;
        for (int row = 0; row < ListView_GetItemCount(list); row++)
            rows.push_back(ListViewCellText(list, row, 0));
        return rows;
    }
    Names Enabled(int unit) { return world->GetUnits()[unit]->GetSettings().MacroFiles; }
    // Clicks Delete and confirms it; a warning that follows is answered and its text kept.
    void ConfirmDelete(CString& warning)
    {
        warning.Empty();
        WhenDialogShown([this, &warning](HWND box) {
            Click(box, IDOK);
            WhenDialogShown([&warning](HWND next) {
                warning = MessageBoxText(next);
                Click(next, IDOK);
            });
        });
        Click(window, IDC_MACRO_SELECT_DELETE);
    }

    TTempSettings user;
    TNoHost host;
    std::unique_ptr<TIRCWorld> world;
    TSelectRecorder recorder;
    TMacroSelectDialog* dialog = nullptr;
    HWND window = nullptr;
    HWND list = nullptr;
};

} // namespace

TEST_F(MacroSelectDialogTest, FilesAgainstServersAndCellsSwitchedByARightClick)
{
    EXPECT_EQ(Rows(), (Names{L"a", L"b"}));
    EXPECT_EQ(SelectedRow(list), 0);
    HWND header = ListView_GetHeader(list);
    EXPECT_EQ(Header_GetItemCount(header), 3);
    EXPECT_EQ(ListViewCellText(list, 0, 1), CString(L"○"));
    EXPECT_EQ(ListViewCellText(list, 0, 2), CString());
    EXPECT_EQ(ListViewCellText(list, 1, 2), CString(L"○"));
    SaveWindowPng(window, ScreenshotPath(L"macro-select.png"));
    // Names of longer extensions, which the system's pattern also gives through their short names,
    // are no macro files.
    ASSERT_TRUE(WriteFileBytes(user.config.macroFolder + L"c.kmf~", "x"));
    ASSERT_TRUE(WriteFileBytes(user.config.macroFolder + L"longer name.kmfbak", "x"));
    dialog->RefreshList();
    EXPECT_EQ(Rows(), (Names{L"a", L"b"}));

    const struct {
        int row, column;
        Names alpha, beta;
    } clicks[] = {
        {0, 2, {L"a"}, {L"b", L"gone", L"a"}}, {1, 2, {L"a"}, {L"gone", L"a"}}, // "gone" has no row and stays
        {1, 2, {L"a"}, {L"gone", L"a", L"b"}}, {0, 1, {}, {L"gone", L"a", L"b"}},
        {0, 0, {}, {L"gone", L"a", L"b"}}, // the name column switches nothing
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        ClickCell(list, c.row, c.column);
        ClickCell(list, c.row, c.column, true);
        EXPECT_EQ(Enabled(0), c.alpha);
        EXPECT_EQ(Enabled(1), c.beta);
        // Each switch makes the server's engine read its list again.
        EXPECT_EQ(world->GetUnits()[1]->GetMacroManager().GetFileNames(), c.beta);
    }
    EXPECT_EQ(recorder.events, "");

    // A server added: the columns follow the tree, widths of the old ones kept first.
    ListView_SetColumnWidth(list, 2, 77);
    TUnitConfig third;
    third.Name = L"gamma";
    world->AddUnit(third);
    std::vector<TIRCUnit*> servers = world->GetUnits();
    dialog->SaveLayout();
    dialog->SetServers(servers);
    dialog->RebuildColumns();
    dialog->RefreshList();
    EXPECT_EQ(Header_GetItemCount(header), 4);
    EXPECT_EQ(world->GetUnits()[1]->GetSettings().MacroHeaderWidth, 77);

    Click(window, IDCANCEL);
    EXPECT_EQ(recorder.events, "closed ");
    EXPECT_FALSE(::IsWindowVisible(window));
}

TEST_F(MacroSelectDialogTest, TypedNamesMakeCopyAndRenameFilesButNeverOverwrite)
{
    const struct {
        const char* name;
        UINT button;
        int row; // selected before the click
        const wchar_t* typed;
        Names rows;
        const char* events;
        const wchar_t* selected;
    } cases[] = {
        {"copy onto a taken name", IDC_MACRO_SELECT_COPY, 0, L"b", {L"a", L"b", L"b_"}, "", L"b_"},
        {"copy to a new name", IDC_MACRO_SELECT_COPY, 1, L"c", {L"a", L"b", L"c"}, "", L"c"},
        {"rename onto a taken name", IDC_MACRO_SELECT_RENAME, 0, L"b", {L"b", L"b_"}, "renamed a>b_ ", L"b_"},
        {"rename to the same name", IDC_MACRO_SELECT_RENAME, 1, L"b", {L"a", L"b"}, "", L"b"},
        {"cancelled", IDC_MACRO_SELECT_RENAME, 0, nullptr, {L"a", L"b"}, "", L"a"},
        {"new onto a taken name", IDC_MACRO_SELECT_NEW, 0, L"a", {L"a", L"a_", L"b"}, "", L"a_"},
    };
    const CStringA aBytes = ReadFileBytes(user.MacroPath(L"a"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetFiles();
        ClickCell(list, c.row, 0);
        CString shown;
        AnswerPrompt(c.typed, &shown);
        Click(window, c.button);
        // The prompt starts from the selected name, or empty for a new file.
        EXPECT_EQ(shown, c.button == IDC_MACRO_SELECT_NEW ? CString() : CString(c.row == 0 ? L"a" : L"b"));
        if (c.button == IDC_MACRO_SELECT_NEW) {
            // The editor opens on the new, empty file in this window's place.
            ASSERT_TRUE(dialog->GetEditor());
            EXPECT_EQ(dialog->GetEditor()->GetFileName(), CString(c.selected));
            EXPECT_FALSE(::IsWindowVisible(window));
            EXPECT_EQ(ReadFileBytes(user.MacroPath(c.selected)), CStringA());
            SaveWindowPng(dialog->GetEditor()->m_hWnd, ScreenshotPath(L"macro-editor-new-file.png"));
            Click(dialog->GetEditor()->m_hWnd, IDCANCEL);
            EXPECT_FALSE(dialog->GetEditor());
            EXPECT_TRUE(::IsWindowVisible(window));
        }
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(recorder.events, c.events);
        EXPECT_EQ(ListViewCellText(list, SelectedRow(list), 0), CString(c.selected));
        // The file that was there is never touched; a copy holds the source's bytes.
        EXPECT_EQ(ReadFileBytes(user.MacroPath(L"b")), CStringA("1\tEncoding=UTF-8\r\n"));
        if (c.button == IDC_MACRO_SELECT_COPY) {
            EXPECT_EQ(ReadFileBytes(user.MacroPath(c.selected)),
                      c.row == 0 ? aBytes : CStringA("1\tEncoding=UTF-8\r\n"));
        }
    }
}

TEST_F(MacroSelectDialogTest, TypedNamesThatWouldLeaveTheFolderAreRefused)
{
    const CString longest(L'x', kMaxFileNamePart - 4); // with ".kmf" as long as a name can be
    const struct {
        UINT button;
        CString name;
        bool refused;
    } cases[] = {
        {IDC_MACRO_SELECT_NEW, L"..\\evil", true},
        {IDC_MACRO_SELECT_NEW, L"sub/evil", true},
        {IDC_MACRO_SELECT_NEW, L"sub\\evil", true},
        {IDC_MACRO_SELECT_NEW, L"C:evil", true},
        {IDC_MACRO_SELECT_NEW, L"..", true},
        {IDC_MACRO_SELECT_NEW, L"CON", true},
        {IDC_MACRO_SELECT_NEW, L"lpt1", true},
        {IDC_MACRO_SELECT_NEW, L"nul.txt", true},
        {IDC_MACRO_SELECT_NEW, L"com9.kmf", true},
        {IDC_MACRO_SELECT_NEW, L"bad\x01name", true},
        {IDC_MACRO_SELECT_NEW, L"tab\tname", true},
        {IDC_MACRO_SELECT_NEW, L"a?b", true},
        {IDC_MACRO_SELECT_NEW, longest + L"x", true},
        {IDC_MACRO_SELECT_COPY, L"..\\evil", true},
        {IDC_MACRO_SELECT_RENAME, L"aux", true},
        // Names that only look alike are the user's own.
        {IDC_MACRO_SELECT_NEW, L"console", false},
        {IDC_MACRO_SELECT_NEW, L"lpt10", false},
        {IDC_MACRO_SELECT_NEW, L"a..b", false},
        {IDC_MACRO_SELECT_NEW, L".rules", false},
        // With the extension behind them these are names like any other: ".kmf", "..kmf", "rules..kmf".
        {IDC_MACRO_SELECT_NEW, L"", false},
        {IDC_MACRO_SELECT_NEW, L".", false},
        {IDC_MACRO_SELECT_NEW, L"rules.", false},
        {IDC_MACRO_SELECT_NEW, L"rules ", false},
        {IDC_MACRO_SELECT_RENAME, L"a.", false},
        {IDC_MACRO_SELECT_NEW, L"日本語 rules", false},
        {IDC_MACRO_SELECT_NEW, longest, false},
        {IDC_MACRO_SELECT_COPY, L"nul2", false},
        {IDC_MACRO_SELECT_RENAME, L"con_", false},
    };
    const CStringA aBytes = ReadFileBytes(user.MacroPath(L"a"));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " " << Narrow(c.name.Left(20)).c_str());
        ResetFiles();
        if (c.button != IDC_MACRO_SELECT_NEW)
            ClickCell(list, 0, 0);
        CString warning;
        HWND opened = nullptr;
        // The answers go by keyboard, read by each dialog's own loop.
        WhenDialogShown([&](HWND prompt) {
            // Control characters, Japanese and long names come in pasted.
            bool typable = c.name.GetLength() <= 40;
            for (int i = 0; i < c.name.GetLength(); i++)
                typable = typable && c.name[i] >= 0x20 && c.name[i] < 0x7F;
            if (typable)
                Retype(prompt, IDC_INPUT_MESSAGE_TEXT, c.name);
            else
                ::SetDlgItemTextW(prompt, IDC_INPUT_MESSAGE_TEXT, c.name);
            WhenDialogShown([&](HWND next) {
                opened = next;
                if (::GetDlgItem(next, IDC_ROWS_LIST))
                    return; // the editor, on a new file
                // The warning; asked again, the user gives up this time.
                warning = MessageBoxText(next);
                WhenDialogShown([](HWND) { QueueKey(VK_ESCAPE); });
                FocusForInput(Control(next, IDOK));
                QueueKey(VK_RETURN);
            });
            QueueKey(VK_RETURN);
        });
        Click(window, c.button);
        // The editor of a new file opens beside the list, once the prompt is gone.
        if (!c.refused && c.button == IDC_MACRO_SELECT_NEW)
            WaitUntil([&] { return opened != nullptr; }, "the editor shown");
        StopWatching();
        if (c.refused) {
            EXPECT_NE(warning.Find(L"ファイル名に使えません"), -1) << Narrow(warning).c_str();
            EXPECT_EQ(Rows(), (Names{L"a", L"b"}));
            EXPECT_FALSE(dialog->GetEditor());
            EXPECT_EQ(recorder.events, "");
            EXPECT_EQ(CountEntries(user.config.macroFolder), 4); // a, b, files, sounds
        } else {
            EXPECT_EQ(warning, CString());
            EXPECT_EQ(ListViewCellText(list, SelectedRow(list), 0), c.name);
            if (c.button == IDC_MACRO_SELECT_NEW) {
                ASSERT_TRUE(dialog->GetEditor());
                EXPECT_EQ(opened, dialog->GetEditor()->m_hWnd);
                EXPECT_EQ(dialog->GetEditor()->GetFileName(), c.name);
                EXPECT_EQ(ReadFileBytes(user.MacroPath(c.name)), CStringA());
                Click(dialog->GetEditor()->m_hWnd, IDCANCEL);
            } else {
                EXPECT_EQ(ReadFileBytes(user.MacroPath(c.name)), aBytes);
            }
            EXPECT_EQ(CountEntries(user.config.macroFolder), c.button == IDC_MACRO_SELECT_RENAME ? 4 : 5);
        }
        EXPECT_EQ(CountEntries(user.folder.path), 2); // settings, macros
    }
}

// A file named ".kmf" alone is the row of an empty name, and every button works on it.
TEST_F(MacroSelectDialogTest, TheFileOfAnEmptyNameIsARowLikeAnyOther)
{
    const CStringA bytes = "1\tEncoding=UTF-8\r\n0\t\t\t*\r\n";
    ASSERT_TRUE(WriteFileBytes(user.MacroPath(L""), bytes));
    dialog->RefreshList();
    ASSERT_EQ(Rows(), (Names{L"", L"a", L"b"}));
    ClickCell(list, 0, 0);
    EXPECT_TRUE(::Enabled(window, IDC_MACRO_SELECT_EDIT));

    Click(window, IDC_MACRO_SELECT_EDIT);
    ASSERT_TRUE(dialog->GetEditor());
    EXPECT_EQ(dialog->GetEditor()->GetFileName(), CString());
    Click(dialog->GetEditor()->m_hWnd, IDCANCEL);
    EXPECT_FALSE(dialog->GetEditor());

    AnswerPrompt(L"copy");
    Click(window, IDC_MACRO_SELECT_COPY);
    EXPECT_EQ(Rows(), (Names{L"", L"a", L"b", L"copy"}));
    EXPECT_EQ(ReadFileBytes(user.MacroPath(L"copy")), bytes);

    ClickCell(list, 0, 0);
    AnswerPrompt(L"named");
    Click(window, IDC_MACRO_SELECT_RENAME);
    EXPECT_EQ(Rows(), (Names{L"a", L"b", L"copy", L"named"}));
    EXPECT_EQ(ReadFileBytes(user.MacroPath(L"named")), bytes);
    EXPECT_EQ(recorder.events, "renamed >named ");

    ASSERT_TRUE(WriteFileBytes(user.MacroPath(L""), bytes));
    dialog->RefreshList();
    ClickCell(list, 0, 0);
    recorder.events.clear();
    WhenDialogShown([](HWND box) { Click(box, IDOK); });
    Click(window, IDC_MACRO_SELECT_DELETE);
    EXPECT_EQ(Rows(), (Names{L"a", L"b", L"copy", L"named"}));
    EXPECT_FALSE(PathExists(user.MacroPath(L"")));
    EXPECT_EQ(recorder.events, "deleted  changed ");
}

// A server column keeps the width the user dragged it to, however wide, the next time the
// window opens.
TEST_F(MacroSelectDialogTest, ServerColumnsKeepTheWidthsTheUserGaveThem)
{
    world->GetUnits()[0]->SetMacroHeaderWidth(380);
    user.config.geometry.macroSelectSize = {900, 300}; // room to drag the edge out to
    delete dialog;
    Open();
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 380);
    HWND header = ListView_GetHeader(list);
    RECT item = {};
    Header_GetItemRect(header, 1, &item);
    int middle = (item.top + item.bottom) / 2;
    DragMouse(ScreenPointOf(header, item.right - 1, middle), ScreenPointOf(header, item.right + 69, middle));
    int dragged = ListView_GetColumnWidth(list, 1);
    EXPECT_GT(dragged, 430);
    Click(window, IDCANCEL);
    EXPECT_EQ(world->GetUnits()[0]->GetSettings().MacroHeaderWidth, dragged);
    delete dialog;
    Open();
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), dragged);
    SaveWindowPng(window, ScreenshotPath(L"macro-select-wide-column.png"));
    // Only what no column can be is brought into range.
    world->GetUnits()[0]->SetMacroHeaderWidth(-5);
    world->GetUnits()[1]->SetMacroHeaderWidth(5);
    dialog->RebuildColumns();
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 0);
    EXPECT_EQ(ListView_GetColumnWidth(list, 2), 5);
}

TEST_F(MacroSelectDialogTest, AFileColumnDraggedShutStaysShut)
{
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 100) << "a new user's width";
    ExpectColumnStaysShut(list, 0, [&] {
        Click(window, IDCANCEL);
        delete dialog;
        Open();
        return list;
    });
    SaveWindowPng(window, ScreenshotPath(L"macro-select-file-column-shut.png"));
}

TEST_F(MacroSelectDialogTest, DeleteAsksThenTellsTheOwnerAndEditTellsOfTheSave)
{
    ClickCell(list, 1, 0);
    // Cancel in the confirmation keeps the file.
    CString question;
    WhenDialogShown([&](HWND box) {
        question = MessageBoxText(box);
        Click(box, IDCANCEL);
    });
    Click(window, IDC_MACRO_SELECT_DELETE);
    EXPECT_NE(question.Find(L"b を削除します"), -1) << Narrow(question).c_str();
    EXPECT_EQ(Rows(), (Names{L"a", L"b"}));
    EXPECT_EQ(recorder.events, "");
    // A file in use stays: the warning tells it, and no server loses it.
    HANDLE held = CreateFileW(user.MacroPath(L"b"), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CString warning;
    ConfirmDelete(warning);
    EXPECT_TRUE(PumpMessagesUntil([&] { return !warning.IsEmpty(); }, kWaitBoundMs)) << "the warning";
    CloseHandle(held);
    EXPECT_NE(warning.Find(L"b を削除できませんでした"), -1) << Narrow(warning).c_str();
    EXPECT_EQ(Rows(), (Names{L"a", L"b"}));
    EXPECT_EQ(SelectedRow(list), 1);
    EXPECT_EQ(recorder.events, "");
    WhenDialogShown([](HWND box) {
        SaveWindowPng(box, ScreenshotPath(L"macro-select-delete.png"));
        Click(box, IDOK);
    });
    Click(window, IDC_MACRO_SELECT_DELETE);
    EXPECT_EQ(Rows(), Names{L"a"});
    EXPECT_EQ(SelectedRow(list), 0); // the last row went: the new last is selected
    EXPECT_EQ(recorder.events, "deleted b changed ");
    // A file removed from outside meanwhile is gone all the same: no warning, and the owner is told.
    ResetFiles();
    ClickCell(list, 1, 0);
    ASSERT_TRUE(DeleteFileW(user.MacroPath(L"b")));
    ConfirmDelete(warning);
    EXPECT_TRUE(PumpMessagesUntil([&] { return !recorder.events.empty(); }, kWaitBoundMs)) << "the owner was not told";
    StopWatching();
    EXPECT_TRUE(warning.IsEmpty()) << Narrow(warning).c_str();
    EXPECT_EQ(Rows(), Names{L"a"});
    EXPECT_EQ(recorder.events, "deleted b changed ");

    // Enter opens the editor; its OK is a changed file for every server.
    recorder.events.clear();
    FocusForInput(list);
    PressKey(VK_RETURN);
    ASSERT_TRUE(PumpMessagesUntil([&] { return dialog->GetEditor() != nullptr; }, kWaitBoundMs)) << "the editor";
    TMacroEditorDialog* editor = dialog->GetEditor();
    EXPECT_FALSE(::IsWindowVisible(window));
    // Brought back meanwhile (as the frame's command does), it still opens one editor at a time.
    ::ShowWindow(window, SW_SHOW);
    FocusForInput(Control(window, IDC_MACRO_SELECT_EDIT));
    Click(window, IDC_MACRO_SELECT_EDIT);
    EXPECT_EQ(dialog->GetEditor(), editor);
    FocusForInput(Control(editor->m_hWnd, IDOK));
    Click(editor->m_hWnd, IDOK);
    EXPECT_FALSE(dialog->GetEditor());
    EXPECT_EQ(recorder.events, "changed ");
    EXPECT_EQ(ReadFileBytes(user.MacroPath(L"a")), CStringA("1\tEncoding=UTF-8\r\n0\t\t\t\t\t\t\t0\t0\t\t\t\t0\r\n"));

    // A double click is a click on Edit.
    DoubleClickAt(ListViewCellPoint(list, 0, 0));
    ASSERT_TRUE(PumpMessagesUntil([&] { return dialog->GetEditor() != nullptr; }, kWaitBoundMs)) << "the editor";
    Click(dialog->GetEditor()->m_hWnd, IDCANCEL);
    EXPECT_EQ(recorder.events, "changed ");
}

// A file that is there but cannot be read whole is named with the system's reason, and no editor
// opens on cut rows that its OK would write over the file; a readable file opens with its rows.
TEST_F(MacroSelectDialogTest, AFileThatCannotBeReadWholeOpensNoEditor)
{
    const char rules[] = "1\tEncoding=UTF-8\r\n0\t\t\t*\tPRIVMSG\t#a\t*hi*\t0\t0\tsend\t%c\tyo\t0\r\n0\r\n";
    ASSERT_TRUE(WriteFileBytes(user.MacroPath(L"a"), rules));
    HANDLE held = INVALID_HANDLE_VALUE;
    const struct {
        const char* name;
        std::function<void()> before, after;
        DWORD reason;
    } rows[] = {
        {"held without read sharing",
         [&] { held = CreateFileW(user.MacroPath(L"a"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); },
         [&] { CloseHandle(held); }, ERROR_SHARING_VIOLATION},
        {"a read that fails part-way", [] { SimulateReadFailureAfter(20); }, [] { SimulateReadFailureAfter(-1); },
         ERROR_READ_FAULT},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ClickCell(list, 0, 0);
        CString warning;
        WhenDialogShown([&](HWND box) {
            warning = MessageBoxText(box);
            SaveWindowPng(box, ScreenshotPath(L"macro-select-unreadable.png"));
            Click(box, IDOK);
        });
        row.before();
        Click(window, IDC_MACRO_SELECT_EDIT);
        PumpMessagesUntil([&] { return !warning.IsEmpty(); }, kWaitBoundMs);
        row.after();
        StopWatching();
        EXPECT_EQ(warning,
                  L"a を読み込めませんでした。ファイルはそのままです\n(" + GetSystemErrorText(row.reason) + L")");
        EXPECT_FALSE(dialog->GetEditor());
        EXPECT_TRUE(::IsWindowVisible(window));
    }
    ClickCell(list, 0, 0);
    Click(window, IDC_MACRO_SELECT_EDIT);
    ASSERT_TRUE(dialog->GetEditor());
    HWND rowsList = Control(dialog->GetEditor()->m_hWnd, IDC_MACRO_EDITOR_LIST);
    EXPECT_EQ(ListView_GetItemCount(rowsList), 2);
    EXPECT_EQ(ListViewCellText(rowsList, 0, 3), CString(L"*hi*"));
    Click(dialog->GetEditor()->m_hWnd, IDCANCEL);
    EXPECT_EQ(std::string(ReadFileBytes(user.MacroPath(L"a")).GetString()), rules);
}
