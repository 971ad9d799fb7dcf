// "preference.ini": the file as a whole, and the sections "Application" and "Connection".

#include "settings/Preference.h"

#include "foundation/Path.h"
#include "settings/IniExchange.h"

namespace {

const wchar_t PreferenceFileName[] = L"preference.ini";

CString FindDefaultLogFolder()
{
    CString folder = GetMyDocumentsFolder();
    if (folder.IsEmpty())
        folder = GetDesktopFolder();
    TrimTrailingBackslashes(folder);
    return folder + L"\\KetrovalLog\\";
}

} // namespace

// The shell's folders stay put while the program runs, and each look-up reads the registry:
// every preference block and every log file asks, so each is looked up once.
CString GetDefaultLogFolder()
{
    static const CString folder = FindDefaultLogFolder();
    return folder;
}

CString GetDefaultDCCFolder()
{
    static const CString folder = GetDesktopFolder();
    return folder;
}

TPreference::TPreference()
{
    TIniFile empty(false);
    TIniExchange io(empty);
    Exchange(io);
}

CString TPreference::GetFilePath(const CString& settingsFolder) { return settingsFolder + PreferenceFileName; }

void TPreference::Load(const CString& settingsFolder)
{
    LoadIniFile(
        GetFilePath(settingsFolder), [this](TIniExchange& io) { Exchange(io); }, &loadError);
}

bool TPreference::Save(const CString& settingsFolder) const
{
    if (IsUnreadableFileError(loadError))
        return false;
    // Writing only reads the members; one exchange function serves both directions.
    TPreference* self = const_cast<TPreference*>(this);
    return SaveIniFile(GetFilePath(settingsFolder), [self](TIniExchange& io) { self->Exchange(io); });
}

void TPreference::Exchange(TIniExchange& io)
{
    ExchangeApplication(io);
    ExchangeConnection(io);
    ExchangeEvent(io);
    ExchangeInterface(io);
    ExchangeAction(io);
    ExchangeWindow(io);
    ExchangeLayout(io);
    ExchangeKeyword(io);
    ExchangeUserGroup(io);
    ExchangeNickList(io);
    ExchangeLog(io);
    ExchangeSound(io);
    ExchangeDCC(io);
    ExchangeUserInfo(io);
    ExchangeDetail(io);
    ExchangeIson(io);
}

void TPreference::ExchangeApplication(TIniExchange& io)
{
    io.Section(L"Application");
    // A saved file always marks the program as set up, whatever the member holds.
    bool installed = io.IsLoading() ? false : true;
    io.Bool(L"Installed", io.IsLoading() ? Installed : installed, false);
}

void TPreference::ExchangeConnection(TIniExchange& io)
{
    io.Section(L"Connection");
    io.Bool(L"Reconnect", Reconnect, true);
    io.Int(L"ReconnectCount", ReconnectCount, 10);
    io.Int(L"ReconnectTime", ReconnectTime, 20);
    io.Bool(L"RetryOnHalt", RetryOnHalt, true);
    io.Int(L"RetryOnHaltTime", RetryOnHaltTime, 300);
    io.Bool(L"ForceAutoJoin", ForceAutoJoin, true);
    io.Bool(L"RestoreNickAndAwayOnReconnect", RestoreNickAndAwayOnReconnect, true);
    io.Int(L"IPResolveMethod", IPResolveMethod, 1);
    io.String(L"IPAddress", IPAddress, L"");
}
