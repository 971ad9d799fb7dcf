#pragma once
// The window, tray icon and user information pages of the preference window.

#include "prefs/PreferencePage.h"

class TWindowPage : public TPreferencePage {
public:
    TWindowPage() : TPreferencePage(IDD_WINDOW_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
    void Load() override;
    void Store() override;
    void UpdateControls() override;
};

class TTrayIconPage : public TPreferencePage {
public:
    TTrayIconPage() : TPreferencePage(IDD_TRAY_PAGE) {}

    // The menu's tray icon or balloon switch (IDC_TRAY_ENABLE or IDC_TRAY_BALLOON) changed its key
    // while the page was open: that box follows, so the page's OK keeps the switch. The other box
    // stays as the user left it, unconfirmed.
    void ShowTrayToggle(int box);

protected:
    void Exchange(TDialogExchange& io) override;
    void UpdateControls() override;
};

class TUserInfoPage : public TPreferencePage {
public:
    TUserInfoPage() : TPreferencePage(IDD_USER_INFO_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
    void UpdateControls() override;
};
