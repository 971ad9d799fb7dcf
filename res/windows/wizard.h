#pragma once

// The first start: three pages shown in turn, and the question whether to take over the
// previous version's settings found in its default folder.
#define IDD_INSTALL_START 334
#define IDD_INSTALL_SERVER 335
#define IDD_INSTALL_CHANNEL 336
#define IDI_INSTALL 337
#define IDD_LOAD_LEGACY 338
#define IDC_INSTALL_CHOICE 1237
#define IDC_INSTALL_CHOICE_ADVANCED 1238
#define IDC_INSTALL_CHOICE_LEGACY 1239
#define IDC_INSTALL_NICK 1012
#define IDC_INSTALL_SERVER 1381
#define IDC_INSTALL_BACK 1439
#define IDC_INSTALL_CHANNEL_EDIT 1152
#define IDC_INSTALL_CHANNEL_ADD 1297
#define IDC_INSTALL_CHANNEL_DELETE 1324
#define IDC_INSTALL_CHANNEL_LIST 1330
#define IDC_INSTALL_CONNECT 1436
#define IDC_LOAD_LEGACY_OTHER 5

// A server's own host and port with its alternative servers, in the order they are tried.
#define IDD_ALT_SERVERS 344
#define IDC_ALT_PORT 1008
#define IDC_ALT_PORT_SPIN 1010
#define IDC_ALT_HOST 1011
#define IDC_ALT_UP 1212
#define IDC_ALT_DOWN 1213
#define IDC_ALT_ADD 1297
#define IDC_ALT_OVERWRITE 1298
#define IDC_ALT_DELETE 1324
#define IDC_ALT_LIST 1330
