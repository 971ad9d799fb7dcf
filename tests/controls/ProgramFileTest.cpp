// The built program file: what it imports and the resources Windows reads before it runs.
#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

std::wstring ProgramPath()
{
    // Built on Linux, run by Wine: the host path is reached through drive Z:.
    std::string path = KV_PROGRAM_PATH;
    std::wstring wide = L"Z:";
    for (char c : path)
        wide += c == '/' ? L'\\' : (wchar_t)(unsigned char)c;
    return wide;
}

std::vector<unsigned char> ReadWholeFile(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return bytes;
    unsigned char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    fclose(file);
    return bytes;
}

// The names in the import directory, lower-cased; empty when the file is not a PE image.
std::set<std::string> ImportedDlls(const std::vector<unsigned char>& image)
{
    std::set<std::string> names;
    if (image.size() < sizeof(IMAGE_DOS_HEADER))
        return names;
    auto dos = (const IMAGE_DOS_HEADER*)image.data();
    // The program is built for the same architecture as this test.
    auto nt = (const IMAGE_NT_HEADERS*)(image.data() + dos->e_lfanew);
    auto sections = IMAGE_FIRST_SECTION(nt);
    auto toOffset = [&](DWORD rva) -> size_t {
        for (int i = 0; i < nt->FileHeader.NumberOfSections; i++) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    };
    DWORD importRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto d = (const IMAGE_IMPORT_DESCRIPTOR*)(image.data() + toOffset(importRva)); d->Name; d++) {
        std::string name((const char*)image.data() + toOffset(d->Name));
        for (char& c : name)
            c = (char)tolower((unsigned char)c);
        names.insert(name);
    }
    return names;
}

} // namespace

TEST(ProgramFile, ImportsSystemLibrariesOnly)
{
    std::set<std::string> dlls = ImportedDlls(ReadWholeFile(ProgramPath()));
    ASSERT_FALSE(dlls.empty());
    const std::set<std::string> system = {
        "kernel32.dll", "user32.dll",   "gdi32.dll",   "comctl32.dll", "msvcrt.dll",  "imm32.dll",
        "shell32.dll",  "advapi32.dll", "ole32.dll",   "oleaut32.dll", "ws2_32.dll",  "comdlg32.dll",
        "shlwapi.dll",  "winmm.dll",    "version.dll", "uxtheme.dll",  "crypt32.dll", "usp10.dll"};
    for (const std::string& dll : dlls)
        EXPECT_TRUE(system.count(dll)) << dll;
}

TEST(ProgramFile, CarriesTheCommonControlsSixManifestAndVersion)
{
    HMODULE program = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    std::string manifest((const char*)LockResource(LoadResource(program, found)), SizeofResource(program, found));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);

    wchar_t path[MAX_PATH];
    wcscpy(path, ProgramPath().c_str());
    DWORD size = GetFileVersionInfoSizeW(path, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> version(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, version.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", (void**)&fixed, &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 2u);
    EXPECT_TRUE(FindResourceW(program, MAKEINTRESOURCEW(128), MAKEINTRESOURCEW(14)))
        << "the main icon"; // RT_GROUP_ICON
    FreeLibrary(program);
}
