#include "classlib/Thread.h"

#include <process.h>

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param) : m_proc(proc), m_param(param) {}

CWinThread::~CWinThread()
{
    if (m_hThread)
        CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD createFlags, UINT stackSize, LPSECURITY_ATTRIBUTES security)
{
    // Always start suspended so m_hThread is stored before the thread can delete this object.
    unsigned id = 0;
    uintptr_t handle = _beginthreadex(security, stackSize, &CWinThread::Entry, this, CREATE_SUSPENDED, &id);
    if (!handle)
        return FALSE;
    m_hThread = (HANDLE)handle;
    m_nThreadID = id;
    if (!(createFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

unsigned __stdcall CWinThread::Entry(void* self)
{
    CWinThread* thread = static_cast<CWinThread*>(self);
    UINT result = thread->m_proc(thread->m_param);
    if (thread->m_bAutoDelete)
        delete thread;
    return result;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES security)
{
    CWinThread* thread = new CWinThread(proc, param);
    if (!thread->CreateThread(createFlags | CREATE_SUSPENDED, stackSize, security)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if (!(createFlags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}
