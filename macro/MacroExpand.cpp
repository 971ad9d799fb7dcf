// Macro texts: %-variables from the current event, and $-functions over the user's text files,
// DLLs and URL encoding.

#include "macro/MacroManager.h"

#include "foundation/CodePage.h"
#include "foundation/StringList.h"
#include "foundation/StringUtils.h"
#include "macro/MacroWords.h"

namespace {

void AppendBounded(CString& out, const CString& text)
{
    int room = TMacroManager::MaxTextLength - out.GetLength();
    if (room > 0)
        out.Append(text.GetString(), std::min(room, text.GetLength()));
}

CString LocalTimeText(bool date)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CString text;
    if (date)
        text.Format(L"%04d%02d%02d", now.wYear, now.wMonth, now.wDay);
    else
        text.Format(L"%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
    return text;
}

struct TFunction {
    const wchar_t* name;
    int kind;
    bool removes;
};

enum { FUNCTION_FILE, FUNCTION_DIC, FUNCTION_DLL, FUNCTION_ENCODEURL };

// In the order they are tried: longer names before the shorter ones they begin with.
const TFunction kFunctions[] = {{L"FILEOT", FUNCTION_FILE, true},  {L"FILEONCE", FUNCTION_FILE, true},
                                {L"FILE", FUNCTION_FILE, false},   {L"REPLACEOT", FUNCTION_DIC, true},
                                {L"REPLACE", FUNCTION_DIC, false}, {L"DICONCE", FUNCTION_DIC, true},
                                {L"DIC", FUNCTION_DIC, false},     {L"DLLSTRING", FUNCTION_DLL, false},
                                {L"DLLFUNC", FUNCTION_DLL, false}, {L"ENCODEURL", FUNCTION_ENCODEURL, false}};

UINT EncodingCodePage(CString encoding)
{
    if (int number = _wtoi(encoding))
        return (UINT)number;
    encoding.MakeLower();
    if (encoding == L"sjis" || encoding == L"shift_jis" || encoding == L"shiftjis")
        return 932;
    if (encoding == L"euc-jp")
        return 20932;
    return CP_UTF8;
}

} // namespace

void TMacroManager::ExpandPercentVariables(CString& text)
{
    if (text.Find(L'%') < 0)
        return;
    CString out;
    std::vector<CString> words;
    bool split = false;
    for (int i = 0; i < text.GetLength(); i++) {
        if (text[i] != L'%') {
            if (out.GetLength() < MaxTextLength)
                out += text[i];
            continue;
        }
        if (++i >= text.GetLength())
            break; // a lone "%" at the end is dropped
        wchar_t name = text[i];
        CString value;
        switch (name) {
        case L'a':
            value = listener ? listener->GetCurrentChannelName() : CString();
            break;
        case L'c':
            value = channel;
            break;
        case L'd':
            value = LocalTimeText(true);
            break;
        case L'f':
            value = !channel.IsEmpty() && wcschr(L"#&+!=", channel[0]) ? channel : event.nick;
            break;
        case L'h':
            value = event.host;
            break;
        case L'l':
            value = event.user;
            break;
        case L'm':
            value = eventText;
            break;
        case L'n':
            value = event.nick;
            break;
        case L's':
            value = listener ? listener->GetSelectedText() : CString();
            break;
        case L't':
            value = LocalTimeText(false);
            break;
        case L'u':
            value = ownNick;
            break;
        case L'y':
            value = listener ? listener->GetMyAddressText() : CString();
            break;
        case L'%':
            value = L"%";
            break;
        default:
            if (name >= L'0' && name <= L'9') {
                if (!split) {
                    words = SplitWords(eventText, 10);
                    split = true;
                }
                size_t index = name - L'0';
                value = index < words.size() ? words[index] : CString();
            } else {
                value = CString(L'%') + name;
            }
        }
        AppendBounded(out, value);
    }
    text = out;
}

void TMacroManager::ExpandText(CString& text, bool expandVariables)
{
    CString out;
    auto plain = [&](CString piece) {
        if (expandVariables)
            ExpandPercentVariables(piece);
        AppendBounded(out, piece);
    };
    int at = 0;
    while (at < text.GetLength() && out.GetLength() < MaxTextLength) {
        int dollar = text.Find(L'$', at);
        if (dollar < 0)
            break;
        plain(text.Mid(at, dollar - at));
        at = ExpandFunction(text, dollar, expandVariables, out);
    }
    if (at < text.GetLength())
        plain(text.Mid(at));
    text = out;
}

