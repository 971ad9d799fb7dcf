#pragma once
// Every script event a server unit fires, as one interface: the script manager implements it
// and is wired to a unit with one call.

#include "irc/ReceivedScriptEvents.h"
#include "irc/UnitSendServices.h"
#include "irc/UnitServices.h"

#include <vector>

class IUnitScripts : public IUnitScriptEvents, public IReceivedScriptEvents, public IUnitSendScripts {
public:
    // Brings the running scripts in line with the unit's list of enabled files.
    virtual void LoadScripts(const std::vector<CString>& enabledFiles) = 0;

protected:
    ~IUnitScripts() = default;
};
