#pragma once

// Asks whether to take a DCC chat someone offered.
#define IDD_DCC_CHAT_DIALOG 195
#define IDC_DCC_CHAT_NICK 1152
#define IDC_DCC_CHAT_TIME 1243
#define IDC_DCC_CHAT_ADDRESS 1244
