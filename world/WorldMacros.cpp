// The world's part in the macro files: every unit follows a change of the files or their names.

#include "world/IRCWorld.h"

void TIRCWorld::ResetAllMacros()
{
    for (TIRCUnit* unit : units)
        unit->ResetMacros();
}

void TIRCWorld::RenameMacroFileInAllUnits(const CString& oldName, const CString& newName)
{
    for (TIRCUnit* unit : units)
        unit->RenameMacroFile(oldName, newName);
}

void TIRCWorld::RemoveMacroFileFromAllUnits(const CString& name)
{
    for (TIRCUnit* unit : units)
        unit->RemoveMacroFile(name);
}
