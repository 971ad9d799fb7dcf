#pragma once
// The connection, interface and detail pages of the preference window.

#include "prefs/PreferencePage.h"

class TConnectionPage : public TPreferencePage {
public:
    TConnectionPage() : TPreferencePage(IDD_CONNECTION_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
    void UpdateControls() override;
};

class TInterfacePage : public TPreferencePage {
public:
    TInterfacePage() : TPreferencePage(IDD_INTERFACE_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
};

class TDetailPage : public TPreferencePage {
public:
    TDetailPage() : TPreferencePage(IDD_DETAIL_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
    void UpdateControls() override;
};
