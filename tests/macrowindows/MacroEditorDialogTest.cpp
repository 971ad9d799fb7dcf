// The macro file editor as a user meets it: a file opens as rows, rows are added through the
// item dialog, copied, moved, deleted, switched off and inserted from another file, and OK writes
// the rows back while Cancel writes nothing.

#include "tests/common/InputHandled.h"
#include "tests/common/Screenshot.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/macrowindows/MacroWindowSteps.h"

#include "macrowindows/MacroEditorDialog.h"
#include "res/windows/macro.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kHeader[] = "1\tEncoding=UTF-8\r\n";
const char kGreet[] = "0\t\t\t*\tPRIVMSG\t#a\t*hello*\t1\t2\tsend\t%c\thi %n\t1\r\n";
const char kAway[] = "1\t\t\t%me\tJOIN\t\t\t4\t0\tprint\t\taway\t0\r\n";
const char kQuit[] = "0\t\t\t\tQUIT\t\t\t0\t0\traw\t\tPRIVMSG #log :%n left\t0\r\n";

class TEditorRecorder : public IMacroEditorDialogListener {
public:
    void OnMacroFileSaved(TMacroEditorDialog*, bool saved) override { events += saved ? "saved " : "failed "; }
    void OnMacroEditorClosed(TMacroEditorDialog* editor) override
    {
        events += "closed";
        closed = editor;
    }
    std::string events;
    TMacroEditorDialog* closed = nullptr;
};

// Runs the item dialog that the next click opens: the steps run inside it.
void InItemDialog(std::function<void(HWND)> steps) { WhenDialogShown(steps); }

// Opens the editor on the file "rules" as its owner does, shown, with the focus in its list;
// null when the window could not be made.
TMacroEditorDialog* OpenEditor(TTempSettings& user, TEditorRecorder& recorder)
{
    auto* editor = new TMacroEditorDialog(&user.config);
    editor->listener = &recorder;
    editor->SetFileName(L"rules");
    if (!editor->Create(IDD_MACRO_EDITOR, nullptr)) {
        delete editor;
        return nullptr;
    }
    editor->ShowWindow(SW_SHOWNORMAL);
    FocusForInput(Control(editor->m_hWnd, IDC_MACRO_EDITOR_LIST));
    return editor;
}

struct TEditorCase {
    const char* name;
    std::string before;                    // the file's bytes when the editor opens
    std::function<void(HWND, HWND)> steps; // window, list
    std::string after;                     // the file's bytes after OK or Cancel
    const char* events;
};

} // namespace

