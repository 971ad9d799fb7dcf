#include "macrowindows/PopupEditorDialog.h"

#include "classlib/CmdUI.h"
#include "res/strings/macro.h"
#include "settings/Config.h"

#include <algorithm>

namespace {

const SIZE kMinimum = {580, 200};
const SIZE kDefaultSize = {600, 300};
const std::vector<int> kDefaultWidths = {50, 160, 80, 80, 170};
const int kDeepestLevel = 2;

enum TPopupColumn { Level, Name, Action, Target, Argument, ColumnCount };

} // namespace

TPopupEditorDialog::TPopupEditorDialog(TConfig* config) : TRecordListDialog(IDD_POPUP_EDITOR, kMinimum, config) {}

TPopupEditorDialog::~TPopupEditorDialog()
{
    StoreLayout();
    DestroyWindow();
}

void TPopupEditorDialog::StoreLayout()
{
    if (m_hWnd)
        StoreGeometry(config->geometry.popupEditorHeader, config->geometry.popupEditorSize);
}

BOOL TPopupEditorDialog::OnInitDialog()
{
    TRowListDialog::OnInitDialog();
    Anchor(IDC_POPUP_EDITOR_DEFAULTS, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_BOTTOM);

    SetUpList(0);
    InsertColumns({{IDS_POPUP_COLUMN_LEVEL, LVCFMT_RIGHT},
                   {IDS_POPUP_COLUMN_NAME, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_ACTION, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_TARGET, LVCFMT_LEFT},
                   {IDS_MACRO_COLUMN_ARGUMENT, LVCFMT_LEFT}},
                  config->geometry.popupEditorHeader, kDefaultWidths);
    list.DeleteAllItems();
    for (const TPopupItem* item : file.items)
        InsertRow(*item, list.GetItemCount());

    ShowRows(config->geometry.popupEditorSize, kDefaultSize);
    // The focus was placed here.
    return FALSE;
}

TPopupItem TPopupEditorDialog::ReadRow(int row) const
{
    TPopupItem item;
    item.level = (int)wcstol(list.GetItemText(row, Level), nullptr, 10);
    item.name = list.GetItemText(row, Name);
    item.action = list.GetItemText(row, Action);
    item.target = list.GetItemText(row, Target);
    item.actionInfo = list.GetItemText(row, Argument);
    return item;
}

void TPopupEditorDialog::WriteRow(const TPopupItem& item, int row)
{
    CString level;
    level.Format(L"%d", item.level);
    const CString texts[ColumnCount] = {level, item.name, item.action, item.target, item.actionInfo};
    for (int column = 0; column < ColumnCount; column++)
        list.SetItemText(row, column, texts[column]);
}

int TPopupEditorDialog::SelectedLevel() const
{
    int selected = Selected();
    return selected >= 0 ? ReadRow(selected).level : -1;
}

void TPopupEditorDialog::ChangeLevel(int step, bool wrap)
{
    int selected = Selected();
    if (selected < 0)
        return;
    TPopupItem item = ReadRow(selected);
    item.level += step;
    if (wrap && item.level > kDeepestLevel)
        item.level = 0;
    item.level = std::clamp(item.level, 0, kDeepestLevel);
    WriteRow(item, selected);
}

void TPopupEditorDialog::OnRightClick(TListView*) { ChangeLevel(1, true); }

void TPopupEditorDialog::OnAddDefaults()
{
    TPopupFile defaults;
    defaults.SetDefault();
    int at = RowAfterSelection();
    int last = -1;
    for (const TPopupItem* item : defaults.items)
        last = InsertRow(*item, at++);
    SelectRow(last);
}

void TPopupEditorDialog::OnUpdateLeft(CCmdUI* ui)
{
    int level = SelectedLevel();
    ui->Enable(Selected() >= 0 && level > 0);
}

void TPopupEditorDialog::OnUpdateRight(CCmdUI* ui) { ui->Enable(Selected() >= 0 && SelectedLevel() < kDeepestLevel); }

void TPopupEditorDialog::OnOK()
{
    TRowListDialog::OnOK();
    file.Clear();
    for (int row = 0; row < list.GetItemCount(); row++)
        file.items.push_back(new TPopupItem(ReadRow(row)));
    if (listener) {
        listener->OnPopupEditorDialogOK(this);
        // Last: the owner deletes this dialog here.
        listener->OnPopupEditorDialogClose(this);
    }
}

void TPopupEditorDialog::OnCancel()
{
    TRowListDialog::OnCancel();
    if (listener)
        listener->OnPopupEditorDialogClose(this);
}
