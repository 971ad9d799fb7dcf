#include "foundation/RunCommand.h"

#include <cstdio>

namespace {
struct TPipe {
    HANDLE ours = nullptr;  // kept by this process, not inheritable
    HANDLE child = nullptr; // inheritable end handed to the command

    ~TPipe()
    {
        Close(ours);
        Close(child);
    }
    static void Close(HANDLE& h)
    {
        if (h) {
            CloseHandle(h);
            h = nullptr;
        }
    }
    // childReads: the command reads this pipe (its standard input).
    bool Create(bool childReads)
    {
        SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, FALSE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
            return false;
        ours = childReads ? writeEnd : readEnd;
        child = childReads ? readEnd : writeEnd;
        return SetHandleInformation(child, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT) != 0;
    }
};

// Owned by the writer thread, so it may outlive the call when a child of the command
// keeps the input open without reading it.
struct TInputWriter {
    HANDLE pipe;
    CStringA input;
};

// A separate thread, so a command that prints much before reading its input cannot
// deadlock us; closing the pipe afterwards lets it see the end of its input.
DWORD WINAPI WriteInput(LPVOID param)
{
    TInputWriter* w = static_cast<TInputWriter*>(param);
    const char* p = w->input.GetString();
    int left = w->input.GetLength();
    while (left > 0) {
        DWORD written = 0;
        if (!WriteFile(w->pipe, p, (DWORD)left, &written, nullptr) || written == 0)
            break;
        p += written;
        left -= (int)written;
    }
    CloseHandle(w->pipe);
    delete w;
    return 0;
}

// Reads what is waiting without blocking; false once the writing side has gone.
bool ReadAvailable(HANDLE pipe, CStringA* out, bool* gotData)
{
    DWORD avail = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &avail, nullptr))
        return false;
    while (avail > 0) {
        char buf[1024];
        DWORD got = 0;
        DWORD want = avail < sizeof(buf) ? avail : sizeof(buf);
        if (!ReadFile(pipe, buf, want, &got, nullptr))
            return false;
        if (got == 0)
            break;
        *gotData = true;
        if (out)
            out->Append(buf, (int)got);
        avail -= got;
    }
    return true;
}
} // namespace

CStringA RunCommandCapturingOutput(const CStringA& commandLine, const CStringA& input)
{
    char diag[64];
    snprintf(diag, sizeof(diag), "locale ID: %d\n", (int)GetSystemDefaultLCID());
    OutputDebugStringA(diag);

    CStringA result;
    TPipe out, in, err;
    if (!out.Create(false) || !in.Create(true) || !err.Create(false))
        return result;

    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = in.child;
    si.hStdOutput = out.child;
    si.hStdError = err.child;
    PROCESS_INFORMATION pi = {};
    CStringA mutableLine = commandLine; // CreateProcessA may write into the command line
    BOOL started = CreateProcessA(nullptr, mutableLine.GetBuffer(), nullptr, nullptr, TRUE,
                                  CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si, &pi);
    mutableLine.ReleaseBuffer();
    TPipe::Close(in.child);
    TPipe::Close(out.child);
    TPipe::Close(err.child);
    if (!started)
        return result;
    CloseHandle(pi.hThread);

    TInputWriter* writer = new TInputWriter{in.ours, input};
    in.ours = nullptr; // the writer closes it
    if (HANDLE writerThread = CreateThread(nullptr, 0, &WriteInput, writer, 0, nullptr)) {
        CloseHandle(writerThread);
    } else {
        CloseHandle(writer->pipe);
        delete writer;
    }

    bool outOpen = true, errOpen = true;
    for (;;) {
        bool gotData = false;
        if (outOpen)
            outOpen = ReadAvailable(out.ours, &result, &gotData);
        if (errOpen)
            errOpen = ReadAvailable(err.ours, nullptr, &gotData);
        if (!outOpen && !errOpen)
            break;
        // A child of the command may keep the pipes open after the command itself has ended.
        if (!gotData && WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            // Whatever it wrote just before it ended.
            if (outOpen)
                ReadAvailable(out.ours, &result, &gotData);
            break;
        }
        if (!gotData)
            Sleep(5);
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    return result;
}
