// Fuzz targets of the protocol parsers: received lines, the 005 reply and MODE texts.

#include "ircproto/ISupport.h"
#include "ircproto/Modes.h"
#include "ircproto/ReceiveMessage.h"
#include "tests/fuzz/FuzzDriver.h"
#include "tests/fuzz/FuzzSeeds.h"

namespace {

void FuzzLine(const std::string& input)
{
    TIRCReceiveMessageA msg;
    msg.rawLine = CStringA(input.data(), (int)input.size());
    msg.Parse();
    FuzzCheck(msg.numeric >= 0, "negative numeric");
    FuzzCheck(!msg.command.IsEmpty() || msg.params.empty(), "parameters without a command");
}

void FuzzISupport(const std::string& input)
{
    std::wstring text = WideOf(input);
    TISupportInfo info;
    info.Parse(CString(text.c_str(), (int)text.size()));
    std::vector<TModeChange> changes;
    info.modes.ParseModeChanges(L"+ovbkl-lk nick nick mask key 10 key", changes);
}

// The 005 parameters, a NUL unit, then the MODE text read with them.
void FuzzMode(const std::string& input)
{
    std::wstring wide = WideOf(input);
    size_t split = wide.find(L'\0');
    TISupportInfo info;
    std::wstring modeText = wide;
    if (split != std::wstring::npos) {
        info.Parse(CString(wide.c_str(), (int)split));
        modeText = wide.substr(split + 1);
    }
    CString text(modeText.c_str(), (int)modeText.size());
    TChannelMode mode;
    mode.serverModes = &info.modes;
    std::vector<TModeChange> changes;
    mode.ApplyModeChange(text, changes);
    FuzzCheck(changes.size() <= (size_t)text.GetLength(), "more changes than letters");
    TChannelMode none;
    mode.BuildChangeString(none);
    none.BuildChangeString(mode);
    mode.ToString();
    TUserMode user;
    user.ApplyModeChange(text);
    user.ToString();
    int penalty = CountModePenalty(text);
    FuzzCheck(penalty >= 1 && penalty <= 10, "penalty out of range");
}

std::vector<std::string> LineSeeds()
{
    return {":nick!user@host.example.jp PRIVMSG #chan :hello there\r\n", "PING :irc.example.jp",
            ":irc.example.jp 005 me PREFIX=(ov)@+ CHANMODES=b,k,l,imnpst MODES=3 :are supported",
            ":n!u@h MODE #c +ov-b a b *!*@x", ":server 353 me = #c :@op +voice plain"};
}

std::vector<std::string> ISupportSeeds()
{
    return WideTokens({L"PREFIX=(qaohv)~&@%+ CHANMODES=beI,k,l,imnpstMRCNcTDS MODES=4 NICKLEN=30 CHANTYPES=#&",
                       L"PREFIX=(ov)@+ CHANMODES=b,k,l,imnpst MODES=3 NICKLEN=9 NETWORK=x"});
}

std::vector<std::string> ModeSeeds()
{
    std::vector<std::string> seeds;
    for (const std::wstring& pair : {std::wstring(L"PREFIX=(ov)@+ CHANMODES=b,k,l,imnpst\0+ovl-b a b 10 *!*@x", 55),
                                     std::wstring(L"\0+l -5", 6), std::wstring(L"+k-k+imnpst-l key key")})
        seeds.push_back(WideBytes(pair));
    return seeds;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<TFuzzTarget> targets = {
        {"irc_line", FuzzLine, LineSeeds, {" ", ":", "!", "@", "\r\n", " :", "005", "PRIVMSG"}, 16384},
        {"isupport", FuzzISupport, ISupportSeeds, WideTokens({L"PREFIX=", L"CHANMODES=", L"MODES=", L"(", L")", L","}),
         16384},
        {"mode", FuzzMode, ModeSeeds, WideTokens({L"+", L"-", L" ", L"l", L"k", L"o", L"b", L"99999999999"}), 16384},
    };
    return RunFuzzMain(argc, argv, targets);
}
