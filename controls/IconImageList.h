#pragma once
// Image lists of 16 x 16 icons taken from the program's icon resources. Adding icons one by one
// draws each into the list separately, which costs milliseconds apiece at start-up; the icons'
// own pixels and masks are laid side by side in one strip and added in a single call instead.

#include "classlib/ToolBar.h"

#include <windows.h>

// Fills the list with the icons in order; an icon that cannot be found still takes its slot
// (with the system's application icon), so the indexes callers use stay right.
bool BuildIconImageList(CImageList& list, const UINT* iconIds, int count, HINSTANCE module = nullptr);
