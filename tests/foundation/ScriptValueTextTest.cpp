#include "foundation/ScriptValueText.h"

#include "tests/common/StringPrinter.h"

#include <oleauto.h>

#include <gtest/gtest.h>

#include <vector>

namespace {
// A script object with one method, "toString", whose result the test chooses; it also
// records the arguments of every call.
class TFakeObject : public IDispatch {
public:
    explicit TFakeObject(VARIANT result) : result(result) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override
    {
        if (wcscmp(names[0], L"toString") != 0)
            return DISP_E_UNKNOWNNAME;
        ids[0] = 7;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* out, EXCEPINFO*,
                                     UINT*) override
    {
        calledId = id;
        EXPECT_EQ(DISPATCH_METHOD, flags);
        args.clear();
        // rgvarg holds the last parameter first.
        for (UINT i = params->cArgs; i > 0; i--)
            args.push_back(V_I4(&params->rgvarg[i - 1]));
        if (FAILED(status))
            return status;
        VariantCopy(out, &result);
        return S_OK;
    }

    VARIANT result;
    HRESULT status = S_OK;
    DISPID calledId = -1;
    std::vector<int> args;
};

VARIANT Make(VARTYPE type)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = type;
    return v;
}

CString TextOf(VARTYPE type, void (*fill)(VARIANT&))
{
    VARIANT v = Make(type);
    fill(v);
    return VariantToText(v);
}
} // namespace

TEST(ScriptValueTextTest, EachKindOfValueHasItsText)
{
    EXPECT_EQ(CString(L"empty"), TextOf(VT_EMPTY, [](VARIANT&) {}));
    EXPECT_EQ(CString(L"null"), TextOf(VT_NULL, [](VARIANT&) {}));
    EXPECT_EQ(CString(L"-12"), TextOf(VT_I2, [](VARIANT& v) { V_I2(&v) = -12; }));
    EXPECT_EQ(CString(L"-70000"), TextOf(VT_I4, [](VARIANT& v) { V_I4(&v) = -70000; }));
    EXPECT_EQ(CString(L"1.500000"), TextOf(VT_R4, [](VARIANT& v) { V_R4(&v) = 1.5f; }));
    EXPECT_EQ(CString(L"-0.250000"), TextOf(VT_R8, [](VARIANT& v) { V_R8(&v) = -0.25; }));
    EXPECT_EQ(CString(L"[Error:-2147352573]"),
              TextOf(VT_ERROR, [](VARIANT& v) { V_ERROR(&v) = DISP_E_MEMBERNOTFOUND; }));
    EXPECT_EQ(CString(L"true"), TextOf(VT_BOOL, [](VARIANT& v) { V_BOOL(&v) = VARIANT_TRUE; }));
    EXPECT_EQ(CString(L"false"), TextOf(VT_BOOL, [](VARIANT& v) { V_BOOL(&v) = VARIANT_FALSE; }));
    EXPECT_EQ(CString(L"200"), TextOf(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 200; }));
    EXPECT_EQ(CString(L"65535"), TextOf(VT_UI2, [](VARIANT& v) { V_UI2(&v) = 65535; }));
    EXPECT_EQ(CString(L"4294967295"), TextOf(VT_UI4, [](VARIANT& v) { V_UI4(&v) = 4294967295u; }));
    EXPECT_EQ(CString(L"-5"), TextOf(VT_I8, [](VARIANT& v) { V_I8(&v) = -5; }));
    EXPECT_EQ(CString(L"-9000000000"), TextOf(VT_I8, [](VARIANT& v) { V_I8(&v) = -9000000000LL; }));
    EXPECT_EQ(CString(L"18446744073709551615"), TextOf(VT_UI8, [](VARIANT& v) { V_UI8(&v) = ~0ULL; }));
    EXPECT_EQ(CString(L"[UnknownValue]"), TextOf(VT_UNKNOWN, [](VARIANT&) {}));
    EXPECT_EQ(CString(L"[UnknownValue]"), TextOf(VT_I1, [](VARIANT&) {}));
    EXPECT_EQ(CString(L"[UnknownValue]"), TextOf(VT_ARRAY | VT_I4, [](VARIANT&) {}));
}

TEST(ScriptValueTextTest, StringsDecimalsAndDates)
{
    VARIANT s = Make(VT_BSTR);
    V_BSTR(&s) = SysAllocString(L"日本語 text");
    EXPECT_EQ(CString(L"日本語 text"), VariantToText(s));
    VariantClear(&s);

    VARIANT dec = Make(VT_R8);
    V_R8(&dec) = 2.75;
    VARIANT decimal;
    VariantInit(&decimal);
    ASSERT_EQ(S_OK, VariantChangeType(&decimal, &dec, 0, VT_DECIMAL));
    EXPECT_EQ(CString(L"2.750000"), VariantToText(decimal));

    SYSTEMTIME st = {2026, 12, 1, 7, 13, 5, 9, 0};
    VARIANT date = Make(VT_DATE);
    ASSERT_TRUE(SystemTimeToVariantTime(&st, &V_DATE(&date)));
    EXPECT_EQ(CString(L"2026/12/07 13:05:09"), VariantToText(date));
}

TEST(ScriptValueTextTest, ObjectsAreAskedForTheirText)
{
    VARIANT text = Make(VT_BSTR);
    V_BSTR(&text) = SysAllocString(L"[object Thing]");
    TFakeObject object(text);
    VARIANT v = Make(VT_DISPATCH);
    V_DISPATCH(&v) = &object;
    EXPECT_EQ(CString(L"[object Thing]"), VariantToText(v));
    EXPECT_EQ(7, object.calledId);

    object.status = E_FAIL;
    EXPECT_EQ(CString(L"[UnknownObject]"), VariantToText(v));

    VARIANT number = Make(VT_I4);
    V_I4(&number) = 3;
    TFakeObject notText(number);
    V_DISPATCH(&v) = &notText;
    EXPECT_EQ(CString(L"[UnknownObject]"), VariantToText(v));

    V_DISPATCH(&v) = nullptr;
    EXPECT_EQ(CString(L"null"), VariantToText(v));
    VariantClear(&text);
}

TEST(ScriptValueTextTest, CallsPassArgumentsInTheOrderGiven)
{
    TFakeObject object(Make(VT_EMPTY));
    VARIANT args[3] = {Make(VT_I4), Make(VT_I4), Make(VT_I4)};
    for (int i = 0; i < 3; i++)
        V_I4(&args[i]) = i + 1;
    VARIANT result;
    VariantInit(&result);

    EXPECT_EQ(S_OK, InvokeFunctionObject(&object, &result, 3, args));
    EXPECT_EQ(DISPID_VALUE, object.calledId);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), object.args);

    EXPECT_EQ(S_OK, InvokeMethodByName(&object, L"toString", &result, 1, args));
    EXPECT_EQ(7, object.calledId);

    object.calledId = -1;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, InvokeMethodByName(&object, L"missing", &result, 0, nullptr));
    EXPECT_EQ(-1, object.calledId);
}
