#pragma once
// Lets test failures show CString and CStringA values as text (wide text as UTF-8).

#include "classlib/String.h"

#include <ostream>

namespace classlib {

inline void PrintTo(const CStringT<char>& text, std::ostream* out)
{
    *out << '"' << std::string(text.GetString(), (size_t)text.GetLength()) << '"';
}

inline void PrintTo(const CStringT<wchar_t>& text, std::ostream* out)
{
    int length = text.GetLength();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.GetString(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes((size_t)(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.GetString(), length, &bytes[0], size, nullptr, nullptr);
    *out << "L\"" << bytes << '"';
}

} // namespace classlib
