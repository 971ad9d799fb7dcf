#pragma once
// The program's calls into system libraries seen without making them: an import of the test
// program pointed at a recorder for as long as the recorder lives.

#include "classlib/String.h"

#include <vector>

// Points this program's import of the function at the replacement and returns the one it
// pointed at, or 0 when the program does not import it.
ULONG_PTR ReplaceImport(const char* dll, const char* function, ULONG_PTR replacement);

// ShellExecuteW and CreateProcessW, each call as one line of text:
// "shell <owner|-> <verb|-> [file] [parameters] [folder] <show>" and "start <command line>".
// Neither starts anything while the recorder lives.
class TShellCallRecorder {
public:
    TShellCallRecorder();
    ~TShellCallRecorder();
    TShellCallRecorder(const TShellCallRecorder&) = delete;
    TShellCallRecorder& operator=(const TShellCallRecorder&) = delete;

    // False when the program does not call the system through these imports.
    bool IsHooked() const { return shellOriginal != 0 && processOriginal != 0; }
    std::vector<CString> TakeCalls();

    std::vector<CString> calls;

private:
    ULONG_PTR shellOriginal;
    ULONG_PTR processOriginal;
};

// PlaySoundW's calls, none of them played while the recorder lives.
struct TSoundCall {
    CString path;
    DWORD flags;
};

class TSoundRecorder {
public:
    TSoundRecorder();
    ~TSoundRecorder();
    TSoundRecorder(const TSoundRecorder&) = delete;
    TSoundRecorder& operator=(const TSoundRecorder&) = delete;

    // False when the program does not play through the system's PlaySoundW.
    bool IsHooked() const { return original != 0; }

    std::vector<TSoundCall> sounds;

private:
    ULONG_PTR original;
};

// ReadFile as on a file cut short while it is read: once this many more bytes came in, every read
// finds the end of the file, for as long as the cut lives.
class TFileCutShort {
public:
    explicit TFileCutShort(long long bytes);
    ~TFileCutShort();
    TFileCutShort(const TFileCutShort&) = delete;
    TFileCutShort& operator=(const TFileCutShort&) = delete;

    // False when the program does not read through the system's ReadFile.
    bool IsHooked() const { return original != 0; }

private:
    ULONG_PTR original;
};
