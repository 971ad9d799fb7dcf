#pragma once
// ".ini" settings files: UTF-8 when the first line is "Encoding=UTF-8", otherwise code page 932.
// Every read names its own default; the writer writes a whole file in the saver's order.

#include "classlib/String.h"
#include "foundation/File.h"

#include <map>
#include <vector>

class TIniFile {
public:
    // stripQuotes: values lose one pair of surrounding double quotes (the old version's files).
    explicit TIniFile(bool stripQuotes) : stripQuotes(stripQuotes) {}
    virtual ~TIniFile() = default;

    // False when the file cannot be opened or read whole; the sections are empty then, and
    // GetLoadError gives the system's reason (0 after a good load).
    bool Load(const CString& path);
    DWORD GetLoadError() const { return loadError; }
    void SetSection(const CString& name) { currentSection = name; }
    CString ReadString(const CString& key, const CString& defaultValue) const;
    // An empty or non-numeric value reads as 0, not as the default.
    int ReadInt(const CString& key, int defaultValue) const;
    // Only "true", "1", "false" and "0"; anything else gives the default.
    bool ReadBool(const CString& key, bool defaultValue) const;
    COLORREF ReadColor(const CString& key, COLORREF defaultValue) const;
    // The keys of the current section that begin with prefix, in sorted order.
    std::vector<CString> GetKeys(const CString& prefix) const;

    // Counts in a damaged file may claim billions of items. A count is held to what the names
    // present can stand for (the highest index behind the item prefix plus one, and at least the
    // number of such names) plus a small slack; no file this program wrote comes near.
    int ReadCount(const CString& countKey, const CString& itemPrefix) const;
    // The same for items that are sections of their own, named sectionPrefix + index.
    int ReadSectionCount(const CString& countKey, const CString& sectionPrefix) const;
    // Records made for items a list claims but the file may not hold all come out of one budget
    // of the file's size, so nested lists cannot multiply a small file into millions of records.
    // Reading does not change the file, so this counts as a read.
    int TakeRecords(int count) const;

private:
    typedef std::map<CString, CString> TSection;

    std::map<CString, TSection> sections;
    const bool stripQuotes;
    CString currentSection;
    DWORD loadError = 0;
    mutable long long recordBudget = 0;
};

class TIniFileWriter {
public:
    TIniFileWriter() = default;
    TIniFileWriter(const TIniFileWriter&) = delete;
    TIniFileWriter& operator=(const TIniFileWriter&) = delete;
    // Puts the file in place when Close was not called; a failure then goes unreported.
    virtual ~TIniFileWriter();

    bool Open(const CString& path);
    void WriteSection(const CString& name);
    // Line breaks inside names and values are written as blanks so they cannot start new keys.
    void WriteString(const CString& key, const CString& value);
    void WriteInt(const CString& key, int value);
    void WriteBool(const CString& key, bool value);
    void WriteColor(const CString& key, COLORREF value);
    // Replaces the old file with the new one; false (old file untouched) when any write failed.
    bool Close();

private:
    TSafeFileWriter file;
    // The whole file goes out in one write at Close: a large tree is saved on every own JOIN.
    CStringA bytes;
    CString lastSection;
};
