#include "prefs/FormatPages.h"

#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "prefs/FormatItemDialogs.h"
#include "res/resource.h"
#include "settings/LogFormat.h"

#include <commctrl.h>

#include <iterator>

namespace {

// The fixed entries of the prefix and time combos; the value itself is the combo's text.
struct TComboEntries {
    int id;
    std::initializer_list<const wchar_t*> entries;
};

const TComboEntries kComboEntries[] = {
    {IDC_FORMAT_TIME, {L"%H:%M ", L"%H:%M:%S ", L"%Y/%m/%d %H:%M:%S "}},
    {IDC_FORMAT_NICK, {L"(%n) "}},
    {IDC_FORMAT_UNIT_CHANNEL, {L"<%s:%c> "}},
    {IDC_FORMAT_UNIT, {L"<%s> "}},
    {IDC_FORMAT_CHANNEL, {L"<%c> "}},
};

bool IsFormatControl(int id)
{
    switch (id) {
    case IDC_FORMAT_ENABLE_TIME:
    case IDC_FORMAT_TIME:
    case IDC_FORMAT_NICK:
    case IDC_FORMAT_UNIT_CHANNEL:
    case IDC_FORMAT_UNIT:
    case IDC_FORMAT_CHANNEL:
    case IDC_FORMAT_SHOW_CHANNEL:
    case IDC_FORMAT_UNIT_TITLE:
    case IDC_FORMAT_CHANNEL_TITLE:
    case IDC_FORMAT_TALK_TITLE:
    case IDC_FORMAT_DCC_CHAT_TITLE:
        return true;
    }
    return false;
}

} // namespace

BOOL TFormatPage::OnInitDialog()
{
    initialised = format != nullptr;
    for (const TComboEntries& combo : kComboEntries)
        for (const wchar_t* entry : combo.entries)
            ::SendMessageW(Item(combo.id), CB_ADDSTRING, 0, (LPARAM)entry);
    return TPropertyPage::OnInitDialog();
}

void TFormatPage::ExchangeFields(TDialogExchange& io)
{
    io.Check(IDC_FORMAT_ENABLE_TIME, format->EnableTime);
    io.ComboText(IDC_FORMAT_TIME, format->Time, kTextLimit);
    io.ComboText(IDC_FORMAT_NICK, format->PreNick, kTextLimit);
    io.ComboText(IDC_FORMAT_UNIT_CHANNEL, format->UnitChannel, kTextLimit);
    io.ComboText(IDC_FORMAT_UNIT, format->Unit, kTextLimit);
    io.ComboText(IDC_FORMAT_CHANNEL, format->Channel, kTextLimit);
    io.Check(IDC_FORMAT_SHOW_CHANNEL, format->EnableChannelInChannelLog);
    io.Edit(IDC_FORMAT_UNIT_TITLE, format->UnitTitle, kTextLimit);
    io.Edit(IDC_FORMAT_CHANNEL_TITLE, format->ChannelTitle, kTextLimit);
    io.Edit(IDC_FORMAT_TALK_TITLE, format->TalkTitle, kTextLimit);
    io.Edit(IDC_FORMAT_DCC_CHAT_TITLE, format->DCCChatTitle, kTextLimit);
}

void TFormatPage::Load() { Transfer(TDialogExchange::Direction::Load); }

void TFormatPage::Save() { Transfer(TDialogExchange::Direction::Store); }

void TFormatPage::Transfer(TDialogExchange::Direction direction)
{
    if (!initialised || !m_hWnd)
        return;
    TDialogExchange io(m_hWnd, direction);
    ExchangeFields(io);
    if (direction == TDialogExchange::Direction::Store && modified)
        storedEdits++;
    // Loading sets the texts, which notifies like typing would; that was no edit of the user's.
    modified = false;
}

void TFormatPage::NoteCommand(int id, int code)
{
    if (!IsFormatControl(id))
        return;
    if (code == EN_CHANGE || code == CBN_EDITCHANGE || code == CBN_SELCHANGE ||
        (code == BN_CLICKED && (id == IDC_FORMAT_ENABLE_TIME || id == IDC_FORMAT_SHOW_CHANNEL)))
        modified = true;
}

