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

    // The menu's tray icon and balloon switches changed their keys while the page was open: its
    // boxes follow, so its OK keeps the switch.
    void ShowTrayToggles();

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
