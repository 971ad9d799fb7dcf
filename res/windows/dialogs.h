#pragma once

// Edits one list of masks: a channel's ban, exception, invite or reop list, or the ignore list.
#define IDD_MASK_DIALOG 169
#define IDC_MASK_EDIT 1152
#define IDC_MASK_LIST 1161
#define IDC_MASK_ADD 1163
#define IDC_MASK_OVERWRITE 1164
#define IDC_MASK_DELETE 1165
#define IDC_MASK_UPDATE 1166
