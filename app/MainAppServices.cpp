#include "app/MainAppServices.h"

#include "app/KeyState.h"
#include "app/MainFrame.h"
#include "foundation/OpenUrl.h"
#include "irc/IRCWorld.h"
#include "log/AddressFinder.h"
#include "log/LogView.h"
#include "settings/Config.h"

int CountActiveUnits(const TIRCWorld& world)
{
    int count = 0;
    for (TIRCUnit* unit : world.GetUnits())
        if (unit->GetState() != TIRCUnit::StateDisconnected)
            count++;
    return count;
}

void TFrameUnitViews::SetWorld(TIRCWorld* newWorld)
{
    world = newWorld;
    TInputEdit* input = frame->GetInputLine();
    input->listener = this;
    OnHeightChanged(input);
}

// Cards are keyed by the node itself, the channel or for a server node the unit.
static UINT CardId(TIRCUnit* unit, TIRCChannel* channel)
{
    return channel ? (UINT)(UINT_PTR)channel : (UINT)(UINT_PTR)unit;
}

ILogLineSink* TFrameUnitViews::GetLogSink(TIRCUnit* unit, TIRCChannel* channel)
{
    TBorderCardLayoutPanel& cards = frame->GetChatPanel()->cards;
    UINT id = CardId(unit, channel);
    if (CWnd* card = cards.GetCard(id))
        return static_cast<TLogView*>(card);
    TConfig& settings = frame->GetSettings();
    TLogView* view = new TLogView;
    if (!view->Create(&settings.view.logTheme.text, &settings.view.logTheme.channelLogBack, cards.m_hWnd, id,
                      &settings.preference.keyword, frame->GetAddressFinder(), false)) {
        delete view;
        return nullptr;
    }
    cards.AddCard(id, view);
    if (IsSelected(unit, channel))
        cards.ShowCard(id);
    return view;
}

void TFrameUnitViews::ShowSelectedLog()
{
    TIRCUnit* unit = nullptr;
    TIRCChannel* channel = nullptr;
    if (world)
        world->GetSelection(unit, channel);
    if (unit)
        frame->GetChatPanel()->cards.ShowCard(CardId(unit, channel));
}

void TFrameUnitViews::AddLineToAllLog(const TLogLineData& line, bool checkKeywords)
{
    if (TLogView* log = frame->GetAllChannelsLog())
        log->AddLine(line, checkKeywords);
}

void TFrameUnitViews::RefreshTreeItem(TIRCUnit* unit, TIRCChannel* channel)
{
    if (world)
        world->RefreshTreeItem(unit, channel);
}

void TFrameUnitViews::UpdateTitleIfUnitSelected(TIRCUnit*) {}

bool TFrameUnitViews::IsSelected(TIRCUnit* unit, TIRCChannel* channel)
{
    TIRCUnit* selectedUnit = nullptr;
    TIRCChannel* selectedChannel = nullptr;
    if (world)
        world->GetSelection(selectedUnit, selectedChannel);
    return unit == selectedUnit && channel == selectedChannel;
}

bool TFrameUnitViews::OnEnter(TEdit* edit, UINT key)
{
    bool ctrl = IsKeyDown(VK_CONTROL), shift = IsKeyDown(VK_SHIFT), alt = IsKeyDown(VK_MENU);
    if (!world || !world->SendInputLine(TEdit::GetText(edit->m_hWnd), ctrl, shift, alt, key == VK_RETURN))
        return false;
    static_cast<TInputEdit*>(edit)->PushHistoryAndClear();
    return true;
}

void TFrameUnitViews::OnHeightChanged(TEdit*) { frame->GetChatPanel()->RecalcLayout(); }

bool TFrameUnitViews::IsMainWindowActive() { return frame->IsApplicationActive(); }

bool TFrameUnitViews::AreMacrosStopped() { return frame->AreMacrosStopped(); }

void TFrameUnitViews::StartHighlightAlert() { frame->StartHighlightAlert(); }

void TFrameUnitViews::StartMessageAlert() { frame->StartMessageAlert(); }

void TFrameUnitViews::QueueClipboardText(const CString& text)
{
    if (world)
        world->QueueClipboardText(text);
}

void TFrameUnitViews::OnConnectionEnded(TIRCUnit*)
{
    if (frame->IsClosing() && world && CountActiveUnits(*world) == 0 && frame->m_hWnd)
        frame->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
}

void TFrameScripts::AddServer(IScriptServer* server, TIRCUnit* unit) { servers.emplace_back(server, unit); }

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
