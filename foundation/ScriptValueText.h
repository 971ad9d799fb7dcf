#pragma once
// Display text of automation values handed over by the script engine, and the two ways of
// calling into a script object.

#include "classlib/String.h"

#include <oaidl.h>

CString VariantToText(const VARIANT& value);

// args in the order given; the call's argument array gets them last parameter first.
HRESULT InvokeMethodByName(IDispatch* object, LPCWSTR methodName, VARIANT* result, int argCount, const VARIANT* args);
// Calls the object's default member: how script function objects handed over as callbacks run.
HRESULT InvokeFunctionObject(IDispatch* object, VARIANT* result, int argCount, const VARIANT* args);
