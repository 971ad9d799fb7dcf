#include "macrowindows/MacroItemDialog.h"

#include "macrowindows/ActionFields.h"

#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "res/strings/macro.h"

namespace {

const wchar_t* const kUserSuggestions[] = {L"%me", L"%me|*", L"%g1", L"%g2", L"%g3", L"%g4", L"%g5", L"%mu"};
const wchar_t* const kCommandSuggestions[] = {
    L"Privmsg", L"Join",    L"Part", L"Quit", L"Mode",  L"Nick",    L"Topic",     L"Kick",      L"Invite",
    L"Action",  L"Keyword", L"Op",   L"Deop", L"Voice", L"Devoice", L"CTCPQuery", L"CTCPReply", L"DCCChatMessage"};
const wchar_t* const kTargetSuggestions[] = {L"%a", L"%c", L"%f", L"%n", L"%u"};
// The entry index is the stored state; the sender has no away states.
const UINT kStateTexts[] = {IDS_MACRO_STATE_NONE, IDS_MACRO_STATE_OPERATOR, IDS_MACRO_STATE_NOT_OPERATOR,
                            IDS_MACRO_STATE_AWAY, IDS_MACRO_STATE_NOT_AWAY};
const int kOwnStates = OwnNotAway + 1;
const int kSenderStates = SenderNotOperator + 1;

template <size_t N> std::vector<CString> Texts(const wchar_t* const (&texts)[N]) { return {texts, texts + N}; }

std::vector<CString> StateTexts(int count)
{
    std::vector<CString> texts;
    for (int i = 0; i < count; i++)
        texts.push_back(LoadResourceString(kStateTexts[i]));
    return texts;
}

} // namespace

bool CommandHasChannel(const CString& command)
{
    static const wchar_t* const kChannelEvents[] = {
        L"privmsg", L"notice", L"action",  L"ctcpquery",      L"ctcpreply", L"join", L"part",  L"mode",
        L"topic",   L"kick",   L"keyword", L"dccchatmessage", L"op",        L"deop", L"voice", L"devoice"};
    if (command.IsEmpty() || command.FindOneOf(L"|*?") >= 0)
        return true;
    CString lower = command;
    lower.MakeLower();
    for (const wchar_t* event : kChannelEvents)
        if (lower == event)
            return true;
    return false;
}

void TMacroItemDialog::FillLists()
{
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_USER), Texts(kUserSuggestions));
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_COMMAND), Texts(kCommandSuggestions));
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_OWN_STATE), StateTexts(kOwnStates));
    FillComboList(GetDlgItem(IDC_MACRO_ITEM_SENDER_STATE), StateTexts(kSenderStates));
    FillActionLists(Texts(kTargetSuggestions));
}

void TMacroItemDialog::Exchange(TDialogExchange& io)
{
    io.ComboText(IDC_MACRO_ITEM_USER, item.user, kTextLimit);
    io.ComboText(IDC_MACRO_ITEM_COMMAND, item.command, kTextLimit);
    io.Edit(IDC_MACRO_ITEM_CHANNEL, item.channel, kTextLimit);
    io.Edit(IDC_MACRO_ITEM_MESSAGE, item.message, kTextLimit);
    // A state outside the list shows, and is stored, as no condition.
    io.ListIndex(IDC_MACRO_ITEM_OWN_STATE, item.ownState);
    io.ListIndex(IDC_MACRO_ITEM_SENDER_STATE, item.senderState);
    ExchangeAction(io, item.action, item.target, item.argument);
    io.Check(IDC_MACRO_ITEM_STOP, item.stop);
}

void TMacroItemDialog::OnUpdateChannel(CCmdUI* ui) { ui->Enable(CommandHasChannel(FieldText(IDC_MACRO_ITEM_COMMAND))); }
