#include "foundation/Path.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

CString Fixed(void (*function)(CString&), const wchar_t* text)
{
    CString s = text;
    function(s);
    return s;
}

} // namespace

TEST(Path, SplitsIntoDriveFolderTitleAndExtension)
{
    EXPECT_EQ(ExtractFolder(L"D:\\a\\b\\c.txt"), L"D:\\a\\b\\");
    EXPECT_EQ(ExtractFileName(L"D:\\a/b\\c.txt"), L"c.txt");
    EXPECT_EQ(ExtractFileTitle(L"a.b.c"), L"a.b");
    EXPECT_EQ(ExtractFileExtension(L"dir.d\\noext"), L"");
    EXPECT_EQ(ExtractDrive(L"\\\\server\\share"), L"");
    CString folder = GetProgramFolder();
    EXPECT_EQ(folder.Right(1), L"\\");
    EXPECT_EQ(folder, ExtractFolder(GetProgramFilePath()));
    EXPECT_TRUE(PathExists(GetAppDataFolder())); // no trailing backslash on shell folders
}

TEST(Path, UnsafeCharactersAreReplaced)
{
    EXPECT_EQ(Fixed(ReplaceInvalidPathChars, L"D:\\logs\\x:y*z.txt"), L"D:\\logs\\x_y_z.txt");
    EXPECT_EQ(Fixed(ReplaceInvalidPathChars, L"a/b\\c\td|e"), L"a/b\\c_d_e");
    EXPECT_EQ(Fixed(ReplaceDoubleDots, L"a..b\\...x"), L"a_.b\\__.x");
    EXPECT_EQ(Fixed(TrimTrailingBackslashes, L"c:\\x\\\\"), L"c:\\x");
    for (const wchar_t* path : {L"\\\\server\\share", L"/x", L"d:/x", L"D:\\"})
        EXPECT_TRUE(IsAbsolutePath(path)) << path;
    for (const wchar_t* path : {L"D:", L"D:x", L"x\\y", L"", L"1:\\x"})
        EXPECT_FALSE(IsAbsolutePath(path)) << path;
}

TEST(Path, CreateFolderTreeMakesEveryMissingParent)
{
    TTempFolder temp;
    CString deep = temp.path + L"a\\b\\c";
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(PathExists(deep));
    EXPECT_FALSE(PathExists(deep + L"\\"));
    EXPECT_TRUE(CreateFolderTree(deep + L"\\"));
    EXPECT_FALSE(CreateFolderTree(L""));
    ASSERT_TRUE(WriteFileBytes(temp.File(L"file"), "x"));
    EXPECT_FALSE(CreateFolderTree(temp.path + L"file\\sub"));
}

TEST(Path, DeleteFolderTreeKeepsReadOnlyFilesAndTheirFolders)
{
    TTempFolder temp;
    CString root = temp.path + L"tree";
    ASSERT_TRUE(CreateFolderTree(root + L"\\keep\\deep") && CreateFolderTree(root + L"\\gone\\deep"));
    ASSERT_TRUE(WriteFileBytes(root + L"\\keep\\deep\\ro.txt", "x"));
    ASSERT_TRUE(WriteFileBytes(root + L"\\gone\\deep\\f.txt", "x"));
    SetFileAttributesW(root + L"\\keep\\deep\\ro.txt", FILE_ATTRIBUTE_READONLY);
    DeleteFolderTree(root + L"\\");
    EXPECT_TRUE(PathExists(root + L"\\keep\\deep\\ro.txt"));
    EXPECT_FALSE(PathExists(root + L"\\gone"));
}

TEST(Path, FindAndCopyFiles)
{
    TTempFolder temp;
    ASSERT_TRUE(CreateFolderTree(temp.path + L"src") && CreateFolderTree(temp.path + L"dst"));
    ASSERT_TRUE(WriteFileBytes(temp.path + L"src\\a.kmf", "new"));
    ASSERT_TRUE(WriteFileBytes(temp.path + L"src\\c.txt", "c"));
    ASSERT_TRUE(WriteFileBytes(temp.path + L"dst\\a.kmf", "old"));
    std::vector<CString> names = {L"stale"};
    FindFileNames(names, temp.path + L"src\\*");
    EXPECT_EQ(names.size(), 4u); // ".", ".." and the two files
    CopyFiles(temp.path + L"src\\", L"*.kmf", temp.path + L"dst\\");
    EXPECT_EQ(ReadFileBytes(temp.path + L"dst\\a.kmf"), "new");
    EXPECT_FALSE(PathExists(temp.path + L"dst\\c.txt"));
}
