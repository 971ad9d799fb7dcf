#pragma once
// CEvent: an owned Win32 event object.

#include <windows.h>

class CEvent {
public:
    // Creation failure leaves m_hObject null; waits on it then fail at once.
    explicit CEvent(BOOL initiallyOwn = FALSE, BOOL manualReset = FALSE, LPCWSTR name = nullptr,
                    LPSECURITY_ATTRIBUTES security = nullptr);
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;
    virtual ~CEvent();

    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    // TRUE when the event was signalled within the time given.
    BOOL Lock(DWORD timeoutMs = INFINITE) { return WaitForSingleObject(m_hObject, timeoutMs) == WAIT_OBJECT_0; }

    operator HANDLE() const { return m_hObject; }

    HANDLE m_hObject = nullptr;
};
