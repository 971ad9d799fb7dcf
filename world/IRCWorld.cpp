// The world's units: building them from the settings, adding, renaming and removing them and
// their channel nodes, storing the tree back, automatic connects and the tick.
#include "world/IRCWorld.h"

#include "controls/CardLayoutPanel.h"
#include "foundation/ModelessWindow.h"
#include "logview/LogView.h"
#include "settings/Config.h"
#include "world/ProtocolLogWindows.h"
#include "world/UserInfoDialogs.h"
#include "world/WorldFrame.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <unordered_set>
#include <utility>

TIRCWorld::TIRCWorld(TConfig* config, IIRCWorldHost* host, const TLogAddressFinder* addressFinder)
    : config(config), preference(&config->preference), tree(&config->world), host(host), addressFinder(addressFinder),
      protocolLogs(std::make_unique<TProtocolLogWindows>(config))
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    lastTickDay = now.wDay;
    timer.SetListener(this);
    titleTimer.SetListener(this);
    dccManager.SetWorld(this);
    dccManager.SetPreference(preference);
}

TIRCWorld::~TIRCWorld()
{
    Shutdown();
    DeleteLeftUnits();
    SetHistoryWindows(nullptr, nullptr);
}

void TIRCWorld::Shutdown()
{
    timer.Stop();
    titleTimer.Stop();
    // The items carry the units as data; none may outlive them.
    if (serverTree && serverTree->IsWindow())
        serverTree->DeleteItem(TVI_ROOT);
    DeleteAllUnits();
    protocolLogs->SetFrame(nullptr);
    // The units took their windows with them; the maker goes with the frame it reports to.
    if (userInfoDialogs) {
        SetUserInfoWindows(nullptr);
        userInfoDialogs.reset();
        frameUserInfo.reset();
    }
    DestroyLogView(nullptr, nullptr);
    DestroyMemberListView(nullptr, nullptr);
    currentUnit = nullptr;
    currentChannel = nullptr;
    // The controls outlive the world; they must not report to it any more.
    if (serverTree)
        serverTree->listener = nullptr;
    if (inputLine)
        inputLine->listener = nullptr;
    if (allLog) {
        allLog->keyListener = nullptr;
        allLog->contextPopupListener = nullptr;
        allLog->eventLineListener = nullptr;
    }
    frame = nullptr;
    serverTree = nullptr;
    allLog = nullptr;
    inputLine = nullptr;
    logPanel = nullptr;
    memberPanel = nullptr;
}

TIRCUnit* TIRCWorld::MakeUnit(const TUnitSetting& setting)
{
    TIRCUnit* unit = new TIRCUnit(this, preference, setting);
    unit->SetWorldSetting(tree);
    unit->SetChannelWindows(this);
    unit->SetFrame(this);
    unit->SetMacroFolders(config->GetMacroFolder(), config->GetFilesFolder());
    unit->SetDccManager(&dccManager);
    unit->SetUserInfoWindows(userInfoWindows);
    unit->SetChannelListWindows(GetChannelListWindows());
    unit->SetLogFormat(&config->view.settings.formats);
    units.push_back(unit);
    if (scriptsMaker) {
        unit->AdoptScripts(scriptsMaker->MakeScripts(unit));
        unit->ReloadScripts();
    }
    return unit;
}

void TIRCWorld::SetScriptsMaker(IUnitScriptsMaker* maker)
{
    scriptsMaker = maker;
    for (TIRCUnit* unit : units)
        unit->AdoptScripts(maker ? maker->MakeScripts(unit) : nullptr);
}

void TIRCWorld::ShutdownAllUnits(bool immediate)
{
    // A script's onUnload may remove servers while the rest shut down.
    for (TIRCUnit* unit : std::vector<TIRCUnit*>(units))
        if (HasUnit(unit))
            unit->Shutdown(immediate);
}

