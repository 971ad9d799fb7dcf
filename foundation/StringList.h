#pragma once
// Whole text files as lists of lines: wide text in UTF-8 files, or raw bytes left to the user.

#include "classlib/String.h"

#include <vector>

class TStringList {
public:
    virtual ~TStringList() = default;

    // A failed open returns false and keeps the old entries; a read that fails on the way returns
    // false with the lines before it.
    bool LoadFromFile(const CString& path);
    // Written beside the old file and swapped in only when complete; false when anything failed.
    bool SaveToFile(const CString& path) const;
    void Add(const CString& text) { items.push_back(text); }
    CString GetAt(int index) const;
    int GetCount() const { return (int)items.size(); }

    std::vector<CString> items;
};

class TStringAList {
public:
    virtual ~TStringAList() = default;

    bool LoadFromFile(const CString& path);
    bool SaveToFile(const CString& path) const;
    void Add(const CStringA& bytes) { items.push_back(bytes); }
    void InsertFirst(const CStringA& bytes) { items.insert(items.begin(), bytes); }
    void RemoveAt(int index);
    CStringA GetAt(int index) const;
    int GetCount() const { return (int)items.size(); }

    std::vector<CStringA> items;
};
