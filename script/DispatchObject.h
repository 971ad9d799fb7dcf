#pragma once
// Automation objects whose members are a table: a member's dispatch id is its position in the
// table plus one, as the type library declares it.

#include "classlib/String.h"

#include <oaidl.h>

// Text of an automation string; a null string is empty.
CString BstrToString(BSTR text);
// The value converted to the type into out (cleared by the caller); false when there is no
// value or it does not convert.
bool ConvertVariant(const VARIANT* value, VARTYPE type, VARIANT& out);

// One call of a member, as the script engine made it.
class TDispatchCall {
public:
    TDispatchCall(WORD flags, DISPPARAMS* params, VARIANT* result) : flags(flags), params(params), result(result) {}

    bool IsPut() const { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }
    // Positional arguments, first one 0; null when not given or left out.
    const VARIANT* GetArg(UINT index) const;
    const VARIANT* GetPutValue() const;
    bool IsString(UINT index) const;
    CString GetString(UINT index) const;
    ULONG GetUnsigned(UINT index) const;
    // Not referenced for the caller; null for null or a non-object.
    IDispatch* GetObject(UINT index) const;

    HRESULT ReturnString(const CString& text);
    HRESULT ReturnNullString();
    HRESULT ReturnBool(bool value);
    HRESULT ReturnLong(LONG value);
    HRESULT ReturnUnsigned(ULONG value);
    HRESULT ReturnUnsigned64(ULONGLONG value);
    // Takes over the object's reference; null gives a null object.
    HRESULT ReturnObject(IDispatch* object);

private:
    WORD flags;
    DISPPARAMS* params;
    VARIANT* result;
};

// Counts the member calls of script-visible objects in progress, the host's own included: a
// script run is only left from within where none of them lies between.
class TMemberCallScope {
public:
    TMemberCallScope() { depth++; }
    ~TMemberCallScope() { depth--; }
    TMemberCallScope(const TMemberCallScope&) = delete;
    TMemberCallScope& operator=(const TMemberCallScope&) = delete;
    static int GetDepth() { return depth; }

private:
    static int depth;
};

class TDispatchObject;
using TDispatchHandler = HRESULT (*)(TDispatchObject* self, TDispatchCall& call);

struct TDispatchMember {
    const wchar_t* name;
    TDispatchHandler handler;
    bool method; // runs only when called, never when read as a property
};

template <class T, HRESULT (T::*Method)(TDispatchCall&)>
HRESULT CallDispatchMember(TDispatchObject* self, TDispatchCall& call)
{
    return (static_cast<T*>(self)->*Method)(call);
}

// clang-format off
#define KV_PROPERTY(Class, name, handler) {L##name, &CallDispatchMember<Class, &Class::handler>, false}
#define KV_METHOD(Class, name, handler) {L##name, &CallDispatchMember<Class, &Class::handler>, true}
// clang-format on

struct TDispatchTable {
    const TDispatchMember* members;
    int count;
    const IID* iid; // the dispatch interface of the type library
};

// Reference-counted; made with one reference that belongs to whoever asked for it. An object
// whose owner deletes it directly (a script host) is kept alive by that owner instead.
class TDispatchObject : public IDispatch {
public:
    TDispatchObject(const TDispatchObject&) = delete;
    TDispatchObject& operator=(const TDispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    virtual const TDispatchTable& GetDispatchTable() const = 0;
    // DISPID_UNKNOWN when the table has no such member; names compare ignoring ASCII case.
    DISPID FindMember(const wchar_t* name) const;

protected:
    explicit TDispatchObject(bool selfDeleting = true) : selfDeleting(selfDeleting) {}
    virtual ~TDispatchObject() = default;
    // Further interfaces of the object, without a reference added; null when none.
    virtual void* QueryOther(REFIID) { return nullptr; }

private:
    ULONG references = 1;
    const bool selfDeleting;
};

bool EqualsIgnoringAsciiCase(const wchar_t* a, const wchar_t* b);

// Type information of the program's own type library, from the module's resources.
HRESULT GetModuleTypeInfo(REFGUID guid, ITypeInfo** info);
