#pragma once
// ".ini" settings files: UTF-8 when the first line is "Encoding=UTF-8", otherwise code page 932.
// Every read names its own default; the writer writes a whole file in the saver's order.

#include "classlib/String.h"
#include "foundation/File.h"

#include <map>

class TIniFile {
public:
    // stripQuotes: values lose one pair of surrounding double quotes (the old version's files).
    explicit TIniFile(bool stripQuotes) : stripQuotes(stripQuotes) {}
    virtual ~TIniFile() = default;

    // False when the file cannot be opened; the sections are empty then.
    bool Load(const CString& path);
    void SetSection(const CString& name) { currentSection = name; }
    CString ReadString(const CString& key, const CString& defaultValue) const;
    // An empty or non-numeric value reads as 0, not as the default.
    int ReadInt(const CString& key, int defaultValue) const;
    // Only "true", "1", "false" and "0"; anything else gives the default.
    bool ReadBool(const CString& key, bool defaultValue) const;
    COLORREF ReadColor(const CString& key, COLORREF defaultValue) const;

    std::map<CString, std::map<CString, CString>> sections;
    const bool stripQuotes;
    CString currentSection;
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
    CString lastSection;
};
