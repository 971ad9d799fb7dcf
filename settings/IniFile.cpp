#include "settings/IniFile.h"

#include "foundation/CodePage.h"
#include "foundation/Decimal.h"
#include "foundation/StringList.h"

#include <algorithm>

namespace {

const wchar_t MissingValue[] = L"*****DEFAULT*****";
const char Utf8Marker[] = "Encoding=UTF-8";
const int CountSlack = 16;
const int RecordSlack = 1024;

int SkipSpaces(const CString& text)
{
    int i = 0;
    while (i < text.GetLength() && iswspace(text[i]))
        i++;
    return i;
}

// As strtoul with base 16: optional sign and 0x prefix; beyond 32 bits gives 0xFFFFFFFF.
COLORREF ParseColor(const CString& text)
{
    int i = SkipSpaces(text);
    int len = text.GetLength();
    bool negative = false;
    if (i < len && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    if (i + 2 < len && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X') &&
        HexDigitValue(text[i + 2]) >= 0)
        i += 2;
    unsigned long long value = 0;
    bool overflow = false;
    for (; i < len && HexDigitValue(text[i]) >= 0; i++) {
        value = value * 16 + HexDigitValue(text[i]);
        if (value > 0xFFFFFFFFull) {
            overflow = true;
            value = 0xFFFFFFFFull;
        }
    }
    if (overflow)
        return 0xFFFFFFFF;
    return negative ? (COLORREF)(0u - (unsigned)value) : (COLORREF)value;
}

bool HasPrefix(const CString& name, const CString& prefix) { return name.Left(prefix.GetLength()) == prefix; }

// How many items the names with the prefix can stand for: at least one per name, and at least
// up to the highest index among them, so a gap in the numbering loses nothing behind it.
template <typename Map> long long CountWithPrefix(const Map& map, const CString& prefix)
{
    long long count = 0;
    long long extent = 0;
    for (auto it = map.lower_bound(prefix); it != map.end() && HasPrefix(it->first, prefix); ++it) {
        count++;
        extent = std::max(extent, (long long)ReadIndex(it->first, prefix.GetLength()) + 1);
    }
    return std::max(count, extent);
}

int BoundCount(int count, long long present)
{
    if (count <= 0)
        return 0;
    return count - CountSlack > present ? (int)present + CountSlack : count;
}

CStringA Utf8WithoutBreaks(CString text)
{
    text.Replace(L'\r', L' ');
    text.Replace(L'\n', L' ');
    return ConvertToUtf8(text);
}

} // namespace

bool TIniFile::Load(const CString& path)
{
    sections.clear();
    recordBudget = RecordSlack;
    loadError = 0;
    TStringAList lines;
    if (!lines.LoadFromFile(path)) {
        loadError = ::GetLastError();
        if (!loadError)
            loadError = ERROR_READ_FAULT;
        return false;
    }
    CString section;
    bool utf8 = false;
    for (int index = 0; index < lines.GetCount(); index++) {
        const CStringA& bytes = lines.items[index];
        if (bytes.IsEmpty())
            continue;
        if (index == 0 && IsEncodingMarkerLine(bytes, Utf8Marker)) {
            utf8 = true;
            continue;
        }
        CString line = utf8 ? ConvertFromUtf8(bytes) : ConvertFromCodePage(bytes, CP_SHIFT_JIS);
        if (line.IsEmpty())
            continue;
        if (line[0] == L'[') {
            int end = line.GetLength();
            if (end > 1 && line[end - 1] == L']')
                end--;
            section = line.Mid(1, end - 1);
            sections[section];
            continue;
        }
        int equals = line.Find(L'=');
        if (equals >= 0)
            sections[section][line.Left(equals)] = line.Mid(equals + 1);
    }
    for (const auto& entry : sections)
        recordBudget += 1 + (long long)entry.second.size();
    return true;
}

CString TIniFile::ReadString(const CString& key, const CString& defaultValue) const
{
    auto section = sections.find(currentSection);
    if (section == sections.end())
        return defaultValue;
    auto entry = section->second.find(key);
    if (entry == section->second.end())
        return defaultValue;
    CString value = entry->second;
    int len = value.GetLength();
    if (stripQuotes && len >= 2 && value[0] == L'"' && value[len - 1] == L'"')
        value = value.Mid(1, len - 2);
    return value;
}

int TIniFile::ReadInt(const CString& key, int defaultValue) const
{
    CString value = ReadString(key, MissingValue);
    return value == MissingValue ? defaultValue : ReadDecimal(value);
}

bool TIniFile::ReadBool(const CString& key, bool defaultValue) const
{
    CString value = ReadString(key, MissingValue);
    if (value == L"true" || value == L"1")
        return true;
    if (value == L"false" || value == L"0")
        return false;
    return defaultValue;
}

COLORREF TIniFile::ReadColor(const CString& key, COLORREF defaultValue) const
{
    CString value = ReadString(key, MissingValue);
    return value == MissingValue ? defaultValue : ParseColor(value);
}

std::vector<CString> TIniFile::GetKeys(const CString& prefix) const
{
    std::vector<CString> keys;
    auto section = sections.find(currentSection);
    if (section == sections.end())
        return keys;
    const TSection& entries = section->second;
    for (auto it = entries.lower_bound(prefix); it != entries.end() && HasPrefix(it->first, prefix); ++it)
        keys.push_back(it->first);
    return keys;
}

int TIniFile::ReadCount(const CString& countKey, const CString& itemPrefix) const
{
    auto section = sections.find(currentSection);
    if (section == sections.end())
        return 0;
    return BoundCount(ReadInt(countKey, 0), CountWithPrefix(section->second, itemPrefix));
}

int TIniFile::ReadSectionCount(const CString& countKey, const CString& sectionPrefix) const
{
    return BoundCount(ReadInt(countKey, 0), CountWithPrefix(sections, sectionPrefix));
}

int TIniFile::TakeRecords(int count) const
{
    if (count > recordBudget)
        count = (int)recordBudget;
    recordBudget -= count;
    return count;
}

TIniFileWriter::~TIniFileWriter() { Close(); }

bool TIniFileWriter::Open(const CString& path)
{
    if (!file.Open(path))
        return false;
    lastSection.Empty();
    bytes = CStringA(Utf8Marker) + "\r\n\r\n";
    return true;
}

void TIniFileWriter::WriteSection(const CString& name)
{
    if (!file.IsOpen())
        return;
    if (!lastSection.IsEmpty())
        bytes += "\r\n";
    bytes += "[";
    bytes += Utf8WithoutBreaks(name);
    bytes += "]\r\n\r\n";
    lastSection = name;
}

void TIniFileWriter::WriteString(const CString& key, const CString& value)
{
    if (!file.IsOpen())
        return;
    bytes += Utf8WithoutBreaks(key);
    bytes += "=";
    bytes += Utf8WithoutBreaks(value);
    bytes += "\r\n";
}

void TIniFileWriter::WriteInt(const CString& key, int value)
{
    CString text;
    text.Format(L"%d", value);
    WriteString(key, text);
}

void TIniFileWriter::WriteBool(const CString& key, bool value) { WriteString(key, value ? L"true" : L"false"); }

void TIniFileWriter::WriteColor(const CString& key, COLORREF value)
{
    CString text;
    text.Format(L"%06x", (unsigned)value);
    WriteString(key, text);
}

bool TIniFileWriter::Close()
{
    if (!file.IsOpen())
        return false;
    file.Write(bytes);
    bytes.Empty();
    return file.Commit();
}
