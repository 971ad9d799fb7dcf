#pragma once
// URLs in log text: one finder for the whole run, shared by the views, the engine and the URL
// opener.

#include "classlib/String.h"
#include "foundation/Regex.h"

class TLogAddressFinder {
public:
    TLogAddressFinder();
    TLogAddressFinder(const TLogAddressFinder&) = delete;
    TLogAddressFinder& operator=(const TLogAddressFinder&) = delete;
    virtual ~TLogAddressFinder() = default;

    // True when the text begins with a URL; it may go on after it.
    bool IsUrl(const CString& text) const;

private:
    TRegex urlExpression;
};

// Scheme (the leading h may be missing), host, then a path that never ends in punctuation.
extern const wchar_t* const kUrlPattern;
