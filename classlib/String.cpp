#include "classlib/String.h"

#include "classlib/App.h"

#include <cstdio>
#include <cwchar>

// The Windows C runtime's own formatting: %s in a wide format is a wide string there, while
// MinGW's C++ default printf family reads it as narrow. Bind msvcrt's entry points directly.
extern "C" {
__declspec(dllimport) int __cdecl _vscwprintf(const wchar_t*, va_list);
__declspec(dllimport) int __cdecl _vsnwprintf(wchar_t*, size_t, const wchar_t*, va_list);
__declspec(dllimport) int __cdecl _vscprintf(const char*, va_list);
__declspec(dllimport) int __cdecl _vsnprintf(char*, size_t, const char*, va_list);
__declspec(dllimport) int __cdecl _wcsicmp(const wchar_t*, const wchar_t*);
__declspec(dllimport) int __cdecl _stricmp(const char*, const char*);
}

namespace classlib {

int TCharTraits<wchar_t>::CompareNoCase(const wchar_t* a, const wchar_t* b) { return _wcsicmp(a, b); }

// ASCII without the run-time: a call per character costs more than the rest of a search.
void TCharTraits<wchar_t>::MakeLower(wchar_t* s, int len)
{
    for (int i = 0; i < len; i++) {
        if (s[i] < 0x80) {
            if (s[i] >= L'A' && s[i] <= L'Z')
                s[i] = (wchar_t)(s[i] + 32);
        } else {
            s[i] = (wchar_t)towlower(s[i]);
        }
    }
}

void TCharTraits<wchar_t>::MakeUpper(wchar_t* s, int len)
{
    for (int i = 0; i < len; i++) {
        if (s[i] < 0x80) {
            if (s[i] >= L'a' && s[i] <= L'z')
                s[i] = (wchar_t)(s[i] - 32);
        } else {
            s[i] = (wchar_t)towupper(s[i]);
        }
    }
}

int TCharTraits<wchar_t>::FormatLength(const wchar_t* fmt, va_list args) { return fmt ? _vscwprintf(fmt, args) : 0; }

void TCharTraits<wchar_t>::FormatInto(wchar_t* buf, int len, const wchar_t* fmt, va_list args)
{
    _vsnwprintf(buf, (size_t)len + 1, fmt, args);
}

// The run-time gives -1 when the text does not fit and leaves out the NUL when it just fits.
int TCharTraits<wchar_t>::FormatFitting(wchar_t* buf, int size, const wchar_t* fmt, va_list args)
{
    int length = _vsnwprintf(buf, (size_t)size, fmt, args);
    return length >= 0 && length < size ? length : -1;
}

int TCharTraits<char>::CompareNoCase(const char* a, const char* b) { return _stricmp(a, b); }

// Byte strings are protocol text: only ASCII letters change case.
void TCharTraits<char>::MakeLower(char* s, int len)
{
    for (int i = 0; i < len; i++)
        if (s[i] >= 'A' && s[i] <= 'Z')
            s[i] = (char)(s[i] + 32);
}

void TCharTraits<char>::MakeUpper(char* s, int len)
{
    for (int i = 0; i < len; i++)
        if (s[i] >= 'a' && s[i] <= 'z')
            s[i] = (char)(s[i] - 32);
}

int TCharTraits<char>::FormatLength(const char* fmt, va_list args) { return fmt ? _vscprintf(fmt, args) : 0; }

void TCharTraits<char>::FormatInto(char* buf, int len, const char* fmt, va_list args)
{
    _vsnprintf(buf, (size_t)len + 1, fmt, args);
}

int TCharTraits<char>::FormatFitting(char* buf, int size, const char* fmt, va_list args)
{
    int length = _vsnprintf(buf, (size_t)size, fmt, args);
    return length >= 0 && length < size ? length : -1;
}

HINSTANCE ResourceInstance() { return AfxGetResourceHandle(); }

} // namespace classlib
