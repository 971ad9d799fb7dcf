#include "script/ScriptFile.h"

#include "script/ScriptGuids.h"

bool TScriptFile::Open(const CString& path, UINT codePage, bool readOnly)
{
    file = std::make_unique<TTextFile>(codePage, true);
    DWORD access = readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    if (file->Open(path, access, readOnly ? OPEN_EXISTING : OPEN_ALWAYS, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL))
        return true;
    file.reset();
    return false;
}

const TDispatchTable& TScriptFile::GetDispatchTable() const
{
    using Self = TScriptFile;
    static const TDispatchMember members[] = {
        KV_PROPERTY(Self, "size", Size),         KV_PROPERTY(Self, "codePage", CodePage),
        KV_METHOD(Self, "close", Close),         KV_METHOD(Self, "truncate", Truncate),
        KV_METHOD(Self, "seekToEnd", SeekToEnd), KV_METHOD(Self, "readAll", ReadAll),
        KV_METHOD(Self, "readLine", ReadLine),   KV_METHOD(Self, "write", Write),
        KV_METHOD(Self, "writeLine", WriteLine),
    };
    static const TDispatchTable table = {members, (int)std::size(members), &DIID_IScriptFile};
    return table;
}

HRESULT TScriptFile::Size(TDispatchCall& call)
{
    if (call.IsPut())
        return S_OK;
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file->handle, &size))
        size.QuadPart = 0;
    return call.ReturnUnsigned64((ULONGLONG)size.QuadPart);
}

HRESULT TScriptFile::CodePage(TDispatchCall& call)
{
    if (call.IsPut())
        return S_OK;
    return call.ReturnUnsigned(file ? file->codePage : 0);
}

HRESULT TScriptFile::Close(TDispatchCall&)
{
    file.reset();
    return S_OK;
}

HRESULT TScriptFile::Truncate(TDispatchCall&)
{
    if (file)
        file->Truncate();
    return S_OK;
}

HRESULT TScriptFile::SeekToEnd(TDispatchCall&)
{
    if (file)
        file->SeekToEnd();
    return S_OK;
}

HRESULT TScriptFile::ReadAll(TDispatchCall& call)
{
    CString text;
    if (file)
        file->ReadAllText(text);
    return call.ReturnString(text);
}

HRESULT TScriptFile::ReadLine(TDispatchCall& call)
{
    CString line;
    // At the end an empty value, which JScript sees as undefined.
    if (!file || !file->ReadLine(line))
        return S_OK;
    return call.ReturnString(line);
}

HRESULT TScriptFile::Write(TDispatchCall& call)
{
    if (file)
        file->Write(call.GetString(0));
    return S_OK;
}

HRESULT TScriptFile::WriteLine(TDispatchCall& call)
{
    if (file)
        file->WriteLine(call.GetString(0));
    return S_OK;
}
