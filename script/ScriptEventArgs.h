#pragma once

#include "classlib/String.h"

#include <oleauto.h>

#include <vector>

// Event arguments in parameter order; texts are owned, objects only lent.
class TScriptEventArgs {
public:
    TScriptEventArgs() = default;
    TScriptEventArgs(const TScriptEventArgs&) = delete;
    TScriptEventArgs& operator=(const TScriptEventArgs&) = delete;
    ~TScriptEventArgs()
    {
        for (VARIANT& value : values) {
            if (V_VT(&value) == VT_BSTR)
                VariantClear(&value);
        }
    }

    TScriptEventArgs& Text(const CString& text)
    {
        VARIANT& value = Add(VT_BSTR);
        V_BSTR(&value) = SysAllocStringLen(text.GetString(), (UINT)text.GetLength());
        return *this;
    }
    TScriptEventArgs& Object(IDispatch* object)
    {
        V_DISPATCH(&Add(VT_DISPATCH)) = object;
        return *this;
    }
    TScriptEventArgs& Long(long number)
    {
        V_I4(&Add(VT_I4)) = number;
        return *this;
    }
    TScriptEventArgs& Double(double number)
    {
        V_R8(&Add(VT_R8)) = number;
        return *this;
    }
    int Count() const { return (int)values.size(); }
    const VARIANT* Values() const { return values.empty() ? nullptr : values.data(); }

private:
    VARIANT& Add(VARTYPE type)
    {
        values.emplace_back();
        VariantInit(&values.back());
        V_VT(&values.back()) = type;
        return values.back();
    }

    std::vector<VARIANT> values;
};
