#pragma once
// What the units and their scripts reach of the main window, answered over the frame and the
// world: the frame's state for the units, and the window services for the scripts.

#include "app/Edit.h"
#include "irc/UnitServices.h"
#include "script/ScriptServer.h"

#include <vector>

class CMainFrame;
class TConfig;
class TIRCUnit;
class TIRCWorld;
class TLogAddressFinder;

// The frame's side of the units' notifications, and until the world shows the node views
// itself, a log view per node as a card of the chat panel and the input line's Enter.
class TFrameUnitViews : public TNullUnitListener, public IEditListener {
public:
    explicit TFrameUnitViews(CMainFrame* frame) : frame(frame) {}
    void SetWorld(TIRCWorld* newWorld);
    // The selected node's log view comes to the front.
    void ShowSelectedLog();

    void RefreshTreeItem(TIRCUnit* unit, TIRCChannel* channel) override;
    void UpdateTitleIfUnitSelected(TIRCUnit* unit) override;
    bool IsSelected(TIRCUnit* unit, TIRCChannel* channel) override;
    ILogLineSink* GetLogSink(TIRCUnit* unit, TIRCChannel* channel) override;
    void AddLineToAllLog(const TLogLineData& line, bool checkKeywords) override;

    bool OnKeyDown(TEdit*, UINT) override { return false; }
    bool OnSysKeyDown(TEdit*, UINT) override { return false; }
    bool OnEnter(TEdit* edit, UINT key) override;
    bool OnCtrlSpace(TEdit*) override { return false; }
    bool OnMouseWheel(TEdit*, UINT, short, int, int) override { return false; }
    bool OnContextMenu(TEdit*, int, int) override { return false; }
    void OnChange(TEdit*) override {}
    void OnHeightChanged(TEdit* edit) override;
    void OnImeComposition(TEdit*, CString) override {}

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
