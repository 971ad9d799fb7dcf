#include "settings/PreferenceIO.h"

const wchar_t PreferenceDefaultSentinel[] = L"%%%%%%DEFAULT%%%%%%";

namespace {

const int CountSlack = 1024;

} // namespace

void TPreferenceIO::Section(const wchar_t* name)
{
    if (ini)
        const_cast<TIniFile*>(ini)->SetSection(name);
    else
        writer->WriteSection(name);
}

void TPreferenceIO::Bool(const wchar_t* key, bool& member, bool defaultValue)
{
    if (ini)
        member = ini->ReadBool(key, defaultValue);
    else
        writer->WriteBool(key, member);
}

void TPreferenceIO::BoolAsInt(const wchar_t* key, bool& member, bool defaultValue)
{
    if (ini)
        member = ini->ReadBool(key, defaultValue);
    else
        writer->WriteInt(key, member ? 1 : 0);
}

void TPreferenceIO::Int(const wchar_t* key, int& member, int defaultValue)
{
    if (ini)
        member = ini->ReadInt(key, defaultValue);
    else
        writer->WriteInt(key, member);
}

void TPreferenceIO::Choice(const wchar_t* key, int& member, int defaultValue, int last)
{
    Int(key, member, defaultValue);
    if (ini && (member < 0 || member > last))
        member = defaultValue;
}

void TPreferenceIO::Word(const wchar_t* key, unsigned short& member, int defaultValue)
{
    if (ini)
        member = (unsigned short)(ini->ReadInt(key, defaultValue) & 0xFFFF);
    else
        writer->WriteInt(key, member);
}

void TPreferenceIO::String(const wchar_t* key, CString& member, const CString& defaultValue)
{
    if (ini)
        member = ini->ReadString(key, defaultValue);
    else
        writer->WriteString(key, member);
}

int TPreferenceIO::ReadCount(const CString& countKey) const
{
    int count = ini->ReadInt(countKey, 0);
    if (count <= 0)
        return 0;
    // A damaged file may claim billions of items; past the section's own keys and a slack for
    // gaps in the numbering there is nothing left to find.
    auto section = ini->sections.find(ini->currentSection);
    long long limit = (section == ini->sections.end() ? 0 : (long long)section->second.size()) + CountSlack;
    return count < limit ? count : (int)limit;
}

void TPreferenceIO::List(const CString& countKey, const CString& itemPrefix, const wchar_t* indexFormat,
                         const CString& itemSuffix, std::vector<CString>& items)
{
    CString index;
    if (ini) {
        items.clear();
        int count = ReadCount(countKey);
        for (int i = 0; i < count; i++) {
            index.Format(indexFormat, i);
            CString item = ini->ReadString(itemPrefix + index + itemSuffix, L"");
            if (!item.IsEmpty())
                items.push_back(item);
        }
        return;
    }
    writer->WriteInt(countKey, (int)items.size());
    for (size_t i = 0; i < items.size(); i++) {
        index.Format(indexFormat, (int)i);
        writer->WriteString(itemPrefix + index + itemSuffix, items[i]);
    }
}
