#pragma once
// Arrays that scripts index like their own: "length", "toString" and the elements by index,
// enumerable with for-in.

#include "script/ScriptServer.h"

#include <dispex.h>

#include <utility>
#include <vector>

class TScriptArray : public IDispatchEx {
public:
    TScriptArray(const TScriptArray&) = delete;
    TScriptArray& operator=(const TScriptArray&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;
    HRESULT STDMETHODCALLTYPE GetDispID(BSTR name, DWORD flags, DISPID* id) override;
    HRESULT STDMETHODCALLTYPE InvokeEx(DISPID id, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                       EXCEPINFO* exception, IServiceProvider* caller) override;
    HRESULT STDMETHODCALLTYPE DeleteMemberByName(BSTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteMemberByDispID(DISPID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMemberProperties(DISPID id, DWORD fetch, DWORD* properties) override;
    HRESULT STDMETHODCALLTYPE GetMemberName(DISPID id, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE GetNextDispID(DWORD flags, DISPID id, DISPID* next) override;
    HRESULT STDMETHODCALLTYPE GetNameSpaceParent(IUnknown** parent) override;

    virtual int GetCount() const = 0;
    // A new element object, or null.
    virtual IDispatch* GetItem(int index) const = 0;
    CString ToText() const;

protected:
    TScriptArray() = default;
    virtual ~TScriptArray() = default;

private:
    ULONG references = 1;
};

class TScriptChannelArray : public TScriptArray {
public:
    explicit TScriptChannelArray(IScriptServer* server) : server(server) {}
    int GetCount() const override { return (int)server->GetChannels().size(); }
    IDispatch* GetItem(int index) const override;

private:
    IScriptServer* server;
};

class TScriptUserArray : public TScriptArray {
public:
    // The channel by its serial number (IScriptServer::GetChannelSerial).
    TScriptUserArray(IScriptServer* server, unsigned channel, std::vector<CString> nicks)
        : server(server), channel(channel), nicks(std::move(nicks))
    {
    }
    int GetCount() const override { return (int)nicks.size(); }
    IDispatch* GetItem(int index) const override;

private:
    IScriptServer* server;
    unsigned channel;
    std::vector<CString> nicks;
};