// Returns where scanning goes on.
int TMacroManager::ExpandFunction(const CString& text, int at, bool expandVariables, CString& out)
{
    if (WordAtNoCase(text, at + 1, L"$")) {
        AppendBounded(out, L"$");
        return at + 2;
    }
    const TFunction* function = nullptr;
    for (const TFunction& known : kFunctions)
        if (WordAtNoCase(text, at + 1, known.name)) {
            function = &known;
            break;
        }
    if (!function) {
        AppendBounded(out, L"$");
        return at + 1;
    }
    int pos = at + 1 + (int)wcslen(function->name);
    if (pos >= text.GetLength() || text[pos] != L'(')
        return pos;
    pos++;
    int count = function->kind == FUNCTION_FILE ? 1 : function->kind == FUNCTION_DIC ? 2 : 3;
    if (function->kind == FUNCTION_ENCODEURL)
        count = text.Find(L',', pos) >= 0 ? 2 : 1;
    std::vector<CString> arguments;
    for (int i = 0; i < count; i++) {
        int end = text.Find(i + 1 < count ? L',' : L')', pos);
        if (end < 0)
            return pos;
        CString argument = text.Mid(pos, end - pos);
        if (expandVariables)
            ExpandPercentVariables(argument);
        arguments.push_back(argument);
        pos = end + 1;
    }
    switch (function->kind) {
    case FUNCTION_FILE:
        AppendRandomLine(arguments[0], function->removes, out);
        break;
    case FUNCTION_DIC:
        AppendDictionaryAnswer(arguments[0], arguments[1], function->removes, out);
        break;
    case FUNCTION_DLL:
        AppendDllString(arguments[0], arguments[1], arguments[2], out);
        break;
    default:
        AppendEncodedUrl(arguments[0], count > 1 ? arguments[1] : CString(), out);
        break;
    }
    return pos;
}

CString TMacroManager::ExpandVariables(const CString& text, const CString& contextNick)
{
    ResetEvent(contextNick);
    CString copy = text;
    ExpandText(copy, false);
    return copy;
}

void TMacroManager::AppendRandomLine(const CString& file, bool removeLine, CString& out)
{
    CString path;
    TStringAList lines;
    if (!ReadLines(file, path, lines) || lines.GetCount() == 0)
        return;
    int index = std::uniform_int_distribution<int>(0, lines.GetCount() - 1)(random);
    CString line = ConvertFromShiftJis(lines.GetAt(index));
    if (removeLine) {
        lines.RemoveAt(index);
        lines.SaveToFile(path);
    }
    ExpandPercentVariables(line);
    AppendBounded(out, line);
}

void TMacroManager::AppendDictionaryAnswer(const CString& file, const CString& text, bool removeLine, CString& out)
{
    CString path;
    TStringAList lines;
    if (!ReadLines(file, path, lines))
        return;
    for (int i = 0; i < lines.GetCount(); i++) {
        CString answer = ConvertFromShiftJis(lines.GetAt(i));
        CString key = CutFirstWord(answer);
        bool fallback = key.CompareNoCase(L"default") == 0;
        if (!fallback && !MatchWildcard(key, text))
            continue;
        if (!fallback && removeLine) {
            lines.RemoveAt(i);
            lines.SaveToFile(path);
        }
        ExpandPercentVariables(answer);
        AppendBounded(out, answer);
        return;
    }
}

void TMacroManager::AppendDllString(const CString& dll, const CString& procedure, const CString& text, CString& out)
{
    CString reply;
    if (!CallDllString(dll, procedure, text, reply))
        return;
    ExpandPercentVariables(reply);
    AppendBounded(out, reply);
}

void TMacroManager::AppendEncodedUrl(const CString& text, const CString& encoding, CString& out)
{
    UINT codePage = encoding.IsEmpty() ? CP_UTF8 : EncodingCodePage(encoding);
    AppendBounded(out, EncodeUrl(ConvertToCodePage(text, codePage)));
}
