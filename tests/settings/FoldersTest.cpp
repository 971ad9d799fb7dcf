#include "settings/Config.h"

#include "foundation/Path.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class FoldersTest : public ::testing::Test {
protected:
    FoldersTest()
    {
        environment.programFilesFolder = temp.path + L"Programs";
        environment.programFolder = environment.programFilesFolder + L"\\Kv\\";
        environment.appDataFolder = temp.path + L"AppData";
        environment.windowsUserName = L"win?user*";
        environment.windowsVersionCode = 9;
        environment.setCurrentFolder = false;
        CreateFolderTree(environment.programFolder);
        CreateFolderTree(environment.appDataFolder + L"\\");
    }

    CString Program(const wchar_t* relative) const { return environment.programFolder + relative; }
    void MakeFile(const CString& path) const
    {
        CreateFolderTree(ExtractFolder(path));
        ASSERT_TRUE(WriteFileBytes(path, "x"));
    }
    void MakeFiles(std::initializer_list<const wchar_t*> relative) const
    {
        for (const wchar_t* path : relative)
            MakeFile(Program(path));
    }
    // Whether each path below the folder is there.
    void ExpectThere(const CString& folder, std::initializer_list<const wchar_t*> relative, bool there = true) const
    {
        for (const wchar_t* path : relative)
            EXPECT_EQ(there, PathExists(folder + path)) << Narrow(path);
    }
    void UseProgramFolderRoot() { environment.programFilesFolder = temp.path + L"Elsewhere"; }

    TTempFolder temp;
    TConfig::TFolderEnvironment environment;
    TConfig config;
};

} // namespace

TEST_F(FoldersTest, ProgramFolderRootSharesTheDefaultProfile)
{
    UseProgramFolderRoot();
    config.InitFolders(L"", environment);
    EXPECT_EQ(config.profileName, L"default");
    EXPECT_EQ(config.legacyProfileName, L"win_user_");
    EXPECT_EQ(config.GetUserFolder(), Program(L"users\\default\\"));
    EXPECT_EQ(config.GetSettingsFolder(), Program(L"users\\default\\settings\\"));
    EXPECT_EQ(config.GetSoundsFolder(), Program(L"users\\default\\macros\\sounds\\"));
    EXPECT_EQ(config.GetUserImageFolder(), Program(L"users\\default\\themes\\images\\"));
    EXPECT_EQ(config.GetProgramImageFolder(), Program(L"themes\\images\\"));
    EXPECT_EQ(config.legacyFolder, environment.programFolder);
    for (const CString& folder : {config.GetSettingsFolder(), config.GetFilesFolder(), config.GetSoundsFolder(),
                                  config.GetScriptFilesFolder(), config.GetUserImageFolder()})
        EXPECT_TRUE(PathExists(folder.Left(folder.GetLength() - 1))) << folder.GetString();
}

TEST_F(FoldersTest, ProfileNamesStayOneFolderBelowUsers)
{
    UseProgramFolderRoot();
    MakeFile(Program(L"multiuser.ini"));
    config.InitFolders(L"", environment);
    EXPECT_EQ(config.GetUserFolder(), Program(L"users\\win_user_\\"));
    for (const wchar_t* option : {L"..", L".", L"..\\..\\evil", L"a/../../b", L"c:\\x", L". ."}) {
        TConfig other;
        other.InitFolders(option, environment);
        CString profile = other.GetUserFolder().Mid(Program(L"users\\").GetLength());
        EXPECT_EQ(profile.Find(L'\\'), profile.GetLength() - 1) << profile.GetString();
        EXPECT_NE(profile.Trim(L"\\. "), L"") << option;
        EXPECT_EQ(other.legacyProfileName, other.profileName);
    }
    TConfig named;
    named.InitFolders(L"alice", environment);
    EXPECT_EQ(named.GetUserFolder(), Program(L"users\\alice\\"));
    // A drive-like name is still one plain folder, and one that can be made.
    TConfig drive;
    drive.InitFolders(L"c:", environment);
    EXPECT_EQ(drive.GetUserFolder(), Program(L"users\\c_\\"));
    EXPECT_EQ(drive.legacyProfileName, L"c_");
    EXPECT_TRUE(PathExists(Program(L"users\\c_\\settings")));
}

