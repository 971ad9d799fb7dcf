#pragma once

// The channel list a server sends in answer to LIST.
#define IDD_LIST_DIALOG 242
#define IDR_LIST_POPUP 243
#define IDC_LIST_UPDATE 1178
#define IDC_LIST_JOIN 1297
#define IDC_LIST_WARNING 1370
#define ID_LIST_JOIN 32873
#define ID_LIST_MEMBER_INFO 32874
#define ID_LIST_DETAILED_MEMBER_INFO 32875

// The keyword and URL history windows.
#define IDD_HISTORY_DIALOG 196
#define IDC_HISTORY_CLEAR 1245
#define IDC_HISTORY_FIND 1246
#define IDC_HISTORY_NOTE 1370

// Searches a history window's lines.
#define IDD_FIND_DIALOG 182
#define IDC_FIND_TEXT 1152
#define IDC_FIND_FORWARD 1185
#define IDC_FIND_BACKWARD 1186
#define IDC_FIND_CASE 1190
#define IDC_FIND_RING 1191
