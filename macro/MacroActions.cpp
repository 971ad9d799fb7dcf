// The actions of macro rules and popup items: most go to the unit as commands or services; file
// edits and the user's DLLs are done here.

#include "macro/MacroManager.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"
#include "foundation/Path.h"
#include "foundation/StringList.h"
#include "settings/PopupFile.h"

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

// Logs kept by the macros only grow: the line goes on the end without reading the file, after a
// line end when the last line has none, as a rewrite of the whole list would write it.
void AppendLine(const CString& path, const CStringA& bytes)
{
    TFile file;
    if (path.IsEmpty() ||
        !file.Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL))
        return;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.handle, &size))
        return;
    CStringA out;
    if (size.QuadPart > 0) {
        char last = 0;
        DWORD read = 0;
        if (file.Seek(size.QuadPart - 1) < 0 || !::ReadFile(file.handle, &last, 1, &read, nullptr) || read != 1)
            return;
        if (last != '\n' && last != '\r')
            out = "\r\n";
    }
    out += bytes + "\r\n";
    if (file.Seek(0) != size.QuadPart)
        return;
    DWORD written = 0;
    if (::WriteFile(file.handle, out.GetString(), out.GetLength(), &written, nullptr) &&
        written == (DWORD)out.GetLength())
        return;
    // A short write is taken back, so the file never ends in half a line.
    if (::SetFilePointerEx(file.handle, size, nullptr, FILE_BEGIN))
        ::SetEndOfFile(file.handle);
}

} // namespace

void TMacroManager::RunAction(const TMacroItem* item, bool fromUserMenu)
{
    if (!item || !listener)
        return;
    CString keyword = AsciiLower(item->action);
    CString target = item->target;
    ExpandPercentVariables(target);
    CString argument = item->argument;
    ExpandText(argument, true);
    const CString& T = target;
    const CString& A = argument;
    auto command = [&](const CString& text) { listener->ExecuteCommand(text, fromUserMenu, false); };

    if (keyword == L"print")
        listener->Print(T, A);
    else if (keyword == L"exec" || keyword == L"execute")
        listener->Execute(A, false);
    else if (keyword == L"execmin" || keyword == L"executeminimize")
        listener->Execute(A, true);
    else if (keyword == L"openurl")
        listener->OpenUrl(A, T);
    else if (keyword == L"send")
        listener->ExecuteCommand(L"NOTICE " + T + L" :" + A, fromUserMenu, true);
    else if (keyword == L"raw")
        listener->ExecuteCommand(A, fromUserMenu, true);
    else if (keyword == L"action")
        command(L"ACTION " + T + L" :" + A);
    else if (keyword == L"join")
        command(L"JOIN " + A);
    else if (keyword == L"part")
        command(L"PART " + T + L" :" + A);
    else if (keyword == L"quit")
        command(L"QUIT :" + A);
    else if (keyword == L"mode")
        command(L"MODE " + T + L" " + A);
    else if (keyword == L"nick")
        command(L"NICK " + A);
    else if (keyword == L"topic")
        command(L"TOPIC " + T + L" :" + A);
    else if (keyword == L"kick")
        command(L"KICK " + T + L" " + A);
    else if (keyword == L"away")
        command(L"AWAY :" + A);
    else if (keyword == L"invite")
        command(L"INVITE " + T + L" :" + A);
    else if (keyword == L"ctcpping")
        command(L"CTCPPING " + T);
    else if (keyword == L"ctcpquery")
        command(L"CTCP " + A + L" " + T);
    else if (keyword == L"ctcpreply")
        command(L"CTCPREPLY " + T + L" :" + A);
    else if (keyword == L"pushtoopqueue" || keyword == L"giveop")
        listener->GiveOp(T, A);
    else if (keyword == L"showballoon" || keyword == L"showbaloon")
        listener->ShowBalloon(T, A);
    else if (keyword == L"appendfile" || keyword == L"addtailline")
        EditFile(T, A, true);
    else if (keyword == L"appendfiler" || keyword == L"addheadline")
        EditFile(T, A, false);
    else if (keyword == L"deletefile")
        DeleteFileNamed(A);
    else if (keyword == L"sound" || keyword == L"playsound")
        listener->PlaySound(A);
    else if (keyword == L"selectchannel")
        listener->SelectChannel(A);
    else if (keyword == L"channelcondition")
        listener->SetChannelCondition(T, A);
    else if (keyword == L"dllcall")
        CallDll(T, A);
    else if (keyword == L"dllhook")
        CallDllHook(T, A, fromUserMenu);
    else if (keyword == L"window")
        listener->WindowAction(A);
    else if (keyword == L"menu")
        listener->ExecuteMenu(A);
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

void TMacroManager::EditFile(const CString& name, const CString& line, bool atEnd)
{
    CStringA bytes = ConvertToShiftJis(line);
    if (atEnd) {
        AppendLine(ResolveFilePath(name), bytes);
        return;
    }
    CString path;
    TStringAList lines;
    if (!ReadLines(name, path, lines)) {
        // A missing file starts empty; one that is there but refused stays untouched.
        if (path.IsEmpty() || ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
            return;
        lines.items.clear();
    }
    lines.InsertFirst(bytes);
    lines.SaveToFile(path);
}

void TMacroManager::DeleteFileNamed(const CString& name)
{
    CString path = ResolveFilePath(name);
    if (!path.IsEmpty())
        ::DeleteFileW(path);
}

void TMacroManager::CallDll(const CString& name, const CString& procedure)
{
    TUserLibrary library(ResolveFilePath(name));
    if (auto call = library.Find<TDllProcedure>(procedure)) {
        TFolderSwitch folder(filesFolder);
        call();
    }
}

void TMacroManager::CallDllHook(const CString& name, const CString& procedure, bool fromUserMenu)
{
    CString reply;
    {
        TUserLibrary library(ResolveFilePath(name));
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

bool TMacroManager::CallDllString(const CString& name, const CString& procedure, const CString& text, CString& reply)
{
    typedef void(__cdecl * TStringProcedure)(const char* text, char* reply);
    TUserLibrary library(ResolveFilePath(name));
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
