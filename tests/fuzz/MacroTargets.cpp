// Fuzz targets of the macro engine: templates against an event whose text comes from the input,
// conditions made of the input, and macro files read, written and read back.

#include "macro/MacroManager.h"
#include "tests/fuzz/FuzzDriver.h"
#include "tests/fuzz/FuzzSeeds.h"

#include <algorithm>

namespace {

// A few files for the functions to find, made again for every input that may have used one up.
class TMacroScratch {
public:
    TMacroScratch()
    {
        folder = FuzzFolder() + L"macrofiles\\";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        engine.SetFilesFolder(folder.c_str());
        engine.SetMacroFolder(folder.c_str());
    }
    void Refill(const std::wstring& input)
    {
        if (filled && input.find(L'$') == std::wstring::npos)
            return;
        WriteFuzzFile(folder + L"a.txt", "one %n\r\ntwo %m\r\n");
        WriteFuzzFile(folder + L"d.txt", "h* hi %1\r\ndefault what\r\n");
        filled = true;
    }

    std::wstring folder;
    TMacroManager engine;
    bool filled = false;
};

TMacroScratch& Scratch()
{
    static TMacroScratch scratch;
    return scratch;
}

// The template, a NUL unit, then the event's text.
void FuzzExpand(const std::string& input)
{
    std::wstring wide = WideOf(input);
    size_t split = std::min(wide.find(L'\0'), wide.size());
    CString pattern(wide.c_str(), (int)split);
    std::wstring rest = split < wide.size() ? wide.substr(split + 1) : std::wstring();
    TMacroScratch& scratch = Scratch();
    scratch.Refill(wide);
    TMacroManager& engine = scratch.engine;
    CString text = engine.ExpandVariables(pattern, L"me");
    FuzzCheck(text.GetLength() <= TMacroManager::MaxTextLength, "unit text too long");
    TIRCReceiveMessage event;
    event.prefix = L"bob!b@h";
    event.nick = L"bob";
    event.command = L"PRIVMSG";
    event.params = {L"#a", CString(rest.c_str(), (int)rest.size())};
    engine.ProcessEvent(event, L"me"); // no files: only the state is left alone
    CString expanded = pattern;
    engine.ExpandText(expanded, true);
    FuzzCheck(expanded.GetLength() <= TMacroManager::MaxTextLength, "expanded text too long");
    FuzzCheck(engine.GetLastScanCount() <= 2LL * pattern.GetLength(), "a function's end was searched for again");
    for (bool senderIsMe : {false, true})
        engine.MatchCondition(event.params[1], pattern, senderIsMe, true, true);
}

std::string Describe(const TMacroFile& file)
{
    std::wstring all;
    for (const TMacroItem* item : file.items)
        all += std::wstring(FormatMacroLine(*item).GetString()) + L"\n";
    return std::string((const char*)all.data(), all.size() * sizeof(wchar_t));
}

// Whatever a file holds, what was read is written and read back the same.
void FuzzMacroFile(const std::string& input)
{
    TMacroScratch& scratch = Scratch();
    WriteFuzzFile(scratch.folder + L"fuzz.kmf", input);
    TMacroFile file(scratch.folder.c_str(), L"fuzz");
    FuzzCheck(file.Read(), "an existing file did not read");
    FuzzCheck(file.Write(), "the file did not write");
    TMacroFile again(scratch.folder.c_str(), L"fuzz");
    FuzzCheck(again.Read(), "the written file did not read");
    FuzzCheck(Describe(file) == Describe(again), "the rules changed on their way through the file");
}

// Twice the engine's bound less one: an unclosed "$ENCODEURL(" over Japanese text, then bytes
// that are not UTF-8, one character each, whose commas and parentheses end the arguments.
std::wstring EncodeUrlPastTheBound()
{
    const size_t length = 2 * TMacroManager::MaxTextLength - 1;
    std::wstring text = L"$ENCODEURL(";
    while (text.size() < length / 2)
        text += L"日本語の文章、";
    for (unsigned seed = 12345; text.size() < length;) {
        seed = seed * 1103515245u + 12345u;
        text += (wchar_t)(1 + (seed >> 16) % 255);
    }
    return text;
}

std::vector<std::string> ExpandSeeds()
{
    auto pair = [](const std::wstring& pattern, const std::wstring& text) { return pattern + L'\0' + text; };
    auto steps = [](const wchar_t* step) {
        std::wstring path;
        for (int i = 0; i < 300; i++)
            path += step;
        return path;
    };
    // Two name paths of many steps, as the rule wrote them and as a value fills them in; the last
    // passes the length bound and must not cost more than its length.
    return WideTokens({pair(L"%n said %m in %c $FILE(a.txt)", L"hello there"),
                       pair(L"$DIC(d.txt,%m) $$ $ENCODEURL(%m,sjis) %9", L"a b c d e f g h i j k l"),
                       pair(L"$NOT *!*@h|%me|$LIST(a.txt)|*", L"x"),
                       pair(L"$DLLSTRING(nosuch.dll,Proc,%m) $DLLFUNC(,,) $FILE(...\\" + steps(L"sec+ret.t.\\"), L"x"),
                       pair(L"[$FILE(%m)][$DIC(%m,x)]", steps(L"step\\")), pair(EncodeUrlPastTheBound(), L"x")});
}

std::vector<std::string> FileSeeds()
{
    return {"1\tEncoding=UTF-8\r\n0\t\t\t%me\tPRIVMSG\t#a\t*hello*\t0\t0\tsend\t%c\thi\t1\r\n",
            "# comment\r\n\r\n0\r\n1\tx\ty\t*\tJOIN\t#\x93\xfa\t\t3\t2\tprint\t\t%n\t0\textra\r\n"};
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<TFuzzTarget> targets = {
        {"macro_expand", FuzzExpand, ExpandSeeds,
         WideTokens({L"%", L"$", L"(", L")", L",", L"|", L"$FILEONCE(a.txt)", L"$DLLSTRING(", L"$LIST(", L"$NOT ",
                     L"..\\", L"%m", L"$DIC(", L"$REPLACE(", L"$ENCODEURL("}),
         // Room for the seed past the bound, in UTF-16 with its event text.
         4 * TMacroManager::MaxTextLength + 64},
        {"macro_file", FuzzMacroFile, FileSeeds, {"\t", "\r\n", "1\tEncoding=UTF-8", "#", "0", "\x81"}, 8192},
    };
    return RunFuzzMain(argc, argv, targets);
}
