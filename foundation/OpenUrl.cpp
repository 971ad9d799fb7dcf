#include "foundation/OpenUrl.h"

#include <shellapi.h>

namespace {
void StartProgram(const CString& commandLine)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi = {};
    CString line = commandLine; // CreateProcessW may write into the command line
    // Not waited for; a failure to start has no fall-back.
    if (CreateProcessW(nullptr, line.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    line.ReleaseBuffer();
}

CString ReadRegisteredBrowserCommand()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return CString();
    CString command;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
        int chars = (int)(size / sizeof(wchar_t));
        wchar_t* buf = command.GetBuffer(chars + 1);
        DWORD got = size;
        if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf), &got) == ERROR_SUCCESS) {
            buf[got / sizeof(wchar_t) < (DWORD)chars ? got / sizeof(wchar_t) : chars] = 0;
            command.ReleaseBuffer();
        } else {
            command.ReleaseBuffer(0);
        }
    }
    RegCloseKey(key);
    return command;
}
} // namespace

CString QuoteCommandLineArgument(const CString& arg)
{
    CString out = L"\"";
    int backslashes = 0;
    for (int i = 0; i < arg.GetLength(); i++) {
        wchar_t c = arg[i];
        if (c == L'\\') {
            backslashes++;
            continue;
        }
        // Backslashes count as escapes only before a quote.
        int repeat = c == L'"' ? backslashes * 2 + 1 : backslashes;
        for (int k = 0; k < repeat; k++)
            out += L'\\';
        out += c;
        backslashes = 0;
    }
    for (int k = 0; k < backslashes * 2; k++)
        out += L'\\';
    out += L'"';
    return out;
}

CString BuildProgramCommandLine(const CString& programPath, const CString& url)
{
    CString program = programPath;
    int len = program.GetLength();
    if (!(len >= 2 && program[0] == L'"' && program[len - 1] == L'"'))
        program = L"\"" + program + L"\"";
    return program + L" " + QuoteCommandLineArgument(url);
}

CString ExtractBrowserProgram(const CString& command)
{
    if (!command.IsEmpty() && command[0] == L'"') {
        int close = command.Find(L'"', 1);
        return close < 0 ? command : command.Left(close + 1);
    }
    CString program = command;
    int lastBackslash = program.ReverseFind(L'\\');
    if (lastBackslash >= 0) {
        int blank = program.Find(L' ', lastBackslash);
        if (blank >= 0)
            program = program.Left(blank);
    }
    return L"\"" + program + L"\"";
}

void OpenWithShell(const CString& text) { ShellExecuteW(nullptr, L"open", text, nullptr, nullptr, SW_SHOW); }

void OpenWithProgram(const CString& programPath, const CString& url)
{
    if (programPath.IsEmpty()) {
        OpenWithShell(url);
        return;
    }
    StartProgram(BuildProgramCommandLine(programPath, url));
}

void OpenInNewBrowserWindow(const CString& url)
{
    CString command = ReadRegisteredBrowserCommand();
    if (command.IsEmpty()) {
        OpenWithShell(url);
        return;
    }
    StartProgram(ExtractBrowserProgram(command) + L" " + QuoteCommandLineArgument(url));
}

int ChooseUrlOpenMode(int mode, bool isUrl)
{
    if (isUrl && (mode == URL_OPEN_PROGRAM || mode == URL_OPEN_NEW_BROWSER_WINDOW))
        return mode;
    return URL_OPEN_SHELL;
}

void OpenUrl(const CString& programPath, const CString& text, int mode, bool isUrl)
{
    switch (ChooseUrlOpenMode(mode, isUrl)) {
    case URL_OPEN_PROGRAM:
        OpenWithProgram(programPath, text);
        break;
    case URL_OPEN_NEW_BROWSER_WINDOW:
        OpenInNewBrowserWindow(text);
        break;
    default:
        OpenWithShell(text);
        break;
    }
}
