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
    const int length = commandLine.GetLength();
    int pos = 0;
    while (pos < length) {
        while (pos < length && IsSeparator(commandLine[pos]))
            pos++;
        int equals = commandLine.Find(L'=', pos);
        if (pos == length || equals < 0)
            break;
        // An item that starts with "=" has an empty name and keeps the "=" in its value.
        CString name = commandLine.Mid(pos, equals - pos);
        int valueStart = equals > pos ? equals + 1 : pos;
        int separator = valueStart;
        while (separator < length && !IsSeparator(commandLine[separator]))
            separator++;
        CString value = commandLine.Mid(valueStart, separator - valueStart);
        // The value of the last item is looked at again, so "x=y=z" gives (x, y=z) and (y, z).
        // One that starts with "=" would come round unchanged: there the options end.
        int next = separator < length ? separator + 1 : valueStart;
        if (value.GetLength() > 0 && value[0] == L'"') {
            int closing = value.Find(L'"', 1);
            if (closing > 0)
                value = value.Mid(1, closing - 1);
        }
        if (!name.IsEmpty() || !value.IsEmpty())
            options.push_back({name, value});
        if (next == pos)
            break;
        pos = next;
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
