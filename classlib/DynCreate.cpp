#include "classlib/DynCreate.h"

#include <cwchar>

namespace {
// Filled by static constructors, before main; read-only afterwards.
const CRuntimeClass* g_firstClass = nullptr;
} // namespace

CRuntimeClass::CRuntimeClass(const wchar_t* name, CWnd* (*create)())
    : m_lpszClassName(name), m_pfnCreateObject(create), m_pNextClass(g_firstClass)
{
    g_firstClass = this;
}

const CRuntimeClass* CRuntimeClass::FromName(const wchar_t* name)
{
    for (const CRuntimeClass* c = g_firstClass; c; c = c->m_pNextClass)
        if (wcscmp(c->m_lpszClassName, name) == 0)
            return c;
    return nullptr;
}
