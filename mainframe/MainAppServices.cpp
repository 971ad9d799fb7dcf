#include "mainframe/MainAppServices.h"

#include "mainframe/MainFrame.h"
#include "script/UnitScriptServer.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

IUnitScripts* TFrameScripts::MakeScripts(TIRCUnit* unit) { return new TUnitScripts(unit, this); }

TIRCUnit* TFrameScripts::UnitOf(IScriptServer* server) const
{
    auto* unitServer = dynamic_cast<TUnitScriptServer*>(server);
    TIRCUnit* unit = unitServer ? unitServer->GetUnit() : nullptr;
    return world->HasUnit(unit) ? unit : nullptr;
}

HWND TFrameScripts::GetMainWindow() { return frame->m_hWnd; }

bool TFrameScripts::IsAppActive() { return frame->IsApplicationActive(); }

CString TFrameScripts::GetSelectedText() { return world->GetSelectedText(); }

bool TFrameScripts::GetSelection(IScriptServer* server, TIRCChannel*& channel)
{
    TIRCUnit* unit = nullptr;
    channel = nullptr;
    world->GetSelection(unit, channel);
    if (!unit || unit != UnitOf(server)) {
        channel = nullptr;
        return false;
    }
    return true;
}

void TFrameScripts::Select(IScriptServer* server, TIRCChannel* channel)
{
    if (TIRCUnit* unit = UnitOf(server))
        world->Select(unit, channel);
}

void TFrameScripts::ShowBalloon(const CString& title, const CString& text) { frame->ShowBalloon(title, text); }

void TFrameScripts::ExecuteAction(const CString& name) { frame->ExecuteAction(name); }

void TFrameScripts::OpenUrl(const CString& url) { world->OpenUrl(url, false); }

void TFrameScripts::StartMessageAlert() { frame->StartMessageAlert(); }

void TFrameScripts::StartHighlightAlert() { frame->StartHighlightAlert(); }

void TFrameScripts::RestoreTitle() { frame->RestoreTitle(); }

void TFrameScripts::WriteScriptConsole(const CString& serverName, const CString& scriptName, const CString& text,
                                       TScriptConsoleLine kind)
{
    frame->WriteScriptConsole(serverName, scriptName, text, kind);
}

CString TFrameScripts::GetWindowsUserName() { return settings->GetWindowsUserName(); }

CString TFrameScripts::GetProgramFolder() { return settings->GetProgramFolder(); }

CString TFrameScripts::GetUserFolder() { return settings->GetUserFolder(); }

CString TFrameScripts::GetScriptFolder() { return settings->GetScriptFolder(); }

CString TFrameScripts::GetScriptFilesFolder() { return settings->GetScriptFilesFolder(); }
