// Unit output: where each line goes (own log, all-channels log, log files, history windows),
// its display switch, line type and event data, and the tree marks that follow it.

#include "irc/IRCUnit.h"

#include "foundation/File.h"
#include "foundation/ResourceString.h"
#include "log/LogFormatter.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

namespace {

TLogFormat* DefaultFormat()
{
    static TLogFormat format;
    static bool made = false;
    if (!made) {
        format.SetDefaults();
        made = true;
    }
    return &format;
}

// Copies of server NICK, KILL and QUIT lines lead nowhere: they may belong to any channel.
bool CarriesNoEventData(int lineType) { return lineType == 8 || lineType == 5; }

// Nodes are named by serial number: a later node in the same memory must not answer for this one.
CString NodeTag(const TIRCNode* node)
{
    CString text;
    text.Format(L"%08X", node ? node->GetSerial() : 0u);
    return text;
}

} // namespace

void TIRCUnit::SetLogFormat(const TLogFormat* format) { logFormat = format ? format : DefaultFormat(); }

int TIRCUnit::GetLineType(int eventType) { return GetLineTypeOfEvent(eventType); }

TLogLineData TIRCUnit::MakeLine(int eventType, const CString& nick, const CString& text, int nickStyle) const
{
    TLogLineData line;
    line.timeText = TimeText();
    line.body = text;
    line.lineType = GetLineType(eventType);
    line.nickStyle = nickStyle;
    if (!nick.IsEmpty()) {
        if (IsMessageLineType(line.lineType))
            line.nickPrefix = NickPrefix(nick);
        line.nick = nick;
    }
    line.unitTag = (intptr_t)this;
    return line;
}

// The stamp changes once a second at most; a flood of lines shares it.
CString TIRCUnit::TimeText() const
{
    if (!logFormat->EnableTime)
        return CString();
    // The run-time's time() is slow enough to show in a flood; the system clock is not.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long second = ((unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime) / 10000000;
    if (second != timeCache.second || logFormat->Time != timeCache.pattern) {
        timeCache.second = second;
        timeCache.pattern = logFormat->Time;
        timeCache.text = TLogFormatter(*logFormat).FormatTimeAt(time(nullptr));
    }
    return timeCache.text;
}

// A line and its all-channels copy share their prefixes; each is expanded once for both.
CString TIRCUnit::NickPrefix(const CString& nick) const
{
    TPrefixCache& cache = prefixCache[0];
    if (nick != cache.name || logFormat->PreNick != cache.pattern) {
        cache.name = nick;
        cache.pattern = logFormat->PreNick;
        cache.text = TLogFormatter(*logFormat).FormatNickPrefix(nick);
    }
    return cache.text;
}

CString TIRCUnit::PlacePrefix(const CString& channelName) const
{
    TPrefixCache& cache = prefixCache[1];
    const CString& pattern = channelName.IsEmpty() ? logFormat->Unit : logFormat->UnitChannel;
    if (channelName != cache.name || pattern != cache.pattern || settings.Name != cache.server) {
        TLogFormatter formatter(*logFormat);
        cache.name = channelName;
        cache.pattern = pattern;
        cache.server = settings.Name;
        cache.text = channelName.IsEmpty() ? formatter.FormatUnitPrefix(settings.Name)
                                           : formatter.FormatUnitChannelPrefix(settings.Name, channelName);
    }
    return cache.text;
}

bool TIRCUnit::NodeSetting(TIRCChannel* channel, bool TChannelConfig::*channelFlag, bool TUnitSetting::*unitFlag) const
{
    return channel ? channel->GetConfig().*channelFlag : settings.*unitFlag;
}

bool TIRCUnit::PrintToServer(const CString& channelName, const CString& nick, const CString& text, int eventType,
                             int nickStyle, bool checkKeywords, const CString& eventData)
{
    bool keyword = PrintServerLine(channelName, nick, text, eventType, nickStyle, checkKeywords, eventData);
    if (ShouldCopyToAllLog(nullptr))
        CopyServerLineToAllLog(channelName, nick, text, eventType, nickStyle, checkKeywords);
    return keyword;
}

bool TIRCUnit::PrintToChannel(TIRCChannel* channel, const CString& nick, const CString& text, int eventType,
                              int nickStyle, bool checkKeywords)
{
    bool keyword = PrintChannelLine(eventType, channel, nick, text, nickStyle, checkKeywords);
    if (ShouldCopyToAllLog(channel))
        CopyChannelLineToAllLog(channel, nick, text, eventType, nickStyle, checkKeywords);
    return keyword;
}

