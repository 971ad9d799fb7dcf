#pragma once
// The behaviour pages: a nick in use, how URLs open and the auto-operator options; six more
// switches; and the reactions to joins, new talks, kicks and invitations.

#include "prefs/PreferencePage.h"

class TActionPage : public TPreferencePage {
public:
    TActionPage() : TPreferencePage(IDD_ACTION_PAGE) {}

    BEGIN_MSG_MAP(TActionPage)
        COMMAND_ID_HANDLER(IDC_ACT_BROWSE, BrowseApplication)
        CHAIN_MSG_MAP(TPreferencePage)
    END_MSG_MAP()

protected:
    void Exchange(TDialogExchange& io) override;
    void UpdateControls() override;

private:
    void BrowseApplication();
};

class TActionDetailPage : public TPreferencePage {
public:
    TActionDetailPage() : TPreferencePage(IDD_ACTION_DETAIL_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
};

class TEventPage : public TPreferencePage {
public:
    TEventPage() : TPreferencePage(IDD_EVENT_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
    void UpdateControls() override;
};
