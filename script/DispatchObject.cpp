#include "script/DispatchObject.h"

#include "script/ActiveScriptHost.h"

#include <oleauto.h>

int TMemberCallScope::depth = 0;

namespace {
// By-reference values are read through their reference.
const VARIANT* Resolve(const VARIANT* value)
{
    if (value && V_VT(value) == (VT_VARIANT | VT_BYREF))
        return V_VARIANTREF(value);
    return value;
}

bool IsLeftOut(const VARIANT* value)
{
    return !value || (V_VT(value) == VT_ERROR && V_ERROR(value) == DISP_E_PARAMNOTFOUND);
}
} // namespace

CString BstrToString(BSTR text) { return text ? CString(text, (int)SysStringLen(text)) : CString(); }

bool ConvertVariant(const VARIANT* value, VARTYPE type, VARIANT& out)
{
    VariantInit(&out);
    return value && VariantChangeType(&out, const_cast<VARIANT*>(value), 0, type) == S_OK;
}

const VARIANT* TDispatchCall::GetArg(UINT index) const
{
    if (!params)
        return nullptr;
    UINT positional = params->cArgs - params->cNamedArgs;
    if (index >= positional)
        return nullptr;
    const VARIANT* value = Resolve(&params->rgvarg[params->cArgs - 1 - index]);
    return IsLeftOut(value) ? nullptr : value;
}

const VARIANT* TDispatchCall::GetPutValue() const
{
    if (!params || params->cArgs == 0)
        return nullptr;
    return Resolve(&params->rgvarg[0]);
}

bool TDispatchCall::IsString(UINT index) const
{
    const VARIANT* value = GetArg(index);
    return value && (V_VT(value) == VT_BSTR || V_VT(value) == (VT_BSTR | VT_BYREF));
}

CString TDispatchCall::GetString(UINT index) const
{
    VARIANT text;
    CString result;
    if (ConvertVariant(GetArg(index), VT_BSTR, text))
        result = BstrToString(V_BSTR(&text));
    VariantClear(&text);
    return result;
}

ULONG TDispatchCall::GetUnsigned(UINT index) const
{
    VARIANT number;
    if (!ConvertVariant(GetArg(index), VT_R8, number))
        return 0;
    double d = V_R8(&number);
    return d <= 0 ? 0 : d >= 4294967295.0 ? 0xFFFFFFFFu : (ULONG)d;
}

IDispatch* TDispatchCall::GetObject(UINT index) const
{
    const VARIANT* value = GetArg(index);
    if (!value)
        return nullptr;
    if (V_VT(value) == VT_DISPATCH)
        return V_DISPATCH(value);
    if (V_VT(value) == (VT_DISPATCH | VT_BYREF))
        return *V_DISPATCHREF(value);
    return nullptr;
}

HRESULT TDispatchCall::ReturnString(const CString& text)
{
    if (!result)
        return S_OK;
    BSTR copy = SysAllocStringLen(text.GetString(), (UINT)text.GetLength());
    if (!copy)
        return E_OUTOFMEMORY;
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = copy;
    return S_OK;
}

HRESULT TDispatchCall::ReturnNullString()
{
    if (result) {
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = nullptr;
    }
    return S_OK;
}

HRESULT TDispatchCall::ReturnBool(bool value)
{
    if (result) {
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
}

HRESULT TDispatchCall::ReturnLong(LONG value)
{
    if (result) {
        V_VT(result) = VT_I4;
        V_I4(result) = value;
    }
    return S_OK;
}

HRESULT TDispatchCall::ReturnUnsigned(ULONG value)
{
    if (result) {
        V_VT(result) = VT_UI4;
        V_UI4(result) = value;
    }
    return S_OK;
}

HRESULT TDispatchCall::ReturnUnsigned64(ULONGLONG value)
{
    // JScript knows no 64-bit integers; a double holds every file size exactly up to 2^53.
    if (result) {
        V_VT(result) = VT_R8;
        V_R8(result) = (double)value;
    }
    return S_OK;
}

HRESULT TDispatchCall::ReturnObject(IDispatch* object)
{
    if (!result) {
        if (object)
            object->Release();
        return S_OK;
    }
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TDispatchObject::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == *GetDispatchTable().iid)
        *object = static_cast<IDispatch*>(this);
    else
        *object = QueryOther(iid);
    if (!*object)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE TDispatchObject::AddRef() { return ++references; }

ULONG STDMETHODCALLTYPE TDispatchObject::Release()
{
    ULONG left = --references;
    if (left == 0 && selfDeleting)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE TDispatchObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TDispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return GetModuleTypeInfo(*GetDispatchTable().iid, info);
}

bool EqualsIgnoringAsciiCase(const wchar_t* a, const wchar_t* b)
{
    for (;; a++, b++) {
        wchar_t x = *a >= L'A' && *a <= L'Z' ? *a + 32 : *a;
        wchar_t y = *b >= L'A' && *b <= L'Z' ? *b + 32 : *b;
        if (x != y)
            return false;
        if (!x)
            return true;
    }
}

DISPID TDispatchObject::FindMember(const wchar_t* name) const
{
    const TDispatchTable& table = GetDispatchTable();
    for (int i = 0; name && i < table.count; i++) {
        if (EqualsIgnoringAsciiCase(table.members[i].name, name))
            return i + 1;
    }
    return DISPID_UNKNOWN;
}

HRESULT STDMETHODCALLTYPE TDispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
        return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; i++) {
        // Only the member itself has an id; parameter names are not offered.
        ids[i] = i == 0 ? FindMember(names[i]) : DISPID_UNKNOWN;
        if (ids[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT STDMETHODCALLTYPE TDispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                                  VARIANT* result, EXCEPINFO*, UINT*)
{
    HRESULT late = CActiveScriptHost::CheckMemberCall();
    if (FAILED(late))
        return late;
    const TDispatchTable& table = GetDispatchTable();
    if (id < 1 || id > table.count || (table.members[id - 1].method && !(flags & DISPATCH_METHOD)))
        return DISP_E_MEMBERNOTFOUND;
    if (result)
        VariantInit(result);
    TMemberCallScope scope;
    TDispatchCall call(flags, params, result);
    // The handler may release the last reference to this object through the script.
    AddRef();
    HRESULT hr = table.members[id - 1].handler(this, call);
    Release();
    return hr;
}

HRESULT GetModuleTypeInfo(REFGUID guid, ITypeInfo** info)
{
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLib(path, &library);
    if (FAILED(hr))
        return hr;
    hr = library->GetTypeInfoOfGuid(guid, info);
    library->Release();
    return hr;
}
