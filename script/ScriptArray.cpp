#include "script/ScriptArray.h"

#include "foundation/ScriptValueText.h"
#include "script/ActiveScriptHost.h"
#include "script/DispatchObject.h"
#include "script/ScriptChannel.h"

namespace {
const DISPID kLengthId = 1;
const DISPID kToStringId = 2;
const DISPID kFirstElementId = 10;
// The system's value; the cross tools' uuid library lacks it.
const IID kIID_IDispatchEx = {0xa6ef9860, 0xc720, 0x11d0, {0x93, 0x37, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9}};
} // namespace

HRESULT STDMETHODCALLTYPE TScriptArray::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIID_IDispatchEx) {
        *object = static_cast<IDispatchEx*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TScriptArray::Release()
{
    ULONG left = --references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE TScriptArray::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE TScriptArray::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
        return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; i++) {
        BSTR name = SysAllocString(names[i]);
        HRESULT one = GetDispID(name, fdexNameCaseInsensitive, &ids[i]);
        SysFreeString(name);
        if (FAILED(one))
            hr = one;
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE TScriptArray::Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params,
                                               VARIANT* result, EXCEPINFO* exception, UINT*)
{
    return InvokeEx(id, locale, flags, params, result, exception, nullptr);
}

HRESULT STDMETHODCALLTYPE TScriptArray::GetDispID(BSTR name, DWORD, DISPID* id)
{
    if (!id)
        return E_POINTER;
    *id = DISPID_UNKNOWN;
    if (!name)
        return DISP_E_MEMBERNOTFOUND;
    if (EqualsIgnoringAsciiCase(name, L"length")) {
        *id = kLengthId;
        return S_OK;
    }
    if (EqualsIgnoringAsciiCase(name, L"toString")) {
        *id = kToStringId;
        return S_OK;
    }
    long long index = 0;
    const wchar_t* p = name;
    for (; *p >= L'0' && *p <= L'9' && index <= 0x7FFFFFFF; p++)
        index = index * 10 + (*p - L'0');
    if (p == name || *p || index >= GetCount())
        return DISP_E_MEMBERNOTFOUND;
    *id = kFirstElementId + (DISPID)index;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TScriptArray::InvokeEx(DISPID id, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                                 IServiceProvider*)
{
    if (result)
        VariantInit(result);
    HRESULT late = CActiveScriptHost::CheckMemberCall();
    if (FAILED(late))
        return late;
    TMemberCallScope scope;
    if (flags == DISPATCH_PROPERTYGET) {
        if (!result)
            return E_FAIL;
        if (id == kLengthId) {
            V_VT(result) = VT_I4;
            V_I4(result) = GetCount();
            return S_OK;
        }
        if (id >= kFirstElementId && id - kFirstElementId < GetCount()) {
            IDispatch* item = GetItem(id - kFirstElementId);
            if (!item)
                return DISP_E_MEMBERNOTFOUND;
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = item;
            return S_OK;
        }
    }
    if (flags == DISPATCH_METHOD && id == kToStringId) {
        CString text = ToText();
        if (result) {
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocStringLen(text.GetString(), (UINT)text.GetLength());
        }
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE TScriptArray::GetMemberProperties(DISPID, DWORD, DWORD* properties)
{
    if (properties)
        *properties = fdexPropCannotPut;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TScriptArray::GetMemberName(DISPID id, BSTR* name)
{
    if (!name)
        return E_POINTER;
    CString text;
    if (id == kLengthId)
        text = L"length";
    else if (id == kToStringId)
        text = L"toString";
    else if (id >= kFirstElementId)
        text.Format(L"%d", (int)(id - kFirstElementId));
    else
        return E_FAIL;
    *name = SysAllocString(text);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TScriptArray::GetNextDispID(DWORD, DISPID id, DISPID* next)
{
    if (!next)
        return E_POINTER;
    int count = GetCount();
    if (count == 0) {
        *next = DISPID_UNKNOWN;
        return S_FALSE;
    }
    if (id == DISPID_STARTENUM) {
        *next = kFirstElementId;
        return S_OK;
    }
    if (id < kFirstElementId)
        return E_FAIL;
    if (id + 1 - kFirstElementId < count) {
        *next = id + 1;
        return S_OK;
    }
    *next = DISPID_UNKNOWN;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE TScriptArray::GetNameSpaceParent(IUnknown** parent)
{
    if (parent)
        *parent = nullptr;
    return E_NOTIMPL;
}

CString TScriptArray::ToText() const
{
    int count = GetCount();
    if (count == 0)
        return L"[KetroArray]";
    CString text = L"[KetroArray ";
    bool first = true;
    for (int i = 0; i < count; i++) {
        IDispatch* item = GetItem(i);
        if (!item)
            continue;
        VARIANT result;
        VariantInit(&result);
        if (InvokeMethodByName(item, L"toString", &result, 0, nullptr) == S_OK && V_VT(&result) == VT_BSTR) {
            if (!first)
                text += L", ";
            text += BstrToString(V_BSTR(&result));
            first = false;
        }
        VariantClear(&result);
        item->Release();
    }
    return text + L"]";
}

IDispatch* TScriptChannelArray::GetItem(int index) const
{
    std::vector<TIRCChannel*> channels = server->GetChannels();
    if (index < 0 || index >= (int)channels.size())
        return nullptr;
    return new TScriptChannel(server, channels[index]);
}

IDispatch* TScriptUserArray::GetItem(int index) const
{
    TScriptMemberRecord member;
    if (index < 0 || index >= (int)nicks.size())
        return nullptr;
    TIRCChannel* live = server->FindChannelBySerial(channel);
    if (!live || !server->FindMember(live, nicks[index], member))
        return nullptr;
    return new TScriptUser(member);
}
