#pragma once
// The custom-drawn, read-only log window of channels, talks, servers, the protocol log and the
// script console: keeps at most a set number of lines, follows the newest one unless the user
// scrolled away, and lets the user select, copy and search.

#include "classlib/MsgMap.h"
#include "classlib/Wnd.h"
#include "log/LogLineStore.h"
#include "logview/LogPicture.h"
#include "logview/LogSelection.h"
#include "logview/LogViewLayout.h"
#include "logview/LogViewListeners.h"

#include <vector>

// The vertical bar's state; the bar is shown disabled, never hidden, when nothing scrolls.
// Drawing the bar costs more than painting the text under Wine, so while lines flood in it is
// drawn at most every kRedrawInterval ms; its values are always current.
class TScroller {
public:
    static const UINT_PTR kTimerId = 2;
    static const DWORD kRedrawInterval = 100;

    virtual ~TScroller() = default;
    void Reset(HWND hwnd);
    void Update(int maximum, int position);
    // The deferred drawing is due.
    void OnTimer();

private:
    void Draw();

    HWND m_hwnd = nullptr;
    int m_maximum = 0;
    SCROLLINFO m_info = {};
    DWORD m_drawnAt = 0;
    bool m_timerRunning = false;
};

// What the picture was drawn with besides the positions of its rows; kept rows are moved
// instead of drawn again only while all of it still holds. Selection ends go by line number.
struct TLogPictureLook {
    int generation = 0;
    int width = 0;
    int height = 0;
    int leading = 0;
    int indent = 0;
    bool selection = false;
    int startNumber = 0, startChar = 0, endNumber = 0, endChar = 0;
    std::vector<CString> searchWords;
    COLORREF backColor = 0;
    bool operator==(const TLogPictureLook&) const = default;
};

// A display row in the picture: its line's number, the row, and the band [top, bottom).
struct TLogPaintedRow {
    int number = 0;
    int row = 0;
    int top = 0;
    int bottom = 0;
};

class TLogView : public CWnd, public ILogLineSink, private ILogViewLines {
public:
    TLogView();
    ~TLogView() override;

    // A hidden child window with an empty rectangle; the owner places and shows it.
    bool Create(TLogTextTheme* textTheme, const TLogBkTheme* backTheme, HWND parent, UINT id,
                const TLogKeyword* keyword, const TLogAddressFinder* addressFinder, bool rawText);

    TLogLineAdded AddLine(const TLogLineData& data, bool checkKeywords) override;
    void RemoveHeadLines(int count);
    int GetLineCount() const override { return m_store.GetCount(); }
    TLogLine& GetLine(int index) { return m_store.GetLine(index); }
    CString GetAllText() const;

    void ScrollToTop();
    void ScrollToEnd();
    void PageUp();
    void PageDown();
    void ScrollUp(int rows);
    void ScrollDown(int rows);
    void ShowLine(int line);
    // False when the line of that number is no longer kept.
    bool JumpToLineNumber(int number);
    void ResetLayout();
    void RefreshView();
    TLogRowPos GetTopPosition()
    {
        Settle();
        return m_layout.top;
    }
    TLogRowPos GetBottomPosition()
    {
        Settle();
        return m_layout.bottom;
    }
    bool IsAtEnd() const { return m_layout.IsAtEnd(); }
    // Changes are waiting to be painted: asked for, or held for the next display frame.
    bool IsPaintDue() const { return m_paintPending || m_frameTimerRunning; }

    // The point is clamped into the client area in place; false below the last line.
    bool HitTest(POINT& point, TLogTextPos& pos, bool nearest);
    bool HasSelection() const { return m_selection.HasSelection(); }
    const TLogSelection& GetSelection() const { return m_selection; }
    void ClearSelection();
    void SelectAll();
    CString GetSelectedText() const { return ::GetSelectedText(*this, m_selection); }
    void CopySelection();
    void ScrollToSelection();

    bool FindText(const CString& text, bool forward, bool matchCase, bool wrapAround);
    // An empty list ends the highlighting and puts the view back where it was.
    void SetSearchWords(const std::vector<CString>& words);
    const std::vector<CString>& GetSearchWords() const { return m_context.searchWords; }
    void EndSearch();
    bool FindFirstMatch();
    bool FindNextMatch(bool forward, bool fromStart);
    CString GetContextMenuText() const { return m_contextMenuText; }

    bool OnKeyDown(UINT key);
    bool OnSysKeyDown(UINT key);
    // Owners forward the wheel messages of their other windows here.
    void OnMouseWheel(UINT flags, short delta, POINT point);

    void SetLineLeading(int leading);
    void SetIndent(int indent);
    void SetBottomMargin(int margin) { m_layout.bottomMargin = margin; }

    ILogViewKeyListener* keyListener = nullptr;
    ILogViewContextPopupListener* contextPopupListener = nullptr;
    ILogViewNickContextPopupListener* nickPopupListener = nullptr;
    ILogViewEventLineClickListener* eventLineListener = nullptr;
    bool doubleBuffering = true;
    bool copyOnSelect = false;
    // 0 or less keeps every line.
    int maxLines = 1000;
    bool nickPopupsEnabled = false;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Keys go to OnKeyDown and OnSysKeyDown before a dialog or the loop translates them.
    BOOL PreTranslateMessage(MSG* msg) override;

