// The script console and what the frame does for the windows it owns when they report back:
// the console closing, history lines double-clicked, macro files renamed or deleted.

#include "irc/IRCChannel.h"
#include "logview/ProtocolLogDialog.h"
#include "mainframe/MainFrame.h"
#include "settings/Config.h"

void CMainFrame::CreateScriptConsole()
{
    if (scriptConsole)
        return;
    // Creating the console never takes the focus from where the user types.
    HWND focus = ::GetFocus();
    auto made = std::make_unique<TProtocolLogDialog>();
    TLogTheme& theme = settings->view.logTheme;
    made->SetAppearance(&theme.text, &theme.channelLogBack, &settings->preference);
    made->listener = this;
    scriptConsole.Open(std::move(made), [](TProtocolLogDialog& d) { return d.Create(IDD_PROTOCOL_LOG, nullptr); });
    scriptConsoleShown = false;
    // Its place is kept for the next start when it goes while open, as when the user closes it.
    scriptConsole.beforeDestroy = [this] {
        if (scriptConsoleShown)
            scriptConsole->GetNormalRect(settings->geometry.scriptLogRect);
    };
    scriptConsole.markedShown = [this] { return scriptConsoleShown; };
    if (focus && ::IsWindow(focus))
        ::SetFocus(focus);
}

void CMainFrame::ShowScriptConsole()
{
    if (closing)
        return;
    CreateScriptConsole();
    if (!scriptConsole)
        return;
    if (!scriptConsoleShown) {
        if (alwaysOnTop)
            scriptConsole->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        const RECT& rect = settings->geometry.scriptLogRect;
        if (rect.right > rect.left && rect.bottom > rect.top)
            scriptConsole->SetNormalRect(rect);
        scriptConsole->ShowDialog();
        scriptConsoleShown = true;
        return;
    }
    BringBackWindow(scriptConsole->m_hWnd);
}

void CMainFrame::WriteScriptConsoleLog(const CString& serverName, const CString& scriptName, const CString& text,
                                       bool withPrefixes)
{
    if (closing)
        return;
    CreateScriptConsole();
    if (scriptConsole)
        scriptConsole->AddScriptLog(serverName, scriptName, text, withPrefixes);
}

void CMainFrame::WriteScriptConsoleError(const CString& serverName, const CString& scriptName, const CString& text)
{
    if (closing)
        return;
    CreateScriptConsole();
    if (scriptConsole)
        scriptConsole->AddScriptError(serverName, scriptName, text);
}

void CMainFrame::WriteScriptConsole(const CString& serverName, const CString& scriptName, const CString& text,
                                    TScriptConsoleLine kind)
{
    if (kind == TScriptConsoleLine::Error)
        WriteScriptConsoleError(serverName, scriptName, text);
    else
        WriteScriptConsoleLog(serverName, scriptName, text, kind == TScriptConsoleLine::Log);
}

// The console is only hidden; its lines wait for the next time it is shown.
void CMainFrame::OnProtocolLogDialogClose(TProtocolLogDialog* dialog)
{
    if (!scriptConsole.Holds(dialog))
        return;
    scriptConsole->GetNormalRect(settings->geometry.scriptLogRect);
    if (closing)
        return;
    scriptConsoleShown = false;
    ::BringWindowToTop(m_hWnd);
    if (TInputEdit* input = contentPanel.GetInputLine())
        input->SetFocus();
}

// A double-clicked history line: its channel when it is still there, else its server.
void CMainFrame::OnHistoryLineClick(unsigned unitSerial, unsigned channelSerial, int lineNumber)
{
    TIRCUnit* unit = world ? world->FindUnitBySerial(unitSerial) : nullptr;
    if (!unit)
        return;
    world->Select(unit, unit->FindChannelBySerial(channelSerial));
    if (TLogView* view = GetSelectedLogView())
        view->JumpToLineNumber(lineNumber);
}

// Every server's list of enabled macro files follows a rename or a deletion in the settings.
void CMainFrame::OnMacroFileRenamed(const CString& oldName, const CString& newName)
{
    if (world)
        world->RenameMacroFileInAllUnits(oldName, newName);
}

void CMainFrame::OnMacroFileDeleted(const CString& name)
{
    if (world)
        world->RemoveMacroFileFromAllUnits(name);
}
