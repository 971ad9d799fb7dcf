#pragma once
// TEdit: the program's edit control. It reports keys, the wheel, the context menu and text
// changes to its owner, draws in configurable colours and can fit its height to its font.
// TInputEdit adds the typed-line history; TImeCompositionEdit reports what the IME composes.

#include "classlib/Edit.h"
#include "classlib/Gdi.h"
#include "classlib/MsgMap.h"
#include "foundation/RingBuffer.h"

class TEdit;

// Operations returning bool return true when they consumed the event.
class IEditListener {
public:
    // Key and mouse operations return true when they consumed the input; by default none does.
    virtual bool OnKeyDown(TEdit*, UINT) { return false; }
    virtual bool OnSysKeyDown(TEdit*, UINT) { return false; }
    virtual bool OnEnter(TEdit*, UINT) { return false; }
    virtual bool OnCtrlSpace(TEdit*) { return false; }
    virtual bool OnMouseWheel(TEdit*, UINT, short, int, int) { return false; }
    virtual bool OnContextMenu(TEdit*, int, int) { return false; } // screen coordinates
    virtual void OnChange(TEdit*) {}
    virtual void OnHeightChanged(TEdit*) {}
    virtual void OnImeComposition(TEdit*, CString) {}

protected:
    ~IEditListener() = default;
};

class TEdit : public CEdit {
public:
    TEdit();

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Sets the font and, with auto-height on, fits the height to it and tells the listener.
    void SetFontAndAdjustHeight(HFONT font);
    static CString GetText(HWND window);
    void SetText(CString text) { SetWindowText(text); }
    // Recreates the background brush too.
    void SetColors(COLORREF text, COLORREF background);

    BEGIN_MSG_MAP(TEdit)
        MESSAGE_HANDLER(KV_REFLECTED(WM_CTLCOLOREDIT), OnCtlColor)
        MESSAGE_HANDLER(KV_REFLECTED(WM_CTLCOLORSTATIC), OnCtlColor)
        REFLECTED_COMMAND_HANDLER(EN_CHANGE, OnChange)
        MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
    END_MSG_MAP()

    IEditListener* listener = nullptr;
    CBrush backgroundBrush;
    COLORREF textColor;
    COLORREF backgroundColor;
    bool autoHeight = false;
    bool clientEdge = true;

protected:
    // True when the key was consumed.
    virtual bool HandleKeyDown(UINT key);
    // Runs just before a key is offered to the listener's OnKeyDown.
    virtual void BeforeKeyDownReport() {}

private:
    LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);
    void OnChange();
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
};

class TInputEdit : public TEdit {
public:
    // Keeps the typed line (not twice in a row) and empties the edit.
    void PushHistoryAndClear();
    // The typed lines, kept with the window settings between runs.
    TRingBuffer& GetHistory() { return history; }
    const TRingBuffer& GetHistory() const { return history; }

protected:
    bool HandleKeyDown(UINT key) override;

private:
    void ShowHistoryText(const CString& text);

    TRingBuffer history;
};

// Private message the edit posts itself to read the composition after the IME saw the key.
#define WM_REPORT_COMPOSITION (WM_APP + 1)

class TImeCompositionEdit : public TEdit {
public:
    BOOL PreTranslateMessage(MSG* msg) override;

    // The IME sends the end of a composition rather than posting it, so it is caught here.
    BEGIN_MSG_MAP(TImeCompositionEdit)
        MESSAGE_HANDLER(WM_IME_ENDCOMPOSITION, OnEndComposition)
        CHAIN_MSG_MAP(TEdit)
    END_MSG_MAP()

    bool reportComposition = false;

protected:
    void BeforeKeyDownReport() override;

private:
    void ReportComposition();
    LRESULT OnEndComposition(WPARAM wParam, LPARAM lParam);
};
