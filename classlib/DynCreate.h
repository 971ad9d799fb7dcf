#pragma once
// Creation of window objects by their run-time class name ("TUpdateDialog"), for code that
// knows a class only by name. A class opts in with DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE.

class CWnd;

struct CRuntimeClass {
    CRuntimeClass(const wchar_t* name, CWnd* (*create)());

    CWnd* CreateObject() const { return m_pfnCreateObject(); }
    // Null for a name no class registered.
    static const CRuntimeClass* FromName(const wchar_t* name);

    const wchar_t* m_lpszClassName;
    CWnd* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pNextClass;
};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

#define DECLARE_DYNCREATE(theClass)                                                                                    \
public:                                                                                                                \
    static const CRuntimeClass class##theClass;                                                                        \
    static CWnd* CreateObject();

#define IMPLEMENT_DYNCREATE(theClass)                                                                                  \
    CWnd* theClass::CreateObject() { return new theClass; }                                                            \
    const CRuntimeClass theClass::class##theClass(L## #theClass, &theClass::CreateObject);
