#pragma once
// The channel list window and the keyword and URL history windows.

#define IDS_HISTORY_CLEAR_CAPTION 10140
#define IDS_HISTORY_CLEAR_CONFIRM 10141
#define IDS_CHANNEL_LIST_TITLE 10168
#define IDS_CHANNEL_LIST_NAME 10169
#define IDS_CHANNEL_LIST_USERS 10170
#define IDS_CHANNEL_LIST_TOPIC 10171
