#include "settings/ServerConfig.h"

#include "foundation/StringUtils.h"

#include <algorithm>

void TUnitSetting::SetAltNicks(const CString& text)
{
    AltNicks = text;
    AltNickList.clear();
    CString rest = text;
    while (!rest.IsEmpty()) {
        CString word = CutFirstWord(rest);
        if (!word.IsEmpty())
            AltNickList.push_back(word);
    }
}

int TUnitSetting::FindScriptFile(const CString& name) const
{
    auto found = std::find(ScriptFiles.begin(), ScriptFiles.end(), name);
    return found == ScriptFiles.end() ? -1 : (int)(found - ScriptFiles.begin());
}

void TUnitSetting::AddScriptFile(const CString& name)
{
    if (FindScriptFile(name) < 0)
        ScriptFiles.push_back(name);
}

void TUnitSetting::RemoveScriptFile(const CString& name)
{
    ScriptFiles.erase(std::remove(ScriptFiles.begin(), ScriptFiles.end(), name), ScriptFiles.end());
}
