#include "script/UnitScriptServer.h"

#include "irc/IRCUnit.h"

namespace {
// Commands from scripts: the interpreter skips onSendingCommand for them.
const int kIssuedByScript = 1;

// The tree marks behind highlighted, newTalk and unread, by TScriptChannelMark.
bool TIRCNode::*const kNodeMarks[] = {&TIRCNode::keywordMark, &TIRCNode::newTalkMark, &TIRCNode::updateMark};
} // namespace

CString TUnitScriptServer::GetName() { return unit->GetName(); }

bool TUnitScriptServer::IsConnected() { return unit->GetConnection().IsActive(); }

bool TUnitScriptServer::IsAway() { return unit->GetSession().userMode.away; }

CString TUnitScriptServer::GetMyNick() { return unit->GetSession().currentNick; }

CString TUnitScriptServer::GetMyUsername() { return unit->GetSession().userName; }

CString TUnitScriptServer::GetMyHost() { return unit->GetSession().host; }

CString TUnitScriptServer::GetMyIPAddress() { return unit->GetMyAddress().ToString(); }

void TUnitScriptServer::Connect() { unit->Connect(); }

void TUnitScriptServer::Disconnect()
{
    TIRCUnitSession& session = unit->GetSession();
    session.altServerIndex = -1;
    if (unit->GetConnection().IsActive() || unit->GetState() == TIRCUnit::StateConnecting)
        unit->CloseByUser();
}

void TUnitScriptServer::ExecuteCommand(const CString& line) { unit->ExecuteCommand(line, kIssuedByScript); }

void TUnitScriptServer::PrintScriptText(TIRCChannel* channel, const CString& text)
{
    unit->PrintScriptText(channel, text);
}

std::vector<TIRCChannel*> TUnitScriptServer::GetChannels() { return unit->GetChannels(); }

TIRCChannel* TUnitScriptServer::FindChannel(const CString& name) { return unit->FindChannel(name); }

TIRCChannel* TUnitScriptServer::LookupChannel(const CString& name) { return unit->LookupChannel(name); }

unsigned TUnitScriptServer::GetChannelSerial(TIRCChannel* channel) { return channel->GetSerial(); }

TIRCChannel* TUnitScriptServer::FindChannelBySerial(unsigned serial) { return unit->FindChannelBySerial(serial); }

TScriptChannelRecord TUnitScriptServer::GetChannelRecord(TIRCChannel* channel)
{
    TScriptChannelRecord record;
    record.name = channel->GetName();
    record.active = channel->IsJoined();
    record.kind = channel->GetKind();
    record.mode = channel->mode;
    // A script's copy may outlive the server whose tables these are.
    record.mode.serverModes = nullptr;
    for (TScriptChannelMark mark : {MarkHighlighted, MarkNewTalk, MarkUnread})
        record.marks[mark] = channel->*kNodeMarks[mark];
    return record;
}

std::vector<CString> TUnitScriptServer::GetMemberNicks(TIRCChannel* channel)
{
    return channel->GetMembers().GetNicksInListOrder();
}

bool TUnitScriptServer::FindMember(TIRCChannel* channel, const CString& nick, TScriptMemberRecord& record)
{
    const TIRCMember* member = channel->FindMember(nick);
    if (!member)
        return false;
    record.nick = member->nick;
    record.username = member->user;
    record.address = member->host;
    record.q = member->q;
    record.a = member->a;
    record.o = member->o;
    record.h = member->h;
    record.v = member->v;
    record.groupKind = member->groupKind;
    record.groupIndex = member->groupIndex;
    return true;
}

void TUnitScriptServer::SetChannelMark(TIRCChannel* channel, TScriptChannelMark mark, bool set, bool repaint)
{
    channel->*kNodeMarks[mark] = set;
    if (repaint)
        unit->RedrawTree();
}
