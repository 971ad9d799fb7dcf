#pragma once
// Resource ids of the dialogs, menus and accelerators the tests build windows from.

#define IDD_TEST_COMMANDS 500
#define IDD_TEST_CONTROLS 501
#define IDR_TEST_FRAME 502

#define IDC_TEST_ENABLED 1001
#define IDC_TEST_DISABLED 1002
#define IDC_TEST_UNHANDLED 1003
#define IDC_TEST_CHECK 1004

#define IDC_C_CAPTION 1101
#define IDC_C_LABEL 1102
#define IDC_C_EDIT 1103
#define IDC_C_INPUT 1104
#define IDC_C_SEARCH 1105
#define IDC_C_NUMBER 1106
#define IDC_C_SPIN 1107
#define IDC_C_COLOR 1108
#define IDC_C_FONT 1109
#define IDC_C_LIST 1110
#define IDC_C_CHECKLIST 1111
#define IDC_C_LISTVIEW 1112
#define IDC_C_TREE 1113
#define IDC_C_PANELS 1114

#define ID_TEST_FIRST 40001
#define ID_TEST_SECOND 40002
#define ID_TEST_UNHANDLED 40003

#define IDD_TEST_PAGE_FIRST 503
#define IDD_TEST_PAGE_SECOND 504
#define IDC_P_NAME 1201
#define IDC_P_PORT 1202
#define IDC_P_PORT_SPIN 1203
#define IDC_P_FLAG 1204
#define IDC_P_LINES 1205
#define IDC_P_LEVEL 1206
#define IDC_P_LEVEL_SPIN 1207
#define IDC_P_FOUR 1208
#define IDC_P_FIVE 1209
#define IDC_P_CODE 1210
#define IDC_P_NICK 1211
