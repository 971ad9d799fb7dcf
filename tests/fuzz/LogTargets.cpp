// Fuzz targets of the log text engine: a theme, new or old, read and put to use the way the
// preference window's samples and the unit's lines use it.

#include "legacy/LegacyView.h"
#include "log/LogFormatter.h"
#include "settings/Preference.h"
#include "settings/ViewSettings.h"
#include "tests/fuzz/SettingsScratch.h"

#include "ircproto/ReceiveMessage.h"

namespace {

void Check(const CString& text) { FuzzCheck(text.GetLength() <= kMaxFormattedLength, "formatted text too long"); }

// Every template of the record, with values as long as a server may send.
void UseFormats(const TLogFormat& format)
{
    static const CString kLong(L'v', 600);
    TIRCReceiveMessage msg;
    msg.nick = L"nick";
    msg.user = L"user";
    msg.host = L"host.example.jp";
    TLogFormatter f(format);
    Check(f.FormatTimeAt(1700000000));
    Check(f.FormatUnitPrefix(L"server"));
    Check(f.FormatChannelPrefix(L"#channel"));
    Check(f.FormatUnitChannelPrefix(L"server", L"#channel"));
    Check(f.FormatNickPrefix(L"nick"));
    Check(f.FormatJoin(msg, L"#channel"));
    Check(f.FormatPart(msg, L"#channel", kLong));
    Check(f.FormatNick(msg, L"other"));
    Check(f.FormatKick(msg, L"#channel", L"other", kLong));
    Check(f.FormatMode(msg, L"#channel", L"+o other"));
    Check(f.FormatQuit(msg, kLong));
    Check(f.FormatTopic(msg, L"#channel", kLong));
    Check(f.FormatCTCPReply(msg, L"VERSION", kLong));
    Check(f.FormatDCCSend(msg, L"file.txt", L"192.0.2.1", 5000, 1234567));
    Check(f.FormatDCCReceiveFail(L"nick", L"file.txt", L"192.0.2.1", 5000, 100, 50, 50, kLong));
    Check(f.FormatUnitTitle(L"nick", L"server", L"+i"));
    Check(f.FormatChannelTitle(L"nick", L"server", L"#channel", L"+i", L"+nt", kLong, 10, L"@"));
    Check(f.FormatTalkTitle(L"nick", L"server", L"other", L"+i"));
}

void FuzzTheme(const std::string& input)
{
    std::wstring path = FuzzFolder() + L"theme.ini";
    FeedFuzzFile(path, input);
    TViewSettings settings;
    settings.LoadFile(path.c_str());
    UseFormats(settings.formats);
}

void FuzzOldTheme(const std::string& input)
{
    std::wstring path = FuzzFolder() + L"theme.kvf";
    FeedFuzzFile(path, input);
    TViewSettings settings;
    TPreference preference;
    ImportLegacyViewFile(path.c_str(), settings, &preference);
    UseFormats(settings.formats);
}

std::vector<std::string> ThemeSeeds()
{
    TViewSettings view;
    view.SetDefaults();
    std::wstring path = FuzzFolder() + L"seed-theme.ini";
    SetFileBytesSource(nullptr);
    view.SaveFile(path.c_str());
    return {ReadFuzzFile(path), "[Format]\r\nJoin=%-20n%9999c\r\nTime=%H\x81\x40%M\r\nEnableTime=1\r\n",
            "[Format]\r\nMsgJoinFormat=%n %c\r\nTimeFormat=hh:nn\r\n"};
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> tokens = kIniTokens;
    for (const char* word : {"%9999n", "%m", "%%", "%H", "\xE3\x81\x82", "[Format]\r\n",
                             "Join=", "Time=", "ChannelTitle=", "EnableTime=1\r\n"})
        tokens.push_back(word);
    std::vector<TFuzzTarget> targets = {
        {"theme", FuzzTheme, ThemeSeeds, tokens, 32768},
        {"old_theme", FuzzOldTheme, ThemeSeeds, tokens, 32768},
    };
    return RunFuzzMain(argc, argv, targets);
}
