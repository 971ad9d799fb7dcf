#pragma once
// TServerPropertyDialog: one server's record on six tabs. The creator copies the record into
// the working copy, runs the dialog modal and takes the working copy back after IDOK; pages never
// shown leave their part of it as it was.

#include "prefs/PropertyTabSheet.h"
#include "prefs/ServerChannelPage.h"
#include "prefs/ServerConnectionPage.h"
#include "prefs/ServerDetailPages.h"
#include "prefs/ServerFilePages.h"
#include "settings/ServerConfig.h"

class TConfig;

class TServerPropertyDialog : public TPropertyTabSheet {
public:
    explicit TServerPropertyDialog(CWnd* parent = nullptr);

    void SetTitle(const CString& value) { title = value; }
    // The folders the pages list (host list, macros, scripts) and the channel list's stored
    // column widths.
    void SetConfig(TConfig* config);

    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(TServerPropertyDialog)
        UPDATE_UI_HANDLER(IDOK, OnUpdateOK)
        CHAIN_MSG_MAP(TPropertyTabSheet)
    END_MSG_MAP()

    TUnitConfig unit;

    TServerConnectionPage connection;
    TServerDetailPage detail;
    TServerChannelPage channels;
    TScriptServerPage proxy;
    TServerMacroPage macros;
    TServerScriptPage scripts;

private:
    void OnUpdateOK(CCmdUI* ui);

    CString title;
};
