#include "mainframe/FirstStartWizard.h"

#include "dialogs/InstallDialogs.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "ircproto/IRCNames.h"
#include "legacy/LegacyImport.h"
#include "res/strings/dialogs.h"
#include "settings/Config.h"

#include <cstdlib>

const wchar_t kLegacyDefaultFolder[] = L"C:\\Program Files\\Ketroval\\";

namespace {

// Busy public hosts whose servers listen on 6660 to 6666; spreading the new users over the
// ports spreads the load.
const wchar_t* const kSpreadPortHosts[] = {
    L"irc.ircnet.ne.jp",    L"irc.media.kyoto-u.ac.jp", L"irc.tokyo.wide.ad.jp",
    L"irc.nara.wide.ad.jp", L"irc.huie.hokudai.ac.jp",
};
const wchar_t* const kUtf8Networks[] = {L"Libera.Chat", L"OFTC"};

enum class TPage { Start, Server, Channel, Done };

} // namespace

TUnitConfig MakeWizardServer(const CString& nick, const CString& serverText, const std::vector<CString>& channels,
                             bool autoConnect, int random)
{
    TUnitConfig unit;
    unit.Name = nick;
    unit.Nick = nick;
    unit.Username = nick;
    unit.Username.MakeLower();
    MakeValidUserName(unit.Username);
    unit.Realname = nick;
    unit.Hostname = serverText;
    unit.AutoConnect = autoConnect;
    int open = serverText.Find(L'(');
    int close = open >= 0 ? serverText.Find(L')', open + 1) : -1;
    if (close > open + 1)
        unit.Name = serverText.Mid(open + 1, close - open - 1);
    for (const wchar_t* host : kSpreadPortHosts)
        if (serverText.Find(host) >= 0)
            unit.Port = 6660 + (random < 0 ? -random : random) % 7;
    for (const wchar_t* network : kUtf8Networks)
        if (serverText.Find(network) >= 0)
            unit.Codepage = 65001;
    for (const CString& name : channels) {
        TChannelConfig channel;
        channel.Name = name;
        unit.Channels.push_back(channel);
    }
    return unit;
}

TFirstStartWizard::TFirstStartWizard(TConfig& config, HWND owner, const CString& defaultLegacyFolder)
    : config(config), owner(owner), defaultLegacyFolder(defaultLegacyFolder)
{
}

bool TFirstStartWizard::HasLegacyIn(const CString& folder)
{
    config.SetLegacyFolder(folder);
    return HasLegacySettings(config);
}

void TFirstStartWizard::Import(const CString& folder)
{
    config.SetLegacyFolder(folder);
    if (int leftOut = ImportLegacySettings(config))
        ShowWarningMessage(owner, FormatStringResourceWithNumber(IDS_LEGACY_LEFT_OUT, leftOut),
                           LoadResourceString(IDS_LEGACY_CAPTION));
    imported = true;
}

bool TFirstStartWizard::Run()
{
    TInstallStartDialog start;
    TInstallServerDialog server;
    TInstallChannelDialog channel;
    start.legacyFound = HasLegacyIn(config.GetProgramFolder()) || HasLegacyIn(defaultLegacyFolder);

    TPage page = TPage::Start;
    while (page != TPage::Done) {
        if (page == TPage::Start) {
            if (start.DoModal() != IDOK || start.choice == TInstallChoice::Advanced)
                page = TPage::Done;
            else if (start.choice == TInstallChoice::Beginner)
                page = TPage::Server;
            else if (TakeOver())
                page = TPage::Done;
        } else if (page == TPage::Server) {
            if (server.DoModal() != IDOK)
                page = TPage::Done;
            else
                page = server.back ? TPage::Start : TPage::Channel;
        } else {
            if (channel.DoModal() != IDOK) {
                page = TPage::Done;
            } else if (channel.back) {
                page = TPage::Server;
            } else {
                config.world.Units.push_back(MakeWizardServer(server.nick, server.server, channel.channels,
                                                              channel.connectAtStartup, std::rand()));
                serverCreated = true;
                page = TPage::Done;
            }
        }
    }
    Finish();
    return imported;
}

bool TFirstStartWizard::TakeOver()
{
    if (HasLegacyIn(config.GetProgramFolder())) {
        Import(config.GetProgramFolder());
        return true;
    }
    if (HasLegacyIn(defaultLegacyFolder)) {
        TLoadLegacyDialog ask;
        ask.DoModal();
        if (ask.result == TLoadLegacyResult::TakeOver) {
            Import(defaultLegacyFolder);
            return true;
        }
        if (ask.result == TLoadLegacyResult::Back)
            return false;
    }
    return ChooseLegacyFolder();
}

bool TFirstStartWizard::ChooseLegacyFolder()
{
    for (;;) {
        TFolderDialog chooser(owner);
        chooser.SetTitle(LoadResourceString(IDS_LEGACY_FOLDER_TITLE));
        chooser.SetFolder(config.GetProgramFolder());
        if (chooser.DoModal() != IDOK)
            return false;
        CString folder = chooser.GetFolder();
        if (folder.Right(1) != L"\\")
            folder += L"\\";
        if (HasLegacyIn(folder)) {
            Import(folder);
            return true;
        }
        if (!ShowConfirmMessage(owner, LoadResourceString(IDS_LEGACY_NOT_FOUND),
                                LoadResourceString(IDS_LEGACY_CAPTION)))
            return false;
    }
}

// A file that was there before and that the wizard did not change is left as it was: a
// cancelled first start must not rewrite, and so lose what a loader did not understand in, a
// settings file put there by hand.
void TFirstStartWizard::Finish()
{
    CString folder = config.GetSettingsFolder();
    if (imported || !PathExists(folder + L"window.ini"))
        config.SaveWindowSettings();
    if (imported || serverCreated || !PathExists(folder + L"tree.ini"))
        config.SaveServerTree();
    // Always written: it marks the program set up, so the wizard never comes again.
    config.preference.Save(folder);
    if (imported || !PathExists(folder + L"view.ini"))
        config.view.Save(config);
}
