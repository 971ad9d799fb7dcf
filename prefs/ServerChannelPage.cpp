#include "prefs/ServerChannelPage.h"

#include "classlib/CmdUI.h"
#include "dialogs/ChannelDialog.h"
#include "foundation/ResourceString.h"
#include "res/resource.h"

namespace {

enum Column { ColumnName, ColumnPassword, ColumnMode, ColumnTopic, ColumnUpdate, ColumnConsole, ColumnKeyword };
const int kColumnCount = 7;

const struct {
    UINT heading;
    int format;
} kColumns[kColumnCount] = {
    {IDS_SERVER_CHANNEL_COLUMN_NAME, LVCFMT_LEFT},      {IDS_SERVER_CHANNEL_COLUMN_PASSWORD, LVCFMT_LEFT},
    {IDS_SERVER_CHANNEL_COLUMN_MODE, LVCFMT_LEFT},      {IDS_SERVER_CHANNEL_COLUMN_TOPIC, LVCFMT_LEFT},
    {IDS_SERVER_CHANNEL_COLUMN_UPDATE, LVCFMT_CENTER},  {IDS_SERVER_CHANNEL_COLUMN_CONSOLE, LVCFMT_CENTER},
    {IDS_SERVER_CHANNEL_COLUMN_KEYWORD, LVCFMT_CENTER},
};

CString MarkText(bool on) { return on ? LoadResourceString(IDS_SCRIPT_ENABLED_MARK) : CString(); }

} // namespace

TServerChannelPage::TServerChannelPage() : TServerPage(IDD_SERVER_CHANNEL_PAGE), list(this) {}

BOOL TServerChannelPage::OnInitDialog()
{
    list.SubclassWindow(Item(IDC_SERVER_CHANNEL_LIST));
    initialised = true;
    for (int i = 0; i < kColumnCount; i++) {
        CString heading = LoadResourceString(kColumns[i].heading);
        int width = columnWidths && i < (int)columnWidths->size() ? (*columnWidths)[i] : 60;
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = kColumns[i].format;
        column.cx = width;
        column.pszText = heading.GetBuffer(heading.GetLength() + 1);
        list.SendMessage(LVM_INSERTCOLUMNW, i, (LPARAM)&column);
        heading.ReleaseBuffer();
    }
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    return TPropertyPage::OnInitDialog();
}

void TServerChannelPage::Load()
{
    records = unit->Channels;
    for (size_t i = 0; i < records.size(); i++)
        WriteRow(-1, records[i], i);
}

void TServerChannelPage::Store()
{
    StoreColumnWidths();
    unit->Channels.clear();
    for (int row = 0; row < list.GetItemCount(); row++)
        unit->Channels.push_back(ReadRow(row));
}

void TServerChannelPage::OnCancel() { StoreColumnWidths(); }

void TServerChannelPage::StoreColumnWidths()
{
    if (!initialised || !columnWidths || !list.m_hWnd)
        return;
    columnWidths->resize(kColumnCount);
    for (int i = 0; i < kColumnCount; i++)
        (*columnWidths)[i] = (int)list.SendMessage(LVM_GETCOLUMNWIDTH, i);
}

int TServerChannelPage::WriteRow(int row, const TChannelConfig& channel, size_t recordIndex)
{
    if (row < 0)
        row = list.InsertItem(list.GetItemCount(), channel.Name);
    else
        list.SetItemText(row, ColumnName, channel.Name);
    list.SetItemData(row, (LPARAM)recordIndex);
    ListView_SetCheckState(list.m_hWnd, row, channel.AutoJoin);
    list.SetItemText(row, ColumnPassword, channel.Password);
    list.SetItemText(row, ColumnMode, channel.Mode);
    list.SetItemText(row, ColumnTopic, channel.Topic);
    list.SetItemText(row, ColumnUpdate, MarkText(channel.Update));
    list.SetItemText(row, ColumnConsole, MarkText(channel.Console));
    list.SetItemText(row, ColumnKeyword, MarkText(channel.Keyword));
    return row;
}

