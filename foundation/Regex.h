#pragma once
// A regular expression over UTF-16 text (Ruby syntax), and the place a search leaves its match.

#include "classlib/String.h"

struct re_pattern_buffer;
struct re_registers;

class TRegexMatchResult {
public:
    TRegexMatchResult();
    TRegexMatchResult(const TRegexMatchResult&) = delete;
    TRegexMatchResult& operator=(const TRegexMatchResult&) = delete;
    virtual ~TRegexMatchResult();

    // Offsets in the region are bytes into text; halve them for UTF-16 indices.
    re_registers* region;
    CString text;
};

class TRegex {
public:
    TRegex();
    TRegex(const TRegex&) = delete;
    TRegex& operator=(const TRegex&) = delete;
    virtual ~TRegex();

    // Returns whether the pattern compiled; a failed one leaves every later search false.
    bool Compile(const CString& pattern, unsigned int options);
    // Indices are UTF-16 units; a negative end means the end of the text.
    bool Search(TRegexMatchResult& result, const CString& text, int start, int end) const;
    bool IsValid() const { return valid; }
    const CString& GetPattern() const { return pattern; }

private:
    void Free();

    re_pattern_buffer* regex = nullptr;
    CString pattern;
    bool valid = false;
};
