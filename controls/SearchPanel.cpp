#include "controls/SearchPanel.h"

#include "classlib/DC.h"
#include "controls/CardLayoutPanel.h"
#include "controls/ChildId.h"
#include "controls/IconImageList.h"
#include "controls/KeyState.h"
#include "foundation/ResourceString.h"
#include "foundation/StringUtils.h"
#include "res/resource.h"

BOOL TSearchPanel::Create(HWND parent, UINT id, DWORD style)
{
    return CreateEx(0, RegisterPanelClass(L"Ketroval2SearchPanel"), L"", style, RECT{}, parent, id);
}

BOOL TSearchPanel::PreCreateWindow(CREATESTRUCTW& cs)
{
    SetPanelStyles(cs);
    return TRUE;
}

LRESULT TSearchPanel::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1)
        return -1;
    edit.autoHeight = true;
    edit.clientEdge = true;
    edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_NOHIDESEL, RECT{0, 0, 10, 22}, m_hWnd, GetNextChildId());
    edit.listener = this;
    edit.reportComposition = true;

    caption.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    caption.SetBackgroundColor(::GetSysColor(COLOR_WINDOW));
    caption.Create(LoadResourceString(IDS_SEARCH_CAPTION), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, RECT{},
                   m_hWnd, GetNextChildId());
    caption.SetFont((HFONT)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
    CreateToolBar();
    return 0;
}

void TSearchPanel::CreateToolBar()
{
    toolBar.Create(WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TRANSPARENT | CCS_NODIVIDER |
                       CCS_NOPARENTALIGN | CCS_NORESIZE,
                   RECT{}, m_hWnd, GetNextChildId());
    toolBar.SetButtonStructSize();
    const UINT icons[] = {IDI_FIND_PREVIOUS, IDI_FIND_NEXT, IDI_CLOSE_SEARCH};
    BuildIconImageList(images, icons, 3, ::GetModuleHandleW(nullptr));
    toolBar.SetImageList(images);
    toolBar.SetBitmapSize(16, 16);
    toolBar.SetButtonSize(23, 22);
    TBBUTTON buttons[3] = {};
    const int kButtons[3][2] = {{1, ID_SEARCH_FIND_NEXT}, {0, ID_SEARCH_FIND_PREVIOUS}, {2, ID_SEARCH_CLOSE}};
    for (int i = 0; i < 3; i++) {
        buttons[i].iBitmap = kButtons[i][0];
        buttons[i].idCommand = kButtons[i][1];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = -1;
    }
    toolBar.AddButtons(3, buttons);
}

void TSearchPanel::RecalcLayout()
{
    if (!m_hWnd || !edit.m_hWnd)
        return;
    RECT panel;
    GetWindowRect(&panel);
    ::MapWindowPoints(nullptr, GetParent(), (POINT*)&panel, 2);
    RECT line;
    edit.GetWindowRect(&line);
    int editHeight = line.bottom - line.top;
    int height = editHeight + 8;
    if (panel.bottom - panel.top != height)
        MoveWindow(panel.left, panel.top, panel.right - panel.left, height);

    RECT client;
    GetClientRect(&client);
    int buttons = 0, buttonHeight = 0;
    for (int i = 0; i < 3; i++) {
        RECT item = {};
        toolBar.GetItemRect(i, &item);
        buttons += item.right - item.left;
        if (i == 1)
            buttonHeight = item.bottom - item.top;
    }
    int captionWidth;
    {
        CClientDC dc(caption);
        CSelectObject font(dc, caption.GetFont());
        captionWidth = dc.GetTextExtent(caption.GetWindowText()).cx;
    }
    caption.MoveWindow(0, client.top, captionWidth, height);
    edit.MoveWindow(captionWidth, client.top + 4, client.right - buttons - 20 - captionWidth, editHeight);
    toolBar.MoveWindow(client.right - buttons - 10, (height - buttonHeight) / 2, buttons, buttonHeight);
}

LRESULT TSearchPanel::OnSize(WPARAM, LPARAM)
{
    RecalcLayout();
    return 0;
}

void TSearchPanel::OnHeightChanged(TEdit*)
{
    RecalcLayout();
    if (listener)
        listener->OnSearchPanelResized(this);
}

void TSearchPanel::ApplySearch() { SearchWords(edit.GetWindowText()); }

void TSearchPanel::OnImeComposition(TEdit*, CString text) { SearchWords(text); }

void TSearchPanel::SearchWords(const CString& text)
{
    if (!listener)
        return;
    // A text of blanks only has no word to look for.
    std::vector<CString> words;
    for (const CString& word : SplitWords(text, 0))
        if (!word.IsEmpty())
            words.push_back(word);
    listener->OnSearchWordsChanged(words);
}

bool TSearchPanel::Find(bool forward)
{
    if (!listener)
        return false;
    return forward ? listener->OnFindNext() : listener->OnFindPrevious();
}

void TSearchPanel::OnCloseButton()
{
    if (listener)
        listener->OnCloseSearchBar();
}

bool TSearchPanel::OnKeyDown(TEdit* source, UINT key)
{
    if (!IsAnyModifierDown()) {
        switch (key) {
        case VK_ESCAPE:
            OnCloseButton();
            return true;
        case VK_UP:
            return Find(false);
        case VK_DOWN:
            return Find(true);
        }
    }
    IEditListener* shortcuts = Shortcuts();
    return shortcuts && shortcuts->OnKeyDown(source, key);
}

bool TSearchPanel::OnEnter(TEdit*, UINT)
{
    if (IsKeyDown(VK_CONTROL) || IsKeyDown(VK_MENU))
        return false;
    return Find(!IsKeyDown(VK_SHIFT));
}

bool TSearchPanel::OnSysKeyDown(TEdit* source, UINT key)
{
    IEditListener* shortcuts = Shortcuts();
    return shortcuts && shortcuts->OnSysKeyDown(source, key);
}

bool TSearchPanel::OnCtrlSpace(TEdit* source)
{
    IEditListener* shortcuts = Shortcuts();
    return shortcuts && shortcuts->OnCtrlSpace(source);
}

bool TSearchPanel::OnMouseWheel(TEdit* source, UINT flags, short delta, int x, int y)
{
    IEditListener* shortcuts = Shortcuts();
    return shortcuts && shortcuts->OnMouseWheel(source, flags, delta, x, y);
}
