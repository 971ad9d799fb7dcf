#pragma once

// Confirmation of deleting a server or a channel
#define IDS_DELETE_SERVER_CAPTION 10008
#define IDS_DELETE_SERVER_CONFIRM 10009
#define IDS_DELETE_CHANNEL_CAPTION 10010
#define IDS_DELETE_CHANNEL_CONFIRM 10011

// Confirmation of clearing a log
#define IDS_CLEAR_LOG_CAPTION 10049
#define IDS_CLEAR_LOG_CONFIRM 10050

// Menu texts that follow the selection
#define IDS_MENU_DISCONNECT 10013
#define IDS_MENU_CANCEL_RECONNECT 10014
#define IDS_MENU_REGISTER_SELF 10028
#define IDS_MENU_REGISTER_GROUP 10029
#define IDS_MENU_PART_PROMPT 10046
#define IDS_MENU_CLOSE_TALK 10047
#define IDS_MENU_CLOSE_DCC_CHAT 10048

// Files dropped on the main window
#define IDS_DROP_SEND_TITLE 10025
#define IDS_DROP_SEND_PROMPT 10026
