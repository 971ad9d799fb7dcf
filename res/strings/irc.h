#pragma once

#define IDS_USER_GROUP_NAME 10340
