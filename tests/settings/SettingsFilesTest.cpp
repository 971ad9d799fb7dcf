#include "settings/Config.h"
#include "settings/ServerList.h"

#include "foundation/CodePage.h"
#include "foundation/Path.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

TEST(ServerList, MissingFileIsSeededAndEmptyFileStaysEmpty)
{
    TTempFolder temp;
    TStringList list;
    LoadServerList(temp.path, list);
    ASSERT_EQ(list.GetCount(), 17);
    int separators = 0;
    for (const CString& line : list.items) {
        if (line == L"-") {
            separators++;
            continue;
        }
        EXPECT_EQ(line.Right(1), L")");
        EXPECT_GT(line.Find(L" ("), 0);
    }
    EXPECT_EQ(separators, 2);
    EXPECT_EQ(list.GetAt(1), L"-");
    EXPECT_EQ(list.GetAt(9), L"-");
    TStringList saved;
    ASSERT_TRUE(saved.LoadFromFile(temp.File(L"servers.txt")));
    EXPECT_EQ(saved.items, list.items);

    ASSERT_TRUE(WriteFileBytes(temp.File(L"servers.txt"), ""));
    TStringList empty;
    LoadServerList(temp.path, empty);
    EXPECT_EQ(empty.GetCount(), 0);
}

TEST(ServerList, DamagedFilesAreReadWithinBoundsAndNeverRewritten)
{
    TTempFolder temp;
    CString path = temp.File(L"servers.txt");
    CStringA manyLines;
    for (int i = 0; i < 50000; i++)
        manyLines += "irc.example.net (Net)\r\n";
    CStringA longLine(std::string(100000, 'x').c_str());
    CStringA binary;
    for (int i = 0; i < 70000; i++)
        binary += (char)((i * 7919) % 256);
    const struct {
        const char* name;
        CStringA bytes;
        int minLines;
        int maxLines;
    } cases[] = {
        {"a huge file gives the line bound", manyLines, kServerListLines, kServerListLines},
        {"an overlong line is cut", longLine + "\r\nnext.example\r\n", 2, 2},
        {"binary bytes give no control characters", binary, 0, kServerListLines},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        TStringList list;
        LoadServerList(temp.path, list);
        EXPECT_GE(list.GetCount(), c.minLines);
        EXPECT_LE(list.GetCount(), c.maxLines);
        for (const CString& line : list.items) {
            EXPECT_LE(line.GetLength(), kServerListLineLength);
            for (int i = 0; i < line.GetLength(); i++)
                ASSERT_GE(line[i], 0x20);
        }
        EXPECT_EQ(ReadFileBytes(path), c.bytes) << "the file is left as it was";
    }
}

TEST(PopupSettings, DefaultMenuOnlyWhenTheFileIsMissing)
{
    TTempFolder temp;
    TConfig config;
    config.settingsFolder = temp.path + L"settings\\";
    config.LoadPopupMenu();
    EXPECT_EQ(config.popup.items.size(), 9u);
    EXPECT_FALSE(PathExists(config.settingsFolder + L"popupmenu.kcf"));
    config.popup.Clear();
    ASSERT_TRUE(config.SavePopupMenu());
    config.LoadPopupMenu();
    EXPECT_TRUE(config.popup.items.empty());
}

