#include "dccmanager/DCCManager.h"

#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "irc/IRCUnit.h"
#include "res/strings/dcc.h"
#include "settings/Preference.h"

#include <algorithm>

namespace {

// Shared by every send of the program, whatever the server.
int lastSendPort = -1;

const TPreference& DefaultPreference()
{
    static const TPreference preference;
    return preference;
}

template <class Item> int FindIn(const std::vector<Item*>& items, const Item* item)
{
    for (size_t i = 0; i < items.size(); i++)
        if (items[i] == item)
            return (int)i;
    return -1;
}

template <class Item> int CountInStates(const std::vector<Item*>& items, bool (*inStates)(int))
{
    int count = 0;
    for (const Item* item : items)
        if (inStates(item->GetState()))
            count++;
    return count;
}

template <class Item> int CountActive(const std::vector<Item*>& items)
{
    return CountInStates(items, IsDCCStateActive);
}

template <class Item> bool HasQueuedOf(const std::vector<Item*>& items, const TIRCUnit* unit)
{
    for (const Item* item : items)
        if (item->GetUnit() == unit && item->GetState() == DCC_STATE_QUEUED)
            return true;
    return false;
}

} // namespace

int TDCCManager::GetLastSendPort() { return lastSendPort; }

void TDCCManager::SetLastSendPort(int port) { lastSendPort = port; }

TDCCManager::TDCCManager() { timer.SetListener(this); }

TDCCManager::~TDCCManager()
{
    // Items call back while they close; nobody should hear it.
    listener = nullptr;
    while (!receiveItems.empty()) {
        delete receiveItems.back();
        receiveItems.pop_back();
    }
    while (!sendItems.empty()) {
        delete sendItems.back();
        sendItems.pop_back();
    }
    timer.Stop();
}

const TPreference& TDCCManager::Preference() const { return preference ? *preference : DefaultPreference(); }

void TDCCManager::StartTimer()
{
    if (!timer.IsRunning())
        timer.Start(1000);
}

bool TDCCManager::IsUnitValid(TIRCUnit* unit) const { return unit && world && world->HasUnit(unit); }

bool TDCCManager::IsLoggedIn(TIRCUnit* unit) const
{
    return IsUnitValid(unit) && unit->GetState() == TIRCUnit::StateLoggedIn;
}

bool TDCCManager::CanOffer(const TDCCSendItem* item) const { return IsLoggedIn(item->GetUnit()); }

bool TDCCManager::IsUnitGone(bool deleted, TIRCUnit* unit) const { return deleted || (unit && !IsUnitValid(unit)); }

bool TDCCManager::IsServerGone(const TDCCSendItem* item) const
{
    return IsUnitGone(item->IsUnitDeleted(), item->GetUnit());
}

bool TDCCManager::IsServerGone(const TDCCReceiveItem* item) const
{
    return IsUnitGone(item->IsUnitDeleted(), item->GetUnit());
}

bool TDCCManager::MustWaitToResume(const TDCCReceiveItem* item) const
{
    return item->GetUnit() && !IsServerGone(item) && !IsLoggedIn(item->GetUnit()) && item->HasResumeFile();
}

void TDCCManager::NotifyChanged()
{
    if (listener)
        listener->OnDCCItemChanged();
}

void TDCCManager::AddReceiveItem(TIRCUnit* unit, int protocolMode, bool autoAccept, const CString& nick,
                                 const CString& fileName, int port, long long size, const TInetAddress& address)
{
    bool pendingFull = CountPendingReceives() >= MaxReceiveItems;
    if (pendingFull || (int)receiveItems.size() >= MaxKeptReceiveItems) {
        if (IsUnitValid(unit))
            unit->OnDccReceiveRefused(nick, fileName, pendingFull);
        return;
    }
    StartTimer();
    const TPreference& settings = Preference();
    CString folder = GetReceiveRootFolder();
    // The nick comes from the server: it names one folder below the root, never a path.
    if (settings.ReceiveInNickFolder)
        folder += MakeSafeReceiveFileName(nick);
    TDCCReceiveItem* item = new TDCCReceiveItem(this, unit, protocolMode, nick, folder, fileName, address, port, size);
    receiveItems.push_back(item);
    if (autoAccept) {
        if (item->GetState() == DCC_STATE_WAITING || item->GetState() == DCC_STATE_ERROR)
            item->SetState(DCC_STATE_QUEUED);
        StartQueuedReceives();
    }
    NotifyChanged();
}