void TFormatPage::OnUpdateTime(CCmdUI* ui) { ui->Enable(IsChecked(IDC_FORMAT_ENABLE_TIME)); }

namespace {

enum Column { ColumnLabel, ColumnChannel, ColumnConsole, ColumnText, kColumnCount };

const struct {
    UINT heading;
    int format;
    int width;
} kColumns[kColumnCount] = {
    {IDS_FORMAT_COLUMN_COMMAND, LVCFMT_LEFT, 130},
    {IDS_FORMAT_COLUMN_CHANNEL, LVCFMT_CENTER, 80},
    {IDS_FORMAT_COLUMN_ALL, LVCFMT_CENTER, 60},
    {IDS_FORMAT_COLUMN_FORMAT, LVCFMT_LEFT, 175},
};

// One event: its label (text or string id), its two flags and its text. The private message
// event has no channel flag, and the four message events have no text.
struct TEventRow {
    const wchar_t* label;
    UINT labelId;
    bool TLogFormat::*channel;
    bool TLogFormat::*console;
    CString TLogFormat::*text;
};

// The row number is the event; the order is not that of the stored keys.
const TEventRow kRows[] = {
    {L"Privmsg", 0, nullptr, &TLogFormat::EnablePrivmsgConsole, nullptr},
    {L"Notice", 0, &TLogFormat::EnableNoticeChannel, &TLogFormat::EnableNoticeConsole, nullptr},
    {L"Action", 0, &TLogFormat::EnableActionChannel, &TLogFormat::EnableActionConsole, nullptr},
    {L"Reply", 0, &TLogFormat::EnableReplyChannel, &TLogFormat::EnableReplyConsole, nullptr},
    {L"Join", 0, &TLogFormat::EnableJoinChannel, &TLogFormat::EnableJoinConsole, &TLogFormat::Join},
    {L"Part", 0, &TLogFormat::EnablePartChannel, &TLogFormat::EnablePartConsole, &TLogFormat::Part},
    {L"Nick", 0, &TLogFormat::EnableNickChannel, &TLogFormat::EnableNickConsole, &TLogFormat::Nick},
    {L"Kick", 0, &TLogFormat::EnableKickChannel, &TLogFormat::EnableKickConsole, &TLogFormat::Kick},
    {L"Mode(Channel)", 0, &TLogFormat::EnableModeChannel, &TLogFormat::EnableModeConsole, &TLogFormat::Mode},
    {L"Mode(User)", 0, &TLogFormat::EnableUserModeChannel, &TLogFormat::EnableUserModeConsole, &TLogFormat::UserMode},
    {L"Quit", 0, &TLogFormat::EnableQuitChannel, &TLogFormat::EnableQuitConsole, &TLogFormat::Quit},
    {L"Inviting", 0, &TLogFormat::EnableInviteingChannel, &TLogFormat::EnableInviteingConsole, &TLogFormat::Inviting},
    {L"Invite", 0, &TLogFormat::EnableInviteChannel, &TLogFormat::EnableInviteConsole, &TLogFormat::Invite},
    {L"Topic", 0, &TLogFormat::EnableTopicChannel, &TLogFormat::EnableTopicConsole, &TLogFormat::Topic},
    {L"Error", 0, &TLogFormat::EnableErrorChannel, &TLogFormat::EnableErrorConsole, &TLogFormat::Error},
    {L"Mode Reply", 0, &TLogFormat::EnableModeReplyChannel, &TLogFormat::EnableModeReplyConsole,
     &TLogFormat::ModeReply},
    {L"Topic Reply", 0, &TLogFormat::EnableTopicReplyChannel, &TLogFormat::EnableTopicReplyConsole,
     &TLogFormat::TopicReply},
    {L"Names Reply", 0, &TLogFormat::EnableNamesReplyChannel, &TLogFormat::EnableNamesReplyConsole,
     &TLogFormat::NamesReply},
    {L"Away Reply", 0, &TLogFormat::EnableAwayReplyChannel, &TLogFormat::EnableAwayReplyConsole,
     &TLogFormat::AwayReply},
    {L"Error Reply", 0, &TLogFormat::EnableErrorReplyChannel, &TLogFormat::EnableErrorReplyConsole,
     &TLogFormat::ErrorReply},
    {L"CTCP Query", 0, &TLogFormat::EnableCTCPQueryChannel, &TLogFormat::EnableCTCPQueryConsole,
     &TLogFormat::CTCPQuery},
    {L"CTCP Reply", 0, &TLogFormat::EnableCTCPReplyChannel, &TLogFormat::EnableCTCPReplyConsole,
     &TLogFormat::CTCPReply},
    {nullptr, IDS_FORMAT_LABEL_DCC_SEND, &TLogFormat::EnableDCCSendChannel, &TLogFormat::EnableDCCSendConsole,
     &TLogFormat::DCCSend},
    {nullptr, IDS_FORMAT_LABEL_DCC_RESUME, &TLogFormat::EnableDCCResumeChannel, &TLogFormat::EnableDCCResumeConsole,
     &TLogFormat::DCCResume},
    {nullptr, IDS_FORMAT_LABEL_DCC_ACCEPT, &TLogFormat::EnableDCCAcceptChannel, &TLogFormat::EnableDCCAcceptConsole,
     &TLogFormat::DCCAccept},
    {nullptr, IDS_FORMAT_LABEL_DCC_CHAT, &TLogFormat::EnableDCCChatChannel, &TLogFormat::EnableDCCChatConsole,
     &TLogFormat::DCCChat},
    {nullptr, IDS_FORMAT_LABEL_SEND_COMPLETE, &TLogFormat::EnableDCCSendCompleteChannel,
     &TLogFormat::EnableDCCSendCompleteConsole, &TLogFormat::DCCSendComplete},
    {nullptr, IDS_FORMAT_LABEL_SEND_FAIL, &TLogFormat::EnableDCCSendFailChannel, &TLogFormat::EnableDCCSendFailConsole,
     &TLogFormat::DCCSendFail},
    {nullptr, IDS_FORMAT_LABEL_RECEIVE_COMPLETE, &TLogFormat::EnableDCCReceiveCompleteChannel,
     &TLogFormat::EnableDCCReceiveCompleteConsole, &TLogFormat::DCCReceiveComplete},
    {nullptr, IDS_FORMAT_LABEL_RECEIVE_FAIL, &TLogFormat::EnableDCCReceiveFailChannel,
     &TLogFormat::EnableDCCReceiveFailConsole, &TLogFormat::DCCReceiveFail},
};

const int kRowCount = (int)std::size(kRows);

CString RowLabel(const TEventRow& row) { return row.label ? CString(row.label) : LoadResourceString(row.labelId); }

} // namespace

