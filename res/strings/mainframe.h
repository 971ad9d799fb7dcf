#pragma once

#define IDS_OLE_INIT_FAILED 100
#define IDS_SOCKETS_INIT_FAILED 104
#define IDS_KEYWORD_HISTORY_TITLE 10003
#define IDS_URL_HISTORY_TITLE 10004
#define IDS_QUIT_CAPTION 10005
#define IDS_CONFIRM_QUIT 10006
#define IDS_QUIT_TRANSFERRING 10346
#define IDS_QUIT_RECEIVING 10347
#define IDS_QUIT_SENDING 10348
// The program cannot go on without its main window.
#define IDS_MAIN_WINDOW_FAILED 10400
// Settings files that are there but could not be read at the start; %s: a path and reason per file.
#define IDS_SETTINGS_UNREADABLE 10401
