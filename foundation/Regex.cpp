#include "foundation/Regex.h"

#include <oniguruma.h>

#include <cstdlib>

namespace {

bool libraryReady = false;

// Patterns come from users and scripts. The library recurses once per nesting level (a nested
// character class takes about half a kilobyte of stack), so deep nesting must fail well before the
// stack ends; and a pattern that backtracks without end gives up as "no match".
const unsigned kParseDepthLimit = 256;
const unsigned long kRetryLimitInMatch = 200000;
const unsigned long kRetryLimitInSearch = 2000000;

void InitLibrary()
{
    if (libraryReady)
        return;
    libraryReady = true;
    onig_init();
    onig_set_parse_depth_limit(kParseDepthLimit);
    onig_set_retry_limit_in_match(kRetryLimitInMatch);
    onig_set_retry_limit_in_search(kRetryLimitInSearch);
    atexit([] { onig_end(); });
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Index of the first surrogate without its partner, or -1.
int FindLoneSurrogate(const CString& text, int from)
{
    int len = text.GetLength();
    for (int i = from; i < len; i++) {
        wchar_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < len && IsLowSurrogate(text[i + 1]))
            i++;
        else if (IsHighSurrogate(c) || IsLowSurrogate(c))
            return i;
    }
    return -1;
}

const OnigUChar* Bytes(const CString& text, int index)
{
    return reinterpret_cast<const OnigUChar*>(text.GetString() + index);
}

} // namespace

TRegexMatchResult::TRegexMatchResult()
{
    InitLibrary();
    region = onig_region_new();
}

TRegexMatchResult::~TRegexMatchResult()
{
    if (region)
        onig_region_free(region, 1);
}

TRegex::TRegex() { InitLibrary(); }

TRegex::~TRegex() { Free(); }

void TRegex::Free()
{
    if (regex)
        onig_free(regex);
    regex = nullptr;
    valid = false;
}

bool TRegex::Compile(const CString& pattern, unsigned int options)
{
    Free();
    this->pattern = pattern;
    // The library takes a lone high surrogate for half of a four-byte character and would read past
    // the pattern's end; such a pattern is malformed anyway.
    if (FindLoneSurrogate(pattern, 0) >= 0)
        return false;
    OnigErrorInfo error;
    OnigRegex compiled = nullptr;
    int r = onig_new(&compiled, Bytes(pattern, 0), Bytes(pattern, pattern.GetLength()), options, ONIG_ENCODING_UTF16_LE,
                     ONIG_SYNTAX_DEFAULT, &error);
    if (r != ONIG_NORMAL) {
        if (compiled)
            onig_free(compiled);
        return false;
    }
    regex = compiled;
    valid = true;
    return true;
}

bool TRegex::Search(TRegexMatchResult& result, const CString& text, int start, int end) const
{
    if (!valid || !result.region)
        return false;
    int len = text.GetLength();
    if (end < 0 || end > len)
        end = len;
    if (start < 0 || start > len)
        return false;
    // Lone surrogates become U+FFFD in the searched copy: same length, so offsets still fit the
    // caller's text, and the library never steps over the end of the text.
    result.text = text;
    for (int i = FindLoneSurrogate(result.text, 0); i >= 0; i = FindLoneSurrogate(result.text, i + 1))
        result.text.SetAt(i, 0xFFFD);
    const CString& searched = result.text;
    int r = onig_search(regex, Bytes(searched, 0), Bytes(searched, len), Bytes(searched, start), Bytes(searched, end),
                        result.region, ONIG_OPTION_NONE);
    return r >= 0;
}
