#pragma once

#define IDS_USER_GROUP_SELF 10339