TIRCUnit* TIRCWorld::AddUnit(const TUnitConfig& record)
{
    if (FindUnit(record.Name))
        return nullptr;
    TUnitSetting setting = record;
    setting.Update = preference->ServerUpdate;
    setting.Console = preference->ServerAllLog;
    setting.Keyword = preference->ServerKeyword;
    return MakeUnit(setting);
}

void TIRCWorld::CreateUnitsFromSettings()
{
    TIRCUnit* first = nullptr;
    TIRCUnit* firstAutoConnect = nullptr;
    for (TUnitConfig& record : tree->Units) {
        TIRCUnit* unit = AddUnit(record);
        // A taken name gets underscores, and keeps them when the tree is saved.
        for (int tries = 0; !unit && tries < 100; tries++) {
            record.Name += L"_";
            unit = AddUnit(record);
        }
        if (!unit)
            continue;
        first = first ? first : unit;
        if (!firstAutoConnect && unit->GetSettings().AutoConnect)
            firstAutoConnect = unit;
        HTREEITEM item = serverTree ? InsertUnitTreeItem(unit) : nullptr;
        for (const TChannelConfig& channel : record.Channels) {
            TIRCChannel* made = unit->AddChannel(channel, TIRCChannel::KindChannel);
            if (made && item)
                InsertChannelTreeItem(item, made);
        }
    }
    if (TIRCUnit* shown = firstAutoConnect ? firstAutoConnect : first) {
        Select(shown, nullptr);
        if (serverTree && firstAutoConnect)
            serverTree->ScrollItemIntoView(FindUnitTreeItem(shown));
        else if (serverTree)
            serverTree->SetVerticalScrollPos(0);
    }
    if (serverTree) {
        serverTree->ExpandBranches(serverTree->GetRootItem(), TVE_EXPAND);
        SortTree();
    }
}

void TIRCWorld::SetUserInfoWindows(IUserInfoWindows* windows)
{
    userInfoWindows = windows;
    for (TIRCUnit* unit : units)
        unit->SetUserInfoWindows(windows);
}

void TIRCWorld::KickIdleAllDialogs(WPARAM wParam, LPARAM lParam)
{
    for (TIRCUnit* unit : units)
        unit->KickIdleDialogs(wParam, lParam);
}

void TIRCWorld::EnableAllDialogs(bool enable)
{
    for (TIRCUnit* unit : units)
        unit->EnableDialogs(enable);
    EnableModelessWindows(protocolLogs->GetWindows(false), enable);
}

void TIRCWorld::HideAllDialogs(bool hide)
{
    for (TIRCUnit* unit : units)
        unit->HideDialogs(hide);
    HideModelessWindows(protocolLogs->GetWindows(true), hide);
}

void TIRCWorld::SetAllDialogsTopMost(bool topMost)
{
    for (TIRCUnit* unit : units)
        unit->SetDialogsTopMost(topMost);
    SetModelessWindowsTopMost(protocolLogs->GetWindows(false), topMost);
}

void TIRCWorld::AddProtocolLine(TIRCUnit* unit, const CString& text, int direction)
{
    if (HasUnit(unit))
        protocolLogs->AddLine(unit, text, direction == 1);
}

void TIRCWorld::ShowProtocolLog(TIRCUnit* unit)
{
    if (HasUnit(unit))
        protocolLogs->Show(unit);
}

void TIRCWorld::DestroyProtocolLog(TIRCUnit* unit) { protocolLogs->Destroy(unit); }

TProtocolLogDialog* TIRCWorld::FindProtocolLog(const TIRCUnit* unit) const { return protocolLogs->Find(unit); }

void TIRCWorld::ReloadAllScripts()
{
    // A script's own code may remove servers while others reload.
    std::vector<TIRCUnit*> all = units;
    for (TIRCUnit* unit : all)
        if (HasUnit(unit))
            unit->ReloadScripts();
}

TIRCUnit* TIRCWorld::FindUnit(const CString& name) const
{
    for (TIRCUnit* unit : units)
        if (unit->GetName() == name)
            return unit;
    return nullptr;
}