CString TDCCManager::GetReceiveRootFolder() const
{
    CString folder = Preference().DCCRootDir;
    if (!folder.IsEmpty() && !IsAbsolutePath(folder))
        folder = (programFolder.IsEmpty() ? GetProgramFolder() : programFolder) + folder;
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    return folder;
}

void TDCCManager::AddSendItem(TIRCUnit* unit, const CString& nick, const CString& path)
{
    StartTimer();
    TDCCSendItem* item = new TDCCSendItem(this, unit, nick, path);
    sendItems.push_back(item);
    if (Preference().InstantSend) {
        int state = item->GetState();
        if (state == DCC_STATE_WAITING || state == DCC_STATE_ERROR || state == DCC_STATE_ABORTED)
            item->SetState(DCC_STATE_QUEUED);
        StartQueuedSends();
    }
    NotifyChanged();
}

bool TDCCManager::HandleResumeRequest(TIRCUnit* unit, const CString& nick, int port, long long position)
{
    for (TDCCSendItem* item : sendItems)
        if (item->GetUnit() == unit && item->GetState() == DCC_STATE_RESUMING && item->GetNick() == nick &&
            item->GetPort() == port)
            return item->SetResumePosition(position);
    return false;
}

void TDCCManager::HandleResumeAccept(TIRCUnit* unit, const CString& nick, int port, long long position)
{
    for (TDCCReceiveItem* item : receiveItems)
        if (item->GetUnit() == unit && item->GetState() == DCC_STATE_RESUMING && item->GetNick() == nick &&
            item->GetPort() == port) {
            item->AcceptResume(position);
            return;
        }
}

bool TDCCManager::FindReceiveFileSize(TIRCUnit* unit, const CString& nick, int port, long long& size)
{
    for (TDCCReceiveItem* item : receiveItems)
        if (item->GetUnit() == unit && item->GetState() == DCC_STATE_RESUMING && item->GetNick() == nick &&
            item->GetPort() == port) {
            size = item->GetSize();
            return true;
        }
    return false;
}

void TDCCManager::RenameNick(TIRCUnit* unit, const CString& oldNick, const CString& newNick)
{
    for (TDCCReceiveItem* item : receiveItems)
        if (item->GetUnit() == unit && item->GetState() != DCC_STATE_COMPLETE &&
            item->GetState() != DCC_STATE_ABORTED && item->GetNick() == oldNick)
            item->SetNick(newNick);
    for (TDCCSendItem* item : sendItems)
        if (item->GetUnit() == unit && item->GetState() != DCC_STATE_COMPLETE && item->GetNick() == oldNick)
            item->SetNick(newNick);
}

void TDCCManager::OnUnitLoggedIn(TIRCUnit* unit)
{
    if (HasQueuedOf(receiveItems, unit) || HasQueuedOf(sendItems, unit))
        StartTimer();
}

void TDCCManager::ForgetUnit(const TIRCUnit* unit)
{
    for (TDCCReceiveItem* item : receiveItems)
        if (item->GetUnit() == unit)
            item->ForgetUnit();
    for (TDCCSendItem* item : sendItems)
        if (item->GetUnit() == unit)
            item->ForgetUnit();
}

int TDCCManager::CountActiveReceives() const { return CountActive(receiveItems); }

int TDCCManager::CountActiveSends() const { return CountActive(sendItems); }

int TDCCManager::CountPendingReceives() const { return CountInStates(receiveItems, IsDCCStatePending); }

int TDCCManager::FindReceiveItem(const TDCCReceiveItem* item) const { return FindIn(receiveItems, item); }

int TDCCManager::FindSendItem(const TDCCSendItem* item) const { return FindIn(sendItems, item); }

void TDCCManager::RemoveReceiveItem(TDCCReceiveItem* item)
{
    int index = FindReceiveItem(item);
    if (index < 0)
        return;
    receiveItems.erase(receiveItems.begin() + index);
    delete item;
    NotifyChanged();
}