TEST(MacroEditorDialogTest, RowsAreEditedAndOnlyOKWritesThem)
{
    const std::string three = std::string(kHeader) + kGreet + kAway + kQuit;
    const TEditorCase cases[] = {
        {"confirmed unchanged", three, [](HWND w, HWND) { Click(w, IDOK); }, three, "saved closed"},
        {"cancelled after a delete", three,
         [](HWND w, HWND) {
             Click(w, IDC_MACRO_EDITOR_DELETE);
             Click(w, IDCANCEL);
         },
         three, "closed"},
        {"empty list", three,
         [](HWND w, HWND list) {
             for (int i = 0; i < 3; i++)
                 Click(w, IDC_MACRO_EDITOR_DELETE);
             EXPECT_EQ(SelectedRow(list), -1);
             EXPECT_FALSE(Enabled(w, IDC_MACRO_EDITOR_EDIT));
             EXPECT_FALSE(Enabled(w, IDC_MACRO_EDITOR_COPY));
             EXPECT_FALSE(Enabled(w, IDC_MACRO_EDITOR_DELETE));
             EXPECT_FALSE(Enabled(w, IDC_MACRO_EDITOR_UP));
             EXPECT_FALSE(Enabled(w, IDC_MACRO_EDITOR_DOWN));
             Click(w, IDOK);
         },
         kHeader, "saved closed"},
        {"deleting the last row selects the new last", three,
         [](HWND w, HWND list) {
             ClickCell(list, 2, 1);
             EXPECT_FALSE(Enabled(w, IDC_MACRO_EDITOR_DOWN));
             Click(w, IDC_MACRO_EDITOR_DELETE);
             EXPECT_EQ(SelectedRow(list), 1);
             Click(w, IDOK);
         },
         std::string(kHeader) + kGreet + kAway, "saved closed"},
        {"up, down and copy", three,
         [](HWND w, HWND list) {
             EXPECT_FALSE(Enabled(w, IDC_MACRO_EDITOR_UP));
             Click(w, IDC_MACRO_EDITOR_DOWN); // greet below away
             EXPECT_EQ(SelectedRow(list), 1);
             Click(w, IDC_MACRO_EDITOR_COPY); // a second greet below it
             EXPECT_EQ(SelectedRow(list), 2);
             ClickCell(list, 3, 1);
             Click(w, IDC_MACRO_EDITOR_UP); // quit above the copy
             Click(w, IDOK);
         },
         std::string(kHeader) + kAway + kGreet + kQuit + kGreet, "saved closed"},
        {"a cleared box disables the rule, a ticked one enables it", three,
         [](HWND w, HWND list) {
             for (int row : {0, 1}) {
                 bool ticked = ListView_GetCheckState(list, row) != FALSE;
                 ClickAt(ListViewCheckBoxPoint(list, row));
                 WaitUntil([&] { return (ListView_GetCheckState(list, row) != FALSE) != ticked; }, "the box flipped");
             }
             // Enter opens the row's rule; the item dialog leaves the box alone.
             InItemDialog([](HWND item) { Click(item, IDOK); });
             PressKey(VK_RETURN);
             Click(w, IDOK);
         },
         std::string(kHeader) + "1" + std::string(kGreet).substr(1) + "0" + std::string(kAway).substr(1) + kQuit,
         "saved closed"},
        {"a double click on another rule's box edits that rule as it was", three,
         [](HWND w, HWND list) {
             CString command;
             InItemDialog([&](HWND item) {
                 command = GetControlText(Control(item, IDC_MACRO_ITEM_COMMAND));
                 Click(item, IDOK);
             });
             DoubleClickAt(ListViewCheckBoxPoint(list, 1));
             WaitUntil([&] { return !command.IsEmpty(); }, "the item dialog answered");
             EXPECT_EQ(command, CString(L"JOIN"));
             EXPECT_EQ(SelectedRow(list), 1);
             EXPECT_FALSE(ListView_GetCheckState(list, 1));
             Click(w, IDOK);
         },
         three, "saved closed"},
        {"new after the selected row, made in the item dialog", three,
         [](HWND w, HWND list) {
             InItemDialog([](HWND item) {
                 Retype(item, IDC_MACRO_ITEM_COMMAND, L"PRIVMSG");
                 Retype(item, IDC_MACRO_ITEM_MESSAGE, L"*bye*");
                 Retype(item, IDC_MACRO_ITEM_ACTION, L"send");
                 Retype(item, IDC_MACRO_ITEM_TARGET, L"%c");
                 Retype(item, IDC_MACRO_ITEM_ARGUMENT, L"see you");
                 Click(item, IDOK);
             });
             Click(w, IDC_MACRO_EDITOR_NEW);
             EXPECT_EQ(SelectedRow(list), 1);
             EXPECT_EQ(ListViewCellText(list, 1, 3), CString(L"*bye*"));
             Click(w, IDOK);
         },
         std::string(kHeader) + kGreet + "0\t\t\t\tPRIVMSG\t\t*bye*\t0\t0\tsend\t%c\tsee you\t0\r\n" + kAway + kQuit,
         "saved closed"},
        // Odd values are shown as the editor knows them and saved so.
        {"an unknown state and a hand-written comment",
         std::string(kHeader) + "# mine\r\n0\t\t\t\t\t\t\t9\t0\t\t\t\t7\r\n",
         [](HWND w, HWND list) {
             EXPECT_EQ(ListViewCellText(list, 0, 4), CString());
             EXPECT_EQ(ListViewCellText(list, 0, 9), CString(L"○"));
             Click(w, IDOK);
         },
         std::string(kHeader) + "0\t\t\t\t\t\t\t0\t0\t\t\t\t1\r\n", "saved closed"},
        {"a missing file opens empty", "",
         [](HWND w, HWND list) {
             EXPECT_EQ(ListView_GetItemCount(list), 0);
             Click(w, IDOK);
         },
         kHeader, "saved closed"},
    };
    for (const TEditorCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTempSettings user;
        CString path = user.MacroPath(L"rules");
        if (!c.before.empty()) {
            ASSERT_TRUE(WriteFileBytes(path, c.before.c_str()));
        }
        TEditorRecorder recorder;
        TMacroEditorDialog* editor = OpenEditor(user, recorder);
        ASSERT_TRUE(editor);
        HWND window = editor->m_hWnd;
        HWND list = Control(window, IDC_MACRO_EDITOR_LIST);
        EXPECT_EQ(SelectedRow(list), ListView_GetItemCount(list) > 0 ? 0 : -1);
        if (&c == &cases[0]) {
            wchar_t caption[128] = {};
            ::GetWindowTextW(window, caption, 128);
            EXPECT_EQ(CString(caption), CString(L"マクロファイルの編集 - rules"));
            EXPECT_EQ(ListViewCellText(list, 0, 4), CString(L"+o"));
            EXPECT_EQ(ListViewCellText(list, 0, 5), CString(L"-o"));
            EXPECT_EQ(ListViewCellText(list, 1, 4), CString(L"-a"));
            EXPECT_FALSE(ListView_GetCheckState(list, 1));
            SaveWindowPng(window, ScreenshotPath(L"macro-editor.png"));
        }
        c.steps(window, list);
        PumpMessagesUntil([&] { return recorder.closed != nullptr; }, 3000);
        EXPECT_EQ(recorder.events, c.events);
        EXPECT_EQ(std::string(ReadFileBytes(path).GetString()), c.after);
        delete editor;
    }
}

