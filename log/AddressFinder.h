#pragma once
// URLs and host addresses in log text: one finder for the whole run, shared by the views, the
// engine and the URL opener.

#include "classlib/String.h"
#include "foundation/Regex.h"

class TLogAddressFinder {
public:
    TLogAddressFinder();
    TLogAddressFinder(const TLogAddressFinder&) = delete;
    TLogAddressFinder& operator=(const TLogAddressFinder&) = delete;
    virtual ~TLogAddressFinder() = default;

    // Start of the next URL at or after start, or -1; a closing bracket of the surrounding text
    // is left out.
    int FindUrl(const CString& text, int start, int& length) const;
    // Start of the next host name, IPv6 or IPv4 address at or after start, or -1.
    int FindAddress(const CString& text, int start, int& length) const;
    // True when the text begins with a URL; it may go on after it.
    bool IsUrl(const CString& text) const;

private:
    int FindAsciiAddress(const wchar_t* text, int n, int first, int end, int dots, int colons, int& length) const;
    int FindAddressInStretch(const CString& text, int first, int end, int& length) const;

    TRegex urlExpression;
    TRegex addressExpression;
};

// Scheme (the leading h may be missing), host, then a path that never ends in punctuation.
extern const wchar_t* const kUrlPattern;
// Host names of three labels or more, eight-group IPv6 and dotted IPv4.
extern const wchar_t* const kAddressPattern;
