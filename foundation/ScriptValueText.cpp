#include "foundation/ScriptValueText.h"

#include <oleauto.h>

#include <ctime>

namespace {
const LCID kUserDefaultLocale = 0x400;

HRESULT InvokeMember(IDispatch* object, DISPID member, VARIANT* result, int argCount, const VARIANT* args)
{
    if (argCount < 0)
        argCount = 0;
    VARIANT* callArgs = argCount ? new VARIANT[argCount] : nullptr;
    // The call's array holds the last parameter first.
    for (int i = 0; i < argCount; i++) {
        VariantInit(&callArgs[argCount - 1 - i]);
        VariantCopy(&callArgs[argCount - 1 - i], const_cast<VARIANT*>(&args[i]));
    }
    DISPPARAMS params = {callArgs, nullptr, (UINT)argCount, 0};
    HRESULT hr =
        object->Invoke(member, IID_NULL, kUserDefaultLocale, DISPATCH_METHOD, &params, result, nullptr, nullptr);
    for (int i = 0; i < argCount; i++)
        VariantClear(&callArgs[i]);
    delete[] callArgs;
    return hr;
}

CString DateToText(const VARIANT& value)
{
    VARIANT date;
    VariantInit(&date);
    bool valid = VariantChangeType(&date, const_cast<VARIANT*>(&value), 0, VT_DATE) == S_OK;
    SYSTEMTIME st = {};
    if (valid)
        valid = VariantTimeToSystemTime(V_DATE(&date), &st) != 0;
    VariantClear(&date);
    if (!valid)
        return L"Invalid DateTime";
    struct tm t = {};
    t.tm_year = st.wYear - 1900;
    t.tm_mon = st.wMonth - 1;
    t.tm_mday = st.wDay;
    t.tm_hour = st.wHour;
    t.tm_min = st.wMinute;
    t.tm_sec = st.wSecond;
    wchar_t buf[256];
    if (wcsftime(buf, 256, L"%Y/%m/%d %H:%M:%S", &t) == 0)
        return L"Invalid DateTime";
    return buf;
}

CString ObjectToText(IDispatch* object)
{
    if (!object)
        return L"null";
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = InvokeMethodByName(object, L"toString", &result, 0, nullptr);
    CString text = L"[UnknownObject]";
    if (hr == S_OK && V_VT(&result) == VT_BSTR)
        text = V_BSTR(&result) ? CString(V_BSTR(&result), (int)SysStringLen(V_BSTR(&result))) : CString();
    VariantClear(&result);
    return text;
}
} // namespace

CString VariantToText(const VARIANT& value)
{
    CString text;
    switch (V_VT(&value)) {
    case VT_EMPTY:
        return L"empty";
    case VT_NULL:
        return L"null";
    case VT_I2:
        text.Format(L"%d", (int)V_I2(&value));
        return text;
    case VT_I4:
        text.Format(L"%ld", (long)V_I4(&value));
        return text;
    case VT_R4:
        text.Format(L"%f", (double)V_R4(&value));
        return text;
    case VT_R8:
        text.Format(L"%lf", V_R8(&value));
        return text;
    case VT_CY: {
        BSTR s = nullptr;
        if (VarBstrFromCy(V_CY(&value), kUserDefaultLocale, 0, &s) == S_OK && s) {
            text = CString(s, (int)SysStringLen(s));
            SysFreeString(s);
        }
        return text;
    }
    case VT_DATE:
        return DateToText(value);
    case VT_BSTR:
        return V_BSTR(&value) ? CString(V_BSTR(&value), (int)SysStringLen(V_BSTR(&value))) : CString();
    case VT_DISPATCH:
        return ObjectToText(V_DISPATCH(&value));
    case VT_ERROR:
        text.Format(L"[Error:%d]", (int)V_ERROR(&value));
        return text;
    case VT_BOOL:
        return V_BOOL(&value) ? L"true" : L"false";
    case VT_DECIMAL: {
        double d = 0;
        VarR8FromDec(const_cast<DECIMAL*>(&V_DECIMAL(&value)), &d);
        text.Format(L"%lf", d);
        return text;
    }
    case VT_UI1:
        text.Format(L"%u", (unsigned)V_UI1(&value));
        return text;
    case VT_UI2:
        text.Format(L"%u", (unsigned)V_UI2(&value));
        return text;
    case VT_UI4:
        text.Format(L"%lu", (unsigned long)V_UI4(&value));
        return text;
    case VT_I8:
        text.Format(L"%I64d", V_I8(&value));
        return text;
    case VT_UI8:
        text.Format(L"%I64u", V_UI8(&value));
        return text;
    default:
        return L"[UnknownValue]";
    }
}

HRESULT InvokeMethodByName(IDispatch* object, LPCWSTR methodName, VARIANT* result, int argCount, const VARIANT* args)
{
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(methodName);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, kUserDefaultLocale, &id);
    if (FAILED(hr))
        return hr;
    return InvokeMember(object, id, result, argCount, args);
}

HRESULT InvokeFunctionObject(IDispatch* object, VARIANT* result, int argCount, const VARIANT* args)
{
    return InvokeMember(object, DISPID_VALUE, result, argCount, args);
}
