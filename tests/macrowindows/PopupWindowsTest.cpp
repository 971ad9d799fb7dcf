// The popup item dialog and the popup menu editor as a user meets them: items come in and go
// out unchanged, typed actions switch the target and browse controls, and the editor's rows are
// added, copied, moved, deleted and moved between levels before OK hands the menu back.

#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/irc/IrcTestSupport.h"
#include "tests/macrowindows/MacroWindowSteps.h"

#include "macrowindows/PopupEditorDialog.h"
#include "macrowindows/PopupItemDialog.h"
#include "res/windows/macro.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The menu as its file holds it, one line per item after the encoding line.
std::string FileText(const TPopupFile& file, const TTempSettings& user)
{
    CString path = user.config.settingsFolder + L"check.kcf";
    EXPECT_TRUE(file.Save(path));
    return ReadFileBytes(path).GetString();
}

std::string Menu(std::initializer_list<const char*> lines)
{
    std::string text = "#Encoding=UTF-8\r\n";
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

void Load(TPopupFile& file, const TTempSettings& user, const std::string& text)
{
    CString path = user.config.settingsFolder + L"in.kcf";
    WriteFileBytes(path, text.c_str());
    file.Load(path);
}

class TEditorRecorder : public IPopupEditorDialogListener {
public:
    void OnPopupEditorDialogOK(TPopupEditorDialog*) override { events += "ok "; }
    void OnPopupEditorDialogClose(TPopupEditorDialog*) override { events += "close"; }
    std::string events;
};

} // namespace

TEST(PopupWindowsTest, ItemDialogHandsBackWhatWasTypedAndSwitchesTargetAndBrowse)
{
    TPopupItem full;
    full.level = 2;
    full.name = L"&Greet\\tCtrl+G";
    full.action = L"Send";
    full.target = L"%a";
    full.actionInfo = L"hello %s";
    full.commandId = 45060;
    const struct {
        const char* name;
        TPopupItem in;
        std::function<void(HWND)> steps;
        int level;
        const wchar_t *caption, *action, *target, *info;
    } cases[] = {
        {"confirmed unchanged", full, [](HWND w) { Click(w, IDOK); }, 2, full.name, L"Send", L"%a", L"hello %s"},
        {"cancelled", full,
         [](HWND w) {
             Retype(w, IDC_POPUP_ITEM_NAME, L"x");
             Click(w, IDCANCEL);
         },
         2, full.name, L"Send", L"%a", L"hello %s"},
        {"typed", TPopupItem(),
         [](HWND w) {
             Retype(w, IDC_POPUP_ITEM_NAME, L"&Part");
             Retype(w, IDC_POPUP_ITEM_ACTION, L"part");
             Retype(w, IDC_POPUP_ITEM_TARGET, L"#room");
             Retype(w, IDC_POPUP_ITEM_ARGUMENT, L"bye");
             Click(w, IDOK);
         },
         0, L"&Part", L"part", L"#room", L"bye"},
        {"all empty", full,
         [](HWND w) {
             // The target before the action: without an action the target box is disabled.
             for (int id : {IDC_POPUP_ITEM_NAME, IDC_POPUP_ITEM_TARGET, IDC_POPUP_ITEM_ACTION, IDC_POPUP_ITEM_ARGUMENT})
                 Retype(w, id, L"");
             Click(w, IDOK);
         },
         2, L"", L"", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPopupItemDialog dialog;
        dialog.item = c.in;
        RunDialog(dialog, [&](HWND window) {
            if (&c == &cases[0]) {
                EXPECT_EQ(::GetFocus(), Control(window, IDC_POPUP_ITEM_NAME));
                EXPECT_EQ(::SendDlgItemMessageW(window, IDC_POPUP_ITEM_ACTION, CB_GETCOUNT, 0, 0), 31);
                EXPECT_EQ(::SendDlgItemMessageW(window, IDC_POPUP_ITEM_TARGET, CB_GETCOUNT, 0, 0), 1);
                PumpPendingMessages();
                SaveWindowPng(window, ScreenshotPath(L"popup-item-dialog.png"));
            }
            c.steps(window);
        });
        EXPECT_EQ(dialog.item.level, c.level);
        EXPECT_EQ(dialog.item.name, CString(c.caption));
        EXPECT_EQ(dialog.item.action, CString(c.action));
        EXPECT_EQ(dialog.item.target, CString(c.target));
        EXPECT_EQ(dialog.item.actionInfo, CString(c.info));
        EXPECT_EQ(dialog.item.commandId, c.in.commandId);
    }

    const struct {
        const wchar_t* action;
        bool target, browse;
    } rules[] = {
        {L"Menu", false, true},    {L"OpenURL", false, false},  {L"Join", false, false},
        {L"", false, false},       {L"Topic", true, false},     {L"DllCall", true, false},
        {L"EXECUTE", false, true}, {L"playsound", false, true}, {L"ChannelCondition", true, true},
    };
    TPopupItemDialog dialog;
    RunDialog(dialog, [&](HWND window) {
        for (const auto& r : rules) {
            SCOPED_TRACE(Narrow(r.action).c_str());
            Retype(window, IDC_POPUP_ITEM_ACTION, r.action);
            EXPECT_EQ(Enabled(window, IDC_POPUP_ITEM_TARGET), r.target);
            EXPECT_EQ(Enabled(window, IDC_POPUP_ITEM_BROWSE), r.browse);
        }
        // The menu command picker, then a name past the limit.
        Retype(window, IDC_POPUP_ITEM_ACTION, L"Menu");
        Retype(window, IDC_POPUP_ITEM_ARGUMENT, L"popupmenu");
        WhenDialogShown([](HWND picker) {
            HWND list = Control(picker, IDC_SELECT_LIST);
            EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 68);
            Click(picker, IDOK);
        });
        Click(window, IDC_POPUP_ITEM_BROWSE);
        EXPECT_EQ(Text(window, IDC_POPUP_ITEM_ARGUMENT), CString(L"PopupMenu"));
        std::wstring longText(10005, L'y');
        ::SetFocus(Control(window, IDC_POPUP_ITEM_NAME));
        ::SendDlgItemMessageW(window, IDC_POPUP_ITEM_NAME, EM_REPLACESEL, TRUE, (LPARAM)longText.c_str());
        EXPECT_EQ(Text(window, IDC_POPUP_ITEM_NAME).GetLength(), 10000);
        Click(window, IDCANCEL);
    });
}

