#pragma once
// The log file page: the root folder, which logs are written under which file names, forced
// flushing and the encoding of the files.

#include "prefs/PreferencePage.h"

class TLogPage : public TPreferencePage {
public:
    TLogPage() : TPreferencePage(IDD_LOG_PAGE) {}

    BEGIN_MSG_MAP(TLogPage)
        COMMAND_ID_HANDLER(IDC_LOG_BROWSE, BrowseFolder)
        CHAIN_MSG_MAP(TPreferencePage)
    END_MSG_MAP()

protected:
    void Exchange(TDialogExchange& io) override;
    void Store() override;
    void UpdateControls() override;

private:
    bool AnyLogOn() const;
    void BrowseFolder();
};
