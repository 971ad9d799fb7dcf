#pragma once
// View files of the previous major version ("-view.ini" and "*.kvf"): their own colour notation,
// font sections and format keys, read into the current view settings.

#include "classlib/String.h"
#include "settings/ThemeFiles.h"

#include <windows.h>

class TIniFile;
class TPreference;
class TViewSettings;
struct TViewFont;

// False when the file cannot be read; the settings and the preferences are then untouched.
// preference may be null: the layout keys are then skipped.
bool ImportLegacyViewFile(const CString& path, TViewSettings& settings, TPreference* preference);
bool ImportLegacyViewAppearance(const CString& path, TViewSettings& settings, TPreference* preference);
bool ImportLegacyViewFormats(const CString& path, TViewSettings& settings);
// A view file used as a theme: the part asked for, without the layout keys.
bool ReadLegacyViewTheme(const CString& path, TViewSettings& settings, TThemePart part);

void ReadLegacyViewAppearance(TIniFile& ini, TViewSettings& settings, TPreference* preference);
void ReadLegacyViewFormats(TIniFile& ini, TViewSettings& settings);
void ReadLegacyFont(TIniFile& ini, const CString& section, TViewFont& font);
void ReadLegacyColorEntry(TIniFile& ini, const CString& section, COLORREF& color);
// A colour name, or a text whose last six characters are BBGGRR in hexadecimal.
COLORREF ParseLegacyColor(const CString& text, COLORREF defaultColor);
