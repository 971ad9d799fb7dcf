// Operations other parts of the engine bring (the unit's printers, CTCP, talks). Until they
// arrive, lines are not printed and CTCP is not answered; talks open as they will.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

bool TIRCUnit::PrintToServer(const CString&, const CString&, const CString&, int, int, bool, const CString&)
{
    return false;
}
bool TIRCUnit::PrintToChannel(TIRCChannel*, const CString&, const CString&, int, int, bool) { return false; }
bool TIRCUnit::PrintChannelLine(int, TIRCChannel*, const CString&, const CString&, int, bool) { return false; }
bool TIRCUnit::PrintServerLine(const CString&, const CString&, const CString&, int, int, bool, const CString&)
{
    return false;
}
void TIRCUnit::CopyServerLineToAllLog(const CString&, const CString&, const CString&, int, int, bool) {}
void TIRCUnit::PrintSystemLine(TIRCChannel*, const CString&) {}
void TIRCUnit::PrintReplyParams(const TIRCReceiveMessage&) {}
void TIRCUnit::PrintErrorReply(const TIRCReceiveMessage&) {}
void TIRCUnit::MarkUpdate(TIRCChannel*) {}
void TIRCUnit::MarkNewTalk(TIRCChannel*) {}
void TIRCUnit::UpdateTitleIfSelected(TIRCChannel*) {}

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
        channelWindows->OnChannelAdded(this, talk, false);
    PrintSystemLine(talk, LoadResourceString(IDS_TALK_STARTED));
    talk->OnJoined();
    talk->GetMembers().AddMember(peer, true);
    talk->GetMembers().AddMember(TIRCMember(session.currentNick, session.userName, session.host), true);
    return talk;
}
