#include "irc/WhoCommandManager.h"

#include "ircproto/IRCNames.h"
#include "settings/Preference.h"

void TWhoCommandManager::Add(const CString& target, int memberCount)
{
    if (!m_queuedTargets.insert(IRCToUpper(target)).second)
        return;
    m_queue.push_back({target, memberCount < 0 ? 0 : memberCount});
    if (m_wait <= 0)
        SendFront();
}

void TWhoCommandManager::Tick(bool countDown)
{
    if (countDown && m_wait > 0)
        m_wait--;
    if (m_wait <= 0 && !m_queue.empty())
        SendFront();
}

void TWhoCommandManager::Reset(int wait)
{
    Clear();
    m_wait = wait;
}

void TWhoCommandManager::Clear()
{
    m_queue.clear();
    m_queuedTargets.clear();
}

void TWhoCommandManager::SendFront()
{
    if (m_listener)
        m_listener->OnSendWho(m_queue.front().target);
    SetWaitAfterWho();
    if (!m_queue.empty()) {
        m_queuedTargets.erase(IRCToUpper(m_queue.front().target));
        m_queue.pop_front();
    }
}

void TWhoCommandManager::SetWaitAfterWho()
{
    if (m_queue.empty() || !m_preference)
        return;
    int members = m_queue.front().memberCount;
    switch (m_preference->WhoTiming) {
    case WhoFast:
        m_wait = members / 60 + 3;
        break;
    case WhoSlow:
        m_wait = members / 20 + 6;
        break;
    case WhoNever:
        Clear();
        m_wait = 0;
        break;
    }
}
