#include "prefs/ActionPages.h"

#include "dialogs/MessageBoxes.h"
#include "foundation/OpenUrl.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "settings/Preference.h"

namespace {

const std::initializer_list<int> kInviteActions = {IDC_EVENT_INVITE_NOTHING, IDC_EVENT_INVITE_DIALOG,
                                                   IDC_EVENT_INVITE_JOIN};

} // namespace

void TActionPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Radio({IDC_ACT_NICK_UNDERSCORE, IDC_ACT_NICK_DIGIT, IDC_ACT_NICK_ASK, IDC_ACT_NICK_NOTHING}, p.NickPolicy);
    io.RadioValues({{IDC_ACT_URL_SHELL, URL_OPEN_SHELL},
                    {IDC_ACT_URL_NEW_WINDOW, URL_OPEN_NEW_BROWSER_WINDOW},
                    {IDC_ACT_URL_APPLICATION, URL_OPEN_PROGRAM}},
                   p.URLOpenMethod);
    io.Edit(IDC_ACT_APPLICATION, p.URLOpenApplication, kTextLimit);
    io.Check(IDC_ACT_REJOIN_FOR_OP, p.RejoinToRecoverOp);
    io.Check(IDC_ACT_AUTO_OP_ON_OP, p.EnableAutoOpOnBeingOperator);
    io.Check(IDC_ACT_AUTO_OP_DELAY, p.EnableAutoOpDelay);
    io.Range(IDC_ACT_DELAY_MIN, IDC_ACT_DELAY_MAX, p.AutoOpDelayMin, p.AutoOpDelayMax, 0, 3600);
}

void TActionPage::UpdateControls()
{
    Enable({IDC_ACT_APPLICATION, IDC_ACT_BROWSE}, IsChecked(IDC_ACT_URL_APPLICATION));
    Enable({IDC_ACT_DELAY_MIN, IDC_ACT_DELAY_MIN_SPIN, IDC_ACT_DELAY_MAX, IDC_ACT_DELAY_MAX_SPIN},
           IsChecked(IDC_ACT_AUTO_OP_DELAY));
}

void TActionPage::BrowseApplication()
{
    CString current = GetControlText(Item(IDC_ACT_APPLICATION));
    CString chosen = ChooseProgram(::GetAncestor(m_hWnd, GA_ROOTOWNER), LoadResourceString(IDS_URL_APP_TITLE),
                                   LoadResourceString(IDS_URL_APP_FILTER), ExtractFolder(current), current);
    if (!chosen.IsEmpty())
        ::SetDlgItemTextW(m_hWnd, IDC_ACT_APPLICATION, chosen.Left(kTextLimit));
}

void TActionDetailPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Check(IDC_ACTD_UNAWAY, p.UnawayOnSendTalk);
    io.Check(IDC_ACTD_VIEW_BOTTOM, p.ViewBottomOnSelect);
    io.Check(IDC_ACTD_ALL_LOG, p.PrintAllLogToConsole);
    io.Check(IDC_ACTD_NO_REPLY_URL, p.IgnoreURLInConsoleReply);
    io.Check(IDC_ACTD_MY_URL, p.RecordUrlInMyMessage);
    io.Check(IDC_ACTD_AUTO_CLIP, p.AutoClipUrl);
}

void TEventPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Check(IDC_EVENT_FOCUS_JOIN, p.FocusOnJoin);
    io.Check(IDC_EVENT_FIRST_CHANNEL, p.SelectFirstChannelOnInit);
    io.Check(IDC_EVENT_REGISTER_TALK, p.RegisterOnTalk);
    io.Check(IDC_EVENT_FOCUS_TALK, p.FocusOnTalk);
    io.Check(IDC_EVENT_IGNORE_NOTICE, p.IgnoreNoticeOnTalk);
    io.Check(IDC_EVENT_REJOIN_ON_KICK, p.RejoinOnKick);
    io.Radio(kInviteActions, p.InviteAction);
    io.Check(IDC_EVENT_INVITE_FRONT, p.ActivateInviteDialog);
    io.Check(IDC_EVENT_LIMIT_INVITE, p.LimitInviteDialog);
    io.Spin(IDC_EVENT_INVITE_MAX, p.InviteDialogMax, 0, 1000000);
    io.Check(IDC_EVENT_FLASH_TITLE, p.FlashTitleOnUpdate);
    io.Check(IDC_EVENT_EXPAND_TREE, p.ExpandTreeOnLogOn);
}

void TEventPage::UpdateControls()
{
    Enable({IDC_EVENT_FOCUS_TALK, IDC_EVENT_IGNORE_NOTICE}, IsChecked(IDC_EVENT_REGISTER_TALK));
    Enable({IDC_EVENT_FIRST_CHANNEL}, !IsChecked(IDC_EVENT_FOCUS_JOIN));
    bool dialog = CheckedIndex(kInviteActions) == InviteShowDialog;
    Enable({IDC_EVENT_LIMIT_INVITE, IDC_EVENT_INVITE_FRONT}, dialog);
    Enable({IDC_EVENT_INVITE_MAX, IDC_EVENT_INVITE_MAX_SPIN}, dialog && IsChecked(IDC_EVENT_LIMIT_INVITE));
}
