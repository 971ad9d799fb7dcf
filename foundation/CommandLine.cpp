#include "foundation/CommandLine.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L' ' || c == L'\t'; }

CString UpperAsciiLetters(CString text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] >= L'a' && text[i] <= L'z')
            text.SetAt(i, (wchar_t)(text[i] - L'a' + L'A'));
    return text;
}

} // namespace

void ParseCommandLineOptions(const CString& commandLine, TCommandLineOptions& options)
{
    CString rest = commandLine;
    while (!rest.IsEmpty()) {
        int start = 0;
        while (start < rest.GetLength() && IsSeparator(rest[start]))
            start++;
        rest = rest.Mid(start);
        int equals = rest.Find(L'=');
        if (rest.IsEmpty() || equals < 0)
            break;
        // An item that starts with "=" has an empty name and keeps the "=" in its value.
        CString name = rest.Left(equals);
        if (equals > 0)
            rest = rest.Mid(equals + 1);
        int separator = 0;
        while (separator < rest.GetLength() && !IsSeparator(rest[separator]))
            separator++;
        CString value = rest.Left(separator);
        // The last item is taken once: looking at its value again would split "x=y=z" twice and
        // would never end on an item that starts with "=".
        rest = separator < rest.GetLength() ? rest.Mid(separator + 1) : CString();
        if (value.GetLength() > 0 && value[0] == L'"') {
            int closing = value.Find(L'"', 1);
            if (closing > 0)
                value = value.Mid(1, closing - 1);
        }
        if (!name.IsEmpty() || !value.IsEmpty())
            options.push_back({name, value});
    }
}

TStartupOptions ReadStartupOptions(const TCommandLineOptions& options)
{
    TStartupOptions startup;
    for (const TCommandLineOption& option : options) {
        CString name = UpperAsciiLetters(option.name);
        if (name == L"USER")
            startup.user = option.value;
        else if (name == L"PROFILE" || name == L"SERVER")
            startup.servers.push_back(option.value);
    }
    return startup;
}
