#pragma once
// One pass over the keys of a settings file: each line such as io.Int(L"Key", field, 10) reads the
// key into the field with its default when loading, and writes the field when saving, so every
// key is spelled once and both directions keep the same keys in the same order.

#include "classlib/String.h"
#include "settings/IniFile.h"

#include <functional>
#include <vector>

// Stands for "no value stored" where the real default must be computed after the load.
extern const wchar_t IniDefaultSentinel[];

class TIniExchange {
public:
    explicit TIniExchange(TIniFile& ini) : ini(&ini) {}
    explicit TIniExchange(TIniFileWriter& writer) : writer(&writer) {}

    bool IsLoading() const { return ini != nullptr; }
    void Section(const CString& name);

    void Bool(const CString& key, bool& field, bool defaultValue);
    // For flags the file holds as 0 or 1.
    void BoolAsInt(const CString& key, bool& field, bool defaultValue);
    void Int(const CString& key, int& field, int defaultValue);
    // Kept to the low 16 or 8 bits on load.
    void Word(const CString& key, unsigned short& field, int defaultValue);
    void Byte(const CString& key, BYTE& field, int defaultValue);
    void Color(const CString& key, COLORREF& field, COLORREF defaultValue);
    void String(const CString& key, CString& field, const CString& defaultValue);

    // Files layered over defaults (view files and themes): a missing key keeps the field.
    void Bool(const CString& key, bool& field) { Bool(key, field, field); }
    void Int(const CString& key, int& field) { Int(key, field, field); }
    void Color(const CString& key, COLORREF& field) { Color(key, field, field); }
    void String(const CString& key, CString& field) { String(key, field, CString(field)); }

    // A value only older forms of the file hold: read when loading, never written.
    int ReadOld(const CString& key, int defaultValue) const;

    // A list of texts under the keys itemPrefix + index + itemSuffix, the index written with
    // indexFormat. Loading keeps the non-empty items whose index is below the stored count.
    void List(const CString& countKey, const CString& itemPrefix, const wchar_t* indexFormat, const CString& itemSuffix,
              std::vector<CString>& items);
    // The number of records in a list whose missing items still become records: the bounded
    // stored count when loading, else size, which is written.
    int Records(const CString& countKey, const CString& itemPrefix, int size);
    // The same for records that are sections of their own.
    int SectionRecords(const CString& countKey, const CString& sectionPrefix, int size);

private:
    TIniFile* ini = nullptr;
    TIniFileWriter* writer = nullptr;
};

typedef std::function<void(TIniExchange& io)> TIniExchangeFunction;
// False when the file cannot be read; the exchange then gives every key its default, and error
// (when given) the system's reason (0 after a good load).
bool LoadIniFile(const CString& path, const TIniExchangeFunction& exchange, DWORD* error = nullptr);
// A load error that is not about the file being missing: the file is there and must not be
// replaced by defaults.
bool IsUnreadableFileError(DWORD error);
// Creates the folder and replaces the file whole; false (old file kept) when that fails.
bool SaveIniFile(const CString& path, const TIniExchangeFunction& exchange);

// indexFormat applied to index, e.g. L"Unit.%02d".
CString NumberedKey(const wchar_t* indexFormat, int index);
