// The unit's WHOIS windows: one per nick, filed under the IRC-folded nick, and what their
// buttons and dropped files ask of the unit.

#include "irc/IRCUnit.h"

#include "ircproto/IRCNames.h"
#include "settings/Preference.h"

namespace {

class TNullUserInfoWindows : public IUserInfoWindows {
public:
    IWhoWindow* CreateWhoWindow(TIRCUnit*, TIRCChannel*, IWhoDialogListener*) override { return nullptr; }
    IWhoisWindow* CreateWhoisWindow(TIRCUnit*, const CString&, IWhoisDialogListener*) override { return nullptr; }
    void OnWhoisWindowClosed() override {}
};

} // namespace

IUserInfoWindows* GetNullUserInfoWindows()
{
    static TNullUserInfoWindows windows;
    return &windows;
}

void TIRCUnit::SetUserInfoWindows(IUserInfoWindows* windows)
{
    userInfoWindows = windows ? windows : GetNullUserInfoWindows();
}

IWhoisWindow* TIRCUnit::FindWhoisDialog(const CString& nick) const
{
    auto it = whoisWindows.find(IRCToUpper(nick));
    return it == whoisWindows.end() ? nullptr : it->second;
}

// By name and by channel, looked up again each time: an update may close a window.
void TIRCUnit::KickIdleDialogs(WPARAM wParam, LPARAM lParam)
{
    if (channelList)
        channelList->KickIdle(wParam, lParam);
    std::vector<CString> nicks;
    for (const auto& entry : whoisWindows)
        nicks.push_back(entry.first);
    for (const CString& nick : nicks) {
        auto it = whoisWindows.find(nick);
        if (it != whoisWindows.end())
            it->second->KickIdle(wParam, lParam);
    }
    for (TIRCChannel* channel : std::vector<TIRCChannel*>(channels)) {
        if (HasChannel(channel) && channel->GetWhoDialog())
            channel->GetWhoDialog()->KickIdle(wParam, lParam);
        for (int i = 0; i < TIRCChannel::MaskListCount; i++)
            if (HasChannel(channel) && channel->GetMaskList(i))
                channel->GetMaskList(i)->KickIdle();
    }
}

IWhoisWindow* TIRCUnit::ShowWhoisDialog(const CString& nick)
{
    if (session.shutdown)
        return nullptr;
    if (IWhoisWindow* open = FindWhoisDialog(nick))
        return open;
    IWhoisWindow* window = userInfoWindows->CreateWhoisWindow(this, nick, this);
    if (!window)
        return nullptr;
    window->SetNick(nick);
    whoisWindows[IRCToUpper(nick)] = window;
    return window;
}

void TIRCUnit::RenameWhoisDialog(const CString& oldNick, const CString& newNick)
{
    auto it = whoisWindows.find(IRCToUpper(oldNick));
    if (it == whoisWindows.end())
        return;
    IWhoisWindow* window = it->second;
    whoisWindows.erase(it);
    auto other = whoisWindows.find(IRCToUpper(newNick));
    if (other != whoisWindows.end()) {
        delete other->second;
        whoisWindows.erase(other);
        userInfoWindows->OnWhoisWindowClosed();
    }
    window->SetNick(newNick);
    whoisWindows[IRCToUpper(newNick)] = window;
}

void TIRCUnit::CloseWhoisDialogs()
{
    // Taken out first: a window going away must not find itself in the map again.
    std::map<CString, IWhoisWindow*> open;
    open.swap(whoisWindows);
    for (auto& entry : open) {
        delete entry.second;
        userInfoWindows->OnWhoisWindowClosed();
    }
}

void TIRCUnit::OnRefresh(IWhoisWindow* dialog) { SendWhois(dialog->GetNick()); }

void TIRCUnit::OnJoin(IWhoisWindow*, const CString& entry)
{
    // 319 puts the nick's member prefix before a channel's name, and '+' also begins channel
    // names: one prefix goes only when a channel's name remains.
    const TISupportMode& modes = session.capabilities.modes;
    bool prefixed = !entry.IsEmpty() && (entry[0] == L'@' || entry[0] == L'+' || modes.IsMemberPrefix(entry[0]));
    JoinChannelByName(prefixed && IsChannelName(entry.Mid(1)) ? entry.Mid(1) : entry, CString());
}

void TIRCUnit::OnAddMask(IWhoisWindow*, const CString& nick, const CString& user, const CString& host)
{
    frame->ShowIgnoreList(preference->MakeMask(nick, user, host));
}

void TIRCUnit::OnDropFiles(IWhoisWindow*, const CString& nick, const CString& path)
{
    if (session.state == StateLoggedIn)
        dccManager->AddSendItem(this, nick, path);
}

void TIRCUnit::OnSendFile(IWhoisWindow* dialog, const CString& nick)
{
    if (session.state != StateLoggedIn)
        return;
    CString path;
    // The chooser is modal: the state is asked again when the file is offered.
    if (frame->ChooseFileToSend(nick, path))
        OnDropFiles(dialog, nick, path);
}

void TIRCUnit::OnTalk(IWhoisWindow* dialog, const CString& nick)
{
    TIRCMember peer(nick, dialog->GetUserName(), dialog->GetHost());
    TIRCChannel* talk = OpenTalk(peer);
    if (talk)
        frame->Select(this, talk);
}

void TIRCUnit::OnClose(IWhoisWindow* dialog)
{
    for (auto it = whoisWindows.begin(); it != whoisWindows.end(); ++it)
        if (it->second == dialog) {
            whoisWindows.erase(it);
            delete dialog;
            userInfoWindows->OnWhoisWindowClosed();
            return;
        }
}
