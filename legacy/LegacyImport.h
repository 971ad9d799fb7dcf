#pragma once
// The take-over of the previous major version's settings from config.legacyFolder, and the
// helpers its readers share. Nothing is saved; a step whose file is missing or unreadable
// changes nothing.

#include "classlib/String.h"

#include <map>

class TConfig;
class TIniFile;

bool HasLegacySettings(const TConfig& config);
// Returns the number of auto-op groups left out (ImportLegacyAutoOp).
int ImportLegacySettings(TConfig& config);
void ImportLegacyGeneral(TConfig& config);
// Appends servers every time it runs.
void ImportLegacyProfiles(TConfig& config);
// An old file can name thousands of channels for hundreds of servers: the channels and mask
// copies it makes are held to kMaxLegacyAutoOpRecords. Returns the groups left out for that.
int ImportLegacyAutoOp(TConfig& config);
const long long kMaxLegacyAutoOpRecords = 100000;
void ImportLegacyNicks(TConfig& config);
void ImportLegacyIgnore(TConfig& config);
void ImportLegacyView(TConfig& config);
void ImportLegacyMacrosAndSounds(TConfig& config);
void ImportLegacyImagesAndTemplates(TConfig& config);
// Whether an entry of an old folder's own listing is copied: a file, linked ones too (the copy
// takes the content), whose name is one safe part and not a built-in template when those stay.
bool IsLegacyFileToCopy(unsigned long attributes, const CString& name, bool skipBuiltInTemplates);
// legacyFolder + "Config\\" + legacyProfileName + suffix.
CString GetLegacyConfigPath(const TConfig& config, const wchar_t* suffix);

// A count key of the current section, bounded like every count of a settings file; the keys of
// the items are itemPrefix + index.
int ReadLegacyCount(const TIniFile& ini, const CString& key, const CString& itemPrefix);
// "!!name" drops one '!', a safe channel takes its short form, a masked channel its '%' alias.
CString NormalizeLegacyChannelName(const CString& name);
// The channel's own mode, else the old default entry, else the new channel default.
CString ChooseLegacyChannelMode(const std::map<CString, CString>& modes, const CString& name);
