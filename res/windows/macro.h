#pragma once

// The pick dialogs: one candidate text, one macro file of a folder, one sound file of a folder.
#define IDD_SELECT_DIALOG 279
#define IDD_SELECT_SOUND_DIALOG 280
#define IDD_SELECT_MACRO_DIALOG 281
#define IDC_SELECT_FOLDER 1152
#define IDC_SELECT_UPDATE 1264
#define IDC_SELECT_PLAY 1297
#define IDC_SELECT_LIST 1330

