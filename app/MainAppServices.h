#pragma once
// What the units and their scripts reach of the main window, answered over the frame and the
// world: the frame's state for the units, and the window services for the scripts.

#include "irc/UnitServices.h"
#include "script/ScriptServer.h"

#include <vector>

class CMainFrame;
class TConfig;
class TIRCUnit;
class TIRCWorld;
class TLogAddressFinder;

// The frame's side of the units' notifications. The node views (log views, member lists, tree
// items, marks) belong to the world and are printed into no view here.
class TFrameUnitViews : public TNullUnitListener {
public:
    explicit TFrameUnitViews(CMainFrame* frame) : frame(frame) {}
    void SetWorld(TIRCWorld* newWorld) { world = newWorld; }

    bool IsMainWindowActive() override;
    bool AreMacrosStopped() override;
    void StartHighlightAlert() override;
    void StartMessageAlert() override;
    void QueueClipboardText(const CString& text) override;
    // While the frame waits for the servers to quit, the last closed connection ends the wait.
    void OnConnectionEnded(TIRCUnit* unit) override;

private:
    CMainFrame* frame;
    TIRCWorld* world = nullptr;
};

// Servers and channels that are still connecting or connected.
int CountActiveUnits(const TIRCWorld& world);

class TFrameScripts : public IScriptFrame {
public:
    TFrameScripts(CMainFrame* frame, TIRCWorld* world, TConfig* settings, const TLogAddressFinder* finder)
        : frame(frame), world(world), settings(settings), finder(finder)
    {
    }
    // The script side of each unit, in the world's unit order.
    void AddServer(IScriptServer* server, TIRCUnit* unit);

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
                            bool error) override;
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
    const TLogAddressFinder* finder;
    std::vector<std::pair<IScriptServer*, TIRCUnit*>> servers;
};