void TDCCManager::RemoveSendItem(TDCCSendItem* item)
{
    int index = FindSendItem(item);
    if (index < 0)
        return;
    sendItems.erase(sendItems.begin() + index);
    delete item;
    NotifyChanged();
}

void TDCCManager::QueueReceive(TDCCReceiveItem* item)
{
    if (FindReceiveItem(item) < 0)
        return;
    item->Queue();
    // The next tick starts it; a stopped tick is started for that, never the item itself.
    if (item->GetState() == DCC_STATE_QUEUED)
        StartTimer();
}

void TDCCManager::QueueSend(TDCCSendItem* item)
{
    if (FindSendItem(item) < 0)
        return;
    item->Queue();
    if (item->GetState() == DCC_STATE_QUEUED)
        StartTimer();
}

template <typename Start> void TDCCManager::RunQueuePass(TQueuePass& pass, Start start)
{
    if (pass.running) {
        pass.again = true;
        return;
    }
    pass.running = true;
    do {
        pass.again = false;
        start();
    } while (pass.again);
    pass.running = false;
}

void TDCCManager::StartQueuedReceives()
{
    RunQueuePass(receivePass, [this] { StartQueuedReceivesOnce(); });
}

void TDCCManager::StartQueuedSends()
{
    RunQueuePass(sendPass, [this] { StartQueuedSendsOnce(); });
}

void TDCCManager::StartQueuedReceivesOnce()
{
    const TPreference& settings = Preference();
    int free = settings.EnableMaxDCCReceiveConnection ? settings.MaxDCCReceiveConnection - CountActive(receiveItems)
                                                      : (int)receiveItems.size();
    // Starting an item may call back into the manager; walk by index over a list that only grows.
    for (size_t i = 0; i < receiveItems.size() && free > 0; i++) {
        TDCCReceiveItem* item = receiveItems[i];
        if (item->GetState() != DCC_STATE_QUEUED)
            continue;
        // The resume request goes through the server: one not logged in drops it, and the item
        // would hold its slot for an answer that cannot come. It waits for the login; a deleted
        // server's item is received whole, as the window's start does.
        bool resume = settings.AutoResume && !IsServerGone(item);
        if (resume && MustWaitToResume(item))
            continue;
        free--;
        if (resume && item->TryResume())
            continue;
        int state = item->GetState();
        if (state == DCC_STATE_WAITING || state == DCC_STATE_ERROR || state == DCC_STATE_QUEUED ||
            state == DCC_STATE_RESUMING)
            item->StartReceive();
    }
}

void TDCCManager::StartQueuedSendsOnce()
{
    const TPreference& settings = Preference();
    int free = settings.EnableMaxDCCSendConnection ? settings.MaxDCCSendConnection - CountActive(sendItems)
                                                   : (int)sendItems.size();
    for (size_t i = 0; i < sendItems.size() && free > 0; i++) {
        TDCCSendItem* item = sendItems[i];
        if (item->GetState() != DCC_STATE_QUEUED)
            continue;
        // An offer through a server that is not logged in goes nowhere, and the item would listen
        // for a peer that never hears of it: it waits for the login, or fails when the server is gone.
        if (IsServerGone(item)) {
            CString text = item->GetFileName() + L" \u2192 " + item->GetNick();
            item->FailQueued(FormatStringResourceWithText(IDS_DCC_SEND_OFFLINE, text));
            continue;
        }
        if (item->GetUnit() && !CanOffer(item))
            continue;
        free--;
        item->Start();
    }
}

void TDCCManager::OnSendListening(TDCCSendItem* item)
{
    StartTimer();
    TIRCUnit* unit = item->GetUnit();
    if (!IsUnitValid(unit))
        return;
    unit->SendDccSendOffer(item->GetNick(), item->GetFileName(), item->GetPort(), item->GetSize());
    item->SetAddress(unit->GetMyAddress());
}

int TDCCManager::GetSendPort(TDCCSendItem* asking)
{
    const TPreference& settings = Preference();
    // Port 0 lets the system choose and the offer names the port bound; a range reaching past
    // 65535 would bind one port and offer another.
    int start = std::max(settings.DCCReceivePortStart, 0);
    int end = std::min(settings.DCCReceivePortEnd, 65535);
    if (end < start) {
        lastSendPort = start;
        return -1;
    }
    // Every send binds with address reuse, so a port another of ours listens on would bind again
    // and its peer could connect to either; such ports are passed over.
    for (int left = end - start + 1; left > 0; left--) {
        int candidate = lastSendPort + 1;
        if (candidate < start || candidate > end)
            candidate = start;
        lastSendPort = candidate;
        if (!IsSendPortListened(candidate, asking))
            return candidate;
    }
    return -1;
}

