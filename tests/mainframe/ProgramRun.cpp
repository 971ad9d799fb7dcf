#include "tests/mainframe/ProgramRun.h"

#include "foundation/CodePage.h"
#include "tests/common/MessagePump.h"

TProgramRun::TProgramRun()
{
    program = folder.path + L"Ketroval2.exe";
    CString source = ConvertFromUtf8(KV_PROGRAM_PATH);
    source.Replace(L'/', L'\\');
    // The build path is a Unix one; Wine's Z: drive reaches it.
    if (source.GetLength() && source[0] == L'\\')
        source = L"Z:" + source;
    ::CopyFileW(source, program, FALSE);
    for (const wchar_t* sub : {L"users", L"users\\default", L"users\\default\\settings", L"logs"})
        ::CreateDirectoryW(folder.path + sub, nullptr);
}

TProgramRun::~TProgramRun() { KillAll(); }

void TProgramRun::WriteSettings(const wchar_t* name, const std::string& text, const wchar_t* profile)
{
    ::CreateDirectoryW(folder.path + L"users\\" + profile, nullptr);
    ::CreateDirectoryW(SettingsFolder(profile), nullptr);
    WriteFileBytes(SettingsFolder(profile) + name, CStringA(("Encoding=UTF-8\r\n" + text).c_str()));
}

std::string TProgramRun::ReadSettings(const wchar_t* name) const
{
    return std::string(ReadFileBytes(SettingsFolder() + name).GetString());
}

bool TProgramRun::Start(const wchar_t* arguments)
{
    CString commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    info = PROCESS_INFORMATION{};
    if (!::CreateProcessW(program, commandLine.GetBuffer(commandLine.GetLength() + 1), nullptr, nullptr, FALSE, 0,
                          nullptr, folder.path, &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    processes.push_back(info.hProcess);
    return true;
}

namespace {

struct TWindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param)
{
    TWindowSearch* search = (TWindowSearch*)param;
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[128] = {};
    ::GetClassNameW(window, name, 128);
    if (owner == search->process && wcsncmp(name, L"Ketroval2MainWindow ", 20) == 0 && ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct TTitleSearch {
    DWORD process;
    const CString* title;
    HWND found;
    int controlId;
    bool hiddenToo = false;
};

// By title, or with a title of null by a control's id.
BOOL CALLBACK FindTitledWindow(HWND window, LPARAM param)
{
    TTitleSearch* search = (TTitleSearch*)param;
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && (search->hiddenToo || ::IsWindowVisible(window)) &&
        (search->title ? WindowText(window) == *search->title : ::GetDlgItem(window, search->controlId) != nullptr)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct TChildSearch {
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param)
{
    TChildSearch* search = (TChildSearch*)param;
    wchar_t name[128] = {};
    ::GetClassNameW(window, name, 128);
    if (_wcsicmp(name, search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}

HWND WaitTitledWindow(TTitleSearch search, DWORD timeoutMs)
{
    PumpMessagesUntil(
        [&] {
            ::EnumWindows(FindTitledWindow, (LPARAM)&search);
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

} // namespace

HWND TProgramRun::WaitMainWindow(DWORD timeoutMs)
{
    TWindowSearch search = {info.dwProcessId, nullptr};
    PumpMessagesUntil(
        [&] {
            ::EnumWindows(FindMainWindow, (LPARAM)&search);
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

HWND TProgramRun::WaitWindow(const CString& title, DWORD timeoutMs)
{
    return WaitTitledWindow({info.dwProcessId, &title, nullptr, 0}, timeoutMs);
}

HWND TProgramRun::FindWindowTitled(const CString& title) const
{
    TTitleSearch search = {info.dwProcessId, &title, nullptr, 0, true};
    ::EnumWindows(FindTitledWindow, (LPARAM)&search);
    return search.found;
}

HWND TProgramRun::WaitDialogWith(int controlId, DWORD timeoutMs)
{
    return WaitTitledWindow({info.dwProcessId, nullptr, nullptr, controlId}, timeoutMs);
}

int TProgramRun::WaitExit(DWORD timeoutMs)
{
    bool ended = PumpMessagesUntil([&] { return ::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
    DWORD code = 0;
    if (!ended || !::GetExitCodeProcess(info.hProcess, &code))
        return -1;
    return (int)code;
}

void TProgramRun::KillAll()
{
    for (HANDLE process : processes) {
        if (::WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
            ::TerminateProcess(process, 99);
            ::WaitForSingleObject(process, 3000);
        }
        ::CloseHandle(process);
    }
    processes.clear();
}

std::vector<HWND> FindChildren(HWND parent, const wchar_t* className)
{
    TChildSearch search = {className, {}};
    ::EnumChildWindows(parent, CollectChild, (LPARAM)&search);
    return search.found;
}

CString WindowText(HWND window)
{
    wchar_t text[1024] = L"";
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, 3000, &copied);
    return text;
}