bool TIRCWorld::HasUnit(const TIRCUnit* unit) const
{
    return unit && std::find(units.begin(), units.end(), unit) != units.end();
}

TIRCUnit* TIRCWorld::FindUnitBySerial(unsigned serial) const
{
    for (TIRCUnit* unit : units)
        if (unit->GetSerial() == serial)
            return unit;
    return nullptr;
}

TNodeSerials TIRCWorld::NoteNode(const TIRCUnit* unit, const TIRCChannel* channel)
{
    return {unit ? unit->GetSerial() : 0u, channel ? channel->GetSerial() : 0u};
}

bool TIRCWorld::FindNode(const TNodeSerials& noted, TIRCUnit*& unit, TIRCChannel*& channel) const
{
    unit = noted.unit ? FindUnitBySerial(noted.unit) : nullptr;
    channel = unit && noted.channel ? unit->FindChannelBySerial(noted.channel) : nullptr;
    if (unit && (!noted.channel || channel))
        return true;
    unit = nullptr;
    return false;
}

void TIRCWorld::DeleteUnit(TIRCUnit* unit)
{
    if (!HasUnit(unit))
        return;
    // A unit removed while the program runs ends as at exit, while its views still stand:
    // windows, logs and scripts go first.
    if (!unit->GetSession().shutdown)
        unit->Shutdown(true);
    auto it = std::find(units.begin(), units.end(), unit);
    if (it == units.end())
        return;
    if (HTREEITEM item = FindUnitTreeItem(unit))
        DeleteTreeItem(item);
    DestroyNodeViews(unit, nullptr);
    // Its window reports to the world about this unit; neither may outlive it.
    protocolLogs->Destroy(unit);
    units.erase(it);
    currentChannelNames.erase(unit);
    dccManager.ForgetUnit(unit);
    if (popupUnit == unit)
        popupUnit = nullptr;
    // Its channels report their going while the unit can still be told apart. A unit whose
    // handler waits in a message loop (a script's box) is still running below us: it goes once
    // that handler has returned.
    if (unit->IsRunningHandler())
        leftUnits.push_back(unit);
    else
        delete unit;
    if (currentUnit == unit) {
        currentUnit = nullptr;
        currentChannel = nullptr;
    }
}

void TIRCWorld::DeleteLeftUnits()
{
    std::vector<TIRCUnit*> waiting;
    waiting.swap(leftUnits);
    for (TIRCUnit* unit : waiting) {
        if (unit->IsRunningHandler()) {
            leftUnits.push_back(unit);
            continue;
        }
        // Its handler may have printed since it was deleted.
        DestroyNodeViews(unit, nullptr);
        delete unit;
    }
}

void TIRCWorld::DeleteAllUnits()
{
    while (!units.empty())
        DeleteUnit(units.back());
}

void TIRCWorld::GetUnitsInTreeOrder(std::vector<TIRCUnit*>& ordered) const
{
    ordered.clear();
    for (const TUnitItem& root : GetUnitItems())
        ordered.push_back(root.unit);
}

// The tree is saved often, with hundreds of servers and channels: each item is read once.
std::vector<TIRCWorld::TUnitItem> TIRCWorld::GetUnitItems() const
{
    std::vector<TUnitItem> roots;
    if (!serverTree)
        return roots;
    const std::unordered_set<const void*> known(units.begin(), units.end());
    for (HTREEITEM item = serverTree->GetRootItem(); item; item = serverTree->GetNextSiblingItem(item))
        if (void* unit = TreeItemData(item); known.count(unit))
            roots.push_back({item, (TIRCUnit*)unit});
    return roots;
}

