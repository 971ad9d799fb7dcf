#include "irc/IRCChannel.h"

#include "irc/IRCUnit.h"
#include "settings/Preference.h"

TIRCChannel::TIRCChannel(TIRCUnit* owner, const TChannelConfig& entry, int channelKind)
    : unit(owner), config(entry), ircName(entry.Name), kind(channelKind)
{
    const TPreference* preference = unit->GetPreference();
    logger.preferences = preference;
    logger.kind = kind == KindChannel ? LOGFILE_CHANNEL : kind == KindTalk ? LOGFILE_TALK : LOGFILE_DCCCHAT;
    logger.SetServerName(unit->GetName());
    logger.SetChannelName(config.Name);
    ApplyPreferences();
}

void TIRCChannel::ApplyPreferences()
{
    const TPreference* preference = unit->GetPreference();
    bool enabled = kind == KindChannel ? preference->EnableChannelLog
                   : kind == KindTalk  ? preference->EnableTalkLog
                                       : preference->EnableDCCChatLog;
    if (!enabled)
        logger.Close();
    logger.enabled = enabled;
}

bool TIRCChannel::AddLine(TLogLineData line, bool checkKeywords)
{
    TLogLineAdded added;
    if (ILogLineSink* view = unit->GetWorld()->GetLogSink(unit, this))
        added = view->AddLine(line, checkKeywords && config.Keyword);
    // The history copies lead back here by unit, channel and line number.
    line.lineNumber = added.lineNumber;
    line.eventData.Format(L"%x %x %lu", (unsigned)(uintptr_t)unit, (unsigned)(uintptr_t)this,
                          (unsigned long)added.lineNumber);
    logger.WriteLine(line.timeText + line.placePrefix + line.nickPrefix + line.body);
    if (added.keyword)
        unit->OnKeywordHit(this, line);
    if (!added.urls.empty())
        unit->CollectUrls(line, added, this);
    return added.keyword;
}
