// Received values kept inside their arguments of a program's command line. Most programs read it
// by the usual rules (a backslash before a quote escapes it); batch files and the command
// interpreter by the interpreter's, which honour no escape inside quotes, replace %NAME% over the
// whole line first, and keep a doubled quote inside the quoted text.

#include "macro/ProgramLine.h"

#include "foundation/Path.h"

#include <cwctype>

namespace {

bool IsFilled(const std::vector<bool>& filled, int i) { return i >= 0 && i < (int)filled.size() && filled[i]; }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

enum class TReader { Usual, BatchFile, Interpreter };

// The index of the quote that ends a quoted program, or the line's last index.
int ProgramEnd(const CString& line)
{
    int close = line.IsEmpty() || line[0] != L'"' ? -1 : line.Find(L'"', 1);
    return close < 0 ? line.GetLength() - 1 : close;
}

bool IsFile(const CString& path)
{
    DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The extension the system completes a name without one with: the first of these that exists,
// beside the name or, for a bare name, where the system looks for programs.
CString CompletedExtension(const CString& program)
{
    for (const wchar_t* extension : {L".com", L".exe", L".bat", L".cmd"}) {
        wchar_t found[MAX_PATH];
        bool exists = ExtractFolder(program).IsEmpty()
                          ? ::SearchPathW(nullptr, program, extension, MAX_PATH, found, nullptr) > 0
                          : IsFile(program + extension);
        if (exists)
            return extension;
    }
    return CString();
}

TReader ReaderOf(const CString& line)
{
    int close = ProgramEnd(line);
    CString program = !line.IsEmpty() && line[0] == L'"' && close > 0 ? line.Mid(1, close - 1) : line;
    // The system drops trailing dots and blanks from a file name.
    program.TrimRight(L". ");
    CString name = ExtractFileName(program);
    if (_wcsicmp(name, L"cmd") == 0 || _wcsicmp(name, L"cmd.exe") == 0)
        return TReader::Interpreter;
    CString extension = ExtractFileExtension(name);
    if (extension.IsEmpty() && !program.IsEmpty())
        extension = CompletedExtension(program);
    return _wcsicmp(extension, L".bat") == 0 || _wcsicmp(extension, L".cmd") == 0 ? TReader::BatchFile : TReader::Usual;
}

// Writes a command line character by character, with the marks of what values brought.
class TArgumentWriter {
public:
    TArgumentWriter(const CString& program, bool interpreter)
        : text(program), filled(program.GetLength(), false), interpreter(interpreter)
    {
    }
    // The rule's own quote opens or closes as the rule meant, after the backslashes values put
    // before it.
    void Rule(wchar_t c)
    {
        if (c == L'"' && !interpreter)
            Backslashes(valueBackslashes);
        Put(c, false);
    }
    // A value's character, kept literal inside the quotes around it.
    void Value(wchar_t c)
    {
        if (c == L'"' && interpreter)
            Put(c, true);
        else if (c == L'"')
            Backslashes(backslashes + 1);
        Put(c, true);
    }
    void AddQuote()
    {
        if (!interpreter)
            Backslashes(backslashes);
        Put(L'"', false);
    }

    CString text;
    std::vector<bool> filled;

private:
    void Backslashes(int count)
    {
        for (; count > 0; count--)
            Put(L'\\', true);
    }
    void Put(wchar_t c, bool fromValue)
    {
        text += c;
        filled.push_back(fromValue);
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        valueBackslashes = c == L'\\' ? valueBackslashes + fromValue : 0;
    }

    bool interpreter;
    int backslashes = 0;      // the backslashes just written
    int valueBackslashes = 0; // how many of them values brought
};

// A value outside the rule's quotes gets quotes: around the whole word where the rule put none in
// it, so the word means what it did, else around the value.
void WriteWord(TArgumentWriter& out, const CString& line, const std::vector<bool>& filled, int begin, int end)
{
    bool quoted = false, bare = false, ruleQuotes = false;
    for (int i = begin; i < end; i++) {
        if (!IsFilled(filled, i) && line[i] == L'"')
            quoted = !quoted, ruleQuotes = true;
        else
            bare = bare || (!quoted && IsFilled(filled, i));
    }
    bool quoteWhole = bare && !ruleQuotes;
    if (quoteWhole)
        out.AddQuote();
    quoted = false;
    for (int i = begin; i < end;) {
        if (!IsFilled(filled, i)) {
            quoted = line[i] == L'"' ? !quoted : quoted;
            out.Rule(line[i++]);
            continue;
        }
        bool ownQuotes = !quoteWhole && !quoted;
        if (ownQuotes)
            out.AddQuote();
        for (; i < end && IsFilled(filled, i); i++)
            out.Value(line[i]);
        if (ownQuotes)
            out.AddQuote();
    }
    if (quoteWhole)
        out.AddQuote();
}

// Whether the interpreter finds every character a value brought inside quotes, where no operator,
// blank or comma acts. Outside quotes a caret takes the next character, a quote too, literally.
bool KeepsValuesQuoted(const CString& text, const std::vector<bool>& filled)
{
    bool quoted = false;
    for (int i = 0; i < text.GetLength(); i++) {
        if (text[i] == L'"')
            quoted = !quoted;
        else if (!quoted && IsFilled(filled, i))
            return false;
        else if (!quoted && text[i] == L'^' && IsFilled(filled, ++i))
            return false;
    }
    return true;
}

// Run as a program, the interpreter takes what follows its first /c or /k as its command and,
// when that begins with a quote, may drop that quote and the line's last one before reading it.
bool KeepsValuesQuotedAfterSwitch(const CString& text, const std::vector<bool>& filled)
{
    int start = 0;
    while (start + 1 < text.GetLength() &&
           (text[start] != L'/' || !wcschr(L"cCkK", text[start + 1]) || text[start + 1] == 0))
        start++;
    for (start += 2; start < text.GetLength() && IsBlank(text[start]);)
        start++;
    if (start >= text.GetLength() || text[start] != L'"')
        return true;
    CString command = text.Mid(start + 1);
    std::vector<bool> marks(filled.begin() + std::min(start + 1, (int)filled.size()), filled.end());
    int last = command.ReverseFind(L'"');
    if (last >= 0) {
        command.Delete(last);
        if (last < (int)marks.size())
            marks.erase(marks.begin() + last);
    }
    return KeepsValuesQuoted(command, marks);
}

// The interpreter replaces %NAME% and %NAME:~n,m% over the whole line before it reads quotes: a
// value's "%" with any other could make a quote or an operator out of the line's own text.
bool PairsNoValuePercent(const CString& text, const std::vector<bool>& filled)
{
    int percents = 0;
    bool fromValue = false;
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] == L'%') {
            percents++;
            fromValue = fromValue || IsFilled(filled, i);
        }
    return !fromValue || percents < 2;
}

} // namespace

CString BuildProgramLine(const CString& line, const std::vector<bool>& filled)
{
    int close = ProgramEnd(line);
    for (int i = 0; i <= close; i++)
        if (IsFilled(filled, i))
            return CString();
    TReader reader = ReaderOf(line);
    TArgumentWriter out(line.Left(close + 1), reader != TReader::Usual);
    for (int i = close + 1; i < line.GetLength();) {
        if (IsBlank(line[i]) && !IsFilled(filled, i)) {
            out.Rule(line[i++]);
            continue;
        }
        // A word ends at a blank of the rule's outside its quotes.
        int end = i;
        for (bool quoted = false; end < line.GetLength(); end++) {
            if (!IsFilled(filled, end) && line[end] == L'"')
                quoted = !quoted;
            else if (!quoted && !IsFilled(filled, end) && IsBlank(line[end]))
                break;
        }
        WriteWord(out, line, filled, i, end);
        i = end;
    }
    if (reader == TReader::Usual)
        return out.text;
    bool sound = PairsNoValuePercent(out.text, out.filled) && KeepsValuesQuoted(out.text, out.filled) &&
                 (reader == TReader::BatchFile || KeepsValuesQuotedAfterSwitch(out.text, out.filled));
    return sound ? out.text : CString();
}
