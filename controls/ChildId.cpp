#include "controls/ChildId.h"

namespace {
UINT g_lastChildId = 70000;
} // namespace

UINT GetNextChildId() { return ++g_lastChildId; }
