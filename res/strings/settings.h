#pragma once

#define IDS_VIEW_DEFAULT_FACE 10271
