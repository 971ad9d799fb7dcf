#include "settings/ServerList.h"

namespace {

const wchar_t* const DefaultServers[] = {
    L"irc.libera.chat (Libera.Chat)",
    L"-",
    L"irc.ircnet.ne.jp (IRCnet)",
    L"irc.media.kyoto-u.ac.jp (IRCnet)",
    L"irc.tokyo.wide.ad.jp (IRCnet)",
    L"irc.nara.wide.ad.jp (IRCnet)",
    L"irc.huie.hokudai.ac.jp (IRCnet)",
    L"irc.mesh.ad.jp (IRCnet)",
    L"open.ircnet.net (IRCnet)",
    L"-",
    L"irc.oftc.net (OFTC)",
    L"irc.efnet.org (EFnet)",
    L"irc.undernet.org (Undernet)",
    L"irc.dal.net (DALnet)",
    L"irc.quakenet.org (QuakeNet)",
    L"irc.rizon.net (Rizon)",
    L"irc.gamesurge.net (GameSurge)",
};

} // namespace

void GetDefaultServerList(TStringList& list)
{
    for (const wchar_t* line : DefaultServers)
        list.Add(line);
}

void LoadServerList(const CString& settingsFolder, TStringList& list)
{
    CString path = settingsFolder + L"servers.txt";
    if (list.LoadFromFile(path))
        return;
    GetDefaultServerList(list);
    list.SaveToFile(path);
}
