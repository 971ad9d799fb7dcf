#include "world/ProtocolLogWindows.h"

#include "controls/Edit.h"
#include "foundation/WindowHelpers.h"
#include "irc/IRCUnit.h"
#include "settings/Config.h"
#include "world/WorldFrame.h"

TProtocolLogWindows::~TProtocolLogWindows() { DestroyAll(); }

TProtocolLogWindows::TEntry* TProtocolLogWindows::Create(TIRCUnit* unit)
{
    if (unit->GetSession().shutdown)
        return nullptr;
    auto found = entries.find(unit);
    if (found != entries.end())
        return &found->second;
    // A window made in the background must not take the focus from where the user types.
    HWND focus = ::GetFocus();
    auto dialog = std::make_unique<TProtocolLogDialog>();
    TLogTheme& theme = config->view.logTheme;
    dialog->SetAppearance(&theme.text, &theme.channelLogBack, &config->preference);
    dialog->SetServerName(unit->GetName());
    dialog->listener = this;
    if (!dialog->Create(IDD_PROTOCOL_LOG, nullptr))
        return nullptr;
    if (focus && ::IsWindow(focus))
        ::SetFocus(focus);
    TEntry& entry = entries[unit];
    entry.unit = unit;
    entry.dialog = std::move(dialog);
    return &entry;
}

void TProtocolLogWindows::AddLine(TIRCUnit* unit, const CString& text, bool sent)
{
    if (TEntry* entry = Create(unit))
        entry->dialog->AddProtocolLine(text, sent);
}

void TProtocolLogWindows::Show(TIRCUnit* unit)
{
    TEntry* entry = Create(unit);
    if (!entry)
        return;
    TProtocolLogDialog* dialog = entry->dialog.get();
    if (!entry->placed) {
        const bool topMost = frame && frame->IsTopMost();
        dialog->SetWindowPos(topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        const RECT& rect = config->geometry.protocolLogRect;
        if (rect.right > rect.left && rect.bottom > rect.top)
            dialog->SetNormalRect(rect);
        // The server may have been renamed since the window was made.
        dialog->SetServerName(unit->GetName());
        dialog->ShowDialog();
        entry->placed = true;
        return;
    }
    BringBackWindow(dialog->m_hWnd);
}

void TProtocolLogWindows::Destroy(const TIRCUnit* unit)
{
    auto found = entries.find(unit);
    if (found == entries.end())
        return;
    TEntry& entry = found->second;
    if (entry.placed)
        entry.dialog->GetNormalRect(config->geometry.protocolLogRect);
    entry.dialog->listener = nullptr;
    entries.erase(found);
}

void TProtocolLogWindows::DestroyAll()
{
    while (!entries.empty())
        Destroy(entries.begin()->first);
}

TProtocolLogDialog* TProtocolLogWindows::Find(const TIRCUnit* unit) const
{
    auto found = entries.find(unit);
    return found == entries.end() ? nullptr : found->second.dialog.get();
}

std::vector<HWND> TProtocolLogWindows::GetWindows(bool shownOnly) const
{
    std::vector<HWND> windows;
    for (const auto& [unit, entry] : entries)
        if (entry.placed || !shownOnly)
            windows.push_back(entry.dialog->m_hWnd);
    return windows;
}

TProtocolLogWindows::TEntry* TProtocolLogWindows::FindEntry(const TProtocolLogDialog* dialog)
{
    for (auto& [unit, entry] : entries)
        if (entry.dialog.get() == dialog)
            return &entry;
    return nullptr;
}

// The window is only hidden; its lines wait for the next time it is shown.
void TProtocolLogWindows::OnProtocolLogDialogClose(TProtocolLogDialog* dialog)
{
    TEntry* entry = FindEntry(dialog);
    if (!entry)
        return;
    dialog->GetNormalRect(config->geometry.protocolLogRect);
    if (entry->unit->GetSession().shutdown)
        return;
    entry->placed = false;
    if (!frame)
        return;
    if (HWND main = frame->GetFrameWindow())
        ::BringWindowToTop(main);
    if (TInputEdit* input = frame->GetInputLine())
        input->SetFocus();
}
