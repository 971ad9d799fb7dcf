#pragma once
// Helpers shared by the readers of the previous major version's files.

#include "classlib/String.h"

#include <map>

class TIniFile;

// A damaged old file could claim billions of entries; no real one held more than this.
const int kMaxLegacyItems = 10000;

// A count key of the current section, clamped to 0..kMaxLegacyItems.
int ReadLegacyCount(const TIniFile& ini, const CString& key);
// "!!name" drops one '!', a safe channel takes its short form, a masked channel its '%' alias.
CString NormalizeLegacyChannelName(const CString& name);
// The channel's own mode, else the old default entry, else the new channel default.
CString ChooseLegacyChannelMode(const std::map<CString, CString>& modes, const CString& name);
