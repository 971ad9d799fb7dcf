#include "dialogs/ModeDialog.h"

#include "classlib/CmdUI.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"

#include <climits>

namespace {

struct TFlagControl {
    int id;
    bool TChannelMode::*flag;
};

const TFlagControl kFlagControls[] = {
    {IDC_MODE_S, &TChannelMode::secret},
    {IDC_MODE_P, &TChannelMode::privateChannel},
    {IDC_MODE_N, &TChannelMode::noOutsideMessages},
    {IDC_MODE_T, &TChannelMode::topicByOperators},
    {IDC_MODE_I, &TChannelMode::inviteOnly},
    {IDC_MODE_M, &TChannelMode::moderated},
    {IDC_MODE_A, &TChannelMode::anonymous},
    {IDC_MODE_R, &TChannelMode::reop},
};

} // namespace

// Decoration codes (bold, colour) are part of a name or key like any letter.
bool HasJoinBreakingCharacter(const CString& text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] == L' ' || text[i] == L',' || text[i] == L'\r' || text[i] == L'\n' || text[i] == L'\0')
            return true;
    return false;
}

bool RefuseJoinBreakingText(HWND dialog, int editId)
{
    HWND edit = ::GetDlgItem(dialog, editId);
    if (!HasJoinBreakingCharacter(GetControlText(edit)))
        return false;
    ShowWarningMessage(dialog, LoadResourceString(IDS_JOIN_BREAKING_TEXT), CString());
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    return true;
}

TModeDialog::TModeDialog() : TUpdateDialog(IDD_MODE_DIALOG) {}

bool TModeDialog::IsChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

void TModeDialog::Check(int id, bool on) { ::CheckDlgButton(m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

// A limit or key whose box is not ticked is stored as none.
void TModeDialog::Exchange(TDialogExchange::Direction direction)
{
    TDialogExchange io(m_hWnd, direction);
    for (const TFlagControl& control : kFlagControls)
        io.Check(control.id, mode.*control.flag);
    bool limited = mode.limit > 0, keyed = !mode.key.IsEmpty();
    io.Check(IDC_MODE_L, limited).Spin(IDC_MODE_LIMIT, mode.limit, 0, INT_MAX);
    io.Check(IDC_MODE_K, keyed).Edit(IDC_MODE_KEY, mode.key, 64);
    if (!io.IsStoring())
        return;
    if (!limited)
        mode.limit = 0;
    if (!keyed)
        mode.key.Empty();
}

BOOL TModeDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    Exchange(TDialogExchange::Direction::Load);
    // Only the channel kinds that know a and r may change them; elsewhere they keep their state.
    bool bang = !channelName.IsEmpty() && channelName[0] == L'!';
    bool ampersand = !channelName.IsEmpty() && channelName[0] == L'&';
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_MODE_A), bang || ampersand);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_MODE_R), bang);
    CString caption;
    if (creation) {
        caption = LoadResourceString(IDS_MODE_CREATION_TITLE);
    } else {
        caption = FormatStringResourceWithText(IDS_MODE_CHANNEL_TITLE, channelName);
        if (!serverName.IsEmpty())
            caption += L" - " + serverName;
    }
    SetWindowText(caption);
    return FALSE;
}

void TModeDialog::OnOK()
{
    // The key goes out as one word of the MODE line.
    if (IsChecked(IDC_MODE_K) && RefuseJoinBreakingText(m_hWnd, IDC_MODE_KEY))
        return;
    Exchange(TDialogExchange::Direction::Store);
    TUpdateDialog::OnOK();
}

// A channel is never both secret and private.
void TModeDialog::OnSecret()
{
    if (IsChecked(IDC_MODE_S))
        Check(IDC_MODE_P, false);
}

void TModeDialog::OnPrivate()
{
    if (IsChecked(IDC_MODE_P))
        Check(IDC_MODE_S, false);
}

void TModeDialog::OnUpdateKey(CCmdUI* ui) { ui->Enable(IsChecked(IDC_MODE_K)); }

void TModeDialog::OnUpdateLimit(CCmdUI* ui) { ui->Enable(IsChecked(IDC_MODE_L)); }
