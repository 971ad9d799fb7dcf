#pragma once
// The known public servers offered by the host boxes: "servers.txt" in the settings folder,
// seeded with the built-in list when missing.

#include "foundation/StringList.h"

// Appends the built-in lines: "host (network)" entries in groups, with "-" between the groups.
void GetDefaultServerList(TStringList& list);
// Reads "servers.txt" within bounds (the first kServerListBytes bytes, at most kServerListLines
// lines of at most kServerListLineLength characters, a TAB read as a blank and lines with other
// control characters skipped).
// Only a missing file is written, with the built-in lines; one that exists but cannot be read
// is left as it is and the built-in lines are offered.
void LoadServerList(const CString& settingsFolder, TStringList& list);

const int kServerListBytes = 256 * 1024;
const int kServerListLines = 2000;
const int kServerListLineLength = 256;
