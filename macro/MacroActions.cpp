// The actions of macro rules and popup items: most go to the unit as commands or services; file
// edits and the user's DLLs are done here.

#include "macro/MacroManager.h"

#include "foundation/CodePage.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "macro/LineFile.h"
#include "macro/ProgramLine.h"
#include "res/strings/macro.h"
#include "settings/PopupFile.h"

#include <cwctype>
#include <vector>

namespace {

CString AsciiLower(CString text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] >= L'A' && text[i] <= L'Z')
            text.SetAt(i, (wchar_t)(text[i] + 32));
    return text;
}

// The user's procedures answer into a buffer of this size, zero-filled before the call.
const int kReplySize = 4097;

typedef void(__cdecl* TDllProcedure)();
typedef void(__cdecl* TDllHookProcedure)(const char* nick, const char* user, const char* host, const char* event,
                                         const char* channel, const char* message, char* reply);

// The library stays loaded only for one call; the procedure runs in the files folder.
class TUserLibrary {
public:
    explicit TUserLibrary(const CString& path) : module(path.IsEmpty() ? nullptr : ::LoadLibraryW(path)) {}
    ~TUserLibrary()
    {
        if (module)
            ::FreeLibrary(module);
    }
    // The procedure's address as its own type; null when neither name is found.
    template <typename P> P Find(const CString& name) const
    {
        if (!module)
            return nullptr;
        CStringA bytes = ConvertToUtf8(name);
        FARPROC found = ::GetProcAddress(module, bytes);
        if (!found)
            found = ::GetProcAddress(module, "_" + bytes);
        return reinterpret_cast<P>(reinterpret_cast<void (*)()>(found));
    }

private:
    HMODULE module;
};

class TFolderSwitch {
public:
    explicit TFolderSwitch(const CString& folder) : previous(GetCurrentFolder()) { SetCurrentFolder(folder); }
    ~TFolderSwitch() { SetCurrentFolder(previous); }

private:
    CString previous;
};

CString ReadReply(const char* reply) { return ConvertFromShiftJis(CStringA(reply)); }

bool IsFilled(const std::vector<bool>& filled, int i) { return i < (int)filled.size() && filled[i]; }

// Where a command takes the text as one parameter, a blank or comma that a value brought would
// add a parameter or make a list of it.
bool FilledKeepsOneParameter(const CString& text, const std::vector<bool>& filled)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (IsFilled(filled, i) && (text[i] == L' ' || text[i] == L','))
            return false;
    return true;
}

// A channel list that received values joined in: none of its channels may be a "0" they made,
// which leaves every channel. Keys and further channels are theirs to give.
bool FilledNamesNoZeroChannel(const CString& text, const std::vector<bool>& filled)
{
    int i = 0;
    while (i < text.GetLength() && text[i] == L' ')
        i++;
    CString element;
    bool elementFilled = false;
    for (;; i++) {
        bool wordEnds = i >= text.GetLength() || text[i] == L' ';
        if (wordEnds || text[i] == L',') {
            if (elementFilled && element == L"0")
                return false;
            if (wordEnds)
                return true;
            element.Empty();
            elementFilled = false;
            continue;
        }
        // The unit drops line breaks from the command before it goes out.
        if (text[i] != L'\r' && text[i] != L'\n')
            element += text[i];
        elementFilled = elementFilled || IsFilled(filled, i);
    }
}

// What the log view links as a web address: a scheme it knows (the opener puts the "h" in front
// of "ttp"), "://" and a host.
bool BeginsWithUrl(const CString& text)
{
    CString url = text.Left(3) == L"ttp" ? L"h" + text : text;
    for (const wchar_t* scheme : {L"https://", L"http://", L"ttps://", L"ttp://", L"ftp://", L"mms://"}) {
        int length = (int)wcslen(scheme);
        if (_wcsnicmp(url, scheme, length) == 0)
            return url.GetLength() > length && !iswspace(url[length]) && !wcschr(L"/,'\"`?<>\x3000", url[length]);
    }
    return false;
}

// Received values may only go into a web address: the opener hands anything else to the shell,
// which would open a peer's path or program.
bool OpensAsWebAddress(const CString& text, const std::vector<bool>& filled)
{
    return !TMacroManager::IsAnyFilled(filled) || BeginsWithUrl(text);
}

} // namespace