TEST_F(FoldersTest, NewWindowsUnderProgramFilesMovesOldFilesToAppData)
{
    MakeFiles({L"users\\bob\\config\\tree.ini", L"users\\bob\\theme\\image\\bg.png", L"users\\bob\\macro\\file\\m.txt",
               L"users\\bob\\macro\\sound\\s.wav", L"theme\\image\\logo.png", L"theme\\old.theme"});
    config.InitFolders(L"bob", environment);
    CString appRoot = environment.appDataFolder + L"\\Ketroval2\\";
    EXPECT_EQ(config.GetUserFolder(), appRoot);
    ExpectThere(appRoot,
                {L"settings\\tree.ini", L"themes\\images\\bg.png", L"macros\\files\\m.txt", L"macros\\sounds\\s.wav"});
    // The program's own themes are copied, not moved.
    ExpectThere(environment.programFolder, {L"themes\\images\\logo.png", L"themes\\old.theme", L"theme\\old.theme"});

    // A second start finds the new root and leaves the old profile alone.
    MakeFile(Program(L"users\\bob\\settings\\later.ini"));
    TConfig second;
    second.InitFolders(L"bob", environment);
    EXPECT_EQ(second.GetUserFolder(), appRoot);
    EXPECT_FALSE(PathExists(appRoot + L"settings\\later.ini"));
}

TEST_F(FoldersTest, AppDataNeedsVistaAndAnExactProgramFilesPrefix)
{
    environment.windowsVersionCode = 7;
    config.InitFolders(L"", environment);
    EXPECT_EQ(config.GetUserFolder(), Program(L"users\\default\\"));
    environment.windowsVersionCode = 8;
    environment.programFilesFolder.MakeUpper();
    TConfig otherCase;
    otherCase.InitFolders(L"", environment);
    EXPECT_EQ(otherCase.GetUserFolder(), Program(L"users\\default\\"));
    environment.programFilesFolder = temp.path + L"Programs";
    TConfig vista;
    vista.InitFolders(L"", environment);
    EXPECT_EQ(vista.GetUserFolder(), environment.appDataFolder + L"\\Ketroval2\\");
}

TEST_F(FoldersTest, OldProgramThemesMoveWithoutLosingLeftovers)
{
    UseProgramFolderRoot();
    MakeFiles(
        {L"theme\\a.theme", L"theme\\b.theme", L"themes\\b.theme", L"theme\\readme.txt", L"theme\\image\\pic.png"});
    config.InitFolders(L"", environment);
    ExpectThere(environment.programFolder, {L"themes\\a.theme", L"themes\\images\\pic.png"});
    // Not moved, so kept: the name taken at the target and the file that is no theme.
    ExpectThere(environment.programFolder, {L"theme\\b.theme", L"theme\\readme.txt"});
    ExpectThere(environment.programFolder, {L"theme\\a.theme", L"theme\\image"}, false);

    DeleteFileW(Program(L"theme\\b.theme"));
    DeleteFileW(Program(L"theme\\readme.txt"));
    MakeFile(Program(L"theme\\c.theme"));
    DeleteFolderTree(config.GetSettingsFolder());
    TConfig again;
    again.InitFolders(L"", environment);
    ExpectThere(environment.programFolder, {L"themes\\c.theme"});
    ExpectThere(environment.programFolder, {L"theme"}, false);
}

TEST_F(FoldersTest, OldFolderNamesAreRenamedWithoutOverwriting)
{
    UseProgramFolderRoot();
    const CString user = Program(L"users\\default\\");
    MakeFiles({L"users\\default\\config\\tree.ini", L"users\\default\\theme\\image\\bg.png",
               L"users\\default\\macro\\sound\\s.wav"});
    config.InitFolders(L"", environment);
    ExpectThere(user, {L"settings\\tree.ini", L"themes\\images\\bg.png", L"macros\\sounds\\s.wav"});
    ExpectThere(user, {L"config"}, false);

    MakeFile(user + L"config\\old.ini");
    TConfig again;
    again.InitFolders(L"", environment);
    ExpectThere(user, {L"config\\old.ini", L"settings\\tree.ini"});
}

TEST_F(FoldersTest, CurrentFolderBecomesTheProgramFolder)
{
    UseProgramFolderRoot();
    CString before = GetCurrentFolder();
    environment.setCurrentFolder = true;
    config.InitFolders(L"", environment);
    CString now = GetCurrentFolder();
    SetCurrentFolder(before);
    if (now.Right(1) != L"\\")
        now += L"\\";
    EXPECT_EQ(now.CompareNoCase(environment.programFolder), 0) << now.GetString();
}

TEST(Folders, SystemEnvironmentIsFilled)
{
    TConfig::TFolderEnvironment environment = TConfig::GetSystemFolderEnvironment();
    EXPECT_EQ(environment.programFolder, GetProgramFolder());
    EXPECT_FALSE(environment.windowsUserName.IsEmpty());
    EXPECT_GE(environment.windowsVersionCode, 7);
}
