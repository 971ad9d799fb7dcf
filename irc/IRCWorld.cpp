#include "irc/IRCWorld.h"

#include "settings/Preference.h"
#include "settings/ServerConfig.h"

#include <windows.h>

#include <algorithm>

TIRCWorld::TIRCWorld(const TPreference* preference, TWorldConfig* tree, IIRCUnitListener* views, IIRCWorldHost* host)
    : preference(preference), tree(tree), views(views), host(host)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    lastTickDay = now.wDay;
}

TIRCWorld::~TIRCWorld()
{
    // The items carry the units as data; none may outlive them.
    if (serverTree && serverTree->IsWindow())
        serverTree->DeleteItem(TVI_ROOT);
    for (TIRCUnit* unit : units)
        delete unit;
}

void TIRCWorld::CreateUnitsFromSettings()
{
    for (const TUnitConfig& config : tree->Units) {
        TIRCUnit* unit = new TIRCUnit(views, preference, config);
        unit->SetWorldSetting(tree);
        unit->SetUserInfoWindows(userInfoWindows);
        units.push_back(unit);
        HTREEITEM item = serverTree ? InsertUnitTreeItem(unit) : nullptr;
        for (const TChannelConfig& channel : config.Channels) {
            TIRCChannel* made = unit->AddChannel(channel, TIRCChannel::KindChannel);
            if (made && item)
                InsertChannelTreeItem(item, made);
        }
    }
}

void TIRCWorld::SetUserInfoWindows(IUserInfoWindows* windows)
{
    userInfoWindows = windows;
    for (TIRCUnit* unit : units)
        unit->SetUserInfoWindows(windows);
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

void TIRCWorld::ApplyServerSettings(TIRCUnit* unit, const TUnitConfig& edited)
{
    if (!HasUnit(unit))
        return;
    TIRCUnit* noted;
    TIRCChannel* notedChannel;
    GetSelection(noted, notedChannel);
    CString unitName = noted ? noted->GetName() : CString();
    CString channelName = notedChannel ? notedChannel->GetName() : CString();
    std::vector<TIRCChannel*> removed;
    for (TIRCChannel* channel : unit->GetChannels()) {
        bool kept = channel->GetKind() != TIRCChannel::KindChannel;
        for (const TChannelConfig& record : edited.Channels)
            kept = kept || record.Name == channel->GetName();
        if (!kept)
            removed.push_back(channel);
    }
    for (TIRCChannel* channel : removed)
        unit->DeleteChannel(channel);
    for (const TChannelConfig& record : edited.Channels) {
        if (TIRCChannel* channel = unit->FindChannel(record.Name))
            channel->GetConfig() = record;
        else
            unit->AddChannel(record, TIRCChannel::KindChannel);
    }
    TUnitSetting setting = edited;
    for (;;) {
        TIRCUnit* holder = FindUnit(setting.Name);
        if (!holder || holder == unit)
            break;
        setting.Name += L"_";
    }
    bool renamed = setting.Name != unit->GetName();
    unit->ApplySettings(setting);
    if (renamed)
        unit->UpdateLogServerName();
    // The selection may have pointed at a deleted channel; it is found again by its names.
    TIRCUnit* selected = FindUnit(unitName);
    Select(selected, selected ? selected->FindChannel(channelName) : nullptr);
}

void TIRCWorld::Tick()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    TickOn(now.wDay);
}

void TIRCWorld::TickOn(int day)
{
    for (TIRCUnit* unit : units)
        unit->Tick();
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
