#pragma once
// One pass over the keys of "preference.ini": reads each key into its member with its default,
// or writes the member, depending on the direction.

#include "classlib/String.h"
#include "settings/IniFile.h"

#include <vector>

extern const wchar_t PreferenceDefaultSentinel[];

class TPreferenceIO {
public:
    explicit TPreferenceIO(const TIniFile& ini) : ini(&ini) {}
    explicit TPreferenceIO(TIniFileWriter& writer) : writer(&writer) {}

    bool IsLoading() const { return ini != nullptr; }
    void Section(const wchar_t* name);
    void Bool(const wchar_t* key, bool& member, bool defaultValue);
    // For the two flags the file holds as 0 or 1.
    void BoolAsInt(const wchar_t* key, bool& member, bool defaultValue);
    void Int(const wchar_t* key, int& member, int defaultValue);
    // A multiple-choice code: a stored value outside 0..last loads as the default, so no consumer
    // indexes past its choices.
    void Choice(const wchar_t* key, int& member, int defaultValue, int last);
    void Word(const wchar_t* key, unsigned short& member, int defaultValue);
    void String(const wchar_t* key, CString& member, const CString& defaultValue);
    // Empty items are dropped on load; the count is held to what the section could hold.
    void List(const CString& countKey, const CString& itemPrefix, const wchar_t* indexFormat, const CString& itemSuffix,
              std::vector<CString>& items);

private:
    int ReadCount(const CString& countKey) const;

    const TIniFile* ini = nullptr;
    TIniFileWriter* writer = nullptr;
};
