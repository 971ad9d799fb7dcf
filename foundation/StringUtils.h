#pragma once
// Word, token and line cutting, escaping, URL encoding and the IRC mask matcher.
// Cut* functions return the cut part and leave the rest in the string.

#include "classlib/String.h"

#include <deque>
#include <vector>

CString CutFirstWord(CString& text);
CStringA CutFirstWordA(CStringA& text);
CString CutFirstToken(CString& text, wchar_t delimiter);
CString CutFirstCommaToken(CString& text);
CString CutFirstTabToken(CString& text);
CString CutFirstBarToken(CString& text);
CString CutFirstLine(CString& text);

CString TrimTrailingSpaces(CString text);
CStringA TrimTrailingSpacesA(CStringA text);
CString StripLeadingColon(CString text);
CString QuoteCtcp(CString text);
bool IsBlankText(const CString& text);
// A text built up to bound characters and cut there loses a first half of a surrogate pair left
// at its end: the cut took its partner, and half a character must not reach a server or a file.
void EndCutText(CString& text, int bound);

std::vector<CString> SplitLines(CString text);
// A limit n >= 1 gives at most n items, the last one the untouched rest.
std::vector<CString> SplitWords(CString text, int limit);
std::vector<CString> SplitAtCommas(const CString& text);
CString JoinStrings(const std::vector<CString>& items, const CString& separator);
CString JoinDequeFrom(const std::deque<CString>& items, size_t start, const CString& separator);

CString FormatWithThousandsSeparators(long long number);
// The text followed by two NULs, as the file dialogs' filter lists want; the length stays.
CString MakeDoubleNullTerminated(CString text);
CString EscapeBackslashesAndTabs(const CString& text);
CString UnescapeBackslashesAndTabs(const CString& text);
CString EncodeUrl(const CStringA& utf8);
void MakeLowerFullWidth(CString& text);

// IRC masks: "*" and "?" wildcards, "\" escapes, and {|} equal to [\].
bool MatchWildcard(const wchar_t* mask, const wchar_t* text);
