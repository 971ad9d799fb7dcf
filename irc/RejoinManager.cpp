#include "irc/RejoinManager.h"

#include "ircproto/IRCNames.h"
#include "settings/Preference.h"

namespace {

// Pending entries this close to due go out in the batch of the one that is due.
const int kBatchWindow = 10;

} // namespace

void TRejoinManager::RememberKey(const CString& channel, const CString& key) { Remember(channel, key, true); }

bool TRejoinManager::Remember(const CString& channel, const CString& key, bool sent)
{
    CString folded = IRCToUpper(channel);
    auto found = m_records.find(folded);
    if (found != m_records.end()) {
        if (!key.IsEmpty())
            found->second.key = key;
        if (sent && !found->second.sent) {
            found->second.sent = true;
            m_unsentRecords--;
        }
        return true;
    }
    if (!sent && m_unsentRecords >= kMaxRecords)
        return false;
    TRecord& record = m_records[folded];
    record.channel = channel;
    record.key = key;
    record.sent = sent;
    if (!sent)
        m_unsentRecords++;
    return true;
}

void TRejoinManager::Erase(std::map<CString, TRecord>::iterator record)
{
    if (!record->second.sent)
        m_unsentRecords--;
    m_records.erase(record);
}

void TRejoinManager::Forget(const CString& channel)
{
    auto found = m_records.find(IRCToUpper(channel));
    if (found != m_records.end())
        Erase(found);
}

void TRejoinManager::Drop(const CString& channel)
{
    Forget(channel);
    CString folded = IRCToUpper(channel);
    for (auto it = m_pending.begin(); it != m_pending.end();)
        it = IRCToUpper(it->channel) == folded ? m_pending.erase(it) : it + 1;
}

void TRejoinManager::AddRejoin(const CString& channel)
{
    if (!m_preference)
        return;
    CString folded = IRCToUpper(channel);
    if (!Remember(channel, CString(), false))
        return;
    auto found = m_records.find(folded);
    int limit = m_preference->Error437RejoinCount;
    if (limit >= 1 && ++found->second.retries > limit) {
        Erase(found);
        return;
    }
    int interval = m_preference->Error437RejoinInterval;
    size_t unsent = 0;
    for (TPending& entry : m_pending) {
        if (IRCToUpper(entry.channel) == folded) {
            if (entry.countdown > interval)
                entry.countdown = interval;
            return;
        }
        unsent += entry.sent ? 0 : 1;
    }
    bool sent = found->second.sent;
    if (sent || unsent < kMaxRecords)
        m_pending.push_back({channel, interval, sent});
}

void TRejoinManager::Tick()
{
    if (m_pending.empty())
        return;
    bool due = false;
    for (TPending& entry : m_pending)
        if (--entry.countdown <= 0)
            due = true;
    if (!due)
        return;
    TChannelKeyList batch;
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (--it->countdown > kBatchWindow) {
            ++it;
            continue;
        }
        auto record = m_records.find(IRCToUpper(it->channel));
        batch.push_back({it->channel, record != m_records.end() ? record->second.key : CString()});
        it = m_pending.erase(it);
    }
    if (m_listener)
        m_listener->OnRejoin(batch);
}

void TRejoinManager::Clear()
{
    m_records.clear();
    m_pending.clear();
    m_unsentRecords = 0;
}

void TSafeChannelJoinManager::Add(const CString& channel) { m_channels.insert(IRCToUpper(channel)); }

void TSafeChannelJoinManager::Remove(const CString& channel) { m_channels.erase(IRCToUpper(channel)); }

bool TSafeChannelJoinManager::Contains(const CString& channel) const
{
    return m_channels.count(IRCToUpper(channel)) != 0;
}
