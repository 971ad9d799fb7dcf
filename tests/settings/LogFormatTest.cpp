#include "settings/LogFormat.h"
#include "settings/IniExchange.h"

#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The "key=value" lines of the file after its "[Format]" header.
std::vector<std::string> FormatLines(const CString& path)
{
    CStringA bytes = ReadFileBytes(path);
    std::string text(bytes.GetString(), (size_t)bytes.GetLength());
    size_t start = text.find("[Format]\r\n\r\n");
    std::vector<std::string> lines;
    if (start == std::string::npos)
        return lines;
    for (size_t pos = start + 12; pos < text.size();) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

class LogFormatTest : public ::testing::Test {
protected:
    void Save(TLogFormat format)
    {
        ASSERT_TRUE(SaveIniFile(path, [&](TIniExchange& io) { format.Exchange(io); }));
    }
    void Load(const std::string& section, TLogFormat& format)
    {
        ASSERT_TRUE(WriteFileBytes(path, CStringA(("Encoding=UTF-8\r\n[Format]\r\n" + section).c_str())));
        ASSERT_TRUE(LoadIniFile(path, [&](TIniExchange& io) { format.Exchange(io); }));
    }

    TTempFolder temp;
    CString path = temp.File(L"view.ini");
};

TEST_F(LogFormatTest, DefaultsAreSavedAsAllNinetySixKeysInStoredOrder)
{
    TLogFormat format;
    format.SetDefaults();
    Save(format);
    std::vector<std::string> lines = FormatLines(path);
    ASSERT_EQ(lines.size(), 96u);
    EXPECT_EQ(lines[0], "UnitTitle=(%n)[%u] %s");
    EXPECT_EQ(lines[1], "ChannelTitle=(%n) %@%c(%x\xE4\xBA\xBA)[%m] %t"); // 人
    EXPECT_EQ(lines[3], "DCCChatTitle=(%n) %c");
    EXPECT_EQ(lines[4], "EnableTime=true");
    EXPECT_EQ(lines[5], "Time=%H:%M ");
    EXPECT_EQ(lines[6], "UnitChannel=<%s:%c> ");
    EXPECT_EQ(lines[7], "Unit=<%s> ");
    EXPECT_EQ(lines[8], "Channel=<%c> ");
    EXPECT_EQ(lines[10], "EnableChannelInChannelLog=false");
    EXPECT_EQ(lines[11], "EnablePrivmsgConsole=true");
    EXPECT_EQ(lines[12], "EnableNoticeChannel=true");
    EXPECT_EQ(lines[13], "EnableNoticeConsole=true");
    EXPECT_EQ(lines[32], "EnableInviteingConsole=true");
    EXPECT_EQ(lines[33], "EnableInviteingChannel=true");
    EXPECT_EQ(lines[69], "EnableDCCReceiveFailChannel=true");
    EXPECT_EQ(lines[70], "Join=*%n join %c (%u@%h)");
    EXPECT_EQ(lines[72], "Nick=*nick %n \xE2\x86\x92 %t"); // →
    EXPECT_EQ(lines[77], "Inviting=*inviting %n to %c");
    EXPECT_EQ(lines[95], "DCCReceiveFail=*\xE5\x8F\x97\xE4\xBF\xA1\xE5\xA4\xB1\xE6\x95\x97 %f from %n : %m");
    int switches = 0, on = 0;
    for (const std::string& line : lines) {
        bool isSwitch = line.compare(0, 6, "Enable") == 0;
        switches += isSwitch;
        on += isSwitch && line.substr(line.size() - 5) == "=true";
    }
    EXPECT_EQ(switches, 61);
    EXPECT_EQ(on, 60);
}

TEST_F(LogFormatTest, EveryKeyRoundTripsThroughTheFile)
{
    TLogFormat defaults;
    defaults.SetDefaults();
    Save(defaults);
    // Give every key a value of its own: templates a numbered text, switches the opposite.
    std::string changed;
    std::vector<std::string> expected;
    int n = 0;
    for (const std::string& line : FormatLines(path)) {
        std::string key = line.substr(0, line.find('='));
        std::string value = line.substr(line.find('=') + 1);
        if (value == "true" || value == "false")
            value = value == "true" ? "false" : "true";
        else
            value = " v" + std::to_string(n++) + " %n ";
        expected.push_back(key + "=" + value);
        changed += key + "=" + value + "\r\n";
    }
    TLogFormat format;
    format.SetDefaults();
    Load(changed, format);
    EXPECT_FALSE(format.EnableTime);
    EXPECT_TRUE(format.EnableChannelInChannelLog);
    EXPECT_EQ(format.Time, L" v4 %n ");
    TLogFormat copy = format;
    Save(copy);
    EXPECT_EQ(FormatLines(path), expected);
}

TEST_F(LogFormatTest, MissingAndMalformedValuesKeepTheField)
{
    TLogFormat format;
    format.SetDefaults();
    format.Join = L"before";
    Load("EnableTime=0\r\nEnableNoticeConsole=TRUE\r\nEnableNoticeChannel=off\r\nEnableErrorChannel=false\r\n"
         "EnableActionChannel=1\r\nPreNick=\r\nTime=[%H] \r\nEnablePrivmsgChannel=false\r\n",
         format);
    EXPECT_FALSE(format.EnableTime);
    EXPECT_TRUE(format.EnableNoticeConsole);
    EXPECT_TRUE(format.EnableNoticeChannel);
    EXPECT_FALSE(format.EnableErrorChannel);
    EXPECT_TRUE(format.EnableActionChannel);
    EXPECT_EQ(format.PreNick, L"");
    EXPECT_EQ(format.Time, L"[%H] ");
    EXPECT_EQ(format.Join, L"before");
    EXPECT_EQ(format.Part, L"*%n part (%m)");
    Save(format);
    std::vector<std::string> lines = FormatLines(path);
    EXPECT_EQ(lines.size(), 96u);
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("EnablePrivmsgChannel"), std::string::npos);
}

} // namespace