TEST(PopupWindowsTest, EditorRowsBecomeTheMenuOnOKOnly)
{
    TTempSettings user;
    const std::string three = Menu({"0\t&Greet\tsend\t%n\thello", "1\t-\t\t\t", "2\t&Join\tjoin\t\t#beta"});
    const struct {
        const char* name;
        std::string before;
        std::function<void(HWND, HWND)> steps;
        const char* events;
        std::string after; // the working copy after the editor closed
    } cases[] = {
        {"confirmed unchanged", three, [](HWND w, HWND) { Click(w, IDOK); }, "ok close", three},
        {"cancelled after changes", three,
         [](HWND w, HWND) {
             Click(w, IDC_POPUP_EDITOR_DELETE);
             Click(w, IDCANCEL);
         },
         "close", three},
        {"levels by buttons and right clicks", three,
         [](HWND w, HWND list) {
             EXPECT_FALSE(Enabled(w, IDC_POPUP_EDITOR_LEFT));
             // Each click waits out the double-click time: Wine takes a quick second click on a
             // button for half of a double click.
             for (int i = 0; i < 2; i++)
                 Click(w, IDC_POPUP_EDITOR_RIGHT);
             EXPECT_FALSE(Enabled(w, IDC_POPUP_EDITOR_RIGHT));
             ClickCell(list, 1, 1);
             for (int i = 0; i < 3; i++) // around and back where it was
                 ClickCell(list, 1, 1, true);
             ClickCell(list, 2, 1);
             ClickCell(list, 2, 1, true); // 2 wraps to 0
             Click(w, IDOK);
         },
         "ok close", Menu({"2\t&Greet\tsend\t%n\thello", "1\t-\t\t\t", "0\t&Join\tjoin\t\t#beta"})},
        {"copy, move and delete", three,
         [](HWND w, HWND list) {
             Click(w, IDC_POPUP_EDITOR_COPY);
             EXPECT_EQ(SelectedRow(list), 1);
             Click(w, IDC_POPUP_EDITOR_DOWN);
             Click(w, IDC_POPUP_EDITOR_DOWN);
             EXPECT_FALSE(Enabled(w, IDC_POPUP_EDITOR_DOWN));
             ClickCell(list, 1, 1);
             Click(w, IDC_POPUP_EDITOR_UP);
             ClickCell(list, 3, 1);
             Click(w, IDC_POPUP_EDITOR_DELETE);
             EXPECT_EQ(SelectedRow(list), 2); // the row above the deleted last
             Click(w, IDOK);
         },
         "ok close", Menu({"1\t-\t\t\t", "0\t&Greet\tsend\t%n\thello", "2\t&Join\tjoin\t\t#beta"})},
        {"new on an empty menu, then the defaults twice", Menu({}),
         [](HWND w, HWND list) {
             for (int id : {IDC_POPUP_EDITOR_EDIT, IDC_POPUP_EDITOR_COPY, IDC_POPUP_EDITOR_DELETE, IDC_POPUP_EDITOR_UP,
                            IDC_POPUP_EDITOR_DOWN, IDC_POPUP_EDITOR_LEFT, IDC_POPUP_EDITOR_RIGHT})
                 EXPECT_FALSE(Enabled(w, id)) << id;
             WhenDialogShown([](HWND item) {
                 Retype(item, IDC_POPUP_ITEM_NAME, L"&Away");
                 Retype(item, IDC_POPUP_ITEM_ACTION, L"away");
                 Retype(item, IDC_POPUP_ITEM_ARGUMENT, L"lunch");
                 Click(item, IDOK);
             });
             Click(w, IDC_POPUP_EDITOR_NEW);
             EXPECT_EQ(SelectedRow(list), 0);
             Click(w, IDC_POPUP_EDITOR_DEFAULTS);
             EXPECT_EQ(SelectedRow(list), 9);
             ClickCell(list, 0, 1);
             Click(w, IDC_POPUP_EDITOR_DEFAULTS); // right after the first row
             EXPECT_EQ(ListView_GetItemCount(list), 19);
             Click(w, IDOK);
         },
         "ok close", ""},
        {"OK on an empty list", three,
         [](HWND w, HWND) {
             for (int i = 0; i < 3; i++)
                 Click(w, IDC_POPUP_EDITOR_DELETE);
             Click(w, IDOK);
         },
         "ok close", Menu({})},
        // A line end in a field stays in its one item.
        {"a field with line ends", Menu({"0\tTwo\traw\t\tPRIVMSG #a :one\\r\\nPRIVMSG #a :two"}),
         [](HWND w, HWND) { Click(w, IDOK); }, "ok close",
         Menu({"0\tTwo\traw\t\tPRIVMSG #a :one\\r\\nPRIVMSG #a :two"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TEditorRecorder recorder;
        auto* editor = new TPopupEditorDialog(&user.config);
        editor->listener = &recorder;
        Load(editor->file, user, c.before);
        ASSERT_TRUE(editor->Create(IDD_POPUP_EDITOR, nullptr));
        editor->ShowWindow(SW_SHOW);
        HWND window = editor->m_hWnd;
        HWND list = Control(window, IDC_POPUP_EDITOR_LIST);
        FocusForInput(list);
        if (&c == &cases[0]) {
            EXPECT_EQ(ListViewCellText(list, 2, 0), CString(L"2"));
            EXPECT_EQ(ListViewCellText(list, 0, 4), CString(L"hello"));
            SaveWindowPng(window, ScreenshotPath(L"popup-editor.png"));
        }
        c.steps(window, list);
        EXPECT_EQ(recorder.events, c.events);
        if (!c.after.empty()) {
            EXPECT_EQ(FileText(editor->file, user), c.after);
        } else {
            // The new item, then the defaults after it, then the defaults again after the first row.
            ASSERT_EQ(editor->file.items.size(), 19u);
            EXPECT_EQ(editor->file.items[0]->name, CString(L"&Away"));
            EXPECT_EQ(editor->file.items[1]->actionInfo, CString(L"Nick"));
            EXPECT_EQ(editor->file.items[10]->actionInfo, CString(L"Nick"));
            EXPECT_EQ(editor->file.items[18]->actionInfo, CString(L"SelectAll"));
        }
        delete editor;
    }

    // The size and the column widths come back as they were left.
    auto* editor = new TPopupEditorDialog(&user.config);
    ASSERT_TRUE(editor->Create(IDD_POPUP_EDITOR, nullptr));
    editor->ShowWindow(SW_SHOW);
    ListView_SetColumnWidth(Control(editor->m_hWnd, IDC_POPUP_EDITOR_LIST), 1, 123);
    editor->SetWindowPos(nullptr, 0, 0, 300, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT rect = {};
    editor->GetWindowRect(&rect);
    EXPECT_EQ(rect.right - rect.left, 580); // never smaller than this
    EXPECT_EQ(rect.bottom - rect.top, 200);
    ExpectColumnStaysShut(Control(editor->m_hWnd, IDC_POPUP_EDITOR_LIST), 3, [&] {
        delete editor;
        editor = new TPopupEditorDialog(&user.config);
        return editor->Create(IDD_POPUP_EDITOR, nullptr) ? Control(editor->m_hWnd, IDC_POPUP_EDITOR_LIST) : nullptr;
    });
    editor->GetWindowRect(&rect);
    EXPECT_EQ(rect.right - rect.left, 580);
    delete editor;
}
