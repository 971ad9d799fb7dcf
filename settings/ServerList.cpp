#include "settings/ServerList.h"

#include "foundation/CodePage.h"
#include "foundation/File.h"

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

namespace {

// At most the first kServerListBytes bytes: a huge file is read in part, not at once.
bool ReadHead(const CString& path, CStringA& bytes)
{
    if (GetFileBytesSource() && GetFileBytesSource()->GetFileBytes(path, bytes)) {
        if (bytes.GetLength() > kServerListBytes)
            bytes = bytes.Left(kServerListBytes);
        return true;
    }
    TFile file;
    // Shared as the other lists are: an editor may hold the file open for writing meanwhile.
    if (!file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                   FILE_ATTRIBUTE_NORMAL))
        return false;
    char* buffer = bytes.GetBuffer(kServerListBytes);
    DWORD read = 0;
    BOOL ok = ::ReadFile(file.handle, buffer, kServerListBytes, &read, nullptr);
    bytes.ReleaseBuffer(ok ? (int)read : 0);
    return ok != FALSE;
}

bool HasControlCharacter(const CString& line)
{
    for (int i = 0; i < line.GetLength(); i++)
        if (line[i] < 0x20 || line[i] == 0x7F)
            return true;
    return false;
}

bool IsMissing(const CString& path)
{
    if (::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        return false;
    DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace

void LoadServerList(const CString& settingsFolder, TStringList& list)
{
    CString path = settingsFolder + L"servers.txt";
    CStringA bytes;
    if (!ReadHead(path, bytes)) {
        GetDefaultServerList(list);
        if (IsMissing(path))
            list.SaveToFile(path);
        return;
    }
    TTextFile file(CP_UTF8, true);
    file.OpenBytes(bytes);
    CStringA raw;
    while (list.GetCount() < kServerListLines && file.ReadRawLine(raw)) {
        CString line =
            ConvertFromUtf8(raw.GetLength() > kServerListLineLength * 4 ? raw.Left(kServerListLineLength * 4) : raw);
        if (list.GetCount() == 0 && line.GetLength() > 0 && line[0] == 0xFEFF)
            line = line.Mid(1);
        if (line.GetLength() > kServerListLineLength)
            line = line.Left(kServerListLineLength);
        // A hand-edited line may part host and network with a TAB.
        line.Replace(L'\t', L' ');
        // A binary file gives no host names worth offering.
        if (!HasControlCharacter(line))
            list.Add(line);
    }
}