TEST(MacroEditorDialogTest, AColumnDraggedShutStaysShutNextTime)
{
    TTempSettings user;
    TEditorRecorder recorder;
    TMacroEditorDialog* editor = OpenEditor(user, recorder);
    ASSERT_TRUE(editor);
    ExpectColumnStaysShut(Control(editor->m_hWnd, IDC_MACRO_EDITOR_LIST), 2, [&] {
        Click(editor->m_hWnd, IDCANCEL);
        delete editor;
        editor = OpenEditor(user, recorder);
        return editor ? Control(editor->m_hWnd, IDC_MACRO_EDITOR_LIST) : nullptr;
    });
    SaveWindowPng(editor->m_hWnd, ScreenshotPath(L"macro-editor-column-shut.png"));
    delete editor;
}

TEST(MacroEditorDialogTest, InsertFilePutsTheOtherRulesBeforeTheSelectedRow)
{
    TTempSettings user;
    ASSERT_TRUE(WriteFileBytes(user.MacroPath(L"rules"), (std::string(kHeader) + kGreet + kAway + kQuit).c_str()));
    ASSERT_TRUE(WriteFileBytes(user.MacroPath(L"extra"), (std::string(kHeader) + kQuit + kQuit).c_str()));
    const struct {
        int selectRow; // -1: none
        const char* pick;
        std::string after;
    } cases[] = {
        {2, "extra", std::string(kHeader) + kGreet + kAway + kQuit + kQuit + kQuit},
        {-1, "extra", std::string(kHeader) + kGreet + kAway + kQuit + kQuit + kQuit},
        {1, "", std::string(kHeader) + kGreet + kAway + kQuit}, // nothing picked: nothing inserted
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selectRow);
        ASSERT_TRUE(WriteFileBytes(user.MacroPath(L"rules"), (std::string(kHeader) + kGreet + kAway + kQuit).c_str()));
        TEditorRecorder recorder;
        TMacroEditorDialog* editor = OpenEditor(user, recorder);
        ASSERT_TRUE(editor);
        HWND window = editor->m_hWnd;
        HWND list = Control(window, IDC_MACRO_EDITOR_LIST);
        if (c.selectRow >= 0) {
            ClickCell(list, c.selectRow, 1);
        } else {
            ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        }
        WhenDialogShown([&](HWND picker) {
            EXPECT_EQ(Text(picker, IDC_SELECT_FOLDER), user.config.macroFolder);
            if (*c.pick)
                ClickAt(ListBoxRowPoint(Control(picker, IDC_SELECT_LIST), 0)); // "extra" sorts first
            Click(picker, IDOK);
        });
        Click(window, IDC_MACRO_EDITOR_INSERT_FILE);
        // The selection stays on the row it was on.
        EXPECT_EQ(SelectedRow(list), c.selectRow >= 0 && *c.pick ? c.selectRow + 2 : c.selectRow);
        Click(window, IDOK);
        PumpMessagesUntil([&] { return recorder.closed != nullptr; }, 3000);
        EXPECT_EQ(std::string(ReadFileBytes(user.MacroPath(L"rules")).GetString()), c.after);
        EXPECT_EQ(std::string(ReadFileBytes(user.MacroPath(L"extra")).GetString()),
                  std::string(kHeader) + kQuit + kQuit);
        delete editor;
    }
}

TEST(MacroEditorDialogTest, AFailedSaveSaysSoAndKeepsTheOldFileAndTheRows)
{
    TTempSettings user;
    const std::string before = std::string(kHeader) + kGreet + kAway;
    ASSERT_TRUE(WriteFileBytes(user.MacroPath(L"rules"), before.c_str()));
    TEditorRecorder recorder;
    TMacroEditorDialog* editor = OpenEditor(user, recorder);
    ASSERT_TRUE(editor);
    HWND window = editor->m_hWnd;
    HWND list = Control(window, IDC_MACRO_EDITOR_LIST);
    Click(window, IDC_MACRO_EDITOR_DELETE);
    // Another program holds the file open without sharing: it cannot be replaced.
    HANDLE held = CreateFileW(user.MacroPath(L"rules"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CString warning;
    bool ownerShown = false;
    WhenDialogShown([&](HWND box) {
        warning = MessageBoxText(box);
        ownerShown = ::GetWindow(box, GW_OWNER) == window && ::IsWindowVisible(window);
        SaveWindowPng(box, ScreenshotPath(L"macro-editor-save-failed.png"));
        Click(box, IDOK);
    });
    Click(window, IDOK);
    StopWatching();
    EXPECT_EQ(recorder.events, "failed ");
    EXPECT_EQ(warning, CString(L"rules を保存できませんでした。元のファイルはそのままです"));
    EXPECT_TRUE(ownerShown);
    CloseHandle(held);
    EXPECT_EQ(std::string(ReadFileBytes(user.MacroPath(L"rules")).GetString()), before);
    // The rows are still there: once the file is free, OK saves them.
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(ListView_GetItemCount(list), 1);
    FocusForInput(list);
    Click(window, IDOK);
    PumpMessagesUntil([&] { return recorder.closed != nullptr; }, 3000);
    EXPECT_EQ(recorder.events, "failed saved closed");
    EXPECT_EQ(std::string(ReadFileBytes(user.MacroPath(L"rules")).GetString()), std::string(kHeader) + kAway);
    delete editor;
}
