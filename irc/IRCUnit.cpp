#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "irc/UnitScripts.h"
#include "ircproto/IRCNames.h"
#include "res/resource.h"
#include "settings/Preference.h"

#include <algorithm>

namespace {

TNullUnitListener nullListener;
TNullScriptEvents nullScripts;

} // namespace

void TIRCUnit::SetScripts(IUnitScripts* events)
{
    scriptSet = events;
    scripts = events ? static_cast<IUnitScriptEvents*>(events) : &nullScripts;
    SetReceivedScriptEvents(events);
    SetSendScripts(events);
}

void TIRCUnit::AdoptScripts(IUnitScripts* owned)
{
    SetScripts(owned);
    ownScripts.reset(owned);
}

void TIRCUnit::UnloadScripts()
{
    if (scriptSet)
        scriptSet->UnloadAll(true);
}

void TIRCUnit::EnableScriptFile(const CString& name, bool enable)
{
    if (enable)
        settings.AddScriptFile(name);
    else
        settings.RemoveScriptFile(name);
    ReloadScripts();
}

bool TIRCUnit::IsRunningHandler() const
{
    return macroRuns > 0 || connection.IsTakingLines() || (scriptSet && scriptSet->IsRunning());
}

void TIRCUnit::ReloadScripts()
{
    // A copy: the scripts' own code runs while the list is walked.
    std::vector<CString> enabled = settings.ScriptFiles;
    if (scriptSet)
        scriptSet->LoadScripts(enabled);
}

TIRCUnit::TIRCUnit(IIRCUnitListener* owner, const TPreference* preferences, const TUnitSetting& setting)
    : settings(setting), world(owner ? owner : &nullListener), preference(preferences), scripts(&nullScripts),
      macros(&ownMacros)
{
    macroManager.SetListener(this);
    macroManager.SetFileNames(settings.MacroFiles);
    connection.listener = this;
    resolver.listener = this;
    SetSendScripts(nullptr);
    SetDccManager(nullptr);
    SetFrame(nullptr);
    whoManager.SetListener(this);
    whoManager.SetPreference(preference);
    rejoinManager.SetListener(this);
    rejoinManager.SetPreference(preference);
    SetLogFormat(nullptr);
    serverLog.preferences = preference;
    serverLog.listener = this;
    serverLog.kind = LOGFILE_SERVER;
    serverLog.enabled = preference->EnableUnitLog;
    serverLog.SetServerName(settings.Name);
    addressMethod = preference->IPResolveMethod;
    // Methods 1 and 2 learn the address only once logged in.
    if (addressMethod == 0) {
        resolver.ResolveLocalHost();
    } else if (addressMethod == 3) {
        resolver.SetHostName(preference->IPAddress);
        resolver.Resolve();
    }
}

TIRCUnit::~TIRCUnit()
{
    // The scripts may still hold timers that would call into this unit.
    SetScripts(nullptr);
    ownScripts.reset();
    CloseWhoisDialogs();
    CloseDccChatDialogs();
    CloseInviteDialogs();
    CloseChannelListDialog();
    DeleteAllChannels();
    connection.listener = nullptr;
    resolver.listener = nullptr;
}

TIRCChannel* TIRCUnit::AddChannel(const TChannelConfig& config, TIRCChannel::TKind kind)
{
    if (FindChannel(config.Name))
        return nullptr;
    TIRCChannel* channel = new TIRCChannel(this, config, kind);
    // MODE texts of this channel are read with this server's tables.
    channel->mode.serverModes = &session.capabilities.modes;
    channels.push_back(channel);
    return channel;
}

TIRCChannel* TIRCUnit::FindChannel(const CString& name) const
{
    for (TIRCChannel* channel : channels)
        if (CompareNames(channel->GetName(), name) == 0)
            return channel;
    return nullptr;
}

TIRCChannel* TIRCUnit::FindChannelByIRCName(const CString& name) const
{
    if (name.IsEmpty())
        return nullptr;
    if (IsSafeChannelName(name)) {
        // The server names a safe channel with its five-character id; the tree keeps the short form.
        CString shortName = GetSafeChannelShortName(name);
        for (TIRCChannel* channel : channels)
            if (IsSafeChannelName(channel->GetName()) && CompareNames(channel->GetName(), shortName) == 0)
                return channel;
        return nullptr;
    }
    for (TIRCChannel* channel : channels)
        if (CompareNames(channel->GetIRCName(), name) == 0)
            return channel;
    return nullptr;
}

TIRCChannel* TIRCUnit::LookupChannel(const CString& name) const
{
    if (IsSafeChannelName(name)) {
        TIRCChannel* channel = FindChannel(name);
        return channel ? channel : FindChannelByIRCName(name);
    }
    if (IsChannelAlias(name))
        return FindChannelByIRCName(ExpandChannelAlias(name));
    if (IsMaskedChannelName(name))
        return FindChannelByIRCName(name);
    return FindChannel(name);
}

bool TIRCUnit::HasChannel(const TIRCChannel* channel) const
{
    return channel && std::find(channels.begin(), channels.end(), channel) != channels.end();
}

TIRCChannel* TIRCUnit::FindChannelBySerial(unsigned serial) const
{
    for (TIRCChannel* channel : channels)
        if (channel->GetSerial() == serial)
            return channel;
    return nullptr;
}

void TIRCUnit::DeleteChannel(TIRCChannel* channel)
{
    auto it = std::find(channels.begin(), channels.end(), channel);
    if (it == channels.end())
        return;
    if (channel->GetKind() == TIRCChannel::KindChannel && channel->IsJoined())
        PartChannelDefault(channel);
    else if (channel->GetKind() == TIRCChannel::KindTalk)
        PrintSystemText(channel, LoadResourceString(IDS_TALK_ENDED));
    if (channel->GetKind() == TIRCChannel::KindChannel) {
        const CString& name = channel->GetName();
        ForgetRejoin(IsChannelAlias(name) ? ExpandChannelAlias(name) : name);
        if (!channel->GetIRCName().IsEmpty())
            ForgetRejoin(channel->GetIRCName());
    }
    if (channelWindows)
        channelWindows->OnChannelDeleting(this, channel);
    channels.erase(it);
    delete channel;
}

void TIRCUnit::DeleteAllChannels()
{
    while (!channels.empty()) {
        TIRCChannel* channel = channels.back();
        if (channelWindows)
            channelWindows->OnChannelDeleting(this, channel);
        channels.pop_back();
        delete channel;
    }
}

void TIRCUnit::OnResolve(TNameResolver* lookup) { myAddress = lookup->GetAddress(); }

// No address rather than the one an earlier lookup found.
void TIRCUnit::OnResolveError(TNameResolver*, CString) { myAddress = TInetAddress(); }
