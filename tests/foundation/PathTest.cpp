#include "foundation/Path.h"

#include "tests/common/TempFolder.h"

#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

CString Fixed(void (*function)(CString&), const wchar_t* text)
{
    CString s = text;
    function(s);
    return s;
}

bool Has(const std::vector<CString>& names, const wchar_t* name)
{
    return std::find(names.begin(), names.end(), CString(name)) != names.end();
}

} // namespace

TEST(Path, SplitsIntoDriveFolderTitleAndExtension)
{
    EXPECT_EQ(ExtractFolder(L"D:\\a\\b\\c.txt"), L"D:\\a\\b\\");
    EXPECT_EQ(ExtractDrive(L"D:\\a\\b\\c.txt"), L"D:");
    EXPECT_EQ(ExtractFileName(L"D:\\a\\b\\c.txt"), L"c.txt");
    EXPECT_EQ(ExtractFileTitle(L"a.b.c"), L"a.b");
    EXPECT_EQ(ExtractFileExtension(L"a.b.c"), L".c");
    EXPECT_EQ(ExtractFileExtension(L"x\\noext"), L"");
    EXPECT_EQ(ExtractFileExtension(L"dir.d\\noext"), L"");
    EXPECT_EQ(ExtractFolder(L"a/b\\c"), L"a/b\\");
    EXPECT_EQ(ExtractFolder(L"name"), L"");
    EXPECT_EQ(ExtractDrive(L"\\\\server\\share"), L"");
    CString drive, folder, title, extension;
    SplitPath(CString(L'x', 300), drive, folder, title, extension);
    EXPECT_TRUE(title.IsEmpty());
}

TEST(Path, ProgramAndShellFoldersEndAsDocumented)
{
    CString folder = GetProgramFolder();
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(folder[folder.GetLength() - 1], L'\\');
    EXPECT_EQ(ExtractFileExtension(GetProgramFilePath()).CompareNoCase(L".exe"), 0);
    CString appData = GetAppDataFolder();
    ASSERT_FALSE(appData.IsEmpty());
    EXPECT_NE(appData[appData.GetLength() - 1], L'\\');
    EXPECT_TRUE(PathExists(appData));
    EXPECT_TRUE(IsAbsolutePath(GetProgramFilesFolder()));
    EXPECT_TRUE(GetSpecialFolder(0x7FFF).IsEmpty());
}

TEST(Path, UnsafeCharactersAreReplaced)
{
    EXPECT_EQ(Fixed(ReplaceInvalidFileNameChars, L"#a/b:c"), L"#a_b_c");
    EXPECT_EQ(Fixed(ReplaceInvalidFileNameChars, L"<>\\*?|\"ok"), L"_______ok");
    EXPECT_EQ(Fixed(ReplaceInvalidPathChars, L"D:\\logs\\x:y*z.txt"), L"D:\\logs\\x_y_z.txt");
    EXPECT_EQ(Fixed(ReplaceInvalidPathChars, L"a/b\\c?"), L"a/b\\c_");
    EXPECT_EQ(Fixed(ReplaceDoubleDots, L"a..b"), L"a_.b");
    EXPECT_EQ(Fixed(ReplaceDoubleDots, L"...\\x"), L"__.\\x");
    EXPECT_EQ(Fixed(ReplaceDoubleDots, L"a.b"), L"a.b");
    EXPECT_EQ(Fixed(TrimTrailingBackslashes, L"c:\\x\\\\"), L"c:\\x");
    EXPECT_FALSE(IsValidFileName(L""));
    EXPECT_FALSE(IsValidFileName(L"a|b"));
    EXPECT_TRUE(IsValidFileName(L"#chan.txt"));
}

TEST(Path, AbsolutePaths)
{
    for (const wchar_t* path : {L"\\\\server\\share", L"/x", L"d:/x", L"D:\\"})
        EXPECT_TRUE(IsAbsolutePath(path)) << path;
    for (const wchar_t* path : {L"D:", L"D:x", L"x\\y", L"", L"1:\\x"})
        EXPECT_FALSE(IsAbsolutePath(path)) << path;
}

