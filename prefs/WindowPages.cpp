#include "prefs/WindowPages.h"

#include "settings/Preference.h"

#include <commctrl.h>

void TWindowPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Check(IDC_WIN_SINGLE_INSTANCE, p.ForceSingleApplicationInstance);
    io.Check(IDC_WIN_SNAP, p.SnapWindow);
    io.Check(IDC_WIN_HOTKEY_ON, p.RestoreOnHotKey);
    io.Check(IDC_WIN_HIDE_ALL, p.HideAllWindowOnMinimize);
    io.Check(IDC_WIN_SERVER_ALL_LOG, p.ServerAllLog);
    io.Check(IDC_WIN_SERVER_UPDATE, p.ServerUpdate);
    io.Check(IDC_WIN_SERVER_KEYWORD, p.ServerKeyword);
    io.Check(IDC_WIN_TALK_ALL_LOG, p.TalkAllLog);
    io.Check(IDC_WIN_TALK_UPDATE, p.TalkUpdate);
    io.Check(IDC_WIN_TALK_KEYWORD, p.TalkKeyword);
    io.Check(IDC_WIN_CHAT_ALL_LOG, p.DCCChatAllLog);
    io.Check(IDC_WIN_CHAT_UPDATE, p.DCCChatUpdate);
    io.Check(IDC_WIN_CHAT_KEYWORD, p.DCCChatKeyword);
}

// The key as the hot-key control holds it: the key code low, its modifier flags high.
void TWindowPage::Load()
{
    ::SendMessageW(Item(IDC_WIN_HOTKEY), HKM_SETHOTKEY,
                   MAKEWORD(preference->RestoreHotKeyVCode & 0xFF, preference->RestoreHotKeyModifiers & 0xFF), 0);
}

void TWindowPage::Store()
{
    WORD hotKey = (WORD)::SendMessageW(Item(IDC_WIN_HOTKEY), HKM_GETHOTKEY, 0, 0);
    preference->RestoreHotKeyVCode = LOBYTE(hotKey);
    preference->RestoreHotKeyModifiers = HIBYTE(hotKey);
}

void TWindowPage::UpdateControls() { Enable({IDC_WIN_HOTKEY}, IsChecked(IDC_WIN_HOTKEY_ON)); }

void TTrayIconPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Check(IDC_TRAY_ENABLE, p.EnableTrayIcon);
    io.Check(IDC_TRAY_ONLY_MINIMIZED, p.ShowTrayIconOnMinimized);
    io.Check(IDC_TRAY_HIDE_TASKBAR, p.HideWindowOnMinimize);
    io.RadioValues({{IDC_TRAY_SINGLE_CLICK, true}, {IDC_TRAY_DOUBLE_CLICK, false}}, p.RestoreTrayIconOnSingleClick);
    io.Check(IDC_TRAY_BALLOON, p.EnableBaloon);
    io.Check(IDC_TRAY_BALLOON_INACTIVE, p.ShowBalloonOnInactive);
    io.Check(IDC_TRAY_BALLOON_ALL_LOG, p.BalloonFollowsAllLog);
    io.Check(IDC_TRAY_BALLOON_NO_NOTICE, p.IgnoreNoticeForBalloon);
}

void TTrayIconPage::ShowTrayToggle(int box)
{
    if (!m_hWnd || !preference)
        return;
    bool on = box == IDC_TRAY_ENABLE ? preference->EnableTrayIcon : preference->EnableBaloon;
    ::CheckDlgButton(m_hWnd, box, on ? BST_CHECKED : BST_UNCHECKED);
}

void TTrayIconPage::UpdateControls()
{
    bool tray = IsChecked(IDC_TRAY_ENABLE);
    Enable({IDC_TRAY_ONLY_MINIMIZED, IDC_TRAY_HIDE_TASKBAR, IDC_TRAY_SINGLE_CLICK, IDC_TRAY_DOUBLE_CLICK,
            IDC_TRAY_BALLOON},
           tray);
    Enable({IDC_TRAY_BALLOON_INACTIVE, IDC_TRAY_BALLOON_ALL_LOG, IDC_TRAY_BALLOON_NO_NOTICE},
           tray && IsChecked(IDC_TRAY_BALLOON));
}

void TUserInfoPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Radio({IDC_USER_WHO_AT_ONCE, IDC_USER_WHO_FAST, IDC_USER_WHO_SLOW, IDC_USER_WHO_NO_SEND}, p.WhoTiming);
    io.Check(IDC_USER_DETAIL_WHOIS, p.DetailWhois);
    io.Check(IDC_USER_LIMIT_WHOIS, p.LimitWhoisDialog);
    io.Spin(IDC_USER_WHOIS_MAX, p.WhoisDialogMax, 0, 1000000);
    io.Check(IDC_USER_AUTO_MASK, p.AutoMask);
    io.Check(IDC_USER_MASK_NICK, p.MaskWholeNick);
    io.Check(IDC_USER_MASK_USER, p.MaskWholeUsername);
    io.Check(IDC_USER_MASK_DIGITS, p.MaskAllAddressDigits);
    io.Check(IDC_USER_MASK_FIRST, p.MaskFirstAddressToken);
}

void TUserInfoPage::UpdateControls()
{
    Enable({IDC_USER_WHOIS_MAX, IDC_USER_WHOIS_MAX_SPIN}, IsChecked(IDC_USER_LIMIT_WHOIS));
    Enable({IDC_USER_MASK_NICK, IDC_USER_MASK_USER, IDC_USER_MASK_DIGITS, IDC_USER_MASK_FIRST},
           IsChecked(IDC_USER_AUTO_MASK));
}
