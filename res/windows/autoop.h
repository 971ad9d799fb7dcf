#pragma once

// Auto-op masks of the world, each server and each channel; the user groups' masks.
#define IDD_AUTO_OP_DIALOG 193
#define IDD_USER_GROUP_DIALOG 225
#define IDC_MASK_TREE 1220
#define IDC_GROUP_NAME 1000
#define IDI_USER_SELF 270
#define IDI_USER_GROUP 271
#define IDS_AUTO_OP_WORLD 10053
