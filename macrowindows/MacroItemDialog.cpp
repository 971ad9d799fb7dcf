#include "macrowindows/MacroItemDialog.h"

#include "macrowindows/ActionFields.h"

#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "res/strings/macro.h"

namespace {

const wchar_t* const kUserSuggestions[] = {L"%me", L"%me|*", L"%g1", L"%g2", L"%g3", L"%g4", L"%g5", L"%mu"};
const wchar_t* const kCommandSuggestions[] = {
    L"Privmsg", L"Join",    L"Part",  L"Quit",    L"Mode",      L"Nick",      L"Topic",    L"Kick",
    L"Invite",  L"Action",  L"Keyword", L"Op",    L"Deop",      L"Voice",     L"Devoice",  L"CTCPQuery",
    L"CTCPReply", L"DCCChatMessage"};
const wchar_t* const kTargetSuggestions[] = {L"%a", L"%c", L"%f", L"%n", L"%u"};
// The entry index is the stored state; the sender has no away states.
const UINT kStateTexts[] = {IDS_MACRO_STATE_NONE, IDS_MACRO_STATE_OPERATOR, IDS_MACRO_STATE_NOT_OPERATOR,
                            IDS_MACRO_STATE_AWAY, IDS_MACRO_STATE_NOT_AWAY};
const int kOwnStates = 5;
const int kSenderStates = 3;

template <size_t N> std::vector<CString> Texts(const wchar_t* const (&texts)[N]) { return {texts, texts + N}; }

std::vector<CString> StateTexts(int count)
{
    std::vector<CString> texts;
    for (int i = 0; i < count; i++)
        texts.push_back(LoadResourceString(kStateTexts[i]));
    return texts;
}

// A state outside the list shows as no condition.
int StateIndex(int value, int count) { return value >= 0 && value < count ? value : 0; }

} // namespace

bool CommandHasChannel(const CString& command)
{
    static const wchar_t* const kChannelEvents[] = {
        L"privmsg", L"notice", L"action", L"ctcpquery", L"ctcpreply", L"join", L"part", L"mode",
        L"topic",   L"kick",   L"keyword", L"dccchatmessage", L"op", L"deop", L"voice", L"devoice"};
    if (command.IsEmpty() || command.FindOneOf(L"|*?") >= 0)
        return true;
    CString lower = command;
    lower.MakeLower();
    for (const wchar_t* event : kChannelEvents)
        if (lower == event)
            return true;
    return false;
}

BOOL TMacroItemDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_USER), Texts(kUserSuggestions));
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_COMMAND), Texts(kCommandSuggestions));
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_OWN_STATE), StateTexts(kOwnStates));
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_SENDER_STATE), StateTexts(kSenderStates));
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_ACTION), ActionSuggestions());
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_TARGET), Texts(kTargetSuggestions));
    ::SetFocus(GetDlgItem(IDC_MACRO_ITEM_USER));
    SetComboText(GetDlgItem(IDC_MACRO_ITEM_USER), item.user, kTextLimit);
    SetComboText(GetDlgItem(IDC_MACRO_ITEM_COMMAND), item.command, kTextLimit);
    SetEditText(GetDlgItem(IDC_MACRO_ITEM_CHANNEL), item.channel, kTextLimit);
    SetEditText(GetDlgItem(IDC_MACRO_ITEM_MESSAGE), item.message, kTextLimit);
    SetComboText(GetDlgItem(IDC_MACRO_ITEM_ACTION), item.action, kTextLimit);
    SetComboText(GetDlgItem(IDC_MACRO_ITEM_TARGET), item.target, kTextLimit);
    SetEditText(GetDlgItem(IDC_MACRO_ITEM_ARGUMENT), item.argument, kTextLimit);
    ::SendDlgItemMessageW(m_hWnd, IDC_MACRO_ITEM_OWN_STATE, CB_SETCURSEL, StateIndex(item.ownState, kOwnStates), 0);
    ::SendDlgItemMessageW(m_hWnd, IDC_MACRO_ITEM_SENDER_STATE, CB_SETCURSEL, StateIndex(item.senderState, kSenderStates), 0);
    ::CheckDlgButton(m_hWnd, IDC_MACRO_ITEM_STOP, item.stop ? BST_CHECKED : BST_UNCHECKED);
    // The focus was placed here.
    return FALSE;
}

void TMacroItemDialog::OnOK()
{
    item.user = FieldText(IDC_MACRO_ITEM_USER);
    item.command = FieldText(IDC_MACRO_ITEM_COMMAND);
    item.channel = FieldText(IDC_MACRO_ITEM_CHANNEL);
    item.message = FieldText(IDC_MACRO_ITEM_MESSAGE);
    item.action = FieldText(IDC_MACRO_ITEM_ACTION);
    item.target = FieldText(IDC_MACRO_ITEM_TARGET);
    item.argument = FieldText(IDC_MACRO_ITEM_ARGUMENT);
    item.ownState = StateIndex((int)::SendDlgItemMessageW(m_hWnd, IDC_MACRO_ITEM_OWN_STATE, CB_GETCURSEL, 0, 0), kOwnStates);
    item.senderState = StateIndex((int)::SendDlgItemMessageW(m_hWnd, IDC_MACRO_ITEM_SENDER_STATE, CB_GETCURSEL, 0, 0), kSenderStates);
    item.stop = ::IsDlgButtonChecked(m_hWnd, IDC_MACRO_ITEM_STOP) == BST_CHECKED;
    TUpdateDialog::OnOK();
}

void TMacroItemDialog::OnBrowse()
{
    CString argument = FieldText(IDC_MACRO_ITEM_ARGUMENT);
    if (BrowseActionArgument(this, FieldText(IDC_MACRO_ITEM_ACTION), soundsFolder, argument))
        SetEditText(GetDlgItem(IDC_MACRO_ITEM_ARGUMENT), argument, 0);
}

void TMacroItemDialog::OnUpdateChannel(CCmdUI* ui) { ui->Enable(CommandHasChannel(FieldText(IDC_MACRO_ITEM_COMMAND))); }
void TMacroItemDialog::OnUpdateTarget(CCmdUI* ui) { ui->Enable(ActionTakesTarget(FieldText(IDC_MACRO_ITEM_ACTION))); }
void TMacroItemDialog::OnUpdateBrowse(CCmdUI* ui) { ui->Enable(ActionCanBrowse(FieldText(IDC_MACRO_ITEM_ACTION))); }
