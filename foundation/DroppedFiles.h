#pragma once
// Paths of files dropped from the shell, each read at its own length: long paths ("\\?\" names,
// deep folders) arrive whole instead of cut at MAX_PATH, which could name another file.

#include "classlib/String.h"

#include <shellapi.h>
#include <windows.h>

#include <vector>

std::vector<CString> ReadDroppedFiles(HDROP drop);