    BEGIN_MSG_MAP(TLogView)
        MESSAGE_HANDLER(WM_CREATE, OnCreateMessage)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_SIZE, OnSizeMessage)
        MESSAGE_HANDLER(WM_VSCROLL, OnVScrollMessage)
        MESSAGE_HANDLER(WM_PAINT, OnPaintMessage)
        MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindowMessage)
        MESSAGE_HANDLER(WM_TIMER, OnTimerMessage)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnKillFocus)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDownMessage)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUpMessage)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClkMessage)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMoveMessage)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenuMessage)
        MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheelMessage)
        MESSAGE_HANDLER(WM_KEYDOWN, OnSwallowedKey)
        MESSAGE_HANDLER(WM_KEYUP, OnSwallowedKey)
        MESSAGE_HANDLER(WM_CHAR, OnSwallowedKey)
    END_MSG_MAP()

private:
    LRESULT OnCreateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return TRUE; } // painting covers the client area
    LRESULT OnSizeMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnVScrollMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaintMessage(WPARAM, LPARAM);
    LRESULT OnShowWindowMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimerMessage(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDownMessage(WPARAM, LPARAM);
    LRESULT OnLButtonUpMessage(WPARAM, LPARAM lParam);
    LRESULT OnLButtonDblClkMessage(WPARAM, LPARAM);
    LRESULT OnMouseMoveMessage(WPARAM, LPARAM);
    LRESULT OnContextMenuMessage(WPARAM, LPARAM lParam);
    LRESULT OnMouseWheelMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSwallowedKey(WPARAM, LPARAM) { return 0; }

    // ILogViewLines, over the kept lines.
    const CString& GetLineText(int line) const override;
    int GetRowCount(int line) override;
    int GetRowHeight(int line, int row) override;
    int GetLineLeading() const override { return m_context.leading; }
    int GetRowOfChar(int line, int ch, bool endExclusive) override;
    int HitTestLine(int line, int x, int y, int firstRow, bool nearest) override;

    // Works out the top that following the newest lines left pending.
    void Settle();
    void EnsureLineLayout(int line);
    HDC GetMeasureDC();
    int GetTextWidth() const { return m_clientWidth - 4; }
    void Repaint();
    // New lines are painted at most once a display frame: nobody sees more, and a paint costs
    // as much as adding many lines.
    void RepaintWithinFrame();
    void OnFrameTimer();
    void DropHeadLines(int count);
    void OnSize(int width, int height);
    void OnVScroll(int code);
    // Painting, in LogViewPaint.cpp.
    void DrawContent(HDC dc, const RECT& client);
    void DrawRows(HDC dc, const RECT& client, int line, int row, int y);
    void DrawPicture(const RECT& client, bool made);
    bool MoveKeptRows(HDC dc, const RECT& client);
    bool CanMoveRows() const;
    TLogPictureLook GetLook() const;
    int NumberOfIndex(int line) const;

    // Mouse and selection, in LogViewMouse.cpp.
    POINT GetCursorClientPoint() const;
    void SelectMatch(int line, int index, int length);
    void OnLButtonDown();
    void OnLButtonUp(POINT point);
    void OnLButtonDblClk();
    void SelectLineAt(POINT point);
    void OnMouseMove();
    void SetCursorFor(POINT point);
    void OnTimer();
    void StartAutoScrollTimer();
    void StopAutoScrollTimer();
    void MoveSelectionEndTo(POINT point);
    void OnContextMenu(int x, int y);

    mutable TLogLineStore m_store;
    TLogDrawContext m_context;
    TLogViewLayout m_layout;
    TScroller m_scroller;
    TLogSelection m_selection;
    TLogTextTheme* m_textTheme = nullptr;
    const TLogBkTheme* m_backTheme = nullptr;
    HDC m_measureDC = nullptr;
    int m_clientWidth = 0;
    int m_lastClientWidth = 0;
    bool m_paintPending = false;
    static const UINT_PTR kFrameTimerId = 3;
    static const DWORD kFrameInterval = 16;
    DWORD m_paintedAt = 0;
    bool m_frameTimerRunning = false;
    bool m_followPending = false;
    TLogPicture m_picture;
    bool m_pictureStale = true;
    TLogPictureLook m_pictureLook;
    std::vector<TLogPaintedRow> m_paintedRows;

    bool m_dragging = false;
    bool m_swallowNextClick = false;
    DWORD m_doubleClickTime = 0;
    DWORD m_tripleClickTime = 0;
    int m_autoScrollSpeed = 0;
    DWORD m_lastTick = 0;
    int m_interval = 200;
    bool m_timerRunning = false;
    bool m_searching = false;
    TLogRowPos m_savedTop;
    bool m_wasAtEnd = false;
    CString m_contextMenuText;
};
