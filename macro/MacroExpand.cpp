// Macro texts: %-variables from the current event, and $-functions over the user's text files,
// DLLs and URL encoding.

#include "macro/MacroManager.h"

#include "foundation/CodePage.h"
#include "foundation/StringUtils.h"
#include "macro/LineFile.h"
#include "macro/MacroWords.h"

namespace {

// The text an expansion builds, up to the engine's bound; with marks kept, which of its
// characters values put there.
class TBuiltText {
public:
    explicit TBuiltText(std::vector<bool>* filled) : filled(filled)
    {
        if (filled)
            filled->clear();
    }
    int GetLength() const { return text.GetLength(); }
    bool IsFull() const { return text.GetLength() >= TMacroManager::MaxTextLength; }
    void Append(const wchar_t* piece, int length, bool fromValue) { Append(piece, length, fromValue, nullptr); }
    void Append(const CString& piece, bool fromValue) { Append(piece.GetString(), piece.GetLength(), fromValue); }
    // A piece with marks of its own keeps them.
    void Append(const CString& piece, const std::vector<bool>& marks)
    {
        Append(piece.GetString(), piece.GetLength(), false, &marks);
    }
    CString Finish()
    {
        EndCutText(text, TMacroManager::MaxTextLength);
        if (filled)
            filled->resize(text.GetLength());
        return text;
    }

private:
    void Append(const wchar_t* piece, int length, bool fromValue, const std::vector<bool>* marks)
    {
        int count = std::min(TMacroManager::MaxTextLength - text.GetLength(), length);
        if (count <= 0)
            return;
        text.Append(piece, count);
        if (filled)
            for (int i = 0; i < count; i++)
                filled->push_back(marks ? i < (int)marks->size() && (*marks)[i] : fromValue);
    }

    CString text;
    std::vector<bool>* filled;
};

// The next place of one character at or after a position that never moves back: each character
// of the text is read once however many times it is asked.
class TForwardFind {
public:
    TForwardFind(const CString& text, wchar_t wanted, long long& scanned) : text(text), wanted(wanted), scanned(scanned)
    {
    }
    int From(int pos)
    {
        if (found < pos && !searchedAll) {
            found = -1;
            for (int i = pos; i < text.GetLength() && found < 0; i++) {
                scanned++;
                if (text[i] == wanted)
                    found = i;
            }
            searchedAll = found < 0;
        }
        return found >= pos ? found : -1;
    }

private:
    const CString& text;
    const wchar_t wanted;
    long long& scanned;
    int found = -1;
    bool searchedAll = false;
};

void BlankLineBreaks(CString& value)
{
    for (int i = 0; i < value.GetLength(); i++)
        if (value[i] == L'\r' || value[i] == L'\n')
            value.SetAt(i, L' ');
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

// One pass over a macro text: where its next commas and closing parentheses are, and what room
// its variables have left.
struct TMacroManager::TExpansion {
    TExpansion(const CString& text, bool expandVariables, long long& scanned, std::vector<bool>* filled)
        : text(text), expandVariables(expandVariables), commas(text, L',', scanned), closes(text, L')', scanned),
          out(filled)
    {
    }
    const CString& text;
    const bool expandVariables;
    TForwardFind commas;
    TForwardFind closes;
    TBuiltText out;
    int room = TMacroManager::MaxVariableRoom;
    // Functions that read files or call libraries may repeat; how many they open is bounded.
    int opens = TMacroManager::MaxFileOpens;
};

void TMacroManager::ExpandPercentVariables(CString& text, std::vector<bool>* filled)
{
    int room = MaxTextLength;
    ExpandPercentWithin(text, room, filled);
}

void TMacroManager::ExpandPercentWithin(CString& text, int& room, std::vector<bool>* filled)
{
    if (text.Find(L'%') < 0) {
        if (filled)
            filled->assign(text.GetLength(), false);
        return;
    }
    TBuiltText out(filled);
    std::vector<CString> words;
    bool split = false;
    for (int i = 0; i < text.GetLength() && !out.IsFull(); i++) {
        int percent = text.Find(L'%', i);
        int end = percent < 0 ? text.GetLength() : percent;
        out.Append(text.GetString() + i, end - i, false);
        i = end + 1;
        if (i >= text.GetLength())
            break; // a lone "%" at the end is dropped
        wchar_t name = text[i];
        CString value;
        bool fromValue = true;
        // Only what a server or peer sent counts as filled: the program's own values are the
        // user's. A channel's name is its maker's, also the current one's, except where the user
        // clicks a popup item: there the selection, the current channel and the own nick (the
        // item's event is the user's own) are what the user chose.
        bool received = wcschr(L"acfhlmn0123456789", name) || name == L's';
        received = received && !(contextIsUsers && wcschr(L"sanf", name));
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
            fromValue = false;
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
                fromValue = false;
            }
        }
        // A line break in a value would start a second command where the rule's text is split
        // into lines.
        if (fromValue)
            BlankLineBreaks(value);
        bool cut = value.GetLength() > room;
        if (cut) {
            value = value.Left(room);
            EndCutText(value, room);
        }
        int before = out.GetLength();
        out.Append(value, fromValue && received);
        room = cut ? 0 : room - (out.GetLength() - before);
    }
    text = out.Finish();
}

void TMacroManager::ExpandText(CString& text, bool expandVariables, std::vector<bool>* filled)
{
    lastScanCount = 0;
    TExpansion pass(text, expandVariables, lastScanCount, filled);
    auto plain = [&](CString piece) {
        std::vector<bool> marks;
        if (expandVariables)
            ExpandPercentWithin(piece, pass.room, filled ? &marks : nullptr);
        pass.out.Append(piece, marks);
    };
    int at = 0;
    while (at < text.GetLength() && !pass.out.IsFull()) {
        int dollar = text.Find(L'$', at);
        if (dollar < 0)
            break;
        plain(text.Mid(at, dollar - at));
        at = ExpandFunction(pass, dollar);
    }
    if (at < text.GetLength())
        plain(text.Mid(at));
    text = pass.out.Finish();
}

