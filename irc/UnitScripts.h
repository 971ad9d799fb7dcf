#pragma once
// Every script event a server unit fires, as one interface: the script manager implements it
// and is wired to a unit with one call.

#include "irc/ReceivedScriptEvents.h"
#include "irc/UnitSendServices.h"
#include "irc/UnitServices.h"

#include <vector>

class TIRCUnit;

class IUnitScripts : public IUnitScriptEvents, public IReceivedScriptEvents, public IUnitSendScripts {
public:
    // A unit may own its scripts and delete them with itself.
    virtual ~IUnitScripts() = default;
    // Brings the running scripts in line with the unit's list of enabled files.
    virtual void LoadScripts(const std::vector<CString>& enabledFiles) = 0;
    // Every script stops; with fireUnload each hears onUnload first.
    virtual void UnloadAll(bool fireUnload) = 0;
    // Some script's code is running (an unloaded one's included), perhaps waiting in a box.
    virtual bool IsRunning() const = 0;
};

// Makes the scripts of each unit as it comes; the unit owns what it gets.
class IUnitScriptsMaker {
public:
    virtual IUnitScripts* MakeScripts(TIRCUnit* unit) = 0;

protected:
    ~IUnitScriptsMaker() = default;
};
