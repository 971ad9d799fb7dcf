#include "settings/ServerConfig.h"

#include "foundation/StringUtils.h"

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
