#include "controls/ChatPanel.h"

#include "controls/ChildId.h"

BOOL TChatPanel::Create(HWND parent, UINT id, DWORD style)
{
    return CreateEx(0, RegisterPanelClass(L"Ketroval2ChatPanel"), L"", style, RECT{}, parent, id);
}

BOOL TChatPanel::PreCreateWindow(CREATESTRUCTW& cs)
{
    SetPanelStyles(cs);
    return TRUE;
}

LRESULT TChatPanel::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1)
        return -1;
    cards.Create(m_hWnd, GetNextChildId());
    input.autoHeight = true;
    input.clientEdge = true;
    input.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_NOHIDESEL, RECT{0, 0, 10, 26}, m_hWnd, GetNextChildId());
    return 0;
}

void TChatPanel::RecalcLayout()
{
    RECT window, line;
    GetWindowRect(&window);
    input.GetWindowRect(&line);
    int w = window.right - window.left, h = window.bottom - window.top, e = line.bottom - line.top;
    // One pixel row between the two stays uncovered.
    cards.MoveWindow(0, 0, w, h - e - 1);
    input.MoveWindow(0, h - e, w, e);
}

LRESULT TChatPanel::OnSize(WPARAM, LPARAM)
{
    RecalcLayout();
    return 0;
}
