#pragma once
// A world whose servers run their scripts as the program makes them, for the script tests.

#include "../world/common/NoWorldHost.h"
#include "script/UnitScriptServer.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <memory>

// The world's units get their scripts with the frame.
class TFrameScriptsMaker : public IUnitScriptsMaker {
public:
    explicit TFrameScriptsMaker(IScriptFrame* frame = nullptr) : frame(frame) {}
    IUnitScripts* MakeScripts(TIRCUnit* unit) override { return new TUnitScripts(unit, frame); }
    IScriptFrame* frame;
};

// A world on the default settings read from the folder, with its servers' scripts from the maker.
inline std::unique_ptr<TIRCWorld> MakeScriptWorld(TConfig& config, IIRCWorldHost& host, const CString& folder,
                                                  IUnitScriptsMaker& maker)
{
    config.preference.Load(folder);
    config.view.Load(config);
    auto world = std::make_unique<TIRCWorld>(&config, &host);
    world->SetScriptsMaker(&maker);
    return world;
}
