// Unit output: where each line goes, its display switch, line type and event data.

#include "irc/IRCUnit.h"

#include "settings/Preference.h"

void TIRCUnit::PrintSystemText(TIRCChannel*, const CString&) {}
void TIRCUnit::PrintErrorText(const CString&) {}
void TIRCUnit::PrintReply(const CString&) {}
void TIRCUnit::PrintUnknownReply(const TIRCReceiveMessage&) {}
void TIRCUnit::LogReceivedLine(const CStringA&) {}
void TIRCUnit::LogSentLine(const CStringA&) {}
void TIRCUnit::CloseServerLog() {}
void TIRCUnit::FlushLogs() {}

void TIRCUnit::RefreshTreeItem(TIRCChannel* channel) { world->RefreshTreeItem(this, channel); }

void TIRCUnit::PlaySoundFile(const CString& path)
{
    if (session.shutdown || (preference->MuteOnAway && session.userMode.away))
        return;
    world->PlaySoundFile(path);
}
