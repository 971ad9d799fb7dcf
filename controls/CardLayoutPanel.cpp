#include "controls/CardLayoutPanel.h"

LPCWSTR RegisterPanelClass(LPCWSTR name)
{
    const UINT style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    HCURSOR arrow = ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    HBRUSH face = (HBRUSH)(COLOR_BTNFACE + 1);
    if (AfxRegisterNamedClass(name, style, arrow, face))
        return name;
    return AfxRegisterWndClass(style, arrow, face);
}

LRESULT HandFocusBack(WPARAM lostFocus)
{
    if (lostFocus && ::IsWindow((HWND)lostFocus))
        ::SetFocus((HWND)lostFocus);
    return 0;
}

void SetPanelStyles(CREATESTRUCTW& cs)
{
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.style = (cs.style & ~WS_BORDER) | WS_CLIPCHILDREN;
}

void SetBorderPanelStyles(CREATESTRUCTW& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style = (cs.style & ~WS_BORDER) | WS_CLIPCHILDREN;
}

TCardDeck::~TCardDeck()
{
    for (auto& card : cards)
        delete card.second;
}

bool TCardDeck::Add(HWND panel, UINT id, CWnd* window)
{
    if (cards.count(id))
        return false;
    window->ShowWindow(SW_HIDE);
    window->SetParent(panel);
    cards[id] = window;
    return true;
}

void TCardDeck::Remove(UINT id)
{
    if (!cards.erase(id))
        return;
    if (id == currentId) {
        currentId = 0;
        current = nullptr;
    }
}

void TCardDeck::Show(HWND panel, UINT id)
{
    if (id == currentId)
        return;
    if (id == 0) {
        if (current)
            current->ShowWindow(SW_HIDE);
        currentId = 0;
        current = nullptr;
        return;
    }
    CWnd* next = Find(id);
    if (!next)
        return;
    CWnd* old = current;
    currentId = id;
    current = next;
    RECT client;
    ::GetClientRect(panel, &client);
    next->MoveWindow(client);
    next->ShowWindow(SW_SHOW);
    // Hidden only after the new card shows, so the panel never flashes empty.
    if (old)
        old->ShowWindow(SW_HIDE);
}

void TCardDeck::Resize(int width, int height)
{
    for (auto& card : cards)
        card.second->MoveWindow(0, 0, width, height);
}

CWnd* TCardDeck::Find(UINT id) const
{
    auto it = cards.find(id);
    return it == cards.end() ? nullptr : it->second;
}

bool TCardDeck::Contains(const CWnd* window) const
{
    for (auto& card : cards)
        if (card.second == window)
            return true;
    return false;
}

BOOL TCardLayoutPanel::Create(HWND parent, UINT id, DWORD style)
{
    return CreateEx(0, RegisterPanelClass(L"Ketroval2CardLayoutPanel"), L"", style, RECT{}, parent, id);
}

BOOL TCardLayoutPanel::PreCreateWindow(CREATESTRUCTW& cs)
{
    SetPanelStyles(cs);
    return TRUE;
}

void TListPanel::ShowCard(UINT id)
{
    if (id == 0)
        return;
    TCardLayoutPanel::ShowCard(id);
}

BOOL TBorderCardLayoutPanel::Create(HWND parent, UINT id, DWORD style)
{
    return CEdit::Create(style, RECT{}, parent, id);
}

BOOL TBorderCardLayoutPanel::PreCreateWindow(CREATESTRUCTW& cs)
{
    SetBorderPanelStyles(cs);
    return TRUE;
}

TBorderPanel::~TBorderPanel()
{
    if (ownsChild)
        delete child;
}

BOOL TBorderPanel::Create(HWND parent, UINT id, DWORD style) { return CEdit::Create(style, RECT{}, parent, id); }

BOOL TBorderPanel::PreCreateWindow(CREATESTRUCTW& cs)
{
    SetBorderPanelStyles(cs);
    return TRUE;
}

LRESULT TBorderPanel::OnSize(WPARAM wParam, LPARAM lParam)
{
    if (child)
        child->MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
    return DefWindowProc(WM_SIZE, wParam, lParam);
}

TToolBarPanel::~TToolBarPanel()
{
    delete toolBar;
    delete content;
}

BOOL TToolBarPanel::Create(HWND parent, UINT id, DWORD style)
{
    LPCWSTR cls = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW),
                                      (HBRUSH)(COLOR_BTNFACE + 1));
    return CreateEx(0, cls, L"", style, RECT{}, parent, id);
}

BOOL TToolBarPanel::PreCreateWindow(CREATESTRUCTW& cs)
{
    SetPanelStyles(cs);
    return TRUE;
}

void TToolBarPanel::RecalcLayout()
{
    const int rowHeight = 24;
    RECT k;
    GetClientRect(&k);
    int top = k.top;
    if (toolBar) {
        toolBar->MoveWindow(k.left, k.top, k.right - k.left, rowHeight - k.top);
        top = rowHeight;
    }
    if (content)
        content->MoveWindow(k.left, top, k.right - k.left, k.bottom - top);
}

LRESULT TToolBarPanel::OnSize(WPARAM, LPARAM)
{
    RecalcLayout();
    return 0;
}
