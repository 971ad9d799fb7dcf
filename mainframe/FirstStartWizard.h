#pragma once
// The first start: the pages that set up one server with its channels (the beginner's path),
// nothing (the advanced path), or a take-over of the previous version's settings. Everything
// happens in the settings in memory; the files are written once, at the end, and a file that
// was already there is rewritten only when the wizard changed what it holds.

#include "classlib/String.h"
#include "settings/ServerConfig.h"

#include <windows.h>

#include <vector>

class TConfig;

// The previous version's default install folder.
extern const wchar_t kLegacyDefaultFolder[];

// The server the beginner's path makes: named after the network in the server text's
// parentheses (else the nick), with a port of 6660 + random % 7 for the busy public hosts and
// UTF-8 for the networks that use it.
TUnitConfig MakeWizardServer(const CString& nick, const CString& serverText, const std::vector<CString>& channels,
                             bool autoConnect, int random);

class TFirstStartWizard {
public:
    TFirstStartWizard(TConfig& config, HWND owner, const CString& defaultLegacyFolder = kLegacyDefaultFolder);

    // Runs the pages and writes the settings; true when the previous version's settings were
    // taken over.
    bool Run();

private:
    bool HasLegacyIn(const CString& folder);
    void Import(const CString& folder);
    // true when imported; false goes back to the start page.
    bool TakeOver();
    bool ChooseLegacyFolder();
    void Finish();

    TConfig& config;
    HWND owner;
    CString defaultLegacyFolder;
    bool imported = false;
    bool serverCreated = false;
};
