#include "irc/IRCChannel.h"

#include "foundation/ResourceString.h"
#include "irc/IRCUnit.h"
#include "ircproto/IRCNames.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

#include <algorithm>
#include <cstdlib>

const wchar_t TIRCChannel::kMaskLetters[] = L"beIR";

namespace {

const UINT kMaskTitles[TIRCChannel::MaskListCount] = {IDS_BAN_LIST_TITLE, IDS_BAN_EXCEPTION_LIST_TITLE,
                                                      IDS_INVITE_LIST_TITLE, IDS_REOP_LIST_TITLE};
const int kAutoOpBatch = 3;

// Last DCC chat port handed out, over all channels of the process.
int lastChatPort = -1;

} // namespace

TIRCChannel::TIRCChannel(TIRCUnit* owner, const TChannelConfig& entry, TKind channelKind)
    : config(entry), unit(owner), kind(channelKind), members(owner)
{
    // A safe channel's full name comes from the server once joined.
    if (config.Name.IsEmpty() || !IsSafeChannelName(config.Name))
        ircName = IsChannelAlias(config.Name) ? ExpandChannelAlias(config.Name) : config.Name;
    if (kind == KindDccChat)
        peerName = config.ExtraText;
    const TPreference* preference = unit->GetPreference();
    logger.preferences = preference;
    logger.listener = unit;
    logger.kind = kind == KindChannel ? LOGFILE_CHANNEL : kind == KindTalk ? LOGFILE_TALK : LOGFILE_DCCCHAT;
    logger.SetServerName(unit->GetName());
    logger.SetChannelName(kind == KindDccChat ? peerName : config.Name);
    ApplyLogSwitch();
}

TIRCChannel::~TIRCChannel()
{
    // A chat line's handler may be what closes the talk: the chat's read loop is then below us.
    TDCCChatEnd::Discard(chatClient);
    TDCCChatEnd::Discard(chatServer);
    CloseWhoDialog();
    if (memberView) {
        unit->DestroyMemberView(this);
        memberView = nullptr;
        members.SetMemberView(nullptr);
    }
    for (IMaskList*& list : maskLists) {
        delete list;
        list = nullptr;
    }
}

void TIRCChannel::ResetState()
{
    mode.Clear();
    topic.Empty();
    joined = op = modesKnown = namesComplete = whoComplete = false;
    chatEncoding = 0;
}

void TIRCChannel::OnJoined()
{
    ResetState();
    joined = true;
    if (!memberView && unit->IsSelected(this))
        EnsureMemberView();
}

void TIRCChannel::OnLeft()
{
    if (IsSafeChannelName(config.Name))
        ircName.Empty();
    joined = false;
    ClearAutoOpQueue();
    members.Clear();
    if (memberView) {
        unit->DestroyMemberView(this);
        memberView = nullptr;
        members.SetMemberView(nullptr);
    }
}

void TIRCChannel::EnsureMemberView()
{
    if (memberView)
        return;
    memberView = unit->CreateMemberView(this);
    members.SetMemberView(memberView);
    members.RefreshView();
}

void TIRCChannel::DetachMemberView()
{
    TIRCNode::DetachMemberView();
    members.SetMemberView(nullptr);
    members.RefreshView();
}

void TIRCChannel::ApplyPreferences()
{
    const TPreference& pref = *unit->GetPreference();
    if (kind == KindTalk) {
        config.Update = pref.TalkUpdate;
        config.Console = pref.TalkAllLog;
        config.Keyword = pref.TalkKeyword;
    } else if (kind == KindDccChat) {
        config.Update = pref.DCCChatUpdate;
        config.Console = pref.DCCChatAllLog;
        config.Keyword = pref.DCCChatKeyword;
    }
    members.SortMemberView();
    if (!logger.enabled)
        logger.SetChannelName(kind == KindDccChat ? peerName : config.Name);
    ApplyLogSwitch();
    // A new log folder or file name takes effect with the next line, not the next day.
    logger.ReopenIfNameChanged();
}

