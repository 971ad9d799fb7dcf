#include "mainframe/OwnedWindows.h"

#include "classlib/MsgMap.h"
#include "foundation/WindowHelpers.h"

#include <algorithm>

TOwnedWindowSlot::TOwnedWindowSlot(TOwnedWindows& list, UINT command, unsigned traits)
    : list(list), command(command), traits(traits)
{
    list.slots.push_back(this);
}

TOwnedWindowSlot::~TOwnedWindowSlot()
{
    Destroy();
    auto& slots = list.slots;
    slots.erase(std::remove(slots.begin(), slots.end(), this), slots.end());
}

bool TOwnedWindowSlot::IsOpen() const { return window && ::IsWindow(window->m_hWnd); }

bool TOwnedWindowSlot::IsVisible() const { return IsOpen() && ::IsWindowVisible(window->m_hWnd); }

bool TOwnedWindowSlot::ShowOrBringForward()
{
    if (!IsOpen())
        return false;
    BringBackWindow(window->m_hWnd);
    return true;
}

void TOwnedWindowSlot::Destroy()
{
    if (!window)
        return;
    if (beforeDestroy)
        beforeDestroy();
    // Taken out first, so what the window reports while it goes finds the slot empty.
    std::unique_ptr<CWnd> gone = std::move(window);
    windowHiddenWithFrame = nullptr;
    TRunningHandler running = gone->m_hWnd ? AfxFindRunningHandler(gone->m_hWnd) : TRunningHandler();
    if (gone->m_hWnd)
        gone->DestroyWindow();
    if (AfxIsHandlerRunning(running))
        list.leftWindows.push_back({std::move(gone), running});
    list.FreeLeftWindows();
}

bool TOwnedWindowSlot::Take(std::unique_ptr<CWnd> made, bool created)
{
    if (!created || !made || !made->m_hWnd)
        return false;
    Destroy();
    window = std::move(made);
    return true;
}

void TOwnedWindowSlot::KickIdle(WPARAM wParam, LPARAM lParam)
{
    if (!IsVisible())
        return;
    if (traits & OwnedFrameIdle)
        window->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    else
        window->SendMessage(WM_KICKIDLE, wParam, lParam);
}

HWND TOwnedWindowSlot::ShownWindow() const
{
    CWnd* instead = standIn ? standIn() : nullptr;
    return instead && instead->m_hWnd ? instead->m_hWnd : window->m_hWnd;
}

void TOwnedWindowSlot::FollowFrameHidden(bool hide)
{
    if (!(traits & OwnedFollowsFrame) || !IsOpen())
        return;
    HWND shown = ShownWindow();
    if (hide && ::IsWindowVisible(shown)) {
        ::ShowWindow(shown, SW_HIDE);
        windowHiddenWithFrame = shown;
    } else if (!hide && windowHiddenWithFrame) {
        // Not when the window hidden has gone meanwhile and another stands there now, nor when
        // the user closed it while the frame was away.
        if (shown == windowHiddenWithFrame && (!markedShown || markedShown()))
            ::ShowWindow(shown, SW_SHOWNA);
        windowHiddenWithFrame = nullptr;
    }
}

// Windows the frame owns follow it too, but not under every window manager when it stops being
// top-most, so every window is set.
void TOwnedWindowSlot::FollowFrameTopMost(bool on)
{
    if (!IsOpen())
        return;
    // Windows may lift an owned window with its owner; it is never left up there.
    if (traits & OwnedStandsApart) {
        if (!on)
            window->SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    if (setTopMost)
        setTopMost(on);
    else
        window->SetWindowPos(on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TOwnedWindowSlot::Enable(bool on)
{
    if (IsOpen())
        window->EnableWindow(on);
}

void TOwnedWindows::KickIdle(WPARAM wParam, LPARAM lParam)
{
    FreeLeftWindows();
    // A copy: a window may close itself, and leave its slot empty, during its idle update.
    std::vector<TOwnedWindowSlot*> now = slots;
    for (TOwnedWindowSlot* slot : now)
        slot->KickIdle(wParam, lParam);
}

void TOwnedWindows::HideWithFrame(bool hide)
{
    for (TOwnedWindowSlot* slot : slots)
        slot->FollowFrameHidden(hide);
}

void TOwnedWindows::SetTopMost(bool on, std::initializer_list<UINT> first)
{
    auto isFirst = [&](const TOwnedWindowSlot* slot) {
        return std::find(first.begin(), first.end(), slot->GetCommand()) != first.end();
    };
    for (UINT command : first)
        for (TOwnedWindowSlot* slot : slots)
            if (slot->GetCommand() == command)
                slot->FollowFrameTopMost(on);
    for (TOwnedWindowSlot* slot : slots)
        if (!isFirst(slot))
            slot->FollowFrameTopMost(on);
}

void TOwnedWindows::EnableAll(bool on)
{
    for (TOwnedWindowSlot* slot : slots)
        slot->Enable(on);
}

void TOwnedWindows::CloseForQuit()
{
    for (TOwnedWindowSlot* slot : slots)
        if (!(slot->GetTraits() & OwnedOutlivesQuit))
            slot->Destroy();
        else if (slot->IsOpen())
            slot->GetWindow()->ShowWindow(SW_HIDE);
}

void TOwnedWindows::DestroyAll()
{
    for (TOwnedWindowSlot* slot : slots)
        slot->Destroy();
    FreeLeftWindows();
}

void TOwnedWindows::FreeLeftWindows()
{
    // Taken out before any is freed: a window may report as it goes.
    std::vector<TLeftWindow> returned;
    for (auto it = leftWindows.begin(); it != leftWindows.end();)
        if (AfxIsHandlerRunning(it->handler)) {
            ++it;
        } else {
            returned.push_back(std::move(*it));
            it = leftWindows.erase(it);
        }
}
