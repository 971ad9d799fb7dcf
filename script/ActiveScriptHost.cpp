#include "script/ActiveScriptHost.h"

#include "foundation/ScriptValueText.h"

#include <oleauto.h>
#include <olectl.h>

#include <algorithm>
#include <iterator>

namespace {
const LCID kEnglishNeutral = 9;
// The system's values; the cross tools' uuid library lacks these.
// A 64-bit engine answers only to the 64-bit parse interface, whose cookies are pointer-sized.
#ifdef _WIN64
const IID kIID_IActiveScriptParse = {0xc7ef7658, 0xe1ee, 0x480e, {0x97, 0xea, 0xd5, 0x2c, 0xb4, 0xd7, 0x6d, 0x17}};
#else
const IID kIID_IActiveScriptParse = {0xbb1a2ae2, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
#endif
const IID kIID_IActiveScriptSiteInterruptPoll = {
    0x539698a0, 0xcdca, 0x11cf, {0xa5, 0xeb, 0x00, 0xaa, 0x00, 0x47, 0xa0, 0x63}};
const IID kIID_IBindEventHandler = {0x63cdbcb0, 0xc1b1, 0x11d0, {0x93, 0x36, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9}};
const DWORD kHostItemFlags = SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE | SCRIPTITEM_GLOBALMEMBERS;

// The hosts whose engines run script code now, one per entry, the innermost last: every script
// object that an engine calls is refused once that engine's run is over its time.
std::vector<CActiveScriptHost*> runningHosts;

void ForgetRuns(CActiveScriptHost* host)
{
    runningHosts.erase(std::remove(runningHosts.begin(), runningHosts.end(), host), runningHosts.end());
}

} // namespace

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = iid == IID_IUnknown || iid == IID_IConnectionPoint ? static_cast<IConnectionPoint*>(this) : nullptr;
    if (!*object)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE TEventConnectionPoint::AddRef() { return host->AddRef(); }

ULONG STDMETHODCALLTYPE TEventConnectionPoint::Release() { return host->Release(); }

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    IProvideMultipleClassInfo* info = host;
    return info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, iid);
}

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container)
        return E_POINTER;
    *container = host;
    host->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(IID_IDispatch, (void**)&dispatch)) || !dispatch)
        return CONNECT_E_CANNOTCONNECT;
    *cookie = ++lastCookie;
    sinks[*cookie] = dispatch;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::Unadvise(DWORD cookie)
{
    auto found = sinks.find(cookie);
    if (found == sinks.end())
        return CONNECT_E_NOCONNECTION;
    IDispatch* sink = found->second;
    sinks.erase(found);
    sink->Release();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TEventConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

std::vector<IDispatch*> TEventConnectionPoint::TakeSinks() const
{
    std::vector<IDispatch*> copy;
    for (const auto& entry : sinks) {
        entry.second->AddRef();
        copy.push_back(entry.second);
    }
    return copy;
}

void TEventConnectionPoint::ReleaseAll()
{
    std::map<DWORD, IDispatch*> old;
    old.swap(sinks);
    for (auto& entry : old)
        entry.second->Release();
}

CActiveScriptHost::CActiveScriptHost() : TDispatchObject(false), siteWindow(GetDesktopWindow()) {}

CActiveScriptHost::~CActiveScriptHost()
{
    ReleaseEngine();
    namedItems.clear();
}

bool CActiveScriptHost::Fail(const wchar_t* what, HRESULT hr)
{
    CString text;
    text.Format(L"%s Error: %x", what, (unsigned)hr);
    ReportMessage(text);
    return false;
}

bool CActiveScriptHost::CreateEngine()
{
    ReleaseEngine();
    CLSID engineClass;
    if (FAILED(CLSIDFromProgID(L"JScript", &engineClass)))
        return false;
    HRESULT hr = CoCreateInstance(engineClass, nullptr, CLSCTX_ALL, IID_IActiveScript, (void**)&script);
    if (SUCCEEDED(hr))
        hr = script->QueryInterface(kIID_IActiveScriptParse, (void**)&parse);
    if (SUCCEEDED(hr))
        hr = script->SetScriptSite(static_cast<IActiveScriptSite*>(this));
    if (SUCCEEDED(hr))
        hr = parse->InitNew();
    if (SUCCEEDED(hr)) {
        namedItems[itemName] = static_cast<IDispatch*>(this);
        hr = script->AddNamedItem(itemName, kHostItemFlags);
    }
    if (SUCCEEDED(hr))
        hr = script->SetScriptState(SCRIPTSTATE_STARTED);
    if (FAILED(hr)) {
        Fail(L"CreateEngine", hr);
        ReleaseEngine();
        return false;
    }
    return true;
}

bool CActiveScriptHost::AddScriptItem(IDispatch* object)
{
    if (!script || !object)
        return false;
    namedItems[L"window"] = object;
    HRESULT hr = script->AddNamedItem(L"window", SCRIPTITEM_ISVISIBLE);
    if (SUCCEEDED(hr))
        hr = script->SetScriptState(SCRIPTSTATE_CONNECTED);
    return SUCCEEDED(hr) || Fail(L"AddScriptItem", hr);
}

bool CActiveScriptHost::AddScriptCode(const CString& text)
{
    if (!parse)
        return false;
    HRESULT hr = E_FAIL;
    if (!EnterEngine([&] {
            hr = parse->ParseScriptText(text, nullptr, nullptr, nullptr, 0, 0,
                                        SCRIPTTEXT_ISVISIBLE | SCRIPTTEXT_ISPERSISTENT, nullptr, nullptr);
        }))
        return false;
    if (SUCCEEDED(hr) && script)
        hr = script->SetScriptState(SCRIPTSTATE_CONNECTED);
    return SUCCEEDED(hr) || Fail(L"AddScriptCode", hr);
}

void CActiveScriptHost::ReleaseEngine()
{
    if (parse) {
        parse->Release();
        parse = nullptr;
    }
    if (script) {
        IActiveScript* closing = script;
        script = nullptr;
        closing->Close();
        closing->Release();
    }
    // The engine's handlers and sinks belong to the engine that is gone.
    ReleaseHandlers();
    entries.clear();
    ForgetRuns(this);
}

void CActiveScriptHost::ReleaseHandlers()
{
    std::map<CString, IDispatch*> old;
    old.swap(boundHandlers);
    for (auto& entry : old)
        entry.second->Release();
    connectionPoint.ReleaseAll();
}

const wchar_t* CActiveScriptHost::FindEventName(DISPID id) const
{
    int count = 0;
    const TScriptEventName* names = GetEventNames(count);
    for (int i = 0; i < count; i++) {
        if (names[i].id == id)
            return names[i].name;
    }
    return nullptr;
}

void CActiveScriptHost::FireEvent(DISPID id, int argCount, const VARIANT* args)
{
    const wchar_t* name = FindEventName(id);
    if (!name)
        return;
    // A handler may unload scripts or rebind; hold what is called until the call returns.
    AddRef();
    auto bound = boundHandlers.find(name);
    if (bound != boundHandlers.end() && !CallScriptFunction(bound->second, argCount, args)) {
        Release();
        return;
    }
    std::vector<VARIANT> reversed(args, args + argCount);
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, (UINT)argCount, 0};
    for (IDispatch* sink : connectionPoint.TakeSinks()) {
        VARIANT result;
        VariantInit(&result);
        // After a drop the remaining sinks belong to the dropped engine and stay as they are.
        if (!EnterEngine([&] {
                sink->Invoke(id, IID_NULL, kEnglishNeutral, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
            }))
            break;
        VariantClear(&result);
        sink->Release();
    }
    Release();
}

bool CActiveScriptHost::CallScriptFunction(IDispatch* function, int argCount, const VARIANT* args)
{
    function->AddRef();
    VARIANT result;
    VariantInit(&result);
    if (!EnterEngine([&] { InvokeFunctionObject(function, &result, argCount, args); }))
        return false; // the function and its result belong to the dropped engine
    VariantClear(&result);
    function->Release();
    return true;
}

bool CActiveScriptHost::EnterEngine(const std::function<void()>& call)
{
    // A call made from inside a run of this engine cannot be left on its own: the outer run's
    // frames would go on in a broken engine.
    if (runExit) {
        engineCalls++;
        call();
        engineCalls--;
        return true;
    }
    std::jmp_buf exit;
    runExit = &exit;
    engineCalls = 1;
    runMemberDepth = TMemberCallScope::GetDepth();
    if (setjmp(exit) == 0) {
        call();
        runExit = nullptr;
        engineCalls = 0;
        return true;
    }
    // Back from LeaveRun: the engine's frames of this run were skipped.
    runExit = nullptr;
    engineCalls = 0;
    DropEngine();
    return false;
}

bool CActiveScriptHost::CanLeaveRun() const
{
    return runExit && engineCalls == 1 && TMemberCallScope::GetDepth() == runMemberDepth;
}

void CActiveScriptHost::LeaveRun() { std::longjmp(*runExit, 1); }

void CActiveScriptHost::DropEngine()
{
    // Its state is not to be trusted once its frames were skipped: it is left as it stands and
    // never called again, not even to be released. What it holds of the host leaks with it.
    parse = nullptr;
    script = nullptr;
    boundHandlers.clear();
    connectionPoint.ForgetAll();
    entries.clear();
    ForgetRuns(this);
    OnEngineDropped();
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::QueryInterface(REFIID iid, void** object)
{
    return TDispatchObject::QueryInterface(iid, object);
}

void* CActiveScriptHost::QueryOther(REFIID iid)
{
    if (iid == IID_IActiveScriptSite)
        return static_cast<IActiveScriptSite*>(this);
    if (iid == IID_IActiveScriptSiteWindow)
        return static_cast<IActiveScriptSiteWindow*>(this);
    if (iid == kIID_IActiveScriptSiteInterruptPoll)
        return static_cast<IActiveScriptSiteInterruptPoll*>(this);
    if (iid == IID_IProvideMultipleClassInfo || iid == IID_IProvideClassInfo2 || iid == IID_IProvideClassInfo)
        return static_cast<IProvideMultipleClassInfo*>(this);
    if (iid == kIID_IBindEventHandler)
        return static_cast<IBindEventHandler*>(this);
    if (iid == IID_IConnectionPointContainer)
        return static_cast<IConnectionPointContainer*>(this);
    return nullptr;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::GetLCID(LCID* locale)
{
    if (!locale)
        return E_POINTER;
    *locale = kEnglishNeutral;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info)
{
    if (mask & SCRIPTINFO_ITYPEINFO) {
        if (!info)
            return E_INVALIDARG;
        *info = nullptr;
    }
    if (mask & SCRIPTINFO_IUNKNOWN) {
        if (!item)
            return E_INVALIDARG;
        *item = nullptr;
    }
    if (name && EqualsIgnoringAsciiCase(name, itemName)) {
        if (mask & SCRIPTINFO_ITYPEINFO) {
            HRESULT hr = GetModuleTypeInfo(GetPrimaryIdentity(), info);
            if (FAILED(hr))
                return hr;
        }
        if (mask & SCRIPTINFO_IUNKNOWN) {
            *item = static_cast<IDispatch*>(this);
            AddRef();
        }
        return S_OK;
    }
    auto found = name ? namedItems.find(name) : namedItems.end();
    if (found == namedItems.end())
        return TYPE_E_ELEMENTNOTFOUND;
    IUnknown* object = found->second;
    if (!object)
        return E_FAIL;
    if (mask & SCRIPTINFO_ITYPEINFO) {
        IProvideClassInfo* provider = nullptr;
        HRESULT hr = E_FAIL;
        if (SUCCEEDED(object->QueryInterface(IID_IProvideClassInfo, (void**)&provider)) && provider) {
            hr = provider->GetClassInfo(info);
            provider->Release();
        } else {
            hr = GetModuleTypeInfo(GetPrimaryIdentity(), info);
        }
        if (FAILED(hr))
            return E_FAIL;
    }
    if (mask & SCRIPTINFO_IUNKNOWN) {
        *item = object;
        object->AddRef();
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::GetDocVersionString(BSTR*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CActiveScriptHost::OnScriptTerminate(const VARIANT*, const EXCEPINFO*) { return S_OK; }

HRESULT STDMETHODCALLTYPE CActiveScriptHost::OnStateChange(SCRIPTSTATE) { return S_OK; }

HRESULT STDMETHODCALLTYPE CActiveScriptHost::OnScriptError(IActiveScriptError* error)
{
    if (!error)
        return E_POINTER;
    // The abort of a call that ran too long is reported already.
    if (!entries.empty() && entries.back().timedOut)
        return S_OK;
    EXCEPINFO exception = {};
    error->GetExceptionInfo(&exception);
    if (exception.pfnDeferredFillIn)
        exception.pfnDeferredFillIn(&exception);
    DWORD context = 0;
    ULONG line = 0;
    LONG column = 0;
    error->GetSourcePosition(&context, &line, &column);
    BSTR lineText = nullptr;
    error->GetSourceLineText(&lineText);
    ReportScriptError(BstrToString(exception.bstrDescription), BstrToString(exception.bstrSource), line);
    SysFreeString(lineText);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::OnEnterScript()
{
    entries.push_back({ReadTickCount(), false, false, TMemberCallScope::GetDepth()});
    runningHosts.push_back(this);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::OnLeaveScript()
{
    if (entries.empty())
        return S_OK;
    entries.pop_back();
    auto last = std::find(runningHosts.rbegin(), runningHosts.rend(), this);
    if (last != runningHosts.rend())
        runningHosts.erase(std::next(last).base());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = siteWindow;
    return siteWindow ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::EnableModeless(BOOL) { return S_OK; }

bool CActiveScriptHost::IsOverTime()
{
    if (entries.empty())
        return false;
    TEntry& current = entries.back();
    // Elapsed time by unsigned difference, so the tick counter's wrap changes nothing.
    if (current.timedOut || ReadTickCount() - current.tick <= timeout)
        return current.timedOut;
    current.timedOut = true;
    ReportMessage(L"Script execution timed out");
    return true;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::QueryContinue()
{
    // Refused for as long as the run is over its time, whatever the engine does in between.
    return IsOverTime() ? S_FALSE : S_OK;
}

HRESULT CActiveScriptHost::CheckMemberCall()
{
    if (runningHosts.empty())
        return S_OK;
    CActiveScriptHost* host = runningHosts.back();
    // Only a call straight from the running engine: the host's own code may still finish what
    // the engine let it start.
    if (host->entries.back().memberDepth != TMemberCallScope::GetDepth() || !host->IsOverTime())
        return S_OK;
    // Engines that never poll (Wine's JScript) are stopped at their next member call. Such an
    // engine hands the refusal to the script's catch; a script that goes on is left by the host,
    // which it can only be when none of the host's or its objects' frames lie in between.
    TEntry& run = host->entries.back();
    if (run.refused && host->CanLeaveRun())
        host->LeaveRun();
    run.refused = true;
    return E_ABORT;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::GetClassInfo(ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    return GetModuleTypeInfo(GetClassIdentity(), info);
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = GetEventIdentity();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::GetMultiTypeInfoCount(ULONG* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::GetInfoOfIndex(ULONG index, DWORD flags, ITypeInfo** coclass, DWORD*,
                                                            ULONG*, IID*, IID*)
{
    if (index != 0)
        return E_INVALIDARG;
    if ((flags & MULTICLASSINFO_GETTYPEINFO) && coclass) {
        *coclass = nullptr;
        return GetModuleTypeInfo(GetPrimaryIdentity(), coclass);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::BindHandler(LPCOLESTR event, IDispatch* handler)
{
    if (!event || !handler)
        return E_POINTER;
    bool known = false;
    int count = 0;
    const TScriptEventName* names = GetEventNames(count);
    for (int i = 0; i < count && !known; i++)
        known = wcscmp(names[i].name, event) == 0;
    if (!known)
        return DISP_E_UNKNOWNNAME;
    handler->AddRef();
    IDispatch*& slot = boundHandlers[event];
    if (slot)
        slot->Release();
    slot = handler;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CActiveScriptHost::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (iid != GetEventIdentity() && iid != IID_IDispatch)
        return CONNECT_E_NOCONNECTION;
    *point = &connectionPoint;
    connectionPoint.AddRef();
    return S_OK;
}
