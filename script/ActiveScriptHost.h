#pragma once
// The host of one Windows Script engine: creates a "JScript" engine, answers the engine's site
// interfaces, keeps the named items, runs script text and stops calls that run too long. The
// host object itself is the automation object of its derived class, and the source of its
// events: the engine binds handlers through IBindEventHandler or a connection point.

#include "classlib/String.h"
#include "script/DispatchObject.h"

#include <activscp.h>
#include <ocidl.h>

#include <csetjmp>
#include <functional>
#include <map>
#include <vector>

class CActiveScriptHost;

// The host's one connection point, for the events of the default source interface.
class TEventConnectionPoint : public IConnectionPoint {
public:
    explicit TEventConnectionPoint(CActiveScriptHost* host) : host(host) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

    // Snapshot of the sinks, each referenced for the caller.
    std::vector<IDispatch*> TakeSinks() const;
    void ReleaseAll();
    // Drops the sinks without calling them: their engine is gone.
    void ForgetAll() { sinks.clear(); }

private:
    CActiveScriptHost* host;
    std::map<DWORD, IDispatch*> sinks;
    DWORD lastCookie = 0;
};

struct TScriptEventName {
    DISPID id;
    const wchar_t* name;
};

class CActiveScriptHost : public TDispatchObject,
                          public IActiveScriptSite,
                          public IActiveScriptSiteWindow,
                          public IActiveScriptSiteInterruptPoll,
                          public IProvideMultipleClassInfo,
                          public IBindEventHandler,
                          public IConnectionPointContainer {
public:
    static const DWORD kDefaultTimeout = 5000;

    CActiveScriptHost();
    ~CActiveScriptHost() override;

    bool CreateEngine();
    bool AddScriptItem(IDispatch* object);
    bool AddScriptCode(const CString& text);
    void ReleaseEngine();
    void SetItemName(const CString& name) { itemName = name; }
    void SetSiteWindow(HWND window) { siteWindow = window; }
    // True while the engine runs script code of this host.
    bool IsRunning() const { return !entries.empty(); }

    // Calls the handlers of one event; args in parameter order.
    void FireEvent(DISPID id, int argCount, const VARIANT* args);
    // Calls a function object of the script from outside the engine; false when the engine was
    // dropped during the call and the function must not be touched again.
    bool CallScriptFunction(IDispatch* function, int argCount = 0, const VARIANT* args = nullptr);
    // For every member call of a script-visible object, the host's own included: E_ABORT when
    // the engine's innermost run went on past its time-out, else S_OK. A run that goes on after
    // the refusal is left from within here.
    static HRESULT CheckMemberCall();

    virtual void ReportMessage(const CString& text) = 0;
    virtual void ReportScriptError(const CString& description, const CString& source, ULONG line) = 0;

    // IUnknown, shared by every interface of the host.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return TDispatchObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return TDispatchObject::Release(); }

    // IActiveScriptSite
    HRESULT STDMETHODCALLTYPE GetLCID(LCID* locale) override;
    HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR* version) override;
    HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT* result, const EXCEPINFO* exception) override;
    HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE state) override;
    HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override;
    HRESULT STDMETHODCALLTYPE OnEnterScript() override;
    HRESULT STDMETHODCALLTYPE OnLeaveScript() override;
    // IActiveScriptSiteWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
    // IActiveScriptSiteInterruptPoll
    HRESULT STDMETHODCALLTYPE QueryContinue() override;
    // IProvideMultipleClassInfo
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;
    HRESULT STDMETHODCALLTYPE GetMultiTypeInfoCount(ULONG* count) override;
    HRESULT STDMETHODCALLTYPE GetInfoOfIndex(ULONG index, DWORD flags, ITypeInfo** coclass, DWORD* infoFlags,
                                             ULONG* dispatchCount, IID* dispatch, IID* source) override;
    // IBindEventHandler: how Wine's JScript attaches "function item::event()" handlers.
    HRESULT STDMETHODCALLTYPE BindHandler(LPCOLESTR event, IDispatch* handler) override;
    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

protected:
    // The coclass, the class identity reported to the engine, the default source interface and
    // the events it names.
    virtual const GUID& GetPrimaryIdentity() const = 0;
    virtual const GUID& GetClassIdentity() const = 0;
    virtual const IID& GetEventIdentity() const = 0;
    virtual const TScriptEventName* GetEventNames(int& count) const = 0;
    virtual DWORD ReadTickCount() const { return GetTickCount(); }
    void* QueryOther(REFIID iid) override;
    // The engine was left in the middle of a run and is gone; nothing it handed out may be
    // called again.
    virtual void OnEngineDropped() {}

private:
    struct TEntry {
        DWORD tick;
        bool timedOut;
        bool refused;    // a member call was refused since
        int memberDepth; // member calls in progress when the engine entered
    };

    bool Fail(const wchar_t* what, HRESULT hr);
    // True when the innermost script call ran past its limit; reports that once.
    bool IsOverTime();
    // Runs one call into the engine from outside it. A run that went on after its time-out is
    // left from within (LeaveRun); the engine is then dropped and false returned.
    bool EnterEngine(const std::function<void()>& call);
    // True when only the engine's own frames lie between this member call and EnterEngine.
    bool CanLeaveRun() const;
    [[noreturn]] void LeaveRun();
    void DropEngine();
    const wchar_t* FindEventName(DISPID id) const;
    void ReleaseHandlers();

    std::map<CString, IUnknown*> namedItems; // not referenced by the table
    IActiveScriptParse* parse = nullptr;
    IActiveScript* script = nullptr;
    HWND siteWindow;
    CString itemName;
    DWORD timeout = kDefaultTimeout;
    // One entry per script call in progress, the innermost last: each call keeps its own limit.
    std::vector<TEntry> entries;
    std::map<CString, IDispatch*> boundHandlers; // event name -> function object
    TEventConnectionPoint connectionPoint{this};
    std::jmp_buf* runExit = nullptr; // set while the outermost call into the engine runs
    int engineCalls = 0;             // calls into the engine in progress
    int runMemberDepth = 0;          // member calls in progress when the outermost call entered
};
