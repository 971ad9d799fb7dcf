#pragma once
// String-table ids. The numbers are fixed: settings and scripts never see them, but every
// text is looked up by them.

#define IDS_FILTER_ALL_FILES 10023
#define IDS_FILTER_TEXT_FILES 10034
#define IDS_DCC_TRANSFER_COUNTS 10071
#define IDS_CONNECTING 10149
#define IDS_RECONNECTING 10150