// The log file follows the log switch of its kind.
void TIRCChannel::ApplyLogSwitch()
{
    const TPreference* preference = unit->GetPreference();
    bool enabled = kind == KindChannel ? preference->EnableChannelLog
                   : kind == KindTalk  ? preference->EnableTalkLog
                                       : preference->EnableDCCChatLog;
    logger.Enable(enabled);
}

void TIRCChannel::CloseLogAndDialogs()
{
    logger.Enable(false);
    for (IMaskList*& list : maskLists) {
        delete list;
        list = nullptr;
    }
    CloseWhoDialog();
}

bool TIRCChannel::UpdateMemberUserHost(const CString& nick, const CString& user, const CString& host)
{
    return members.UpdateUserHost(nick, user, host);
}

void TIRCChannel::AddOrUpdateMember(const CString& nick, const CString& user, const CString& host,
                                    const CString& server, const CString& fullName, bool q, bool a, bool o, bool h,
                                    bool v)
{
    members.AddOrUpdateMember(nick, user, host, server, fullName, q, a, o, h, v);
}

void TIRCChannel::ChangeMemberMode(const CString& nick, wchar_t letter, bool on)
{
    members.ChangeMemberMode(nick, letter, on);
}

int TIRCChannel::MaskListIndex(wchar_t letter)
{
    for (int i = 0; i < MaskListCount; i++)
        if (kMaskLetters[i] == letter)
            return i;
    return -1;
}

IMaskList* TIRCChannel::GetMaskList(int index) const
{
    return index >= 0 && index < MaskListCount ? maskLists[index] : nullptr;
}

void TIRCChannel::ShowMaskList(int index)
{
    if (index < 0 || index >= MaskListCount)
        return;
    if (!maskLists[index]) {
        CString title = FormatStringResourceWithTwo(kMaskTitles[index], config.Name, unit->GetName());
        maskLists[index] = unit->CreateMaskList(this, title);
        if (!maskLists[index])
            return;
    }
    maskLists[index]->Show();
}

bool TIRCChannel::AddListedMask(int index, const CString& mask)
{
    IMaskList* list = GetMaskList(index);
    if (!list || list->GetMaskCount() >= kMaxListMasks)
        return false;
    list->AddMask(mask);
    return true;
}

int TIRCChannel::FindMaskList(IMaskList* list) const
{
    for (int i = 0; i < MaskListCount; i++)
        if (list && maskLists[i] == list)
            return i;
    return -1;
}

void TIRCChannel::OnMaskDialogOK(IMaskList* list)
{
    int index = FindMaskList(list);
    if (index < 0)
        return;
    std::vector<CString> added, removed;
    list->GetMasks(added, removed);
    // What both hold (under IRC folding) is neither set nor unset.
    for (int i = (int)added.size() - 1; i >= 0; i--) {
        for (int j = (int)removed.size() - 1; j >= 0; j--) {
            if (IRCCompareNoCase(added[i], removed[j]) == 0) {
                added.erase(added.begin() + i);
                removed.erase(removed.begin() + j);
                break;
            }
        }
    }
    if (!added.empty() || !removed.empty())
        unit->SendModeChanges(this, kMaskLetters[index], removed, added);
}

void TIRCChannel::OnMaskDialogUpdate(IMaskList* list)
{
    int index = FindMaskList(list);
    if (index < 0)
        return;
    list->ClearMasks();
    CString text;
    text.Format(L"+%c", kMaskLetters[index]);
    unit->SendChannelMode(this, text);
}

void TIRCChannel::OnMaskDialogClose(IMaskList* list)
{
    int index = FindMaskList(list);
    if (index < 0)
        return;
    delete maskLists[index];
    maskLists[index] = nullptr;
}

void TIRCChannel::QueueAutoOp(const CString& nick)
{
    if (!joined || !op)
        return;
    TIRCMember* member = members.Find(nick);
    if (!member || member->o)
        return;
    for (const CString& queued : autoOpQueue)
        if (queued == nick)
            return;
    ResetAutoOpWait();
    autoOpQueue.push_back(nick);
    ProcessAutoOpQueue(false);
}