// What an action is given: the expanded target T and argument A, with the marks of what values
// filled in them for the actions that name files.
struct TMacroManager::TActionCall {
    IMacroManagerListener& listener;
    const TMarkedText& target;
    const TMarkedText& argument;
    const CString& T;
    const CString& A;
    bool fromUserMenu;
    void Command(const CString& text) const { listener.ExecuteCommand(text, fromUserMenu, false); }
    void Raw(const CString& text) const { listener.ExecuteCommand(text, fromUserMenu, true); }
    // The same, when the slots the command takes as one parameter each stayed one.
    void CommandWithSingle(const CString& text, std::initializer_list<const TMarkedText*> singles,
                           bool split = false) const
    {
        for (const TMarkedText* single : singles)
            if (!FilledKeepsOneParameter(single->text, single->filled))
                return Refuse(text);
        listener.ExecuteCommand(text, fromUserMenu, split);
    }
    // The program's name is the rule's; what received text filled stays inside its arguments.
    void Execute(bool minimized) const
    {
        CString line = BuildProgramLine(A, argument.filled);
        line.IsEmpty() && !A.IsEmpty() ? Refuse(A) : listener.Execute(line, minimized);
    }
    // A sound that values named stays in the folder the rule chose.
    void PlaySound() const { FilledStepsArePlainNames(A, argument.filled) ? listener.PlaySound(A) : Refuse(A); }
    void Refuse(const CString& what) const
    {
        listener.Print(CString(), FormatStringResourceWithText(IDS_MACRO_ACTION_REFUSED, what));
    }
};

// Keywords are matched in lower case; older spellings are rows of their own.
const TMacroManager::TAction TMacroManager::kActions[] = {
    {L"print", [](TMacroManager&, const TActionCall& c) { c.listener.Print(c.T, c.A); }},
    {L"exec", [](TMacroManager&, const TActionCall& c) { c.Execute(false); }},
    {L"execute", [](TMacroManager&, const TActionCall& c) { c.Execute(false); }},
    {L"execmin", [](TMacroManager&, const TActionCall& c) { c.Execute(true); }},
    {L"executeminimize", [](TMacroManager&, const TActionCall& c) { c.Execute(true); }},
    {L"openurl",
     [](TMacroManager&, const TActionCall& c) {
         OpensAsWebAddress(c.A, c.argument.filled) ? c.listener.OpenUrl(c.A, c.T) : c.Refuse(c.A);
     }},
    {L"send", [](TMacroManager&,
                 const TActionCall& c) { c.CommandWithSingle(L"NOTICE " + c.T + L" :" + c.A, {&c.target}, true); }},
    {L"raw", [](TMacroManager&, const TActionCall& c) { c.Raw(c.A); }},
    {L"action",
     [](TMacroManager&, const TActionCall& c) { c.CommandWithSingle(L"ACTION " + c.T + L" :" + c.A, {&c.target}); }},
    {L"join",
     [](TMacroManager&, const TActionCall& c) {
         FilledNamesNoZeroChannel(c.A, c.argument.filled) ? c.Command(L"JOIN " + c.A) : c.Refuse(L"JOIN " + c.A);
     }},
    {L"part",
     [](TMacroManager&, const TActionCall& c) { c.CommandWithSingle(L"PART " + c.T + L" :" + c.A, {&c.target}); }},
    {L"quit", [](TMacroManager&, const TActionCall& c) { c.Command(L"QUIT :" + c.A); }},
    {L"mode",
     [](TMacroManager&, const TActionCall& c) { c.CommandWithSingle(L"MODE " + c.T + L" " + c.A, {&c.target}); }},
    {L"nick", [](TMacroManager&, const TActionCall& c) { c.CommandWithSingle(L"NICK " + c.A, {&c.argument}); }},
    {L"topic",
     [](TMacroManager&, const TActionCall& c) { c.CommandWithSingle(L"TOPIC " + c.T + L" :" + c.A, {&c.target}); }},
    {L"kick",
     [](TMacroManager&, const TActionCall& c) { c.CommandWithSingle(L"KICK " + c.T + L" " + c.A, {&c.target}); }},
    {L"away", [](TMacroManager&, const TActionCall& c) { c.Command(L"AWAY :" + c.A); }},
    {L"invite",
     [](TMacroManager&, const TActionCall& c) { c.CommandWithSingle(L"INVITE " + c.T + L" :" + c.A, {&c.target}); }},
    {L"ctcpping", [](TMacroManager&, const TActionCall& c) { c.CommandWithSingle(L"CTCPPING " + c.T, {&c.target}); }},
    {L"ctcpquery",
     [](TMacroManager&,
        const TActionCall& c) { c.CommandWithSingle(L"CTCP " + c.A + L" " + c.T, {&c.argument, &c.target}); }},
    {L"ctcpreply",
     [](TMacroManager&, const TActionCall& c) { c.CommandWithSingle(L"CTCPREPLY " + c.T + L" :" + c.A, {&c.target}); }},
    {L"pushtoopqueue", [](TMacroManager&, const TActionCall& c) { c.listener.GiveOp(c.T, c.A); }},
    {L"giveop", [](TMacroManager&, const TActionCall& c) { c.listener.GiveOp(c.T, c.A); }},
    {L"showballoon", [](TMacroManager&, const TActionCall& c) { c.listener.ShowBalloon(c.T, c.A); }},
    {L"showbaloon", [](TMacroManager&, const TActionCall& c) { c.listener.ShowBalloon(c.T, c.A); }},
    {L"appendfile", [](TMacroManager& m, const TActionCall& c) { m.EditFile(c.target, c.A, true); }},
    {L"addtailline", [](TMacroManager& m, const TActionCall& c) { m.EditFile(c.target, c.A, true); }},
    {L"appendfiler", [](TMacroManager& m, const TActionCall& c) { m.EditFile(c.target, c.A, false); }},
    {L"addheadline", [](TMacroManager& m, const TActionCall& c) { m.EditFile(c.target, c.A, false); }},
    {L"deletefile", [](TMacroManager& m, const TActionCall& c) { m.DeleteFileNamed(c.argument); }},
    {L"sound", [](TMacroManager&, const TActionCall& c) { c.PlaySound(); }},
    {L"playsound", [](TMacroManager&, const TActionCall& c) { c.PlaySound(); }},
    {L"selectchannel", [](TMacroManager&, const TActionCall& c) { c.listener.SelectChannel(c.A); }},
    {L"channelcondition", [](TMacroManager&, const TActionCall& c) { c.listener.SetChannelCondition(c.T, c.A); }},
    {L"dllcall", [](TMacroManager& m, const TActionCall& c) { m.CallDll(c.target, c.A); }},
    {L"dllhook", [](TMacroManager& m, const TActionCall& c) { m.CallDllHook(c.target, c.A, c.fromUserMenu); }},
    {L"window", [](TMacroManager&, const TActionCall& c) { c.listener.WindowAction(c.A); }},
    {L"menu", [](TMacroManager&, const TActionCall& c) { c.listener.ExecuteMenu(c.A); }},
};

