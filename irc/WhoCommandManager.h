#pragma once
// Paces the WHO queries of newly joined channels: after each WHO it waits a number of ticks that
// grows with the size of the channel just asked about.

#include "classlib/String.h"

#include <deque>
#include <set>

class TPreference;

class IWhoCommandManagerListener {
public:
    virtual void OnSendWho(const CString& target) = 0;

protected:
    ~IWhoCommandManagerListener() = default;
};

class TWhoCommandManager {
public:
    TWhoCommandManager() = default;
    TWhoCommandManager(const TWhoCommandManager&) = delete;
    TWhoCommandManager& operator=(const TWhoCommandManager&) = delete;
    virtual ~TWhoCommandManager() = default;

    void SetPreference(const TPreference* preference) { m_preference = preference; }
    void SetListener(IWhoCommandManagerListener* listener) { m_listener = listener; }

    // A target already waiting is not queued twice: a server that makes the user join and part one
    // channel over and over would otherwise grow the queue without end.
    void Add(const CString& target, int memberCount);
    void Tick(bool countDown);
    // The logged-in step restarts the queue with a wait of its own.
    void Reset(int wait);
    // Ticks to wait before the next WHO; the queue stays.
    void SetWait(int wait) { m_wait = wait; }

    int GetWait() const { return m_wait; }
    size_t GetQueuedCount() const { return m_queue.size(); }

private:
    struct TEntry {
        CString target;
        int memberCount = 0;
    };

    void Clear();
    void SendFront();
    void SetWaitAfterWho();

    std::deque<TEntry> m_queue;
    std::set<CString> m_queuedTargets; // IRC-folded
    IWhoCommandManagerListener* m_listener = nullptr;
    const TPreference* m_preference = nullptr;
    int m_wait = 0;
};
