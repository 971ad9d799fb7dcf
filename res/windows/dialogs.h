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

// The program's own font chooser: family, character set, style and size with a sample.
#define IDD_FONT_DIALOG 218
#define IDC_FONT_FAMILY 1306
#define IDC_FONT_STYLE 1307
#define IDC_FONT_CHARSET 1308
#define IDC_FONT_SAMPLE 1309
#define IDC_FONT_SIZE 1381

// Picks a picture file from the user's and the common images folders, with a preview.
#define IDD_PICTURE_LIST_DIALOG 203
#define IDC_PICTURE_USER_FOLDER 1152
#define IDC_PICTURE_LIST 1263
#define IDC_PICTURE_UPDATE 1264
#define IDC_PICTURE_PREVIEW 1371
#define IDC_PICTURE_COMMON_FOLDER 1372
