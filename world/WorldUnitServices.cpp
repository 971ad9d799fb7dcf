// What the units ask of the main window through the world: its state, alerts, balloons, the
// selection as the sending side and the macro actions see it, and the window actions.
#include "world/IRCWorld.h"

#include "dccwindows/DCCChatDialog.h"
#include "dialogs/InviteDialog.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/NickDialog.h"
#include "foundation/IrcMarkup.h"
#include "foundation/ResourceString.h"
#include "foundation/WindowHelpers.h"
#include "logview/LogView.h"
#include "res/strings/foundation.h"
#include "res/strings/irc.h"
#include "settings/Config.h"
#include "world/ChannelMaskList.h"
#include "world/WhoDialog.h"
#include "world/WorldFrame.h"

#include <mmsystem.h>
#include <shellapi.h>

void TIRCWorld::OnConnectionEnded(TIRCUnit*)
{
    if (frame && frame->IsClosing() && CountActiveUnits() == 0)
        ::PostMessageW(frame->GetFrameWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool TIRCWorld::IsMainWindowActive() { return frame && frame->IsApplicationActive(); }

bool TIRCWorld::AreMacrosStopped() { return frame && frame->AreMacrosStopped(); }

// As given: a sound ticked without a file plays the system's default sound.
void TIRCWorld::PlaySoundFile(const CString& path) { ::PlaySoundW(path, nullptr, SND_FILENAME | SND_ASYNC); }

void TIRCWorld::StartHighlightAlert()
{
    if (frame)
        frame->StartHighlightAlert();
}

void TIRCWorld::StartMessageAlert()
{
    if (frame)
        frame->StartMessageAlert();
}

void TIRCWorld::ShowBalloon(const CString& title, const CString& text)
{
    if (frame)
        frame->ShowBalloon(title, StripControlCodes(text));
}

TIRCChannel* TIRCWorld::GetSelectedChannel(TIRCUnit* unit)
{
    TIRCUnit* selected;
    TIRCChannel* channel;
    GetSelection(selected, channel);
    return selected == unit ? channel : nullptr;
}

CString TIRCWorld::GetCurrentChannelName(TIRCUnit* unit)
{
    auto found = currentChannelNames.find(unit);
    return found == currentChannelNames.end() ? CString() : found->second;
}

CString TIRCWorld::GetSelectedText()
{
    if (allLog && ::GetFocus() == allLog->m_hWnd)
        return allLog->GetSelectedText();
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    TLogView* view = !unit ? nullptr : channel ? channel->logView : unit->logView;
    return view ? view->GetSelectedText() : CString();
}

void TIRCWorld::WindowAction(const CString& word)
{
    if (!frame)
        return;
    HWND window = frame->GetFrameWindow();
    if (word == L"show")
        ::PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    else if (word == L"minimize")
        ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (word == L"maximize")
        ::PostMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (word == L"flashtitle")
        frame->StartMessageAlert();
    else if (word == L"blinktitle")
        frame->StartHighlightAlert();
    else if (word == L"restoretitle")
        frame->RestoreTitle();
    else if (word == L"quit")
        ::PostMessageW(window, WM_CLOSE, 0, 0);
}

bool TIRCWorld::ExecuteAction(const CString& name) { return frame && frame->ExecuteAction(name); }

void TIRCWorld::RunProgram(const CString& program, const CString& arguments, const CString& folder, bool minimized)
{
    ::ShellExecuteW(nullptr, L"open", program, arguments, folder.IsEmpty() ? nullptr : folder.GetString(),
                    minimized ? SW_MINIMIZE : SW_SHOWNORMAL);
}

CString TIRCWorld::GetSoundsFolder() { return config->GetSoundsFolder(); }

void TIRCWorld::ShowDCCDialog(bool minimized)
{
    if (frame)
        frame->ShowDCCDialog(minimized);
}

void TIRCWorld::ShowIgnoreList(const CString& mask)
{
    if (frame)
        frame->ShowIgnoreList(mask);
}

bool TIRCWorld::ChooseFileToSend(const CString& nick, CString& path)
{
    TFileDialog dialog(true, CString(), CString(), OFN_EXPLORER | OFN_HIDEREADONLY,
                       LoadResourceString(IDS_FILTER_ALL_FILES), frame ? frame->GetFrameWindow() : nullptr);
    CString title;
    title.Format(LoadResourceString(IDS_SEND_FILE_TO_NICK_TITLE), nick.GetString());
    dialog.SetTitle(title);
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    return true;
}

void TIRCWorld::BringDCCDialogToFront()
{
    if (frame)
        frame->BringDCCDialogToFront();
}

void TIRCWorld::BlinkDCCDialog()
{
    if (frame)
        frame->BlinkDCCDialog();
}

void TIRCWorld::FindChannelByWindow(HWND window, TIRCUnit** unit, TIRCChannel** channel) const
{
    if (!unit || !channel)
        return;
    *unit = nullptr;
    *channel = nullptr;
    if (!window)
        return;
    for (TIRCUnit* owner : units)
        for (TIRCChannel* node : owner->GetChannels()) {
            auto* who = dynamic_cast<TWhoDialog*>(node->GetWhoDialog());
            if (who && who->m_hWnd == window) {
                *unit = owner;
                *channel = node;
                return;
            }
        }
}

HWND TIRCWorld::GetWhoListWindow(const TIRCChannel* channel) const
{
    auto* who = channel ? dynamic_cast<TWhoDialog*>(channel->GetWhoDialog()) : nullptr;
    TListView* list = who ? who->GetListView() : nullptr;
    return list ? list->m_hWnd : nullptr;
}

void TIRCWorld::GetActiveSelection(TIRCUnit*& unit, TIRCChannel*& channel) const
{
    HWND focus = ::GetFocus();
    HWND top = focus ? ::GetAncestor(focus, GA_ROOT) : nullptr;
    if (top && (!frame || top != frame->GetFrameWindow())) {
        FindChannelByWindow(top, &unit, &channel);
        if (channel)
            return;
    }
    GetSelection(unit, channel);
}

void TIRCWorld::AskPendingNickQuestions()
{
    if (nickDialog)
        return;
    std::vector<TIRCUnit*> asking = units;
    for (TIRCUnit* unit : asking) {
        TNickRequest asked;
        if (!HasUnit(unit) || !unit->TakeNickQuestion(asked))
            continue;
        unsigned serial = unit->GetSerial();
        TNickRequest answer = asked;
        if (RunNickDialog(answer) && (unit = FindUnitBySerial(serial)) != nullptr)
            unit->AnswerNickQuestion(asked, answer);
    }
}

// Each nick dialog writes its whole list back, so a second one over the first would lose the list
// edits of one of them: the open one is brought forward instead.
bool TIRCWorld::RunNickDialog(TNickRequest& request)
{
    if (nickDialog) {
        ForceToFront(nickDialog->m_hWnd);
        return false;
    }
    TNickDialog dialog;
    dialog.SetNick(request.nick);
    dialog.SetServerName(request.serverName);
    dialog.nickLength = request.nickLength;
    dialog.away = request.away;
    dialog.nickList = request.nickList;
    nickDialog = &dialog;
    const bool ok = dialog.DoModal() == IDOK;
    nickDialog = nullptr;
    config->preference.nickList = dialog.nickList;
    config->preference.Save(config->GetSettingsFolder());
    request.nick = dialog.GetNick();
    request.away = dialog.away;
    return ok;
}

IInviteRequest* TIRCWorld::ShowInvitation(IInviteDialogListener* listener, const CString& nick, const CString& channel,
                                          bool activate)
{
    if (!TryOpenInviteDialog())
        return nullptr;
    TInviteDialog* dialog = new TInviteDialog();
    dialog->SetListener(listener);
    dialog->SetNick(nick);
    dialog->SetChannel(channel);
    if (!dialog->CreateAndShow(activate)) {
        delete dialog;
        OnInviteDialogClosed();
        return nullptr;
    }
    if (activate)
        ForceToFront(dialog->m_hWnd);
    return dialog;
}

IMaskList* TIRCWorld::CreateMaskList(TIRCUnit*, TIRCChannel* channel, const CString& title)
{
    TChannelMaskList* list = new TChannelMaskList(channel, title);
    if (!list->Create()) {
        delete list;
        return nullptr;
    }
    return list;
}

IDCCChatRequest* TIRCWorld::OpenDCCChatDialog(IDCCChatDialogListener* listener, const CString& nick,
                                              const CString& address, int port, bool activate)
{
    if (!TryOpenDCCChatDialog())
        return nullptr;
    TDCCChatDialog* dialog = new TDCCChatDialog();
    dialog->SetListener(listener);
    dialog->SetNick(nick);
    dialog->SetAddress(address);
    dialog->SetPort(port);
    if (!dialog->ShowModeless(activate)) {
        delete dialog;
        OnDCCChatDialogClosed();
        return nullptr;
    }
    if (activate)
        ForceToFront(dialog->m_hWnd);
    return dialog;
}