// The unit's channels, not its talks, in tree order.
std::vector<TIRCChannel*> TIRCWorld::GetTreeChannels(const TUnitItem& root) const
{
    std::vector<TIRCChannel*> ordered;
    const std::vector<TIRCChannel*>& channels = root.unit->GetChannels();
    const std::unordered_set<const void*> known(channels.begin(), channels.end());
    for (HTREEITEM item = serverTree->GetChildItem(root.item); item; item = serverTree->GetNextSiblingItem(item)) {
        auto* channel = (TIRCChannel*)TreeItemData(item);
        if (known.count(channel) && channel->GetKind() == TIRCChannel::KindChannel)
            ordered.push_back(channel);
    }
    return ordered;
}

void TIRCWorld::RenameUnit(TIRCUnit* unit, const CString& name)
{
    if (!HasUnit(unit))
        return;
    TUnitSetting setting = unit->GetSettings();
    setting.Name = name;
    unit->ApplySettings(setting);
    unit->UpdateLogServerName();
    if (HTREEITEM item = FindUnitTreeItem(unit))
        serverTree->SetItemText(item, name);
    RefreshTreeItem(unit, nullptr);
    UpdateTitleIfUnitSelected(unit);
    SortUnits();
}

void TIRCWorld::OnChannelRenamed(TIRCUnit* unit, TIRCChannel* channel, const CString& oldName)
{
    // The node last shown on the unit goes by its name: switching servers, and %a, would find
    // another person's talk, or none.
    auto last = currentChannelNames.find(unit);
    if (last != currentChannelNames.end() && !last->second.IsEmpty() && unit->CompareNames(last->second, oldName) == 0)
        last->second = channel->GetName();
    HTREEITEM unitItem = FindUnitTreeItem(unit);
    if (HTREEITEM item = FindChannelTreeItem(unitItem, channel))
        serverTree->SetItemText(item, channel->GetName());
    RefreshTreeItem(unit, nullptr);
    UpdateTitleIfNodeSelected(unit, channel);
    if (unitItem)
        SortChannels(unitItem);
}

TIRCChannel* TIRCWorld::AddChannelNode(TIRCUnit* unit, const TChannelConfig& record, TIRCChannel::TKind kind)
{
    if (!HasUnit(unit))
        return nullptr;
    TIRCChannel* channel = unit->AddChannel(record, kind);
    if (channel)
        OnChannelAdded(unit, channel);
    return channel;
}

void TIRCWorld::OnChannelAdded(TIRCUnit* unit, TIRCChannel* channel)
{
    if (HTREEITEM unitItem = FindUnitTreeItem(unit)) {
        InsertChannelTreeItem(unitItem, channel);
        SortChannels(unitItem);
    }
}

void TIRCWorld::RemoveChannelNode(TIRCUnit* unit, TIRCChannel* channel)
{
    if (!HasUnit(unit) || !unit->HasChannel(channel))
        return;
    unit->DeleteChannel(channel);
}

// Every road that deletes a channel passes here first: its item and views must not outlive it.
void TIRCWorld::OnChannelDeleting(TIRCUnit* unit, TIRCChannel* channel)
{
    if (HTREEITEM item = FindChannelTreeItem(FindUnitTreeItem(unit), channel))
        DeleteTreeItem(item);
    DestroyNodeViews(unit, channel);
    if (popupChannel == channel)
        popupChannel = nullptr;
}

void TIRCWorld::StoreServerTree(TWorldConfig& record) const
{
    static_cast<TWorldSetting&>(record) = *tree;
    record.Units.clear();
    for (const TUnitItem& root : GetUnitItems()) {
        TUnitConfig stored;
        static_cast<TUnitSetting&>(stored) = root.unit->GetSettings();
        stored.ExtraFlag = root.unit->GetState() == TIRCUnit::StateLoggedIn;
        for (TIRCChannel* channel : GetTreeChannels(root)) {
            stored.Channels.push_back(channel->GetConfig());
            stored.Channels.back().ExtraFlag = channel->IsJoined();
        }
        record.Units.push_back(std::move(stored));
    }
}