TChannelConfig TServerChannelPage::ReadRow(int row) const
{
    size_t index = (size_t)list.GetItemData(row);
    TChannelConfig channel = index < records.size() ? records[index] : TChannelConfig();
    CString mark = LoadResourceString(IDS_SCRIPT_ENABLED_MARK);
    channel.AutoJoin = ListView_GetCheckState(list.m_hWnd, row) != FALSE;
    channel.Name = list.GetItemText(row, ColumnName);
    channel.Password = list.GetItemText(row, ColumnPassword);
    channel.Mode = list.GetItemText(row, ColumnMode);
    channel.Topic = list.GetItemText(row, ColumnTopic);
    channel.Update = list.GetItemText(row, ColumnUpdate) == mark;
    channel.Console = list.GetItemText(row, ColumnConsole) == mark;
    channel.Keyword = list.GetItemText(row, ColumnKeyword) == mark;
    return channel;
}

int TServerChannelPage::Selected() const { return list.m_hWnd ? list.GetNextItem(-1, LVNI_SELECTED) : -1; }

void TServerChannelPage::SelectRow(int row)
{
    if (row < 0 || row >= list.GetItemCount())
        return;
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SendMessage(LVM_ENSUREVISIBLE, row, FALSE);
}

bool TServerChannelPage::EditChannel(TChannelConfig& channel, bool adding)
{
    TChannelDialog dialog;
    dialog.fromSettings = true;
    dialog.adding = adding;
    dialog.serverName.Empty();
    dialog.SetChannelConfig(channel);
    dialog.m_pParentWnd = this;
    if (dialog.DoModal() != IDOK)
        return false;
    channel = dialog.GetChannelConfig();
    return true;
}

void TServerChannelPage::OnNew()
{
    // A new channel inherits all the selected one has but its name: key, mode, topic, marks and
    // auto-op masks.
    TChannelConfig channel;
    int selected = Selected();
    if (selected >= 0) {
        channel = ReadRow(selected);
        channel.Name.Empty();
    }
    if (!EditChannel(channel, true))
        return;
    int row = -1;
    for (int i = 0; i < list.GetItemCount() && row < 0; i++)
        if (list.GetItemText(i, ColumnName).CompareNoCase(channel.Name) == 0)
            row = i;
    // A listed channel is overwritten in place and keeps what the rows do not show (its
    // auto-op masks).
    size_t index = row >= 0 ? (size_t)list.GetItemData(row) : records.size();
    if (row < 0)
        records.push_back(channel);
    SelectRow(WriteRow(row, channel, index));
}

void TServerChannelPage::OnEdit()
{
    int row = Selected();
    if (row < 0)
        return;
    TChannelConfig channel = ReadRow(row);
    if (!EditChannel(channel, false))
        return;
    row = Selected();
    if (row < 0)
        return;
    WriteRow(row, channel, (size_t)list.GetItemData(row));
    list.SendMessage(LVM_ENSUREVISIBLE, row, FALSE);
}

void TServerChannelPage::OnDelete()
{
    int row = Selected();
    if (row < 0)
        return;
    list.SendMessage(LVM_DELETEITEM, row);
    int count = list.GetItemCount();
    SelectRow(row < count ? row : count - 1);
}

void TServerChannelPage::OnUp() { MoveSelected(-1); }

void TServerChannelPage::OnDown() { MoveSelected(1); }

void TServerChannelPage::MoveSelected(int by)
{
    int row = Selected();
    int target = row + by;
    if (row < 0 || target < 0 || target >= list.GetItemCount())
        return;
    TChannelConfig channel = ReadRow(row);
    size_t index = (size_t)list.GetItemData(row);
    list.SendMessage(LVM_DELETEITEM, row);
    int made = list.InsertItem(target, channel.Name);
    WriteRow(made, channel, index);
    // The record keeps what the row showed when it moved.
    if (index < records.size())
        records[index] = channel;
    SelectRow(made);
}

bool TServerChannelPage::OnKeyDown(UINT key)
{
    if (key != VK_RETURN)
        return false;
    OnEdit();
    return true;
}

void TServerChannelPage::OnRightClick(TListView*)
{
    int row = Selected(), hitRow = -1, column = -1;
    if (row < 0)
        return;
    list.GetCellAtMessagePos(hitRow, column);
    if (column < ColumnUpdate || column > ColumnKeyword)
        return;
    bool on = list.GetItemText(row, column).IsEmpty();
    list.SetItemText(row, column, MarkText(on));
}

void TServerChannelPage::OnUpdateSelected(CCmdUI* ui) { ui->Enable(Selected() >= 0); }

void TServerChannelPage::OnUpdateUp(CCmdUI* ui) { ui->Enable(Selected() > 0); }

void TServerChannelPage::OnUpdateDown(CCmdUI* ui)
{
    int row = Selected();
    ui->Enable(row >= 0 && row < list.GetItemCount() - 1);
}
