#pragma once
// IRC decoration codes and the readable markup the input line shows in their place.

#include "classlib/String.h"

const wchar_t CODE_BOLD = 2;
const wchar_t CODE_COLOR = 3;
const wchar_t CODE_STOP = 15;
const wchar_t CODE_REVERSE = 22;
const wchar_t CODE_UNDERLINE = 31;

const int IRC_COLOR_COUNT = 16;

CString ConvertMarkupToControlCodes(const CString& text);
CString ConvertControlCodesToMarkup(const CString& text);
// Removes the codes and the colour numbers after each colour code.
CString StripControlCodes(const CString& text);
// The same into out, whose buffer is reused; out must not be text.
void StripControlCodes(const CString& text, CString& out);
// A background of -1 means none.
CString MakeColorMarkup(int foreground, int background);
CString GetBoldMarkup();
CString GetReverseMarkup();
CString GetUnderlineMarkup();
CString GetStopMarkup();
// 0-15 for a colour name in any case, else -1.
int GetColorIndexFromName(const CString& name);
bool IsSubstringAt(const CString& text, int pos, const wchar_t* tag);
