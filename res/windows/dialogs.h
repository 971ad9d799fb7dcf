#pragma once

// Edits one list of masks: a channel's ban, exception, invite or reop list, or the ignore list.
#define IDD_MASK_DIALOG 169
#define IDC_MASK_EDIT 1152
#define IDC_MASK_LIST 1161
#define IDC_MASK_ADD 1163
#define IDC_MASK_OVERWRITE 1164
#define IDC_MASK_DELETE 1165
#define IDC_MASK_UPDATE 1166

// Changes the nick of one server and keeps the list of nicks to pick from.
#define IDD_NICK_DIALOG 155
#define IDC_NICK_CURRENT 1046
#define IDC_NICK_NEW 1047
#define IDC_NICK_UP 1212
#define IDC_NICK_DOWN 1213
#define IDC_NICK_ADD 1297
#define IDC_NICK_OVERWRITE 1298
#define IDC_NICK_DELETE 1324
#define IDC_NICK_AWAY 1329
#define IDC_NICK_LIST 1330

// Tells of an invitation to a channel.
#define IDD_INVITE_DIALOG 211
#define IDC_INVITE_NICK 1012
#define IDC_INVITE_TIME 1243
#define IDC_INVITE_CHANNEL 1284
