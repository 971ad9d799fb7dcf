#pragma once
// Containers that show one of many child windows (cards) at a time, a bordered frame around
// one child, and the tool-bar panel. The containers never keep the keyboard focus.

#include "classlib/Edit.h"
#include "classlib/MsgMap.h"

#include <map>

// Registers a panel class of that name once (double clicks, arrow cursor, button-face
// background); on failure the anonymous class of the same kind is returned instead.
LPCWSTR RegisterPanelClass(LPCWSTR name);

// Containers hand the focus straight back to the window that lost it (wParam of WM_SETFOCUS).
LRESULT HandFocusBack(WPARAM lostFocus);

// The cards of one panel: the panel owns the windows and deletes them.
class TCardDeck {
public:
    ~TCardDeck();

    bool Add(HWND panel, UINT id, CWnd* window);
    void Remove(UINT id);
    void Show(HWND panel, UINT id);
    void Resize(int width, int height);
    CWnd* Find(UINT id) const;
    bool Contains(const CWnd* window) const;

    UINT currentId = 0;
    CWnd* current = nullptr;

private:
    std::map<UINT, CWnd*> cards;
};

// Card-panel behaviour for a window class: CWnd for the plain panel, CEdit for the one that
// borrows the edit control's themed sunken border.
template <class TBase> class TCardPanelT : public TBase {
public:
    virtual void AddCard(UINT id, CWnd* window) { deck.Add(this->m_hWnd, id, window); }
    virtual void RemoveCard(UINT id) { deck.Remove(id); }
    // Takes the card out and destroys it; false when there is none.
    bool DestroyCard(UINT id)
    {
        CWnd* card = GetCard(id);
        if (!card)
            return false;
        RemoveCard(id);
        card->DestroyWindow();
        delete card;
        return true;
    }
    virtual void ShowCard(UINT id) { deck.Show(this->m_hWnd, id); }
    bool ContainsWindow(const CWnd* window) const { return deck.Contains(window); }
    CWnd* GetCard(UINT id) const { return deck.Find(id); }
    UINT GetCurrentCardId() const { return deck.currentId; }
    CWnd* GetCurrentCard() const { return deck.current; }

    BEGIN_MSG_MAP(TCardPanelT)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    END_MSG_MAP()

protected:
    LRESULT OnSize(WPARAM wParam, LPARAM lParam)
    {
        deck.Resize(LOWORD(lParam), HIWORD(lParam));
        return this->DefWindowProc(WM_SIZE, wParam, lParam);
    }
    LRESULT OnSetFocus(WPARAM wParam, LPARAM) { return HandFocusBack(wParam); }

    TCardDeck deck;
};

class TCardLayoutPanel : public TCardPanelT<CWnd> {
public:
    BOOL Create(HWND parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
};

// Shows nothing instead of hiding the current card for id 0.
class TListPanel : public TCardLayoutPanel {
public:
    void ShowCard(UINT id) override;
};

class TBorderCardLayoutPanel : public TCardPanelT<CEdit> {
public:
    BOOL Create(HWND parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
};

// A sunken border around one child that fills it.
class TBorderPanel : public CEdit {
public:
    ~TBorderPanel() override;

    BOOL Create(HWND parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    BEGIN_MSG_MAP(TBorderPanel)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    END_MSG_MAP()

    CWnd* child = nullptr;
    bool ownsChild = false;

private:
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM) { return HandFocusBack(wParam); }
};

// A 24-pixel tool-bar row above a content window; both are owned.
class TToolBarPanel : public CWnd {
public:
    ~TToolBarPanel() override;

    BOOL Create(HWND parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void RecalcLayout();

    BEGIN_MSG_MAP(TToolBarPanel)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
    END_MSG_MAP()

    CWnd* toolBar = nullptr;
    CWnd* content = nullptr;

private:
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
};

// The creation styles every container uses: no border of its own, children clipped.
void SetPanelStyles(CREATESTRUCTW& cs);
// The same for the containers that show the edit control's sunken border.
void SetBorderPanelStyles(CREATESTRUCTW& cs);
