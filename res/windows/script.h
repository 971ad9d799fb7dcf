#pragma once

// The script settings window: which scripts run for which server.
#define IDD_SCRIPT_SELECT 346
#define IDC_SCRIPT_LIST 1330
#define IDC_SCRIPT_SHOW_CONSOLE 1474
#define IDC_SCRIPT_OPEN_FOLDER 1297
#define IDC_SCRIPT_HINT 1370