// Returns where scanning goes on; every search starts at or after the one before it.
int TMacroManager::ExpandFunction(TExpansion& pass, int at)
{
    const CString& text = pass.text;
    if (WordAtNoCase(text, at + 1, L"$")) {
        pass.out.Append(L"$", 1, false);
        return at + 2;
    }
    const TFunction* function = nullptr;
    for (const TFunction& known : kFunctions)
        if (WordAtNoCase(text, at + 1, known.name)) {
            function = &known;
            break;
        }
    if (!function) {
        pass.out.Append(L"$", 1, false);
        return at + 1;
    }
    int pos = at + 1 + (int)wcslen(function->name);
    if (pos >= text.GetLength() || text[pos] != L'(')
        return pos;
    pos++;
    int count = function->kind == FUNCTION_FILE ? 1 : function->kind == FUNCTION_DIC ? 2 : 3;
    if (function->kind == FUNCTION_ENCODEURL)
        count = pass.commas.From(pos) >= 0 ? 2 : 1;
    std::vector<TMarkedText> arguments(count);
    for (int i = 0; i < count; i++) {
        int end = i + 1 < count ? pass.commas.From(pos) : pass.closes.From(pos);
        if (end < 0)
            return pos;
        arguments[i].text = text.Mid(pos, end - pos);
        if (pass.expandVariables)
            ExpandPercentWithin(arguments[i].text, pass.room, &arguments[i].filled);
        pos = end + 1;
    }
    if (function->kind != FUNCTION_ENCODEURL && pass.opens-- <= 0)
        return pos;
    switch (function->kind) {
    case FUNCTION_FILE:
        AppendRandomLine(arguments[0], function->removes, pass);
        break;
    case FUNCTION_DIC:
        AppendDictionaryAnswer(arguments[0], arguments[1].text, function->removes, pass);
        break;
    case FUNCTION_DLL:
        AppendDllString(arguments[0], arguments[1].text, arguments[2], pass);
        break;
    default:
        AppendEncodedUrl(arguments[0], count > 1 ? arguments[1].text : CString(), pass);
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

void TMacroManager::AppendRandomLine(const TMarkedText& file, bool removeLine, TExpansion& pass)
{
    CString path = ResolveFilePath(file.text, file.filled);
    // One pass over the file: line n takes the place of the pick with the chance 1/n, which gives
    // every line the same chance in the end.
    CStringA picked;
    long long count = 0, index = -1;
    bool read = VisitLines(path, [&](const CStringA& line) {
        if (std::uniform_int_distribution<long long>(0, count)(random) == 0) {
            picked = line;
            index = count;
        }
        count++;
        return true;
    });
    if (!read || count == 0)
        return;
    if (removeLine)
        RemoveLine(path, index);
    // The line is the user's own text; only the variables in it bring received text.
    CString line = ConvertFromShiftJis(picked);
    std::vector<bool> marks;
    ExpandPercentWithin(line, pass.room, &marks);
    pass.out.Append(line, marks);
}

void TMacroManager::AppendDictionaryAnswer(const TMarkedText& file, const CString& text, bool removeLine,
                                           TExpansion& pass)
{
    CString path = ResolveFilePath(file.text, file.filled);
    CString answer;
    bool taken = false, fallback = false;
    long long index = 0;
    VisitLines(path, [&](const CStringA& line) {
        answer = ConvertFromShiftJis(line);
        CString key = CutFirstWord(answer);
        fallback = key.CompareNoCase(L"default") == 0;
        taken = fallback || MatchWildcard(key, text);
        index += taken ? 0 : 1;
        return !taken;
    });
    if (!taken)
        return;
    if (!fallback && removeLine)
        RemoveLine(path, index);
    std::vector<bool> marks;
    ExpandPercentWithin(answer, pass.room, &marks);
    pass.out.Append(answer, marks);
}

void TMacroManager::AppendDllString(const TMarkedText& dll, const CString& procedure, const TMarkedText& text,
                                    TExpansion& pass)
{
    CString reply;
    if (!CallDllString(dll, procedure, text.text, reply))
        return;
    // The procedure may hand back what it was given: its reply counts as received when that did.
    std::vector<bool> marks;
    ExpandPercentWithin(reply, pass.room, &marks);
    if (IsAnyFilled(text.filled))
        marks.assign(reply.GetLength(), true);
    pass.out.Append(reply, marks);
}

void TMacroManager::AppendEncodedUrl(const TMarkedText& argument, const CString& encoding, TExpansion& pass)
{
    const CString& text = argument.text;
    // Only what fits in the result is converted: every character gives one byte at least, and
    // every byte one character at least, so the first 2 * room + 1 units and the first room bytes
    // hold all of it whatever the argument's length.
    int room = MaxTextLength - pass.out.GetLength();
    if (room <= 0)
        return;
    CString fitting = text;
    if (text.GetLength() > 2 * room + 2) {
        fitting = text.Left(2 * room + 2);
        EndCutText(fitting, fitting.GetLength());
    }
    UINT codePage = encoding.IsEmpty() ? CP_UTF8 : EncodingCodePage(encoding);
    CStringA bytes = ConvertToCodePage(fitting, codePage);
    if (bytes.GetLength() > room)
        bytes = bytes.Left(room);
    pass.out.Append(EncodeUrl(bytes), IsAnyFilled(argument.filled));
}
