// The builders of outgoing commands with their flood weights, JOIN with the rejoin and safe-channel
// bookkeeping, and the services the unit offers the WHO and rejoin managers.

#include "irc/IRCUnit.h"

#include "foundation/IrcMarkup.h"
#include "foundation/ResourceString.h"
#include "foundation/StringUtils.h"
#include "irc/Ctcp.h"
#include "irc/UserCommand.h"
#include "ircproto/IRCNames.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

#include <algorithm>

namespace {

TNullSendScripts nullSendScripts;
TNullDccManager nullDccManager;
TNullUnitFrame nullFrame;

} // namespace

void TIRCUnit::SetSendScripts(IUnitSendScripts* events) { sendScripts = events ? events : &nullSendScripts; }

void TIRCUnit::SetDccManager(IUnitDccManager* manager) { dccManager = manager ? manager : &nullDccManager; }

void TIRCUnit::SetFrame(IUnitFrame* owner) { frame = owner ? owner : &nullFrame; }

void TIRCUnit::SendCtcpQuery(const CString& target, const CString& query)
{
    CString body = query;
    // The reply handler turns the tick count back into the round trip.
    if (body.CompareNoCase(L"PING") == 0)
        body.Format(L"PING %lu", (unsigned long)GetTickCount());
    SendCommand(L"PRIVMSG", target, MakeCtcpParam(body), 2, 0);
}

void TIRCUnit::SendCtcpReply(const CString& target, const CString& text)
{
    SendCommand(L"NOTICE", target, MakeCtcpParam(text), 2, 0);
}

void TIRCUnit::SendMode(const CString& target, const CString& modes)
{
    SendCommand(L"MODE", target, modes, IsChannelName(target) ? CountModePenalty(modes) : 2, 0);
}

void TIRCUnit::SendNick(const CString& nick, bool remember)
{
    session.firstNick = nick;
    if (remember) {
        session.secondNick = session.wantedNick;
        session.wantedNick = nick;
        session.nickRetryCount = 0;
    }
    SendCommand(L"NICK", nick, CString(), 2, 0);
}

void TIRCUnit::SendAway(const CString& message)
{
    SendCommand(L"AWAY", CString(), message.IsEmpty() ? CString() : L":" + ConvertMarkupToControlCodes(message), 2, 0);
}

void TIRCUnit::SendPart(const CString& channel, const CString& message)
{
    // A channel left on purpose is not brought back by a reconnect, answered or not.
    CString names = channel;
    while (!names.IsEmpty()) {
        CString name = CutFirstCommaToken(names);
        ForgetRejoin(name);
        if (CanSendLines() && !name.IsEmpty())
            session.partedChannels.push_back(name);
    }
    SendCommand(L"PART", channel, L":" + ConvertMarkupToControlCodes(message), 4, 0);
}

void TIRCUnit::ForgetRejoin(const CString& channel)
{
    EndJoinWait(channel);
    TJoinList& list = session.rejoinList;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const auto& entry) { return IsSameChannel(entry.first, channel); }),
               list.end());
    rejoinManager.Drop(channel);
}

bool TIRCUnit::IsPartedInSession(const CString& channel) const
{
    for (const CString& parted : session.partedChannels)
        if (IsSameChannel(parted, channel))
            return true;
    return false;
}

void TIRCUnit::SendKick(const CString& channel, const CString& nicks, const CString& comment, int penalty)
{
    SendCommand(L"KICK", channel, nicks + L" :" + ConvertMarkupToControlCodes(comment), penalty, 0);
}

void TIRCUnit::SendTopic(const CString& channel, const CString& topic)
{
    SendCommand(L"TOPIC", channel, L":" + ConvertMarkupToControlCodes(topic), 2, 0);
}

void TIRCUnit::QueryTopic(const CString& channel) { SendCommand(L"TOPIC", channel, CString(), 2, 0); }

