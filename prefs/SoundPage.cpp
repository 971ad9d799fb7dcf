#include "prefs/SoundPage.h"

#include "classlib/CmdUI.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "settings/Preference.h"

#include <commctrl.h>
#include <mmsystem.h>

namespace {

struct TSoundRow {
    UINT title;
    CString TPreference::*file;
    bool TPreference::*enabled;
};

// In the order shown, which is not the order of the file's keys.
const TSoundRow kRows[] = {
    {IDS_SOUND_LOGIN, &TPreference::LogInSoundFile, &TPreference::EnableLogInSound},
    {IDS_SOUND_DISCONNECT, &TPreference::DisconnectSoundFile, &TPreference::EnableDisconnectSound},
    {IDS_SOUND_CHANNEL_MESSAGE, &TPreference::ChannelMessageSoundFile, &TPreference::EnableChannelMessageSound},
    {IDS_SOUND_TALK_MESSAGE, &TPreference::TalkMessageSoundFile, &TPreference::EnableTalkMessageSound},
    {IDS_SOUND_DCC_CHAT_MESSAGE, &TPreference::DCCChatMessageSoundFile, &TPreference::EnableDCCChatMessageSound},
    {IDS_SOUND_KEYWORD, &TPreference::KeywordSoundFile, &TPreference::EnableKeywordSound},
    {IDS_SOUND_KICK, &TPreference::KickSoundFile, &TPreference::EnableKickSound},
    {IDS_SOUND_INVITE, &TPreference::InviteSoundFile, &TPreference::EnableInviteSound},
    {IDS_SOUND_TALK, &TPreference::TalkSoundFile, &TPreference::EnableTalkSound},
    {IDS_SOUND_DCC_CHAT, &TPreference::DCCChatSoundFile, &TPreference::EnableDCCChatSound},
    {IDS_SOUND_RECEIVE, &TPreference::DCCReceiveSoundFile, &TPreference::EnableDCCReceiveSound},
    {IDS_SOUND_RECEIVE_COMPLETE, &TPreference::DCCReceiveCompleteSoundFile,
     &TPreference::EnableDCCReceiveCompleteSound},
    {IDS_SOUND_RECEIVE_FAIL, &TPreference::DCCReceiveFailSoundFile, &TPreference::EnableDCCReceiveFailSound},
    {IDS_SOUND_SEND_COMPLETE, &TPreference::DCCSendCompleteSoundFile, &TPreference::EnableDCCSendCompleteSound},
    {IDS_SOUND_SEND_FAIL, &TPreference::DCCSendFailSoundFile, &TPreference::EnableDCCSendFailSound},
};

const int kDefaultWidths[] = {200, 360};

CString GetCellText(HWND list, int row, int column)
{
    std::vector<wchar_t> buffer(kTextLimit + 1);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = (int)buffer.size();
    ::SendMessageW(list, LVM_GETITEMTEXTW, row, (LPARAM)&item);
    return CString(buffer.data());
}

void SetCellText(HWND list, int row, int column, const CString& text)
{
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>((const wchar_t*)text);
    ::SendMessageW(list, LVM_SETITEMTEXTW, row, (LPARAM)&item);
}

} // namespace

BOOL TSoundPage::OnInitDialog()
{
    rows.SubclassWindow(Item(IDC_SOUND_LIST));
    HWND list = Item(IDC_SOUND_LIST);
    columnsBuilt = true;
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const UINT headings[] = {IDS_SOUND_COLUMN_EVENT, IDS_SOUND_COLUMN_FILE};
    for (int column = 0; column < 2; column++) {
        CString heading = LoadResourceString(headings[column]);
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT | LVCF_WIDTH;
        info.pszText = const_cast<wchar_t*>((const wchar_t*)heading);
        info.cx = columnWidths && (int)columnWidths->size() > column ? (*columnWidths)[column] : kDefaultWidths[column];
        ::SendMessageW(list, LVM_INSERTCOLUMNW, column, (LPARAM)&info);
    }
    int row = 0;
    for (const TSoundRow& entry : kRows) {
        CString title = LoadResourceString(entry.title);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row++;
        item.pszText = const_cast<wchar_t*>((const wchar_t*)title);
        ::SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
    }
    return TPreferencePage::OnInitDialog();
}

void TSoundPage::Exchange(TDialogExchange& io) { io.Check(IDC_SOUND_MUTE_ON_AWAY, preference->MuteOnAway); }

void TSoundPage::Load()
{
    HWND list = Item(IDC_SOUND_LIST);
    for (int row = 0; row < (int)std::size(kRows); row++) {
        ListView_SetCheckState(list, row, preference->*kRows[row].enabled);
        SetCellText(list, row, 1, preference->*kRows[row].file);
    }
}

void TSoundPage::Store()
{
    HWND list = Item(IDC_SOUND_LIST);
    for (int row = 0; row < (int)std::size(kRows); row++) {
        preference->*kRows[row].enabled = ListView_GetCheckState(list, row) != FALSE;
        preference->*kRows[row].file = GetCellText(list, row, 1);
    }
    StoreColumnWidths();
}

void TSoundPage::StoreColumnWidths()
{
    if (!columnsBuilt || !columnWidths || !m_hWnd)
        return;
    for (int column = 0; column < (int)columnWidths->size() && column < 2; column++)
        (*columnWidths)[column] = ListView_GetColumnWidth(Item(IDC_SOUND_LIST), column);
}

int TSoundPage::GetSelectedRow() const { return ListView_GetNextItem(Item(IDC_SOUND_LIST), -1, LVNI_SELECTED); }

CString TSoundPage::GetSelectedFile() const
{
    int row = GetSelectedRow();
    return row < 0 ? CString() : GetCellText(Item(IDC_SOUND_LIST), row, 1);
}

void TSoundPage::OnPlay()
{
    CString path = GetSelectedFile();
    if (!path.IsEmpty())
        ::PlaySoundW(path, nullptr, SND_FILENAME | SND_ASYNC);
}

void TSoundPage::OnChange()
{
    if (GetSelectedRow() < 0)
        return;
    TFileDialog dialog(true, L"wav", CString(), OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER,
                       LoadResourceString(IDS_SOUND_FILTER), ::GetParent(m_hWnd));
    dialog.SetTitle(LoadResourceString(IDS_SOUND_CHANGE_TITLE));
    CString folder = ExtractFolder(GetSelectedFile());
    dialog.m_ofn.lpstrInitialDir = folder.IsEmpty() ? nullptr : (const wchar_t*)folder;
    if (dialog.DoModal() != IDOK)
        return;
    // The row chosen now: the chooser is modal, but the list kept its selection.
    int row = GetSelectedRow();
    if (row < 0)
        return;
    HWND list = Item(IDC_SOUND_LIST);
    SetCellText(list, row, 1, dialog.GetPathName());
    ListView_SetCheckState(list, row, TRUE);
}

void TSoundPage::OnUpdatePlay(CCmdUI* ui) { ui->Enable(!GetSelectedFile().IsEmpty()); }

void TSoundPage::OnUpdateChange(CCmdUI* ui) { ui->Enable(GetSelectedRow() >= 0); }
