#include "tests/common/ImportPatch.h"

#include <shellapi.h>

namespace {

TShellCallRecorder* recorder = nullptr;
TSoundRecorder* soundRecorder = nullptr;

CString Field(const wchar_t* text) { return text ? CString(text) : CString(L"-"); }

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                                    INT show)
{
    CString line;
    line.Format(L"shell %s %s [%s] [%s] [%s] %d", owner ? L"owner" : L"-", Field(verb).GetString(),
                Field(file).GetString(), Field(parameters).GetString(), Field(folder).GetString(), show);
    recorder->calls.push_back(line);
    return reinterpret_cast<HINSTANCE>(42); // above 32: success
}

BOOL WINAPI RecordCreateProcess(LPCWSTR, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                                LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION)
{
    recorder->calls.push_back(L"start " + Field(commandLine));
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

BOOL WINAPI RecordSound(LPCWSTR sound, HMODULE, DWORD flags)
{
    soundRecorder->sounds.push_back({sound ? CString(sound) : CString(), flags});
    return TRUE;
}

ULONG_PTR readOriginal = 0;
long long readLeft = 0;

BOOL WINAPI ReadCutShort(HANDLE file, LPVOID data, DWORD count, LPDWORD got, LPOVERLAPPED overlapped)
{
    if ((long long)count > readLeft)
        count = (DWORD)readLeft;
    BOOL read = reinterpret_cast<decltype(&::ReadFile)>(readOriginal)(file, data, count, got, overlapped);
    if (read && got)
        readLeft -= *got;
    return read;
}

} // namespace

ULONG_PTR ReplaceImport(const char* dll, const char* function, ULONG_PTR replacement)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); module->Name;
         module++) {
        if (_stricmp(reinterpret_cast<char*>(base + module->Name), dll) != 0 || !module->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* named = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<char*>(named->Name), function) != 0)
                continue;
            DWORD protection = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            ULONG_PTR previous = slots->u1.Function;
            slots->u1.Function = replacement;
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return previous;
        }
    }
    return 0;
}

TShellCallRecorder::TShellCallRecorder()
    : shellOriginal(ReplaceImport("shell32.dll", "ShellExecuteW", reinterpret_cast<ULONG_PTR>(&RecordShellExecute))),
      processOriginal(
          ReplaceImport("kernel32.dll", "CreateProcessW", reinterpret_cast<ULONG_PTR>(&RecordCreateProcess)))
{
    recorder = this;
}

TShellCallRecorder::~TShellCallRecorder()
{
    if (shellOriginal)
        ReplaceImport("shell32.dll", "ShellExecuteW", shellOriginal);
    if (processOriginal)
        ReplaceImport("kernel32.dll", "CreateProcessW", processOriginal);
    recorder = nullptr;
}

std::vector<CString> TShellCallRecorder::TakeCalls()
{
    std::vector<CString> taken;
    taken.swap(calls);
    return taken;
}

TSoundRecorder::TSoundRecorder()
    : original(ReplaceImport("winmm.dll", "PlaySoundW", reinterpret_cast<ULONG_PTR>(&RecordSound)))
{
    soundRecorder = this;
}

TSoundRecorder::~TSoundRecorder()
{
    if (original)
        ReplaceImport("winmm.dll", "PlaySoundW", original);
    soundRecorder = nullptr;
}

TFileCutShort::TFileCutShort(long long bytes)
    : original(ReplaceImport("kernel32.dll", "ReadFile", reinterpret_cast<ULONG_PTR>(&ReadCutShort)))
{
    readOriginal = original;
    readLeft = bytes;
}

TFileCutShort::~TFileCutShort()
{
    if (original)
        ReplaceImport("kernel32.dll", "ReadFile", original);
}
