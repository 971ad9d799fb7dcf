// The frame's commands that ask the user for one value before they act: a nick to talk to or
// to ask about, an action, quit, part, away and kick message, a topic, whom or where to invite,
// a colour tag, and the file a log is saved to. Every prompt is modal; the selection read
// before it may be gone after it, so it is found again by its serials before anything is sent.
// Whether the link or the membership is still there is not asked: the unit drops what it cannot
// send, and the server refuses what it must.

#include "dialogs/ColorEffectDialog.h"
#include "dialogs/InputPrompts.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "foundation/IrcMarkup.h"
#include "foundation/ResourceString.h"
#include "foundation/SafeFileName.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "irc/Member.h"
#include "logview/LogView.h"
#include "mainframe/MainFrame.h"
#include "mainframe/NodeStates.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

namespace {

// True on OK, with the typed text.
bool AskText(TInputMessageDialog& dialog, const CString& title, UINT promptId, const CString& initial, CString& text)
{
    dialog.SetTitle(title);
    dialog.SetPrompt(LoadResourceString(promptId));
    dialog.SetText(initial);
    if (dialog.DoModal() != IDOK)
        return false;
    text = dialog.GetText();
    return true;
}

bool AskMessage(const CString& title, UINT promptId, const CString& initial, CString& text)
{
    TInputMessageDialog dialog;
    return AskText(dialog, title, promptId, initial, text);
}

bool AskNick(const CString& title, UINT promptId, CString& nick)
{
    TInputNickDialog dialog;
    return AskText(dialog, title, promptId, CString(), nick);
}

} // namespace

CString MakeLogFileName(const CString& nodeName, const SYSTEMTIME& date)
{
    CString name;
    name.Format(L"%s-%04d%02d%02d.txt", nodeName.GetString(), date.wYear, date.wMonth, date.wDay);
    return MakeSafeFileNamePart(name);
}

bool CMainFrame::FindPromptTarget(const TNodeSerials& noted, TIRCUnit*& unit, TIRCChannel*& channel) const
{
    return FindNodeAgain(noted, unit, channel) && IsLoggedIn(unit);
}

void CMainFrame::OnTalkPrompt()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit))
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, nullptr);
    CString nick;
    if (!AskNick(FormatStringResourceWithText(IDS_TALK_TITLE, unit->GetName()), IDS_TALK_PROMPT, nick))
        return;
    if (!FindNodeAgain(asked, unit, channel))
        return;
    if (TIRCChannel* talk = OpenTalkWith(unit, TIRCMember(nick, CString(), CString())))
        world->Select(unit, talk);
}

// Sent whenever the server is still there: the request names a nick, not the node selected.
void CMainFrame::OnWhoisPrompt()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit))
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, nullptr);
    CString nick;
    if (!AskNick(FormatStringResourceWithText(IDS_WHOIS_ASK_TITLE, unit->GetName()), IDS_WHOIS_ASK_PROMPT, nick))
        return;
    if (FindNodeAgain(asked, unit, channel))
        unit->SendWhois(nick);
}

void CMainFrame::OnSendActionPrompt()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit) || !channel || !channel->IsJoined())
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    CString text;
    if (!AskMessage(FormatStringResourceWithTwo(IDS_ACTION_TITLE, channel->GetName(), unit->GetName()),
                    IDS_ACTION_PROMPT, CString(), text))
        return;
    if (FindNodeAgain(asked, unit, channel))
        unit->SendInput(channel, text, false, true, false);
}

void CMainFrame::OnQuitPrompt()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit))
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, nullptr);
    CString text;
    if (!AskMessage(FormatStringResourceWithText(IDS_QUIT_MESSAGE_TITLE, unit->GetName()), IDS_QUIT_MESSAGE_PROMPT,
                    unit->ExpandText(unit->GetSettings().QuitMessage), text))
        return;
    // Sent with the link down it goes nowhere, but it still stops the reconnect.
    if (FindNodeAgain(asked, unit, channel))
        unit->SendQuit(text);
}

// A talk or DCC chat has nobody to say goodbye to: it closes at once.
void CMainFrame::OnPartPrompt()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit || !channel)
        return;
    if (channel->GetKind() != TIRCChannel::KindChannel) {
        world->RemoveChannelNode(unit, channel);
        return;
    }
    if (!IsLoggedIn(unit) || !channel->IsJoined())
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    CString text;
    if (!AskMessage(FormatStringResourceWithTwo(IDS_PART_MESSAGE_TITLE, channel->GetName(), unit->GetName()),
                    IDS_PART_MESSAGE_PROMPT, unit->ExpandText(unit->GetSettings().PartMessage), text))
        return;
    if (FindNodeAgain(asked, unit, channel))
        unit->PartChannel(channel, text);
}

// An empty message brings the user back.
void CMainFrame::OnSetAwayMessage()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit))
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, nullptr);
    CString text;
    if (!AskMessage(FormatStringResourceWithText(IDS_AWAY_MESSAGE_TITLE, unit->GetName()), IDS_AWAY_MESSAGE_PROMPT,
                    CurrentAwayMessage(unit), text))
        return;
    // Kept for the reconnect when the link dropped meanwhile.
    if (FindNodeAgain(asked, unit, channel))
        unit->SetAway(!text.IsEmpty(), text);
}

