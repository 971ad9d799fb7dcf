#include "settings/IniExchange.h"

#include "foundation/Decimal.h"
#include "foundation/Path.h"

#include <map>

const wchar_t IniDefaultSentinel[] = L"%%%%%%DEFAULT%%%%%%";

CString NumberedKey(const wchar_t* indexFormat, int index)
{
    CString text;
    text.Format(indexFormat, index);
    return text;
}

bool LoadIniFile(const CString& path, const TIniExchangeFunction& exchange, DWORD* error)
{
    TIniFile ini(false);
    bool loaded = ini.Load(path);
    TIniExchange io(ini);
    exchange(io);
    if (error)
        *error = ini.GetLoadError();
    return loaded;
}

bool IsUnreadableFileError(DWORD error)
{
    return error != 0 && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool SaveIniFile(const CString& path, const TIniExchangeFunction& exchange)
{
    CreateFolderTree(ExtractFolder(path));
    TIniFileWriter writer;
    if (!writer.Open(path))
        return false;
    TIniExchange io(writer);
    exchange(io);
    return writer.Close();
}

void TIniExchange::Section(const CString& name)
{
    if (ini)
        ini->SetSection(name);
    else
        writer->WriteSection(name);
}

void TIniExchange::Bool(const CString& key, bool& field, bool defaultValue)
{
    if (ini)
        field = ini->ReadBool(key, defaultValue);
    else
        writer->WriteBool(key, field);
}

void TIniExchange::BoolAsInt(const CString& key, bool& field, bool defaultValue)
{
    if (ini)
        field = ini->ReadBool(key, defaultValue);
    else
        writer->WriteInt(key, field ? 1 : 0);
}

void TIniExchange::Int(const CString& key, int& field, int defaultValue)
{
    if (ini)
        field = ini->ReadInt(key, defaultValue);
    else
        writer->WriteInt(key, field);
}

void TIniExchange::Word(const CString& key, unsigned short& field, int defaultValue)
{
    if (ini)
        field = (unsigned short)(ini->ReadInt(key, defaultValue) & 0xFFFF);
    else
        writer->WriteInt(key, field);
}

void TIniExchange::Byte(const CString& key, BYTE& field, int defaultValue)
{
    if (ini)
        field = (BYTE)(ini->ReadInt(key, defaultValue) & 0xFF);
    else
        writer->WriteInt(key, field);
}

void TIniExchange::Color(const CString& key, COLORREF& field, COLORREF defaultValue)
{
    if (ini)
        field = ini->ReadColor(key, defaultValue);
    else
        writer->WriteColor(key, field);
}

void TIniExchange::String(const CString& key, CString& field, const CString& defaultValue)
{
    if (ini)
        field = ini->ReadString(key, defaultValue);
    else
        writer->WriteString(key, field);
}

int TIniExchange::ReadOld(const CString& key, int defaultValue) const
{
    return ini ? ini->ReadInt(key, defaultValue) : defaultValue;
}

// Walks the keys present rather than the indexes below the count, which a damaged file may set
// in the billions; a key is an item only when written exactly as the format writes its index.
void TIniExchange::List(const CString& countKey, const CString& itemPrefix, const wchar_t* indexFormat,
                        const CString& itemSuffix, std::vector<CString>& items)
{
    if (!ini) {
        writer->WriteInt(countKey, (int)items.size());
        for (size_t i = 0; i < items.size(); i++)
            writer->WriteString(itemPrefix + NumberedKey(indexFormat, (int)i) + itemSuffix, items[i]);
        return;
    }
    items.clear();
    int count = ini->ReadInt(countKey, 0);
    std::map<int, CString> found;
    for (const CString& key : ini->GetKeys(itemPrefix)) {
        int index = ReadIndex(key, itemPrefix.GetLength());
        if (index < 0 || index >= count || key != itemPrefix + NumberedKey(indexFormat, index) + itemSuffix)
            continue;
        CString item = ini->ReadString(key, L"");
        if (!item.IsEmpty())
            found[index] = item;
    }
    for (const auto& item : found)
        items.push_back(item.second);
}

int TIniExchange::Records(const CString& countKey, const CString& itemPrefix, int size)
{
    if (ini)
        return ini->TakeRecords(ini->ReadCount(countKey, itemPrefix));
    writer->WriteInt(countKey, size);
    return size;
}

int TIniExchange::SectionRecords(const CString& countKey, const CString& sectionPrefix, int size)
{
    if (ini)
        return ini->TakeRecords(ini->ReadSectionCount(countKey, sectionPrefix));
    writer->WriteInt(countKey, size);
    return size;
}
