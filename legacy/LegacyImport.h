#pragma once
// Helpers shared by the readers of the previous major version's files.

#include "classlib/String.h"

#include <map>

class TIniFile;

// A count key of the current section, bounded like every count of a settings file; the keys of
// the items are itemPrefix + index.
int ReadLegacyCount(const TIniFile& ini, const CString& key, const CString& itemPrefix);
// "!!name" drops one '!', a safe channel takes its short form, a masked channel its '%' alias.
CString NormalizeLegacyChannelName(const CString& name);
// The channel's own mode, else the old default entry, else the new channel default.
CString ChooseLegacyChannelMode(const std::map<CString, CString>& modes, const CString& name);
