#pragma once
// Lets test failures show CString and CStringA values as text (wide text as UTF-8), and gives
// wide text as UTF-8 for messages and recorded calls.

#include "classlib/String.h"

#include <ostream>
#include <string>

inline std::string Narrow(const CString& text)
{
    std::string bytes((size_t)text.GetLength() * 3, '\0');
    int size = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), &bytes[0], (int)bytes.size(), 0, 0);
    bytes.resize((size_t)(size > 0 ? size : 0));
    return bytes;
}

namespace classlib {

inline void PrintTo(const CStringT<char>& text, std::ostream* out)
{
    *out << '"' << std::string(text.GetString(), (size_t)text.GetLength()) << '"';
}

inline void PrintTo(const CStringT<wchar_t>& text, std::ostream* out)
{
    std::string bytes((size_t)text.GetLength() * 4, '\0');
    int size = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), &bytes[0], (int)bytes.size(), 0, 0);
    *out << "L\"" << bytes.substr(0, (size_t)(size > 0 ? size : 0)) << '"';
}

} // namespace classlib
