#include "controls/ResizableDialog.h"

#include "foundation/WindowHelpers.h"

#include <windowsx.h>

#include <algorithm>

BOOL TResizableDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    layout.parent = m_hWnd;
    return TRUE;
}

void TResizableDialog::SizeAndCentre(int storedWidth, int storedHeight, SIZE fallback, HWND on)
{
    width = std::max(storedWidth > 0 ? storedWidth : (int)fallback.cx, (int)minimum.cx);
    height = std::max(storedHeight > 0 ? storedHeight : (int)fallback.cy, (int)minimum.cy);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    CentreWindowOn(m_hWnd, on ? on : owner ? owner : ::GetDesktopWindow());
    layout.Relayout();
}

void TResizableDialog::ShowAtStoredPlace(const RECT& stored)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(m_hWnd, &placement);
    placement.showCmd = SW_SHOW;
    if (!::IsRectEmpty(&stored))
        placement.rcNormalPosition = stored;
    ::SetWindowPlacement(m_hWnd, &placement);
}

bool TResizableDialog::GetStoredPlace(RECT& place) const
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!m_hWnd || !::GetWindowPlacement(m_hWnd, &placement))
        return false;
    place = placement.rcNormalPosition;
    return true;
}

LRESULT TResizableDialog::OnSize(WPARAM, LPARAM lParam)
{
    if (initialised && GET_X_LPARAM(lParam) > 0 && GET_Y_LPARAM(lParam) > 0) {
        RECT outer;
        GetWindowRect(&outer);
        width = outer.right - outer.left;
        height = outer.bottom - outer.top;
        layout.Relayout();
        OnResized();
    }
    return 0;
}

LRESULT TResizableDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum.cx, minimum.cy};
    return 0;
}