void TIRCUnit::SendJoin(const CString& channelList, const CString& keyList, bool retry)
{
    CString joined, names = channelList, keys = keyList;
    for (int count = 0; !names.IsEmpty(); count++) {
        CString name = CutFirstCommaToken(names);
        CString key = CutFirstCommaToken(keys);
        if (IsSafeChannelName(name) && !IsSafeChannelCreateName(name))
            safeJoinManager.Add(name);
        else if (IsChannelAlias(name))
            name = ExpandChannelAlias(name);
        // Every channel we ask for is ours, keyed or not: the bound on names a server invents in
        // its 437s must never hold back a retry of the user's own join. Retrying a server's name
        // does not make it ours, or its 437s would pass the bound.
        if (preference->RejoinOnError437 && !retry && !name.IsEmpty() && wcschr(L"#&!", name[0]))
            rejoinManager.RememberKey(name, key);
        joined += count ? L"," + name : name;
        // Joined again after a part: the user wants it back.
        ForgetPart(name);
    }
    // Without a channel too: the server's answer tells the user what is missing.
    SendCommand(L"JOIN", joined, keyList, 2, 0);
}

void TIRCUnit::ForgetPart(const CString& channel)
{
    std::vector<CString>& parted = session.partedChannels;
    parted.erase(
        std::remove_if(parted.begin(), parted.end(), [&](const CString& left) { return IsSameChannel(channel, left); }),
        parted.end());
}

void TIRCUnit::AwaitJoin(const CString& channel, const CString& key)
{
    // "JOIN 0" leaves every channel; only names of channels are waited for. A JOIN of a channel
    // the user is in gets no answer at all.
    if (!IsChannelName(channel))
        return;
    for (TIRCChannel* joined : channels)
        if (joined->IsJoined() && AnswersJoin(channel, joined->GetIRCName()))
            return;
    for (auto& entry : session.awaitedJoins)
        if (AnswersJoin(entry.first, channel)) {
            if (!key.IsEmpty())
                entry.second = key;
            return;
        }
    session.awaitedJoins.emplace_back(channel, key);
}

void TIRCUnit::EndJoinWait(const CString& channel)
{
    TJoinList& awaited = session.awaitedJoins;
    for (auto it = awaited.begin(); it != awaited.end();) {
        if (AnswersJoin(it->first, channel))
            it = awaited.erase(it);
        else
            ++it;
    }
}

// Whether the server's name of a channel is the one a JOIN asked for. "!!name" asks to create
// "!name", which the server names with its id before the name.
bool TIRCUnit::AnswersJoin(const CString& sent, const CString& answer) const
{
    CString asked = IsSafeChannelCreateName(sent) ? sent.Mid(1) : sent;
    CString named = IsSafeChannelCreateName(answer) ? answer.Mid(1) : answer;
    if (CompareNames(asked, named) == 0)
        return true;
    return IsSafeChannelName(named) && CompareNames(asked, GetSafeChannelShortName(named)) == 0;
}

bool TIRCUnit::IsSameChannel(const CString& a, const CString& b) const
{
    return AnswersJoin(a, b) || AnswersJoin(b, a);
}

void TIRCUnit::OnSendWho(const CString& target) { SendWho(target); }

void TIRCUnit::OnRejoin(const TChannelKeyList& list) { AutoJoin(list, true); }

void TIRCUnit::KickMembers(TIRCChannel* channel, const std::vector<CString>& nicks, const CString& comment)
{
    for (const CString& nick : nicks)
        SendKick(channel->GetIRCName(), nick, comment, CountKickPenalty(nick));
}

void TIRCUnit::CancelReconnect()
{
    if (session.state != StateDisconnected || !session.reconnectArmed || session.reconnectCountdown <= 0)
        return;
    session.reconnectArmed = false;
    PrintSystemText(nullptr, LoadResourceString(IDS_RECONNECT_CANCELLED));
}
