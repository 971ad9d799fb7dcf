#pragma once
// TSearchPanel: the search bar above the log, an edit with its caption and three buttons
// (find next, find previous, close). What it searches and where the words go is its
// listener's business: the content panel and the world behind it.

#include "classlib/ToolBar.h"
#include "controls/Edit.h"
#include "controls/Label.h"

#include <vector>

class TSearchPanel;

// Buttons of the search bar; the main menu's find commands are others.
#define ID_SEARCH_FIND_PREVIOUS 32769
#define ID_SEARCH_FIND_NEXT 32770
#define ID_SEARCH_CLOSE 32771

class ISearchPanelListener {
public:
    // The bar changed its height after the edit's font changed.
    virtual void OnSearchPanelResized(TSearchPanel* panel) = 0;
    // The words of the edit's text: kept as the search words and highlighted in the current log.
    virtual void OnSearchWordsChanged(const std::vector<CString>& words) = 0;
    // True when a match was found.
    virtual bool OnFindNext() = 0;
    virtual bool OnFindPrevious() = 0;
    // Escape and the close button: the frame's search-bar switch.
    virtual void OnCloseSearchBar() = 0;
    // Who hears the keys the bar does not take itself (the global shortcuts); may be null.
    virtual IEditListener* GetShortcutListener() = 0;

protected:
    ~ISearchPanelListener() = default;
};

class TSearchPanel : public CWnd, public IEditListener {
public:
    BOOL Create(HWND parent, UINT id, DWORD style = WS_CHILD);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void RecalcLayout();
    // Hands the edit's current words to the listener again.
    void ApplySearch();

    bool OnKeyDown(TEdit* edit, UINT key) override;
    bool OnSysKeyDown(TEdit* edit, UINT key) override;
    bool OnEnter(TEdit* edit, UINT key) override;
    bool OnCtrlSpace(TEdit* edit) override;
    bool OnMouseWheel(TEdit* edit, UINT flags, short delta, int x, int y) override;
    void OnChange(TEdit*) override { ApplySearch(); }
    void OnHeightChanged(TEdit* edit) override;
    void OnImeComposition(TEdit* edit, CString text) override;

    BEGIN_MSG_MAP(TSearchPanel)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        COMMAND_ID_HANDLER(ID_SEARCH_FIND_PREVIOUS, OnFindPreviousButton)
        COMMAND_ID_HANDLER(ID_SEARCH_FIND_NEXT, OnFindNextButton)
        COMMAND_ID_HANDLER(ID_SEARCH_CLOSE, OnCloseButton)
    END_MSG_MAP()

    TImeCompositionEdit edit;
    TLabel caption;
    CToolBarCtrl toolBar;
    ISearchPanelListener* listener = nullptr;

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM, LPARAM);
    void CreateToolBar();
    void SearchWords(const CString& text);
    bool Find(bool forward);
    void OnFindPreviousButton() { Find(false); }
    void OnFindNextButton() { Find(true); }
    void OnCloseButton();
    IEditListener* Shortcuts() const { return listener ? listener->GetShortcutListener() : nullptr; }

    CImageList images;
};
