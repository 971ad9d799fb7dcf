#pragma once

// Shows several lines before they are sent, for editing, quoting or sending as notices.
#define IDD_PASTE_DIALOG 171
#define IDC_PASTE_TEXT 1152
#define IDC_PASTE_QUOTE 1179
#define IDC_PASTE_ADD_QUOTE 1180
#define IDC_PASTE_REMOVE_BLANK 1181
#define IDC_PASTE_NOTICE 1182
#define IDC_PASTE_QUOTE_LABEL 1183
#define IDS_SEND_MULTI_LINE_TITLE 10210
#define IDS_PASTE_FONT_FACE 10211

// The version and the credits of the program.
#define IDD_ABOUT_BOX 100
#define IDB_ABOUT_PRODUCT 339
#define IDC_ABOUT_CREDITS 1152
#define IDC_ABOUT_VERSION 1151
#define IDC_ABOUT_AUTHOR 1441
#define ID_APP_ABOUT 57664

// Reorders the servers and their channels.
#define IDD_TREE_DIALOG 198
#define IDC_TREE_UP 1212
#define IDC_TREE_DOWN 1213
#define IDC_TREE_VIEW 1220
