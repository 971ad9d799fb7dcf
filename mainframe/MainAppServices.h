#pragma once
// What the scripts of the units reach of the main window, answered over the frame and the world.

#include "irc/UnitScripts.h"
#include "script/ScriptServer.h"

#include <vector>

class CMainFrame;
class TConfig;
class TIRCUnit;
class TIRCWorld;

class TFrameScripts : public IScriptFrame, public IUnitScriptsMaker {
public:
    TFrameScripts(CMainFrame* frame, TIRCWorld* world, TConfig* settings)
        : frame(frame), world(world), settings(settings)
    {
    }
    // Each unit's scripts, reaching the unit through a server object of their own.
    IUnitScripts* MakeScripts(TIRCUnit* unit) override;

    HWND GetMainWindow() override;
    bool IsAppActive() override;
    CString GetSelectedText() override;
    bool GetSelection(IScriptServer* server, TIRCChannel*& channel) override;
    void Select(IScriptServer* server, TIRCChannel* channel) override;
    void ShowBalloon(const CString& title, const CString& text) override;
    void ExecuteAction(const CString& name) override;
    void OpenUrl(const CString& url) override;
    void StartMessageAlert() override;
    void StartHighlightAlert() override;
    void RestoreTitle() override;
    void WriteScriptConsole(const CString& serverName, const CString& scriptName, const CString& text,
                            TScriptConsoleLine kind) override;
    CString GetWindowsUserName() override;
    CString GetProgramFolder() override;
    CString GetUserFolder() override;
    CString GetScriptFolder() override;
    CString GetScriptFilesFolder() override;

private:
    TIRCUnit* UnitOf(IScriptServer* server) const;

    CMainFrame* frame;
    TIRCWorld* world;
    TConfig* settings;
};