// A settings file another program holds open: held for writing with sharing (an editor, a sync
// tool) it is read; held without read sharing it gives defaults, is named with the system's
// reason, and is not written over in this run even once it is free. A missing file is made.
// The server list, only ever read, offers its built-in lines without a word.
TEST(SettingsFiles, AFileHeldOpenElsewhereIsReadOrLeftAsItWas)
{
    TStringList servers;
    const struct {
        const wchar_t* name;
        const char* text;
        std::function<void(TConfig&)> load;
        std::function<bool(TConfig&)> save; // null: never written, made by the load when missing
        std::function<bool(const TConfig&)> read;
    } files[] = {
        {L"servers.txt", "own.example\r\n",
         [&](TConfig& c) {
             servers = TStringList();
             LoadServerList(c.settingsFolder, servers);
         },
         nullptr, [&](const TConfig&) { return servers.GetCount() == 1 && servers.GetAt(0) == L"own.example"; }},
        {L"preference.ini", "Encoding=UTF-8\r\n[Application]\r\nInstalled=true\r\n[Connection]\r\nReconnectCount=3\r\n",
         [](TConfig& c) { c.preference.Load(c.settingsFolder); },
         [](TConfig& c) { return c.preference.Save(c.settingsFolder); },
         [](const TConfig& c) { return c.preference.Installed && c.preference.ReconnectCount == 3; }},
        {L"tree.ini", "Encoding=UTF-8\r\n[World]\r\nUnit.Count=1\r\n[Unit.00]\r\nName=kept\r\n",
         [](TConfig& c) { c.LoadServerTree(); }, [](TConfig& c) { return c.SaveServerTree(); },
         [](const TConfig& c) { return c.world.Units.size() == 1 && c.world.Units[0].Name == L"kept"; }},
        {L"view.ini", "Encoding=UTF-8\r\n[LogText]\r\nLineFont.03.Color=ff0000\r\n", [](TConfig& c) { c.view.Load(c); },
         [](TConfig& c) { return c.view.Save(c); },
         [](const TConfig& c) { return c.view.settings.logText.lineFonts[3].color == 0xFF0000; }},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(Narrow(file.name));
        TTempFolder temp;
        TConfig config;
        config.settingsFolder = temp.path;
        const CString path = temp.File(file.name);
        ASSERT_TRUE(WriteFileBytes(path, file.text));
        auto hold = [&](DWORD share) {
            return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
        };

        HANDLE writer = hold(FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_NE(INVALID_HANDLE_VALUE, writer);
        file.load(config);
        CloseHandle(writer);
        EXPECT_TRUE(file.read(config)) << "beside a writer that shares";
        EXPECT_TRUE(config.GetUnreadableFiles().empty());

        HANDLE locker = hold(0);
        ASSERT_NE(INVALID_HANDLE_VALUE, locker);
        file.load(config);
        CloseHandle(locker);
        EXPECT_FALSE(file.read(config));
        std::vector<TConfig::TUnreadableFile> unreadable = config.GetUnreadableFiles();
        if (file.save) {
            ASSERT_EQ(1u, unreadable.size());
            EXPECT_EQ(path, unreadable[0].path);
            EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, unreadable[0].error);
            EXPECT_FALSE(file.save(config));
        } else {
            ASSERT_EQ(17, servers.GetCount()) << "the built-in lines";
            EXPECT_EQ(CString(L"irc.libera.chat (Libera.Chat)"), servers.GetAt(0));
        }
        EXPECT_EQ(file.text, ReadFileString(path));

        ASSERT_TRUE(DeleteFileW(path));
        file.load(config);
        EXPECT_TRUE(config.GetUnreadableFiles().empty());
        EXPECT_TRUE(!file.save || file.save(config));
        EXPECT_TRUE(PathExists(path));
    }
}

// A file saved as "UTF-8" by an editor that puts a byte-order mark first still names its
// encoding on line 0; its Japanese text is read whole. The program's own files and old
// Shift_JIS files without the line read as before. Every ini file has the one loader, pinned by
// its own tests; the popup menu file has a reader of its own.
TEST(SettingsFiles, JapaneseTextSurvivesAByteOrderMarkBeforeTheEncodingLine)
{
    const CStringA mark = "\xEF\xBB\xBF";
    const struct {
        const wchar_t* name;
        const wchar_t* head; // the encoding line and what comes before the Japanese value
        std::function<void(TConfig&)> load;
        std::function<CString(const TConfig&)> read;
    } files[] = {
        {L"preference.ini", L"Encoding=UTF-8\r\n[Interface]\r\nKickMessage=",
         [](TConfig& c) { c.preference.Load(c.settingsFolder); },
         [](const TConfig& c) { return c.preference.KickMessage; }},
        {L"popupmenu.kcf", L"#Encoding=UTF-8\r\n0\t", [](TConfig& c) { c.LoadPopupMenu(); },
         [](const TConfig& c) { return c.popup.items.empty() ? CString() : c.popup.items[0]->name; }},
    };
    const CString japanese = L"日本語の値";
    for (const auto& file : files) {
        SCOPED_TRACE(Narrow(file.name));
        TTempFolder temp;
        const CString text = file.head + japanese + L"\r\n";
        const CString withoutLine = text.Mid(text.Find(L'\n') + 1);
        const struct {
            const char* what;
            CStringA bytes;
        } forms[] = {
            {"a mark before the encoding line", mark + ConvertToUtf8(text)},
            {"the program's own form", ConvertToUtf8(text)},
            {"an old Shift_JIS file", ConvertToShiftJis(withoutLine)},
        };
        for (const auto& form : forms) {
            SCOPED_TRACE(form.what);
            TConfig config;
            config.settingsFolder = temp.path;
            ASSERT_TRUE(WriteFileBytes(temp.File(file.name), form.bytes));
            file.load(config);
            EXPECT_EQ(file.read(config), japanese);
        }
    }
}
