#include "foundation/StringList.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"

namespace {

bool OpenForReading(TTextFile& file, const CString& path)
{
    CStringA bytes;
    if (GetFileBytesSource() && GetFileBytesSource()->GetFileBytes(path, bytes)) {
        file.OpenBytes(bytes);
        return true;
    }
    // An editor, a sync or backup tool may hold the file open for writing, or replace it, meanwhile.
    return file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     FILE_ATTRIBUTE_NORMAL);
}

} // namespace

bool TStringList::LoadFromFile(const CString& path)
{
    TTextFile file(CP_UTF8, true);
    if (!OpenForReading(file, path))
        return false;
    items.clear();
    CString line;
    while (file.ReadLine(line))
        items.push_back(line);
    return !file.ReadFailed();
}

bool TStringList::SaveToFile(const CString& path) const
{
    TSafeFileWriter file;
    if (!file.Open(path))
        return false;
    for (const CString& item : items)
        file.Write(ConvertToUtf8(item) + "\r\n");
    return file.Commit();
}

CString TStringList::GetAt(int index) const { return index >= 0 && index < GetCount() ? items[index] : CString(); }

bool TStringAList::LoadFromFile(const CString& path)
{
    TTextFile file(CP_UTF8, true);
    if (!OpenForReading(file, path))
        return false;
    items.clear();
    CStringA line;
    while (file.ReadRawLine(line))
        items.push_back(line);
    return !file.ReadFailed();
}

bool TStringAList::SaveToFile(const CString& path) const
{
    TSafeFileWriter file;
    if (!file.Open(path))
        return false;
    for (const CStringA& item : items)
        file.Write(item + "\r\n");
    return file.Commit();
}

void TStringAList::RemoveAt(int index)
{
    if (index >= 0 && index < GetCount())
        items.erase(items.begin() + index);
}

CStringA TStringAList::GetAt(int index) const { return index >= 0 && index < GetCount() ? items[index] : CStringA(); }