void CMainFrame::OnTopic()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit) || !IsJoinedChannel(channel))
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    const CString opened = channel->topic;
    const CString initial = ConvertControlCodesToMarkup(opened);
    CString text;
    if (!AskMessage(FormatStringResourceWithTwo(IDS_TOPIC_TITLE, channel->GetName(), unit->GetName()), IDS_TOPIC_PROMPT,
                    initial, text))
        return;
    if (!FindNodeAgain(asked, unit, channel))
        return;
    // The text as it opened, confirmed after someone set another topic, would only put the old
    // one back over theirs.
    if (text == initial && channel->topic != opened)
        return;
    unit->SetTopic(channel, text);
}

void CMainFrame::OnInviteToChannel()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit) || !IsJoinedChannel(channel))
        return;
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    CString nick;
    if (!AskNick(FormatStringResourceWithTwo(IDS_INVITE_TO_CHANNEL_TITLE, channel->GetName(), unit->GetName()),
                 IDS_INVITE_TO_CHANNEL_PROMPT, nick))
        return;
    if (FindNodeAgain(asked, unit, channel))
        unit->SendInvite(nick, channel->GetIRCName());
}

// The picked members are invited into one of the server's other channels, or any typed one.
void CMainFrame::OnInviteMember()
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunNickCommand(unit, channel))
        return;
    std::vector<CString> nicks = GetTargetNicks();
    if (nicks.empty())
        return;
    TInputInviteDialog dialog;
    dialog.SetServerName(unit->GetName());
    for (TIRCChannel* other : unit->GetChannels())
        if (other != channel && other->GetKind() == TIRCChannel::KindChannel)
            dialog.AddChannel(other->GetName());
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    if (dialog.DoModal() != IDOK)
        return;
    if (!FindPromptTarget(asked, unit, channel) || (channel && !channel->IsJoined()))
        return;
    for (const CString& nick : nicks)
        unit->InviteToChannel(nick, dialog.GetChannelName());
}

// False when the user cancelled; the comment is what to kick with.
bool CMainFrame::AskKickComment(TIRCUnit* unit, TIRCChannel* channel, CString& comment)
{
    return AskMessage(FormatStringResourceWithTwo(IDS_KICK_TITLE, channel->GetName(), unit->GetName()), IDS_KICK_PROMPT,
                      comment, comment);
}

void CMainFrame::OnColorEffect()
{
    TColorEffectDialog dialog;
    if (dialog.DoModal() == IDOK)
        InsertMarkup(MakeColorMarkup(dialog.textColor, dialog.backColor));
}

void CMainFrame::SaveLogToFile()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit)
        return;
    TLogView* view = GetSelectedLogView();
    if (!view || view->GetLineCount() == 0)
        return;
    SYSTEMTIME today = {};
    ::GetLocalTime(&today);
    TFileDialog dialog(false, L"txt", MakeLogFileName(channel ? channel->GetName() : unit->GetName(), today),
                       OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY, LoadResourceString(IDS_FILTER_TEXT_FILES),
                       m_hWnd);
    dialog.SetTitle(LoadResourceString(IDS_SAVE_LOG_TITLE));
    const TNodeSerials asked = TIRCWorld::NoteNode(unit, channel);
    if (dialog.DoModal() != IDOK)
        return;
    // The selection may have moved while the choosers were open (a talk, a join, a script):
    // the node chosen is saved all the same. When it has gone there is nothing to save, and no
    // file to ask about.
    auto chosenLog = [&]() -> TLogView* {
        if (!FindNodeAgain(asked, unit, channel))
            return nullptr;
        return channel ? channel->logView : unit->logView;
    };
    const CString failed = LoadResourceString(IDS_FAILURE_CAPTION);
    CString path = dialog.GetPathName();
    TLogView* chosen = chosenLog();
    if (chosen && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
        if (!ShowConfirmMessage(m_hWnd, LoadResourceString(IDS_CONFIRM_OVERWRITE),
                                LoadResourceString(IDS_CONFIRM_CAPTION)))
            return;
        // The question is modal too.
        chosen = chosenLog();
    }
    if (!chosen) {
        ShowWarningMessage(m_hWnd, LoadResourceString(IDS_SAVE_LOG_NODE_GONE), failed);
        return;
    }
    // A failed write leaves the file that was there whole.
    TSafeFileWriter file;
    bool ok = file.Open(path) &&
              file.Write(ConvertToCodePage(chosen->GetAllText(), (UINT)settings->preference.LogCodepage)) &&
              file.Commit();
    if (!ok)
        ShowWarningMessage(m_hWnd, LoadResourceString(IDS_FILE_OPEN_FAILED), failed);
}

// Not a prompt, but as plain: the member list starts again from the server's WHO answer.
void CMainFrame::OnResetMembers()
{
    auto [unit, channel] = GetSelectedNode();
    if (!IsLoggedIn(unit) || !IsJoinedChannel(channel))
        return;
    channel->GetMembers().Clear();
    channel->whoComplete = false;
    unit->SendWho(channel->GetIRCName());
}