void TIRCWorld::StoreUnitChannels(TIRCUnit* unit, TUnitConfig& record) const
{
    HTREEITEM unitItem = HasUnit(unit) ? FindUnitTreeItem(unit) : nullptr;
    if (!unitItem)
        return;
    record.Channels.clear();
    for (TIRCChannel* channel : GetTreeChannels({unitItem, unit}))
        record.Channels.push_back(channel->GetConfig());
}

void TIRCWorld::SaveServerTree()
{
    if (!serverTree)
        return;
    StoreServerTree(config->world);
    config->SaveServerTree();
    if (frame)
        frame->OnServerTreeStored(config->world);
}

void TIRCWorld::AutoConnect(const std::vector<CString>& names)
{
    AutoConnect(names, (::GetKeyState(VK_CONTROL) & 0x8000) != 0);
}

void TIRCWorld::AutoConnect(const std::vector<CString>& names, bool controlHeld)
{
    if (controlHeld)
        return;
    std::vector<TIRCUnit*> chosen;
    for (const CString& name : names)
        if (TIRCUnit* unit = FindUnit(name))
            chosen.push_back(unit);
    if (!chosen.empty()) {
        ConnectStaggered(chosen);
        return;
    }
    for (TIRCUnit* unit : units)
        if (unit->GetSettings().AutoConnect)
            chosen.push_back(unit);
    ConnectStaggered(chosen);
}

// The first connects at once, the others 3 seconds apart so that logins do not pile up.
int TIRCWorld::ConnectStaggered(const std::vector<TIRCUnit*>& chosen)
{
    int n = 0;
    for (TIRCUnit* unit : chosen) {
        if (n == 0) {
            unit->Connect();
            if (!preference->FocusOnJoin && preference->SelectFirstChannelOnInit)
                unit->GetSession().selectFirstChannel = true;
        } else {
            unit->ScheduleConnect(3 * n);
        }
        n++;
    }
    return n;
}

namespace {

bool ListsChannel(const std::vector<TChannelConfig>& records, const CString& name)
{
    return std::any_of(records.begin(), records.end(),
                       [&](const TChannelConfig& record) { return record.Name == name; });
}

} // namespace

void TIRCWorld::ApplyServerSettings(TIRCUnit* unit, const TUnitConfig& opened, const TUnitConfig& edited)
{
    HTREEITEM unitItem = HasUnit(unit) ? FindUnitTreeItem(unit) : nullptr;
    if (!HasUnit(unit) || (serverTree && !unitItem))
        return;
    bool expanded = unitItem && (serverTree->GetItemState(unitItem, TVIS_EXPANDED) & TVIS_EXPANDED);
    CString unitName, channelName;
    NoteSelection(unitName, channelName);
    // Removing the items walks the tree's selection through their neighbours.
    TSelectionHold hold(*this);
    // The channels come back in the edited order, still before the talks.
    for (TIRCChannel* channel : unit->GetChannels())
        if (HTREEITEM item =
                channel->GetKind() == TIRCChannel::KindChannel ? FindChannelTreeItem(unitItem, channel) : nullptr)
            serverTree->DeleteItem(item);
    // Only what the user removed from the dialog's list goes: a channel joined while it was open
    // was never in it.
    std::vector<TIRCChannel*> removed;
    for (TIRCChannel* channel : unit->GetChannels())
        if (channel->GetKind() == TIRCChannel::KindChannel && ListsChannel(opened.Channels, channel->GetName()) &&
            !ListsChannel(edited.Channels, channel->GetName()))
            removed.push_back(channel);
    for (TIRCChannel* channel : removed)
        unit->DeleteChannel(channel);
    for (const TChannelConfig& record : edited.Channels) {
        if (TIRCChannel* channel = unit->FindChannel(record.Name)) {
            // The auto-op masks belong to the auto-op window, which may have changed them meanwhile.
            std::vector<CString> masks = channel->GetConfig().AutoOpMasks;
            channel->GetConfig() = record;
            channel->GetConfig().AutoOpMasks = masks;
        } else {
            unit->AddChannel(record, TIRCChannel::KindChannel);
        }
    }
    // One item a channel, however many records name it under IRC folding; channels the dialog
    // did not list follow the edited ones.
    std::set<TIRCChannel*> placed;
    for (const TChannelConfig& record : edited.Channels)
        if (TIRCChannel* channel = unitItem ? unit->FindChannel(record.Name) : nullptr)
            if (placed.insert(channel).second)
                InsertChannelTreeItem(unitItem, channel);
    for (TIRCChannel* channel : unit->GetChannels())
        if (unitItem && channel->GetKind() == TIRCChannel::KindChannel && placed.insert(channel).second)
            InsertChannelTreeItem(unitItem, channel);
    TUnitSetting setting = edited;
    setting.AutoOpMasks = unit->GetSettings().AutoOpMasks;
    while (FindUnit(setting.Name) && FindUnit(setting.Name) != unit)
        setting.Name += L"_";
    CString newName = setting.Name;
    setting.Name = unit->GetName();
    unit->ApplySettings(setting);
    if (newName != unit->GetName()) {
        // The server just edited stays selected under its new name.
        if (FindUnit(unitName) == unit)
            unitName = newName;
        RenameUnit(unit, newName);
    }
    // Only now: scripts that start here see the new name and write into its log. Every macro file
    // is read again, so one edited outside the program takes effect as a script does.
    unit->ResetMacros();
    unit->ReloadScripts();
    if (unitItem)
        serverTree->Expand(unitItem, expanded ? TVE_EXPAND : TVE_COLLAPSE);
    SelectByNames(unitName, channelName);
    SortUnits();
    SortChannels(unitItem);
}

