#include "mainframe/MainAppServices.h"

#include "foundation/OpenUrl.h"
#include "log/AddressFinder.h"
#include "logview/LogView.h"
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

// The selection of the log view the user is in.
CString TFrameScripts::GetSelectedText()
{
    CWnd* focus = CWnd::FromHandlePermanent(::GetFocus());
    TLogView* view = dynamic_cast<TLogView*>(focus);
    return view ? view->GetSelectedText() : CString();
}

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

void TFrameScripts::OpenUrl(const CString& url)
{
    const TPreference& pref = settings->preference;
    ::OpenUrl(pref.URLOpenApplication, url, pref.URLOpenMethod, finder->IsUrl(url));
}

void TFrameScripts::StartMessageAlert() { frame->StartMessageAlert(); }

void TFrameScripts::StartHighlightAlert() { frame->StartHighlightAlert(); }

void TFrameScripts::RestoreTitle() { frame->RestoreTitle(); }

void TFrameScripts::WriteScriptConsole(const CString& serverName, const CString& scriptName, const CString& text,
                                       bool error)
{
    frame->WriteScriptConsole(serverName, scriptName, text, error);
}

CString TFrameScripts::GetWindowsUserName() { return settings->GetWindowsUserName(); }

CString TFrameScripts::GetProgramFolder() { return settings->GetProgramFolder(); }

CString TFrameScripts::GetUserFolder() { return settings->GetUserFolder(); }

CString TFrameScripts::GetScriptFolder() { return settings->GetScriptFolder(); }

CString TFrameScripts::GetScriptFilesFolder() { return settings->GetScriptFilesFolder(); }
