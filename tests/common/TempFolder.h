#pragma once
// A fresh folder under the system's temporary folder, removed with its contents at the end of
// the test, and whole-file helpers that bypass the code under test.

#include "classlib/String.h"

class TTempFolder {
  public:
    TTempFolder()
    {
        wchar_t base[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, base);
        for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; n++) {
            path.Format(L"%skv2test%08x\\", base, n);
            if (CreateDirectoryW(path, nullptr))
                break;
        }
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    ~TTempFolder() { Remove(path.Left(path.GetLength() - 1)); }

    CString File(const wchar_t* name) const { return path + name; }

    // Ends with a backslash.
    CString path;

  private:
    static void Remove(const CString& folder)
    {
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW(folder + L"\\*", &data);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                CString name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                CString full = folder + L"\\" + name;
                SetFileAttributesW(full, FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(full);
                else
                    DeleteFileW(full);
            } while (FindNextFileW(search, &data));
            FindClose(search);
        }
        RemoveDirectoryW(folder);
    }
};

inline bool WriteFileBytes(const CString& path, const CStringA& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = bytes.IsEmpty() || WriteFile(file, bytes.GetString(), (DWORD)bytes.GetLength(), &written, nullptr);
    CloseHandle(file);
    return ok && written == (DWORD)bytes.GetLength();
}

inline CStringA ReadFileBytes(const CString& path)
{
    CStringA bytes;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.Append(chunk, (int)got);
    CloseHandle(file);
    return bytes;
}

inline int CountFiles(const CString& folder)
{
    int count = 0;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(folder + L"*", &data);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            count++;
    while (FindNextFileW(search, &data));
    FindClose(search);
    return count;
}
