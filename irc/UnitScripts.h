#pragma once
// Every script event a server unit fires, as one interface: the script manager implements it
// and is wired to a unit with one call.

#include "irc/ReceivedScriptEvents.h"
#include "irc/UnitSendServices.h"
#include "irc/UnitServices.h"

class IUnitScripts : public IUnitScriptEvents, public IReceivedScriptEvents, public IUnitSendScripts {
protected:
    ~IUnitScripts() = default;
};
