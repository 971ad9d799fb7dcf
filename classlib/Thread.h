#pragma once
// CWinThread and AfxBeginThread: a worker thread running one function.

#include <windows.h>

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

class CWinThread {
public:
    CWinThread(AFX_THREADPROC proc, LPVOID param);
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    virtual ~CWinThread();

    // Starts the thread; flags as CreateThread takes them (CREATE_SUSPENDED or 0).
    BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES security = nullptr);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // The object deletes itself when the thread function returns.
    BOOL m_bAutoDelete = TRUE;

private:
    static unsigned __stdcall Entry(void* self);

    AFX_THREADPROC m_proc;
    LPVOID m_param;
};

// Returns null when the thread cannot be started. With the default auto-delete, the object may be
// gone as soon as the thread ends, so callers started without CREATE_SUSPENDED must not keep it.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                           DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
