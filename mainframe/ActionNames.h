#pragma once
// Action names of the main window's commands, read from the command table on first use.

#include "classlib/String.h"

// Only A to Z are lowered, so a name means the same under every locale.
CString LowerActionName(const CString& name);
// Exact match after lowering: no trimming, no prefixes. False for an unknown name.
bool LookupActionName(const CString& name, int& commandId);