void TIRCUnit::PrintSystemText(TIRCChannel* channel, const CString& text)
{
    PrintSystemLine(channel, text);
    // The server node decides for channel lines too.
    if (ShouldCopyToAllLog(nullptr))
        CopySystemLineToAllLog(channel, text);
}

void TIRCUnit::PrintReply(const CString& text)
{
    PrintToServer(CString(), CString(), text, EVENT_REPLY, 0, false, CString());
}

void TIRCUnit::PrintCtcpQueryText(const CString& text)
{
    PrintToServer(CString(), CString(), text, EVENT_CTCP_QUERY, 0, false, CString());
}

void TIRCUnit::PrintCtcpReplyText(const CString& text)
{
    PrintToServer(CString(), CString(), text, EVENT_CTCP_REPLY, 0, false, CString());
}

void TIRCUnit::PrintErrorText(const CString& text)
{
    PrintToServer(CString(), CString(), text, EVENT_ERROR, 0, false, CString());
}

void TIRCUnit::PrintReplyParams(const TIRCReceiveMessage& message) { PrintReply(message.GetParamsFrom(1)); }

void TIRCUnit::PrintUnknownReply(const TIRCReceiveMessage& message)
{
    CString text;
    text.Format(L"*Reply(%03d) %s", message.numeric, message.GetParamsFrom(1).GetString());
    PrintReply(text);
}

void TIRCUnit::PrintErrorReply(const TIRCReceiveMessage& message)
{
    CString text = TLogFormatter(*logFormat).FormatErrorReply(message.numeric, message.GetParamsFrom(1));
    PrintToServer(CString(), CString(), text, EVENT_ERROR_REPLY, 0, false, CString());
}

bool TIRCUnit::PrintServerLine(const CString& channelName, const CString& nick, const CString& text, int eventType,
                               int nickStyle, bool checkKeywords, const CString& eventData)
{
    if (!IsChannelEventEnabled(*logFormat, eventType))
        return false;
    TLogLineData line = MakeLine(eventType, nick, text, nickStyle);
    if (!channelName.IsEmpty())
        line.placePrefix = TLogFormatter(*logFormat).FormatChannelPrefix(channelName);
    line.eventData = eventData;
    TLogLineAdded added;
    if (ILogLineSink* view = world->GetLogSink(this, nullptr))
        added = view->AddLine(line, checkKeywords && settings.Keyword);
    line.lineNumber = added.lineNumber;
    line.eventData.Format(L"%s 0 %lu", NodeTag(this).GetString(), (unsigned long)added.lineNumber);
    serverLog.WriteLine(line.timeText + line.placePrefix + line.nickPrefix + line.body);
    line.placePrefix = PlacePrefix(channelName);
    if (added.keyword)
        OnKeywordHit(nullptr, line);
    if (!added.urls.empty())
        CollectUrls(line, added, nullptr);
    return added.keyword;
}

bool TIRCUnit::PrintChannelLine(int eventType, TIRCChannel* channel, const CString& nick, const CString& text,
                                int nickStyle, bool checkKeywords)
{
    if (!IsChannelEventEnabled(*logFormat, eventType))
        return false;
    TLogLineData line = MakeLine(eventType, nick, text, nickStyle);
    if (channel->GetKind() == TIRCChannel::KindChannel && logFormat->EnableChannelInChannelLog &&
        IsMessageLineType(line.lineType))
        line.placePrefix = TLogFormatter(*logFormat).FormatChannelPrefix(channel->GetName());
    line.channelTag = (intptr_t)channel;
    return channel->AddLine(line, checkKeywords);
}

void TIRCUnit::CopyServerLineToAllLog(const CString& channelName, const CString& nick, const CString& text,
                                      int eventType, int nickStyle, bool checkKeywords)
{
    if (!IsConsoleEventEnabled(*logFormat, eventType))
        return;
    TLogLineData line = MakeLine(eventType, nick, text, nickStyle);
    line.placePrefix = PlacePrefix(channelName);
    if (!CarriesNoEventData(line.lineType))
        line.eventData = NodeTag(this) + L" 0";
    world->AddLineToAllLog(line, checkKeywords && settings.Keyword);
}

void TIRCUnit::CopyChannelLineToAllLog(TIRCChannel* channel, const CString& nick, const CString& text, int eventType,
                                       int nickStyle, bool checkKeywords)
{
    if (!IsConsoleEventEnabled(*logFormat, eventType))
        return;
    TLogLineData line = MakeLine(eventType, nick, text, nickStyle);
    line.placePrefix = PlacePrefix(channel ? channel->GetName() : CString());
    line.channelTag = (intptr_t)channel;
    line.eventData = NodeTag(this) + L" " + NodeTag(channel);
    bool keyword = NodeSetting(channel, &TChannelConfig::Keyword, &TUnitSetting::Keyword);
    world->AddLineToAllLog(line, checkKeywords && keyword);
}

