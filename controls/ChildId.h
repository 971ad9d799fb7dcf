#pragma once
// Control ids of child windows made in code: one counter for the whole process, so panels,
// dialogs and the content panel never hand out the same id twice. The first id is 70001.

#include <windows.h>

UINT GetNextChildId();