int TIRCWorld::CountActiveUnits() const
{
    int count = 0;
    for (const TIRCUnit* unit : units)
        count += unit->GetState() != TIRCUnit::StateDisconnected;
    return count;
}

void TIRCWorld::OnTimer(TTimer* which)
{
    if (which == &titleTimer) {
        titleTimer.Stop();
        if (titleDue)
            ShowTitle();
        return;
    }
    Tick();
}

void TIRCWorld::Tick()
{
    DeleteLeftUnits();
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    TickOn(now.wDay);
}

void TIRCWorld::TickOn(int day)
{
    for (size_t i = 0; i < units.size(); i++)
        units[i]->Tick();
    TickUrlHistory(day != lastTickDay);
    if (day != lastTickDay) {
        for (TIRCUnit* unit : units)
            unit->ReopenLogFiles();
        lastTickDay = day;
    }
    // One text a second: clipboard viewers that copy every change get each one.
    if (!clipboardQueue.empty()) {
        CString text = clipboardQueue.front();
        clipboardQueue.pop_front();
        host->CopyTextToClipboard(text);
    }
    if (balloonCountdown > 0 && --balloonCountdown == 0 && frame)
        frame->ShowBalloon(CString(), CString());
    AskPendingNickQuestions();
}

// A channel flooding URLs must neither grow the queue without end nor hold the clipboard for
// hours; the newest texts are the ones the user may still want.
void TIRCWorld::QueueClipboardText(const CString& text)
{
    if (clipboardQueue.size() >= kMaxQueuedClipboardTexts)
        clipboardQueue.pop_front();
    clipboardQueue.push_back(text);
}

bool TIRCWorld::TryOpenDCCChatDialog()
{
    return dccChatDialogs.TryOpen(preference->EnableMaxDCCChatRequestDialog, preference->MaxDCCChatRequestDialog);
}

bool TIRCWorld::TryOpenInviteDialog()
{
    return inviteDialogs.TryOpen(preference->LimitInviteDialog, preference->InviteDialogMax);
}

bool TIRCWorld::TryOpenWhoisDialog()
{
    return whoisDialogs.TryOpen(preference->LimitWhoisDialog, preference->WhoisDialogMax);
}