bool TIRCUnit::ShouldCopyToAllLog(TIRCChannel* channel)
{
    if (!NodeSetting(channel, &TChannelConfig::Console, &TUnitSetting::Console))
        return false;
    if (!world->IsSelected(this, channel) || world->IsScrolledBack(this, channel))
        return true;
    return preference->PrintAllLogToConsole && !world->IsMainWindowActive();
}

void TIRCUnit::PrintSystemLine(TIRCChannel* channel, const CString& text)
{
    if (channel)
        PrintChannelLine(EVENT_STATUS, channel, CString(), text, 0, false);
    else
        PrintServerLine(CString(), CString(), text, EVENT_STATUS, 0, false, CString());
}

void TIRCUnit::CopySystemLineToAllLog(TIRCChannel* channel, const CString& text)
{
    if (channel)
        CopyChannelLineToAllLog(channel, CString(), text, EVENT_STATUS, 0, false);
    else
        CopyServerLineToAllLog(CString(), CString(), text, EVENT_STATUS, 0, false);
}

void TIRCUnit::OnKeywordHit(TIRCChannel* channel, const TLogLineData& line)
{
    if (!NodeSetting(channel, &TChannelConfig::Keyword, &TUnitSetting::Keyword))
        return;
    world->MarkNode(this, channel, MARK_KEYWORD);
    if (preference->keyword.BlinkTitleOnKeyword && !world->IsMainWindowActive())
        world->StartHighlightAlert();
    if (preference->EnableKeywordSound)
        PlaySoundFile(preference->KeywordSoundFile);
    TLogLineData copy = line;
    if (channel)
        copy.placePrefix = PlacePrefix(channel->GetName());
    world->AddToKeywordHistory(copy);
}

void TIRCUnit::CollectUrls(const TLogLineData& line, const TLogLineAdded& added, TIRCChannel* channel)
{
    bool own = line.nickStyle == 1 || line.nick == session.currentNick;
    if (own && !preference->RecordUrlInMyMessage)
        return;
    if (preference->IgnoreURLInConsoleReply && !channel && line.lineType == 15)
        return;
    TLogLineData copy = line;
    if (channel)
        copy.placePrefix = PlacePrefix(channel->GetName());
    world->AddToUrlHistory(copy);
    if (!preference->AutoClipUrl || !IsMessageLineType(line.lineType))
        return;
    // The view found the URLs already; the ranges index its composed text.
    for (const TLogRange& url : added.urls)
        world->QueueClipboardText(added.text.Mid(url.start, url.end - url.start));
}

void TIRCUnit::MarkNewTalk(TIRCChannel* talk)
{
    if (HasChannel(talk))
        world->MarkNode(this, talk, MARK_NEW_TALK);
    if (preference->EnableTalkSound)
        PlaySoundFile(preference->TalkSoundFile);
}

void TIRCUnit::MarkUpdate(TIRCChannel* channel)
{
    if (!NodeSetting(channel, &TChannelConfig::Update, &TUnitSetting::Update))
        return;
    world->MarkNode(this, channel, MARK_UPDATE);
    if (preference->FlashTitleOnUpdate && !world->IsMainWindowActive())
        world->StartMessageAlert();
}

void TIRCUnit::RefreshTreeItem(TIRCChannel* channel) { world->RefreshTreeItem(this, channel); }

void TIRCUnit::LogReceivedText(const CString& text)
{
    if (!session.shutdown)
        world->AddProtocolLine(this, text, 0);
}

void TIRCUnit::LogSentLine(const CStringA& line)
{
    if (session.shutdown)
        return;
    // The server password goes to the server only: the log shows that one was sent, not which.
    CString text = Decode(line);
    if (text.Left(5).CompareNoCase(L"PASS ") == 0)
        text = L"PASS ********";
    world->AddProtocolLine(this, text, 1);
}

void TIRCUnit::CloseServerLog() { serverLog.Enable(false); }

void TIRCUnit::OnLogFileFailed(TFileLogger*, const CString& path, DWORD error)
{
    CString text;
    text.Format(LoadResourceString(IDS_LOG_FILE_FAILED), path.GetString(), GetSystemErrorText(error).GetString());
    PrintSystemLine(nullptr, text);
}

void TIRCUnit::FlushLogs()
{
    for (TIRCChannel* channel : channels)
        channel->logger.FlushTick();
    serverLog.FlushTick();
}

void TIRCUnit::PlaySoundFile(const CString& path)
{
    if (session.shutdown || (preference->MuteOnAway && session.userMode.away))
        return;
    world->PlaySoundFile(path);
}
