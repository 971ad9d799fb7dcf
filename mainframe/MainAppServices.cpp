#include "mainframe/MainAppServices.h"

#include "mainframe/MainFrame.h"
#include "foundation/OpenUrl.h"
#include "world/IRCWorld.h"
#include "log/AddressFinder.h"
#include "logview/LogView.h"
#include "settings/Config.h"

void TFrameScripts::AddServer(IScriptServer* server, TIRCUnit* unit) { servers.emplace_back(server, unit); }

void TFrameScripts::RemoveServer(IScriptServer* server)
{
    std::erase_if(servers, [server](const auto& entry) { return entry.first == server; });
}

TIRCUnit* TFrameScripts::UnitOf(IScriptServer* server) const
{
    for (auto& entry : servers)
        if (entry.first == server)
            return world->HasUnit(entry.second) ? entry.second : nullptr;
    return nullptr;
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