TFormatDetailPage::TFormatDetailPage() : TPropertyPage(IDD_FORMAT_DETAIL_PAGE), list(this) {}

BOOL TFormatDetailPage::OnInitDialog()
{
    list.SubclassWindow(Item(IDC_FORMAT_DETAIL_LIST));
    initialised = format != nullptr;
    onMark = LoadResourceString(IDS_SCRIPT_ENABLED_MARK);
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    for (int i = 0; i < kColumnCount; i++) {
        CString heading = LoadResourceString(kColumns[i].heading);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = kColumns[i].format;
        column.cx = columnWidths && i < (int)columnWidths->size() ? (*columnWidths)[i] : kColumns[i].width;
        column.pszText = const_cast<wchar_t*>((const wchar_t*)heading);
        list.SendMessage(LVM_INSERTCOLUMNW, i, (LPARAM)&column);
    }
    return TPropertyPage::OnInitDialog();
}

void TFormatDetailPage::FillList()
{
    if (!initialised || !m_hWnd)
        return;
    list.DeleteAllItems();
    for (const TEventRow& row : kRows)
        AddRow(RowLabel(row), row.channel ? format->*row.channel : true, format->*row.console,
               row.text ? format->*row.text : CString());
    modified = false;
}

void TFormatDetailPage::SaveList()
{
    if (!initialised || !m_hWnd)
        return;
    for (int i = 0; i < kRowCount && i < list.GetItemCount(); i++) {
        bool channel = false, console = false;
        CString text;
        GetRow(i, channel, console, text);
        const TEventRow& row = kRows[i];
        if (row.channel)
            format->*row.channel = channel;
        format->*row.console = console;
        if (row.text)
            format->*row.text = text;
    }
    if (modified)
        storedEdits++;
    modified = false;
}

