#pragma once

// The notification-area icon: from Windows XP on, and the older set before it.
#define IDI_TRAY_NORMAL 178
#define IDI_TRAY_NEW_MESSAGE 263
#define IDI_TRAY_HIGHLIGHT 265
#define IDI_TRAY_NORMAL_OLD 262
#define IDI_TRAY_NEW_MESSAGE_OLD 264
#define IDI_TRAY_HIGHLIGHT_OLD 266

// The icon's popup menu; its commands go to the main window.
#define IDR_TRAY_POPUP 181
#define ID_PREFERENCES 32788
#define ID_TOGGLE_TRAY_ICON 32898
#define ID_TOGGLE_BALLOON 32931
#define ID_DCC_WINDOW 32827
#define ID_STOP_MACROS 32899
#define ID_EXIT_FROM_TRAY 32900
#define ID_RESTORE_FROM_TRAY 61728
