#pragma once

// Edits one channel entry of a server: name, key, the mode and topic set at creation, switches.
#define IDD_CHANNEL_DIALOG 131
#define IDC_CHANNEL_NAME 1000
#define IDC_CHANNEL_PASSWORD 1001
#define IDC_CHANNEL_AUTO_JOIN 1002
#define IDC_CHANNEL_MODE 1003
#define IDC_CHANNEL_TOPIC 1004
#define IDC_CHANNEL_KEYWORD 1143
#define IDC_CHANNEL_UPDATE 1192
#define IDC_CHANNEL_CONSOLE 1193
#define IDC_CHANNEL_MODE_BUTTON 1225

// Edits the simple flags, the key and the user limit of a channel.
#define IDD_MODE_DIALOG 166
#define IDC_MODE_S 1135
#define IDC_MODE_P 1136
#define IDC_MODE_N 1137
#define IDC_MODE_T 1138
#define IDC_MODE_I 1139
#define IDC_MODE_M 1140
#define IDC_MODE_A 1141
#define IDC_MODE_R 1142
#define IDC_MODE_K 1143
#define IDC_MODE_KEY 1145
#define IDC_MODE_L 1146
#define IDC_MODE_LIMIT 1147
#define IDC_MODE_LIMIT_SPIN 1149

#define IDS_CHANNEL_ADD_TITLE 10054
#define IDS_CHANNEL_CREATE_TITLE 10055
#define IDS_CHANNEL_EDIT_TITLE 10056
#define IDS_CHANNEL_PROPERTIES_TITLE 10057
#define IDS_MODE_CREATION_TITLE 10208
#define IDS_MODE_CHANNEL_TITLE 10209