const TMacroManager::TAction* TMacroManager::FindAction(const CString& keyword)
{
    CString lower = AsciiLower(keyword);
    for (const TAction& action : kActions)
        if (lower == action.keyword)
            return &action;
    return nullptr;
}

void TMacroManager::RunAction(const TMacroItem* item, bool fromUserMenu)
{
    if (!item || !listener)
        return;
    TMarkedText target{item->target, {}}, argument{item->argument, {}};
    contextIsUsers = fromUserMenu;
    ExpandPercentVariables(target.text, &target.filled);
    ExpandText(argument.text, true, &argument.filled);
    contextIsUsers = false;
    if (const TAction* action = FindAction(item->action))
        action->run(*this, TActionCall{*listener, target, argument, target.text, argument.text, fromUserMenu});
}

void TMacroManager::ExecuteMenuItem(const TPopupItem& popupItem, const CString& nick)
{
    ResetEvent(nick);
    TMacroItem item;
    item.action = popupItem.action;
    item.target = popupItem.target;
    item.argument = popupItem.actionInfo;
    RunAction(&item, true);
}

void TMacroManager::EditFile(const TMarkedText& file, const CString& line, bool atEnd)
{
    CString path = ResolveFilePath(file.text, file.filled);
    CStringA bytes = ConvertToShiftJis(line);
    if (path.IsEmpty())
        return;
    if (atEnd)
        AppendLastLine(path, bytes, &crLfFiles);
    else
        InsertFirstLine(path, bytes);
}

void TMacroManager::DeleteFileNamed(const TMarkedText& file)
{
    CString path = ResolveFilePath(file.text, file.filled);
    if (!path.IsEmpty())
        ::DeleteFileW(path);
}

void TMacroManager::CallDll(const TMarkedText& dll, const CString& procedure)
{
    TUserLibrary library(ResolveFilePath(dll.text, dll.filled));
    if (auto call = library.Find<TDllProcedure>(procedure)) {
        TFolderSwitch folder(filesFolder);
        call();
    }
}

void TMacroManager::CallDllHook(const TMarkedText& dll, const CString& procedure, bool fromUserMenu)
{
    CString reply;
    {
        TUserLibrary library(ResolveFilePath(dll.text, dll.filled));
        auto call = library.Find<TDllHookProcedure>(procedure);
        if (!call)
            return;
        std::vector<char> buffer(kReplySize, 0);
        {
            TFolderSwitch folder(filesFolder);
            call(ConvertToShiftJis(event.nick), ConvertToShiftJis(event.user), ConvertToShiftJis(event.host),
                 ConvertToShiftJis(event.command), ConvertToShiftJis(channel), ConvertToShiftJis(eventText),
                 buffer.data());
        }
        buffer[kReplySize - 1] = 0; // a procedure that fills every byte still ends here
        reply = ReadReply(buffer.data());
    }
    if (reply.IsEmpty())
        return;
    ExpandPercentVariables(reply);
    listener->ExecuteCommand(reply, fromUserMenu, true);
}

bool TMacroManager::CallDllString(const TMarkedText& dll, const CString& procedure, const CString& text, CString& reply)
{
    typedef void(__cdecl * TStringProcedure)(const char* text, char* reply);
    TUserLibrary library(ResolveFilePath(dll.text, dll.filled));
    auto call = library.Find<TStringProcedure>(procedure);
    if (!call)
        return false;
    std::vector<char> buffer(kReplySize, 0);
    {
        TFolderSwitch folder(filesFolder);
        call(ConvertToShiftJis(text), buffer.data());
    }
    buffer[kReplySize - 1] = 0;
    reply = ReadReply(buffer.data());
    return true;
}
