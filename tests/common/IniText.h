#pragma once
// Values read out of a settings file's text, as a test checks what was written.

#include <string>

// The string between the first key= and the line end in an ini text, or empty.
inline std::string IniValue(const std::string& text, const std::string& key)
{
    size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos)
        return std::string();
    at += key.size() + 2;
    size_t end = text.find_first_of("\r\n", at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// The section's text in an ini file, up to the next section.
inline std::string IniSection(const std::string& text, const std::string& name)
{
    size_t at = text.find("[" + name + "]");
    if (at == std::string::npos)
        return std::string();
    size_t end = text.find("\n[", at + 1);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at + 1);
}
