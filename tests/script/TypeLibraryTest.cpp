// The type library in the resources agrees with the objects' own dispatch tables.

#include "ScriptFakes.h"
#include "script/ScriptChannel.h"
#include "script/ScriptFile.h"
#include "script/ScriptGuids.h"
#include "script/ScriptHost.h"
#include "script/ScriptObjects.h"

#include <oleauto.h>

#include <memory>

namespace {
struct TTypeLibrary {
    TTypeLibrary()
    {
        wchar_t path[MAX_PATH + 1] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        LoadTypeLib(path, &library);
    }
    ~TTypeLibrary()
    {
        if (library)
            library->Release();
    }
    ITypeLib* library = nullptr;
};

// Every member of the interface: name -> (dispatch id, whether it is a method).
using TMembers = std::map<CString, std::pair<DISPID, bool>>;

// The properties declared without the read-only flag, as "interface.name".
std::vector<CString> writable;

TMembers ReadMembers(ITypeInfo* info)
{
    TMembers members;
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes)))
        return members;
    auto add = [&](MEMBERID id, bool method) {
        BSTR name = nullptr;
        UINT count = 0;
        if (SUCCEEDED(info->GetNames(id, &name, 1, &count)) && count == 1)
            members[CString(name)] = {id, method};
        SysFreeString(name);
    };
    for (UINT i = 0; i < attributes->cVars; i++) {
        VARDESC* var = nullptr;
        if (SUCCEEDED(info->GetVarDesc(i, &var))) {
            add(var->memid, false);
            BSTR interfaceName = nullptr, name = nullptr;
            UINT count = 0;
            info->GetDocumentation(MEMBERID_NIL, &interfaceName, nullptr, nullptr, nullptr);
            info->GetNames(var->memid, &name, 1, &count);
            if (!(var->wVarFlags & VARFLAG_FREADONLY))
                writable.push_back(CString(interfaceName) + L"." + CString(name));
            SysFreeString(interfaceName);
            SysFreeString(name);
            info->ReleaseVarDesc(var);
        }
    }
    for (UINT i = 0; i < attributes->cFuncs; i++) {
        FUNCDESC* func = nullptr;
        if (SUCCEEDED(info->GetFuncDesc(i, &func))) {
            add(func->memid, true);
            info->ReleaseFuncDesc(func);
        }
    }
    info->ReleaseTypeAttr(attributes);
    return members;
}

TMembers TableMembers(const TDispatchTable& table)
{
    TMembers members;
    for (int i = 0; i < table.count; i++)
        members[table.members[i].name] = {i + 1, table.members[i].method};
    return members;
}
} // namespace

TEST(TypeLibraryTest, EveryDispatchIdMatchesTheObjectsTable)
{
    TComApartment apartment;
    TTypeLibrary types;
    ASSERT_NE(nullptr, types.library);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, types.library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_ScriptHost, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    types.library->ReleaseTLibAttr(attributes);

    TFakeScriptServer server;
    TFakeScriptFrame frame;
    TScriptHost* host = new TScriptHost(&server, &frame);
    std::unique_ptr<TScriptHost> ownedHost(host);
    TDispatchObject* objects[] = {
        host,
        new TScriptWindow(&server, &frame),
        new TScriptPrefix(L"", L"", L"", L""),
        new TScriptChannel(&server, nullptr),
        new TScriptChannelMode(TChannelMode()),
        new TScriptUser(TScriptMemberRecord()),
        new TScriptChannelMemberMode(TScriptMemberFlags()),
        new TScriptFile,
        new TScriptClipboard,
        new TScriptEventContext,
    };
    for (TDispatchObject* object : objects) {
        const TDispatchTable& table = object->GetDispatchTable();
        ITypeInfo* info = nullptr;
        ASSERT_EQ(S_OK, types.library->GetTypeInfoOfGuid(*table.iid, &info));
        TMembers declared = ReadMembers(info);
        info->Release();
        EXPECT_EQ(declared, TableMembers(table)) << table.members[0].name;
        if (object != host)
            object->Release();
    }
    // Assignments are for the objects to take or ignore; the library declares only these.
    EXPECT_EQ((std::vector<CString>{L"IScriptChannel.highlighted", L"IScriptChannel.newTalk", L"IScriptChannel.unread",
                                    L"IScriptEventContext.handled"}),
              writable);

    // The events, and the coclass that names both interfaces.
    ITypeInfo* events = nullptr;
    ASSERT_EQ(S_OK, types.library->GetTypeInfoOfGuid(DIID_IScriptHostEvent, &events));
    TMembers declared = ReadMembers(events);
    events->Release();
    int count = 0;
    const TScriptEventName* names = GetScriptEventNames(count);
    TMembers table;
    for (int i = 0; i < count; i++)
        table[names[i].name] = {names[i].id, true};
    EXPECT_EQ(29u, table.size());
    EXPECT_EQ(declared, table);

    ITypeInfo* coclass = nullptr;
    ASSERT_EQ(S_OK, GetModuleTypeInfo(CLSID_ScriptHost, &coclass));
    TYPEATTR* classAttributes = nullptr;
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&classAttributes));
    EXPECT_EQ(TKIND_COCLASS, classAttributes->typekind);
    EXPECT_EQ(2, classAttributes->cImplTypes);
    coclass->ReleaseTypeAttr(classAttributes);
    coclass->Release();
}
