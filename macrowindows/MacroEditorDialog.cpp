#include "macrowindows/MacroEditorDialog.h"

#include "dialogs/MessageBoxes.h"
#include "dialogs/PickDialogs.h"
#include "foundation/ResourceString.h"
#include "res/strings/macro.h"
#include "res/strings/script.h"
#include "settings/Config.h"

#include <iterator>

namespace {

const SIZE kMinimum = {540, 200};
const SIZE kDefaultSize = {560, 300};
const std::vector<int> kDefaultWidths = {80, 50, 60, 70, 30, 30, 40, 40, 70, 30};

enum TMacroColumn { User, Command, Channel, Message, Own, Sender, Action, Target, Argument, Stop, ColumnCount };

// The state codes of the two state columns, by stored state; no condition and anything unknown
// show empty.
const wchar_t* const kStateCodes[] = {L"", L"+o", L"-o", L"+a", L"-a"};
static_assert(std::size(kStateCodes) == OwnNotAway + 1);

CString StateCode(int state) { return state > OwnAny && state <= OwnNotAway ? kStateCodes[state] : L""; }

int StateFromCode(const CString& code)
{
    for (int state = OwnOperator; state <= OwnNotAway; state++)
        if (code == kStateCodes[state])
            return state;
    return OwnAny;
}

} // namespace

TMacroEditorDialog::TMacroEditorDialog(TConfig* config) : TRecordListDialog(IDD_MACRO_EDITOR, kMinimum, config) {}

TMacroEditorDialog::~TMacroEditorDialog()
{
    if (m_hWnd)
        StoreGeometry(config->geometry.macroEditorHeader, config->geometry.macroEditorSize);
    DestroyWindow();
}

BOOL TMacroEditorDialog::OnInitDialog()
{
    TRowListDialog::OnInitDialog();
    for (UINT id : {IDC_ROWS_NEW, IDC_ROWS_EDIT, IDC_ROWS_COPY, IDC_ROWS_DELETE, IDC_ROWS_UP, IDC_ROWS_DOWN})
        Anchor(id, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_TOP);
    Anchor(IDC_MACRO_EDITOR_INSERT_FILE, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_BOTTOM);
    SetWindowText(GetWindowText() + L" - " + fileName);
    stopMark = LoadResourceString(IDS_SCRIPT_ENABLED_MARK);

    SetUpList(LVS_EX_CHECKBOXES);
    InsertColumns({{IDS_MACRO_COLUMN_USER, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_COMMAND, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_CHANNEL, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_MESSAGE, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_OWN, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_SENDER, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_ACTION, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_TARGET, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_ARGUMENT, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_STOP, LVCFMT_LEFT}},
                  config->geometry.macroEditorHeader, kDefaultWidths);

    file.folder = config->GetMacroFolder();
    file.name = fileName;
    file.Read();
    list.DeleteAllItems();
    for (const TMacroItem* item : file.items)
        InsertRow(*item, list.GetItemCount());

    ShowRows(config->geometry.macroEditorSize, kDefaultSize);
    // The focus was placed here.
    return FALSE;
}

void TMacroEditorDialog::SetTopMost(bool value)
{
    topMost = value;
    SetWindowPos(value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TMacroItem TMacroEditorDialog::ReadRow(int row) const
{
    TMacroItem item;
    item.disabled = !ListView_GetCheckState(list.m_hWnd, row);
    item.user = list.GetItemText(row, User);
    item.command = list.GetItemText(row, Command);
    item.channel = list.GetItemText(row, Channel);
    item.message = list.GetItemText(row, Message);
    item.ownState = StateFromCode(list.GetItemText(row, Own));
    item.senderState = StateFromCode(list.GetItemText(row, Sender));
    item.action = list.GetItemText(row, Action);
    item.target = list.GetItemText(row, Target);
    item.argument = list.GetItemText(row, Argument);
    item.stop = !list.GetItemText(row, Stop).IsEmpty();
    return item;
}

void TMacroEditorDialog::WriteRow(const TMacroItem& item, int row)
{
    const CString texts[ColumnCount] = {item.user,
                                        item.command,
                                        item.channel,
                                        item.message,
                                        StateCode(item.ownState),
                                        StateCode(item.senderState),
                                        item.action,
                                        item.target,
                                        item.argument,
                                        item.stop ? stopMark : CString()};
    for (int column = 0; column < ColumnCount; column++)
        list.SetItemText(row, column, texts[column]);
    ListView_SetCheckState(list.m_hWnd, row, !item.disabled);
}

void TMacroEditorDialog::OnInsertFile()
{
    TSelectMacroDialog picker;
    picker.m_pParentWnd = this;
    picker.SetFolder(config->GetMacroFolder());
    if (picker.DoModal() != IDOK || picker.GetFileName().IsEmpty())
        return;
    TMacroFile inserted(config->GetMacroFolder(), picker.GetFileName());
    inserted.Read();
    int selected = Selected();
    int at = selected >= 0 ? selected : list.GetItemCount();
    for (const TMacroItem* item : inserted.items)
        InsertRow(*item, at++);
}

void TMacroEditorDialog::OnOK()
{
    file.Clear();
    for (int row = 0; row < list.GetItemCount(); row++)
        file.items.push_back(new TMacroItem(ReadRow(row)));
    if (!file.Write()) {
        // The window stays with the rows, so nothing typed is lost: the user may try again or
        // cancel. The box stands over the window it speaks of.
        CString text;
        text.Format(LoadResourceString(IDS_MACRO_SAVE_FAILED), fileName.GetString());
        ShowWarningMessage(m_hWnd, text, CString());
        if (listener)
            listener->OnMacroFileSaved(this, false);
        return;
    }
    TRowListDialog::OnOK();
    if (listener) {
        listener->OnMacroFileSaved(this, true);
        // Last: the owner deletes this window here.
        listener->OnMacroEditorClosed(this);
    }
}

void TMacroEditorDialog::OnCancel()
{
    TRowListDialog::OnCancel();
    if (listener)
        listener->OnMacroEditorClosed(this);
}
