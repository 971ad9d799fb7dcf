#pragma once
// The ASCII words of macro texts, found in any case without allocating: every rule of every file
// is tested per event.

#include "classlib/String.h"

// True when text holds word from at on; word is upper-case ASCII.
inline bool WordAtNoCase(const CString& text, int at, const wchar_t* word)
{
    for (int i = 0; word[i]; i++) {
        wchar_t c = at + i < text.GetLength() ? text[at + i] : 0;
        if (c != word[i] && !(c >= L'a' && c <= L'z' && c - 32 == word[i]))
            return false;
    }
    return true;
}
