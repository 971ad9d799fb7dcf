// "popupmenu.kcf" in the settings folder; the default menu stands in until the user saves one.

#include "settings/Config.h"

namespace {

const wchar_t PopupFileName[] = L"popupmenu.kcf";

} // namespace

void TConfig::LoadPopupMenu()
{
    if (!popup.Load(GetSettingsFolder() + PopupFileName))
        popup.SetDefault();
}

bool TConfig::SavePopupMenu() { return popup.Save(GetSettingsFolder() + PopupFileName); }
