// What the world and the main window ask of a unit: join, part, quit, nick, WHOIS, modes,
// invitations, topics and the unit's list of macro files.
#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "ircproto/IRCNames.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

#include <algorithm>

void TIRCUnit::JoinChannel(TIRCChannel* channel) { SendJoin(channel->GetName(), channel->GetConfig().Password); }

void TIRCUnit::JoinChannelByName(const CString& name, const CString& key)
{
    if (CanJoinByName(name))
        SendJoin(name, key);
}

// The name comes from a server's text (an invitation, the channel list): "0" or "#x,0" would
// leave every channel.
bool TIRCUnit::CanJoinByName(const CString& name)
{
    if (IsSingleChannelName(name))
        return true;
    if (!name.IsEmpty())
        PrintSystemLine(nullptr, FormatStringResourceWithText(IDS_NOT_ONE_CHANNEL, name));
    return false;
}

void TIRCUnit::PartChannelDefault(TIRCChannel* channel) { PartChannel(channel, ExpandText(settings.PartMessage)); }

void TIRCUnit::PartChannel(TIRCChannel* channel, const CString& comment) { SendPart(channel->GetIRCName(), comment); }

void TIRCUnit::QuitDefault(bool dropQueued)
{
    // Waiting lines would hold the QUIT back; the history stays for the flood window.
    if (dropQueued)
        connection.ClearQueues();
    SendQuit(ExpandText(settings.QuitMessage));
}

void TIRCUnit::Shutdown(bool immediate)
{
    session.shutdown = true;
    // Nothing may connect again while the program waits for the other servers to quit.
    session.reconnectArmed = false;
    session.delayedConnect = false;
    bool open = connection.IsActive() || session.state == StateConnecting;
    if (immediate || session.state != StateLoggedIn) {
        // The next start goes to the server's own address again.
        session.altServerIndex = -1;
        if (open) {
            connection.Close();
            Disconnect(true, false);
            session.delayedConnect = false;
        }
    } else {
        QuitDefault(true);
    }
    CloseWhoisDialogs();
    CloseInviteDialogs();
    CloseDccChatDialogs();
    CloseChannelListDialog();
    world->DestroyProtocolLog(this);
    for (TIRCChannel* channel : channels)
        channel->CloseLogAndDialogs();
    UnloadScripts();
}

void TIRCUnit::ChangeNick(const CString& nick) { SendNick(nick, true); }

void TIRCUnit::SendWhois(const CString& nick)
{
    // The nick twice makes the nick's own server answer, which knows the idle time.
    SendCommand(L"WHOIS", preference->DetailWhois ? nick + L" " + nick : nick, CString(), 2, 0);
}

void TIRCUnit::ChangeChannelModes(TIRCChannel* channel, const TChannelMode& wanted)
{
    CString change = wanted.BuildChangeString(channel->mode);
    if (!change.IsEmpty())
        SendChannelMode(channel, change);
}

void TIRCUnit::InviteToChannel(const CString& nick, const CString& channelName)
{
    CString name = channelName;
    if (!name.IsEmpty() && name[0] == L'!') {
        if (TIRCChannel* channel = LookupChannel(name))
            name = channel->GetIRCName();
    } else if (!name.IsEmpty() && name[0] == L'%') {
        name = ExpandChannelAlias(name);
    }
    SendInvite(nick, name);
}

void TIRCUnit::SetTopic(TIRCChannel* channel, const CString& topic) { SendTopic(channel->GetIRCName(), topic); }

void TIRCUnit::RenameMacroFile(const CString& oldName, const CString& newName)
{
    auto& files = settings.MacroFiles;
    auto it = std::find(files.begin(), files.end(), oldName);
    // Another unit's file: this unit's loaded macros stay as they are.
    if (it == files.end())
        return;
    *it = newName;
    ForgetUnreadableMacroFile(oldName);
    ResetMacros();
}

void TIRCUnit::RemoveMacroFile(const CString& name)
{
    auto& files = settings.MacroFiles;
    auto it = std::find(files.begin(), files.end(), name);
    if (it == files.end())
        return;
    files.erase(it);
    ResetMacros();
}

void TIRCUnit::EnableMacroFile(const CString& name, bool enable)
{
    auto& files = settings.MacroFiles;
    auto it = std::find(files.begin(), files.end(), name);
    if (enable)
        ForgetUnreadableMacroFile(name); // the user asks for it again: read it again
    if (enable && it == files.end())
        files.push_back(name);
    else if (!enable && it != files.end())
        files.erase(it);
    ResetMacros();
}

void TIRCUnit::ApplySettings(const TUnitSetting& edited)
{
    bool macroFilesChanged = settings.MacroFiles != edited.MacroFiles;
    settings = edited;
    if (macroFilesChanged)
        ResetMacros();
    if (!connection.IsActive())
        session.codePage = settings.Codepage;
}

void TIRCUnit::UpdateLogServerName()
{
    serverLog.SetServerName(settings.Name);
    for (TIRCChannel* channel : channels)
        channel->logger.SetServerName(settings.Name);
    ReopenLogFiles();
}

void TIRCUnit::ReopenLogFiles()
{
    serverLog.ReopenIfNameChanged();
    for (TIRCChannel* channel : channels)
        channel->logger.ReopenIfNameChanged();
}