TEST(Path, CreateFolderTreeMakesEveryMissingParent)
{
    TTempFolder temp;
    CString deep = temp.path + L"a\\b\\c";
    EXPECT_FALSE(PathExists(deep));
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(PathExists(deep));
    EXPECT_FALSE(PathExists(deep + L"\\")); // a trailing backslash never matches
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(CreateFolderTree(deep + L"\\"));
    EXPECT_TRUE(CreateFolderTree(temp.path + L"x\\y\\"));
    EXPECT_TRUE(PathExists(temp.path + L"x\\y"));
    EXPECT_FALSE(CreateFolderTree(L""));
    ASSERT_TRUE(WriteFileBytes(temp.File(L"file"), "x"));
    EXPECT_FALSE(CreateFolderTree(temp.path + L"file\\sub"));
    EXPECT_FALSE(PathExists(CString(L'a', 300)));
}

TEST(Path, DeleteFolderTreeKeepsReadOnlyFilesAndTheirFolders)
{
    TTempFolder temp;
    CString root = temp.path + L"tree";
    ASSERT_TRUE(CreateFolderTree(root + L"\\keep\\deep"));
    ASSERT_TRUE(CreateFolderTree(root + L"\\gone\\deep"));
    ASSERT_TRUE(WriteFileBytes(root + L"\\keep\\deep\\ro.txt", "x"));
    ASSERT_TRUE(WriteFileBytes(root + L"\\gone\\deep\\f.txt", "x"));
    ASSERT_TRUE(WriteFileBytes(root + L"\\top.txt", "x"));
    SetFileAttributesW(root + L"\\keep\\deep\\ro.txt", FILE_ATTRIBUTE_READONLY);
    DeleteFolderTree(root + L"\\");
    EXPECT_TRUE(PathExists(root + L"\\keep\\deep\\ro.txt"));
    EXPECT_FALSE(PathExists(root + L"\\gone"));
    EXPECT_FALSE(PathExists(root + L"\\top.txt"));
    SetFileAttributesW(root + L"\\keep\\deep\\ro.txt", FILE_ATTRIBUTE_NORMAL);
    DeleteFolderTree(root);
    EXPECT_FALSE(PathExists(root));
    DeleteFolderTree(root); // missing: nothing happens
}

TEST(Path, FindAndCopyFiles)
{
    TTempFolder temp;
    ASSERT_TRUE(CreateFolderTree(temp.path + L"src"));
    ASSERT_TRUE(CreateFolderTree(temp.path + L"dst"));
    ASSERT_TRUE(WriteFileBytes(temp.path + L"src\\a.kmf", "new a"));
    ASSERT_TRUE(WriteFileBytes(temp.path + L"src\\b.kmf", "b"));
    ASSERT_TRUE(WriteFileBytes(temp.path + L"src\\c.txt", "c"));
    ASSERT_TRUE(WriteFileBytes(temp.path + L"dst\\a.kmf", "old a"));
    std::vector<CString> names = {L"stale"};
    FindFileNames(names, temp.path + L"src\\*");
    EXPECT_TRUE(Has(names, L".") && Has(names, L"..") && Has(names, L"c.txt"));
    EXPECT_FALSE(Has(names, L"stale"));
    FindFileNames(names, temp.path + L"src\\*.none");
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(PathExists(temp.path + L"src\\*.kmf"));

    CopyFiles(temp.path + L"src\\", L"*.kmf", temp.path + L"dst\\");
    EXPECT_EQ(ReadFileBytes(temp.path + L"dst\\a.kmf"), "new a");
    EXPECT_EQ(ReadFileBytes(temp.path + L"dst\\b.kmf"), "b");
    EXPECT_FALSE(PathExists(temp.path + L"dst\\c.txt"));
}

TEST(Path, CurrentFolderRoundTrip)
{
    TTempFolder temp;
    CString before = GetCurrentFolder();
    SetCurrentFolder(temp.path);
    CString now = GetCurrentFolder();
    SetCurrentFolder(before);
    EXPECT_EQ(now + L"\\", temp.path);
    EXPECT_EQ(GetCurrentFolder(), before);
}
