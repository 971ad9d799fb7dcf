#pragma once
// The known public servers offered by the host boxes: "servers.txt" in the settings folder,
// seeded with the built-in list when missing.

#include "foundation/StringList.h"

// Appends the built-in lines: "host (network)" entries in groups, with "-" between the groups.
void GetDefaultServerList(TStringList& list);
// Reads "servers.txt"; when it cannot be read, adds the built-in lines and writes them there.
void LoadServerList(const CString& settingsFolder, TStringList& list);
