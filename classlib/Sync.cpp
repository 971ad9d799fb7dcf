#include "classlib/Sync.h"

CEvent::CEvent(BOOL initiallyOwn, BOOL manualReset, LPCWSTR name, LPSECURITY_ATTRIBUTES security)
{
    m_hObject = CreateEventW(security, manualReset, initiallyOwn, name);
}

CEvent::~CEvent()
{
    if (m_hObject)
        CloseHandle(m_hObject);
}
