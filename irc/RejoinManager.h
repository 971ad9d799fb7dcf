#pragma once
// Retries a channel join the server refused with 437 (temporarily unavailable), and remembers the
// safe channels joined by their short name so that a 403 can ask the server to create them.

#include "classlib/String.h"

#include <deque>
#include <map>
#include <set>
#include <utility>
#include <vector>

class TPreference;

typedef std::vector<std::pair<CString, CString>> TChannelKeyList;

class IRejoinManagerListener {
public:
    virtual void OnRejoin(const TChannelKeyList& channels) = 0;

protected:
    ~IRejoinManagerListener() = default;
};

class TRejoinManager {
public:
    // 437 comes from the server for any name it likes; past this many records, and as many
    // waiting retries, of names no JOIN of ours asked for, such new names are dropped.
    static constexpr size_t kMaxRecords = 1000;

    TRejoinManager() = default;
    TRejoinManager(const TRejoinManager&) = delete;
    TRejoinManager& operator=(const TRejoinManager&) = delete;
    virtual ~TRejoinManager() = default;

    void SetPreference(const TPreference* preference) { m_preference = preference; }
    void SetListener(IRejoinManagerListener* listener) { m_listener = listener; }

    // An empty key keeps the one remembered before.
    void RememberKey(const CString& channel, const CString& key);
    void Forget(const CString& channel);
    // Forgotten, and a retry waiting for it goes too.
    void Drop(const CString& channel);
    void AddRejoin(const CString& channel);
    void Tick();
    // The keys and the waiting rejoins of a session that has ended.
    void Clear();
    // Nothing waits any more; the keys and the retries counted so far stay, so switching the
    // rejoin off and on again gives no channel its retries anew.
    void ClearPending() { m_pending.clear(); }

    size_t GetRecordCount() const { return m_records.size(); }
    size_t GetPendingCount() const { return m_pending.size(); }

private:
    struct TRecord {
        CString channel;
        CString key;
        int retries = 0;
        bool sent = false; // a JOIN of ours asked for it
    };
    struct TPending {
        CString channel;
        int countdown = 0;
        bool sent = false;
    };

    // False when the name is new, no JOIN of ours asked for it and the bound is reached.
    bool Remember(const CString& channel, const CString& key, bool sent);
    void Erase(std::map<CString, TRecord>::iterator record);

    const TPreference* m_preference = nullptr;
    IRejoinManagerListener* m_listener = nullptr;
    std::map<CString, TRecord> m_records; // by IRC-folded name
    std::deque<TPending> m_pending;
    size_t m_unsentRecords = 0;
};

class TSafeChannelJoinManager {
public:
    TSafeChannelJoinManager() = default;
    TSafeChannelJoinManager(const TSafeChannelJoinManager&) = delete;
    TSafeChannelJoinManager& operator=(const TSafeChannelJoinManager&) = delete;
    virtual ~TSafeChannelJoinManager() = default;

    void Add(const CString& channel);
    void Remove(const CString& channel);
    bool Contains(const CString& channel) const;
    void Clear() { m_channels.clear(); }

private:
    std::set<CString> m_channels; // IRC-folded
};
