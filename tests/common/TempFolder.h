#pragma once
// A fresh folder under the system's temporary folder, removed with its contents at the end of
// the test, and whole-file helpers that bypass the code under test.

#include "classlib/String.h"

#include <string>
#include <vector>

class TTempFolder {
public:
    TTempFolder()
    {
        wchar_t base[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, base);
        for (unsigned n = GetTickCount() ^ GetCurrentProcessId(); path.IsEmpty() || !CreateDirectoryW(path, nullptr);)
            path.Format(L"%skv2test%08x\\", base, n++);
    }
    // A fresh folder right under the parent whose name has that many letters and digits, for a
    // path that must stay short; empty when none could be made.
    TTempFolder(const CString& parent, int nameLength)
    {
        const wchar_t symbols[] = L"0123456789abcdefghijklmnopqrstuvwxyz";
        unsigned n = GetTickCount() ^ GetCurrentProcessId();
        for (int tries = 0; tries < 2000; tries++, n++) {
            CString name;
            for (unsigned rest = n, i = 0; i < (unsigned)nameLength; i++, rest /= 36)
                name += symbols[rest % 36];
            if (CreateDirectoryW(parent + name, nullptr)) {
                path = parent + name + L"\\";
                return;
            }
        }
    }
    ~TTempFolder()
    {
        if (!path.IsEmpty())
            Remove(path.Left(path.GetLength() - 1));
    }

    CString File(const wchar_t* name) const { return path + name; }

    CString path; // ends with a backslash

private:
    static void Remove(const CString& folder)
    {
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW(folder + L"\\*", &data);
        while (search != INVALID_HANDLE_VALUE) {
            CString full = folder + L"\\" + data.cFileName;
            SetFileAttributesW(full, FILE_ATTRIBUTE_NORMAL);
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(full);
            else if (data.cFileName[0] != L'.')
                Remove(full);
            if (!FindNextFileW(search, &data)) {
                FindClose(search);
                break;
            }
        }
        RemoveDirectoryW(folder);
    }
};

// The current folder moved to the path for as long as it lives, as every file chooser moves it.
class TCurrentFolderMoved {
public:
    explicit TCurrentFolderMoved(const CString& path)
    {
        wchar_t buffer[MAX_PATH + 1] = {};
        GetCurrentDirectoryW(MAX_PATH + 1, buffer);
        before = buffer;
        SetCurrentDirectoryW(path);
    }
    ~TCurrentFolderMoved() { SetCurrentDirectoryW(before); }
    TCurrentFolderMoved(const TCurrentFolderMoved&) = delete;
    TCurrentFolderMoved& operator=(const TCurrentFolderMoved&) = delete;

private:
    CString before;
};

inline bool WriteFileBytes(const CString& path, const CStringA& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE &&
              (bytes.IsEmpty() || WriteFile(file, bytes.GetString(), (DWORD)bytes.GetLength(), &written, nullptr));
    CloseHandle(file);
    return ok && written == (DWORD)bytes.GetLength();
}

inline CStringA ReadFileBytes(const CString& path)
{
    CStringA bytes;
    // Readable beside a writer that shares reading, as a log being written is; a test that polls a
    // settings file must not make the program's replacing save of it fail.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    char chunk[4096];
    DWORD got = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.Append(chunk, (int)got);
    CloseHandle(file);
    return bytes;
}

inline std::string ReadFileString(const CString& path)
{
    CStringA bytes = ReadFileBytes(path);
    return std::string(bytes.GetString(), (size_t)bytes.GetLength());
}

// Entries of the folder other than "." and "..", as a check that nothing was left behind.
inline int CountEntries(const CString& folder)
{
    int count = 0;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(folder + L"*", &data);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &data))
        count += wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0;
    FindClose(search);
    return count;
}

// The file's lines without their CR LF; a last line without one counts too.
inline std::vector<std::string> ReadFileLines(const CString& path)
{
    CStringA bytes = ReadFileBytes(path);
    std::string text(bytes.GetString(), (size_t)bytes.GetLength());
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}
