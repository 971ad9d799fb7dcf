#include "irc/UserCommand.h"

#include "foundation/IrcMarkup.h"
#include "foundation/StringUtils.h"
#include "irc/Ctcp.h"

#include <cwctype>

namespace {

bool TakesTarget(const CString& command)
{
    static const wchar_t* const kWords[] = {L"PRIVMSG", L"NOTICE", L"ACTION", L"CTCPPING", L"JOIN",     L"PART",
                                            L"MODE",    L"TOPIC",  L"KICK",   L"INVITE",   L"CTCPREPLY"};
    for (const wchar_t* word : kWords)
        if (command == word)
            return true;
    return false;
}

// A message whose text is framed as CTCP is sent as one.
void TurnFramedMessageIntoCtcp(TUserCommand& command)
{
    if ((command.command != L"PRIVMSG" && command.command != L"NOTICE") || command.text.IsEmpty() ||
        command.text[0] != kCtcpMark)
        return;
    command.command = command.command == L"PRIVMSG" ? L"CTCP" : L"CTCPREPLY";
    command.text = command.text.Mid(1);
    int end = command.text.Find(kCtcpMark);
    if (end >= 0)
        command.text = command.text.Left(end);
}

} // namespace

bool ParseUserCommand(const CString& line, const CString& currentTarget, TUserCommand& command)
{
    if (line.IsEmpty())
        return false;
    CString rest = ConvertMarkupToControlCodes(line);
    command.command = CutFirstWord(rest);
    command.command.MakeUpper();
    if (command.command.IsEmpty())
        return false;
    if (command.command == L"MSG")
        command.command = L"PRIVMSG";
    else if (command.command == L"CTCPQUERY")
        command.command = L"CTCP";
    command.target.Empty();
    if (TakesTarget(command.command)) {
        command.target = CutFirstWord(rest);
    } else if (command.command == L"CTCP") {
        CString query = CutFirstWord(rest);
        command.target = CutFirstWord(rest);
        rest = rest.IsEmpty() ? query : query + L" " + rest;
    }
    command.text = StripLeadingColon(rest);
    if (command.command == L"ME") {
        // No target word is read, so the text keeps a leading colon (":)").
        command.command = L"ACTION";
        command.target = currentTarget;
        command.text = rest;
    }
    TurnFramedMessageIntoCtcp(command);
    if (command.command == L"CTCP") {
        CString actionText = command.text;
        CString word = CutFirstWord(actionText);
        if (word.MakeUpper() == L"ACTION") {
            command.command = L"ACTION";
            command.text = actionText;
        }
    }
    return true;
}

int CountKickPenalty(const CString& nickList)
{
    int nicks = 0;
    CString rest = nickList;
    while (!rest.IsEmpty() && !CutFirstCommaToken(rest).IsEmpty())
        nicks++;
    int penalty = 1 + 3 * nicks;
    return penalty > 10 ? 10 : penalty;
}

std::vector<CString> GetAddressedNicks(const CString& text)
{
    std::vector<CString> nicks;
    int colon = text.Find(L':');
    if (colon > 0)
        nicks.push_back(text.Left(colon));
    if (!text.IsEmpty() && text[0] == L'@') {
        int blank = text.Find(L' ');
        nicks.push_back(blank < 0 ? text.Mid(1) : text.Mid(1, blank - 1));
    }
    int arrow = text.Find(L'>');
    if (arrow >= 0) {
        CString nick = text.Mid(arrow + 1);
        int start = 0;
        while (start < nick.GetLength() && nick[start] == L' ')
            start++;
        nicks.push_back(nick.Mid(start));
    }
    return nicks;
}

void SplitProgramLine(const CString& line, CString& program, CString& arguments)
{
    if (line.IsEmpty() || line[0] != L'"') {
        program = line;
        arguments.Empty();
        return;
    }
    CString rest = line.Mid(1);
    int close = rest.Find(L'"');
    if (close < 0) {
        program.Empty();
        arguments = rest;
        return;
    }
    program = rest.Left(close);
    int start = close + 1;
    while (start < rest.GetLength() && iswspace(rest[start]))
        start++;
    arguments = rest.Mid(start);
}

CString CutAtLineBreak(const CString& text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] == L'\r' || text[i] == L'\n' || text[i] == L'\0')
            return text.Left(i);
    return text;
}
