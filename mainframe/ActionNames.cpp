#include "mainframe/ActionNames.h"

#include "mainframe/MainCommands.h"

#include <map>

namespace {

const std::map<CString, int>& ActionTable()
{
    static std::map<CString, int> table;
    if (table.empty()) {
        size_t count = 0;
        const TMainCommand* rows = GetMainCommands(count);
        for (size_t i = 0; i < count; i++)
            for (const wchar_t* name : rows[i].names)
                if (name)
                    table.emplace(CString(name), (int)rows[i].first);
    }
    return table;
}

} // namespace

CString LowerActionName(const CString& name)
{
    CString lower = name;
    for (int i = 0; i < lower.GetLength(); i++) {
        wchar_t c = lower[i];
        if (c >= L'A' && c <= L'Z')
            lower.SetAt(i, (wchar_t)(c - L'A' + L'a'));
    }
    return lower;
}

bool LookupActionName(const CString& name, int& commandId)
{
    const std::map<CString, int>& table = ActionTable();
    auto found = table.find(LowerActionName(name));
    if (found == table.end())
        return false;
    commandId = found->second;
    return true;
}
