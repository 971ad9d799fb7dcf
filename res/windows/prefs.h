#pragma once

// A sheet of settings pages on the tabs of a tab control.
#define IDD_PROPERTY_TAB_SHEET 343
#define IDC_PROPERTY_TAB 1296

// What a page says when a field cannot be taken as typed.
#define IDS_FIELD_REQUIRED 11300
#define IDS_NUMBER_OUT_OF_RANGE 11301
#define IDS_BLANK_OR_CONTROL_CHARACTER 11302
