// Talks opened with a member: a node of their own, with the member and the user in it.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

TIRCChannel* TIRCUnit::OpenTalk(const TIRCMember& peer)
{
    if (FindChannel(peer.nick))
        return nullptr;
    TChannelConfig config;
    config.Name = peer.nick;
    config.Update = preference->TalkUpdate;
    config.Keyword = preference->TalkKeyword;
    config.Console = preference->TalkAllLog;
    TIRCChannel* talk = AddChannel(config, TIRCChannel::KindTalk);
    if (!talk)
        return nullptr;
    if (channelWindows)
        channelWindows->OnChannelAdded(this, talk);
    PrintSystemLine(talk, LoadResourceString(IDS_TALK_STARTED));
    talk->OnJoined();
    talk->GetMembers().AddMember(peer, true);
    talk->GetMembers().AddMember(TIRCMember(session.currentNick, session.userName, session.host), true);
    return talk;
}
