#pragma once

// The detailed member list of one channel; its list view is made in code.
#define IDD_WHO_DIALOG 241
#define IDC_WHO_SAVE 1297
#define IDC_WHO_UPDATE 1178

// What a WHOIS told about one nick.
#define IDD_WHOIS_DIALOG 170
#define IDC_WHOIS_JOIN 1297
#define IDC_WHOIS_NICK 1012
#define IDC_WHOIS_USER 1013
#define IDC_WHOIS_REAL_NAME 1014
#define IDC_WHOIS_AWAY 1157
#define IDC_WHOIS_HOST 1169
#define IDC_WHOIS_ADDRESS 1170
#define IDC_WHOIS_CHANNELS 1172
#define IDC_WHOIS_SERVER 1173
#define IDC_WHOIS_IDLE 1175
#define IDC_WHOIS_LOGIN_TIME 1176
#define IDC_WHOIS_UPDATE 1178
#define IDC_WHOIS_TALK 1180

// The member list's popup, shared with the main window's member list.
#define IDR_MEMBER_POPUP 163