bool TDCCManager::IsSendPortListened(int port, const TDCCSendItem* asking) const
{
    for (const TDCCSendItem* item : sendItems)
        if (item != asking && item->IsListening() && item->GetPort() == port)
            return true;
    return false;
}

int TDCCManager::GetSendSpeedLimit(TDCCSendItem*)
{
    const TPreference& settings = Preference();
    return settings.EnableMaxOutgoingBandwidth ? settings.MaxOutgoingBandwidth : -1;
}

int TDCCManager::GetSendBufferSize(TDCCSendItem*)
{
    const TPreference& settings = Preference();
    if (!settings.EnableSendBufferSize || settings.SendBufferSize < 4)
        return 4;
    // The block is held in memory whole; an absurd setting must not take it all.
    return std::min(settings.SendBufferSize, TDCCSendItem::MaxBlockSize / 1024);
}

void TDCCManager::OnSendItemChanged(TDCCSendItem*) { NotifyChanged(); }

void TDCCManager::OnSendComplete(TDCCSendItem* item)
{
    StartQueuedSends();
    NotifyChanged();
    if (IsUnitValid(item->GetUnit()))
        item->GetUnit()->OnDccSendCompleted(item);
    if (listener && Preference().CloseDialogOnEndTransfer && IsEverythingComplete())
        listener->OnDCCAllFinished();
}

void TDCCManager::OnSendFailed(TDCCSendItem* item)
{
    StartQueuedSends();
    NotifyChanged();
    if (IsUnitValid(item->GetUnit()))
        item->GetUnit()->OnDccSendFailed(item);
}

void TDCCManager::OnReceiveStarted(TDCCReceiveItem*) { StartTimer(); }

void TDCCManager::OnReceiveItemChanged(TDCCReceiveItem*) { NotifyChanged(); }

void TDCCManager::RequestResume(TDCCReceiveItem* item, long long position)
{
    StartTimer();
    TIRCUnit* unit = item->GetUnit();
    // The real name is never sent: some senders match the port alone and choke on odd names.
    if (IsUnitValid(unit))
        unit->SendDccResumeRequest(item->GetNick(), L"file.ext", item->GetPort(), position);
}

int TDCCManager::GetResumeTimeout(TDCCReceiveItem*)
{
    const TPreference& settings = Preference();
    return settings.ReceiveOnResumeFail ? settings.ReceiveOnResumeFailTime : -1;
}

bool TDCCManager::GetHideIncompleteFiles(TDCCReceiveItem*) { return Preference().HideFileInReceiving; }

void TDCCManager::OnReceiveComplete(TDCCReceiveItem* item)
{
    StartQueuedReceives();
    NotifyChanged();
    if (IsUnitValid(item->GetUnit()))
        item->GetUnit()->OnDccReceiveCompleted(item);
    if (listener && Preference().CloseDialogOnEndTransfer && IsEverythingComplete())
        listener->OnDCCAllFinished();
}

void TDCCManager::OnReceiveFailed(TDCCReceiveItem* item)
{
    StartQueuedReceives();
    NotifyChanged();
    if (IsUnitValid(item->GetUnit()))
        item->GetUnit()->OnDccReceiveFailed(item);
}

bool TDCCManager::IsEverythingComplete() const
{
    for (const TDCCReceiveItem* item : receiveItems)
        if (item->GetState() != DCC_STATE_COMPLETE)
            return false;
    for (const TDCCSendItem* item : sendItems)
        if (item->GetState() != DCC_STATE_COMPLETE)
            return false;
    return true;
}

void TDCCManager::OnTimer(TTimer*)
{
    StartQueuedReceives();
    StartQueuedSends();
    if (CountActive(receiveItems) == 0 && CountActive(sendItems) == 0)
        timer.Stop();
    if (listener)
        listener->OnDCCTimer();
}