void TIRCChannel::ResetAutoOpWait()
{
    if (!autoOpQueue.empty())
        return;
    const TPreference& pref = *unit->GetPreference();
    if (!pref.EnableAutoOpDelay) {
        autoOpWait = 0;
        return;
    }
    autoOpWait = pref.AutoOpDelayMin;
    if (pref.AutoOpDelayMin < pref.AutoOpDelayMax)
        autoOpWait += (int)(rand() / 32767.0 * (pref.AutoOpDelayMax - pref.AutoOpDelayMin));
}

void TIRCChannel::ProcessAutoOpQueue(bool tick)
{
    if (kind != KindChannel || autoOpQueue.empty())
        return;
    if (autoOpWait >= 1) {
        if (tick)
            autoOpWait--;
        return;
    }
    std::vector<CString> batch;
    while (!autoOpQueue.empty() && (int)batch.size() < kAutoOpBatch) {
        CString nick = autoOpQueue.front();
        autoOpQueue.pop_front();
        TIRCMember* member = members.Find(nick);
        if (member && !member->o)
            batch.push_back(nick);
    }
    if (!batch.empty())
        unit->SendModeChanges(this, L'o', {}, batch);
    ResetAutoOpWait();
}

void TIRCChannel::ClearAutoOpQueue()
{
    autoOpQueue.clear();
    autoOpWait = 0;
}

int TIRCChannel::GetChatPort()
{
    const TPreference& pref = *unit->GetPreference();
    // Port 0 lets the system choose and the offer names the port bound; past 65535 another port
    // would be bound than the one offered.
    int first = std::max(pref.DCCChatPortStart, 0), last = std::min(pref.DCCChatPortEnd, 65535);
    int next = lastChatPort + 1;
    if (next < first || next > last)
        next = first;
    if (first > last)
        next = -1;
    lastChatPort = next;
    return next;
}

bool TIRCChannel::AddLine(TLogLineData line, bool checkKeywords)
{
    TLogLineAdded added;
    if (ILogLineSink* view = unit->GetWorld()->GetLogSink(unit, this))
        added = view->AddLine(line, checkKeywords && config.Keyword);
    // The history copies lead back here by unit, channel and line number.
    line.lineNumber = added.lineNumber;
    line.eventData.Format(L"%x %x %lu", unit->GetSerial(), GetSerial(), (unsigned long)added.lineNumber);
    logger.WriteLine(line.timeText + line.placePrefix + line.nickPrefix + line.body);
    if (added.keyword)
        unit->OnKeywordHit(this, line);
    if (!added.urls.empty())
        unit->CollectUrls(line, added, this);
    return added.keyword;
}

void TIRCChannel::ShowWhoDialog()
{
    if (whoWindow) {
        whoWindow->Activate();
        return;
    }
    whoWindow = unit->GetUserInfoWindows()->CreateWhoWindow(unit, this, this);
    if (!whoWindow)
        return;
    members.SetWhoSortColumn(1);
    members.SetWhoList(whoWindow->GetList());
    members.FillWhoList();
}

void TIRCChannel::CloseWhoDialog()
{
    if (!whoWindow)
        return;
    members.SetWhoList(nullptr);
    IWhoWindow* window = whoWindow;
    whoWindow = nullptr;
    delete window;
}

void TIRCChannel::OnRefresh(IWhoWindow*)
{
    if (unit->GetState() != TIRCUnit::StateLoggedIn || !joined || ircName.IsEmpty())
        return;
    whoComplete = false;
    unit->SendWho(ircName);
}

void TIRCChannel::OnClose(IWhoWindow*) { CloseWhoDialog(); }

void TIRCChannel::OnColumnClick(IWhoWindow*, int column)
{
    members.SetWhoSortColumn(column);
    members.SortWhoList();
}
