#pragma once
// The take-over of the previous major version's settings from config.legacyFolder, and the
// helpers its readers share. Nothing is saved; a step whose file is missing or unreadable
// changes nothing.

#include "classlib/String.h"

#include <map>

class TConfig;
class TIniFile;

bool HasLegacySettings(const TConfig& config);
void ImportLegacySettings(TConfig& config);
void ImportLegacyGeneral(TConfig& config);
// Appends servers every time it runs.
void ImportLegacyProfiles(TConfig& config);
void ImportLegacyAutoOp(TConfig& config);
void ImportLegacyNicks(TConfig& config);
void ImportLegacyIgnore(TConfig& config);
void ImportLegacyView(TConfig& config);
void ImportLegacyMacrosAndSounds(TConfig& config);
void ImportLegacyImagesAndTemplates(TConfig& config);
// legacyFolder + "Config\\" + legacyProfileName + suffix.
CString GetLegacyConfigPath(const TConfig& config, const wchar_t* suffix);

// A count key of the current section, bounded like every count of a settings file; the keys of
// the items are itemPrefix + index.
int ReadLegacyCount(const TIniFile& ini, const CString& key, const CString& itemPrefix);
// "!!name" drops one '!', a safe channel takes its short form, a masked channel its '%' alias.
CString NormalizeLegacyChannelName(const CString& name);
// The channel's own mode, else the old default entry, else the new channel default.
CString ChooseLegacyChannelMode(const std::map<CString, CString>& modes, const CString& name);