void TFormatDetailPage::Store()
{
    SaveList();
    StoreColumnWidths();
}

void TFormatDetailPage::AddRow(const CString& label, bool channel, bool console, const CString& text)
{
    int row = list.InsertItem(list.GetItemCount(), label);
    SetMark(row, ColumnChannel, channel && label != L"Privmsg");
    SetMark(row, ColumnConsole, console);
    list.SetItemText(row, ColumnText, text);
}

void TFormatDetailPage::GetRow(int row, bool& channel, bool& console, CString& text) const
{
    channel = list.GetItemText(row, ColumnChannel) == onMark;
    console = list.GetItemText(row, ColumnConsole) == onMark;
    text = list.GetItemText(row, ColumnText);
}

void TFormatDetailPage::SetMark(int row, int column, bool on)
{
    list.SetItemText(row, column, on ? onMark : CString());
}

int TFormatDetailPage::Selected() const { return list.m_hWnd ? list.GetNextItem(-1, LVNI_SELECTED) : -1; }

void TFormatDetailPage::EditSelected()
{
    int row = Selected();
    if (row < 0 || row >= kRowCount)
        return;
    bool channel = false, console = false;
    CString text;
    GetRow(row, channel, console, text);
    CString label = list.GetItemText(row, ColumnLabel);
    if (kRows[row].text) {
        TFormatItemDialog dialog(this);
        dialog.channel = channel;
        dialog.console = console;
        dialog.format = text;
        dialog.SetItemName(label);
        if (dialog.DoModal() != IDOK)
            return;
        SetMark(row, ColumnChannel, dialog.channel);
        SetMark(row, ColumnConsole, dialog.console);
        list.SetItemText(row, ColumnText, dialog.GetFormat());
    } else {
        TFormatTextItemDialog dialog(this);
        dialog.channelEnabled = kRows[row].channel != nullptr;
        dialog.channel = channel;
        dialog.console = console;
        dialog.SetItemName(label);
        if (dialog.DoModal() != IDOK)
            return;
        if (kRows[row].channel)
            SetMark(row, ColumnChannel, dialog.channel);
        SetMark(row, ColumnConsole, dialog.console);
    }
    modified = true;
}

bool TFormatDetailPage::OnKeyDown(UINT key)
{
    if (key != VK_RETURN)
        return false;
    EditSelected();
    return true;
}

void TFormatDetailPage::OnRightClick(TListView*)
{
    int row = Selected(), hitRow = -1, column = -1;
    if (row < 0 || row >= kRowCount || !list.GetCellAtMessagePos(hitRow, column))
        return;
    // Only the cell under the pointer flips: a click beside the rows leaves the selected row be.
    if (hitRow != row || (column != ColumnChannel && column != ColumnConsole))
        return;
    if (column == ColumnChannel && !kRows[row].channel)
        return;
    SetMark(row, column, list.GetItemText(row, column) != onMark);
    modified = true;
}

void TFormatDetailPage::StoreColumnWidths()
{
    if (!initialised || !columnWidths || !list.m_hWnd)
        return;
    columnWidths->resize(kColumnCount);
    for (int i = 0; i < kColumnCount; i++)
        (*columnWidths)[i] = (int)list.SendMessage(LVM_GETCOLUMNWIDTH, i);
}

void TFormatDetailPage::OnUpdateEdit(CCmdUI* ui) { ui->Enable(Selected() >= 0); }
