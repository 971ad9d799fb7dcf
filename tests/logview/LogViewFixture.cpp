#include "LogViewFixture.h"

#include "classlib/App.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PointerInput.h"
#include "tests/common/UserInput.h"

void LogViewWindowTest::SetUp()
{
    settings.SetDefaults();
    theme.text.Apply(settings.logText);
    keyword.Like.push_back(L"keyword");
    LPCWSTR cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    ASSERT_TRUE(
        frame.CreateEx(0, cls, L"log view", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 400, 300, nullptr, nullptr));
    ASSERT_TRUE(view.Create(&theme.text, &theme.channelLogBack, frame, 70001, &keyword, &finder, false));
    SetViewSize(600, 400);
    frame.ShowWindow(SW_SHOW);
    view.ShowWindow(SW_SHOW);
    SetForegroundWindow(frame);
    Settle();
}

void LogViewWindowTest::TearDown()
{
    view.DestroyWindow();
    frame.DestroyWindow();
    PumpPendingMessages();
}

void LogViewWindowTest::SetViewSize(int width, int height)
{
    RECT rect = {0, 0, width, height};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(frame, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(frame, &client);
    MoveWindow(view, 0, 0, client.right, client.bottom, TRUE);
    Settle();
}

TLogLineData LogViewWindowTest::Line(const CString& body, const CString& nickPrefix, const CString& nick, int lineType)
{
    TLogLineData data;
    data.nickPrefix = nickPrefix;
    data.nick = nick;
    data.body = body;
    data.lineType = lineType;
    return data;
}

void LogViewWindowTest::AddLines(int count, const wchar_t* pattern)
{
    for (int i = 0; i < count; i++) {
        CString text;
        text.Format(pattern, view.GetLineCount());
        view.AddLine(Line(text), false);
    }
}

void LogViewWindowTest::Settle()
{
    // A hidden or empty view is never painted: nothing to wait for.
    auto painted = [&] {
        RECT client = {};
        GetClientRect(view, &client);
        return !IsWindowVisible(view) || IsRectEmpty(&client) ||
               (!view.IsPaintDue() && !GetUpdateRect(view, nullptr, FALSE) && !GetUpdateRect(frame, nullptr, FALSE));
    };
    UpdateWindow(view);
    WaitUntil(painted, "the log view painted");
}

POINT LogViewWindowTest::PointOfRow(int line, int row, int x)
{
    const TLogRowPos top = view.GetTopPosition();
    int y = 2;
    for (int i = top.line; i < view.GetLineCount(); i++) {
        TLogLine& l = view.GetLine(i);
        for (int r = i == top.line ? top.row : 0; r < l.GetRowCount(); r++) {
            if (i == line && r == row)
                return ScreenPointOf(view, x, y + l.GetRow(r).height / 2);
            y += l.GetRow(r).height + l.composition.context->leading;
        }
    }
    ADD_FAILURE() << "row not visible: " << line << ", " << row;
    return {0, 0};
}

POINT LogViewWindowTest::PointOfChar(int line, int ch, bool rightPart)
{
    TLogLine& l = view.GetLine(line);
    const int row = l.composition.RowIndexOf(ch, true);
    const POINT center = PointOfRow(line, row, 0);
    POINT client = center;
    ScreenToClient(view, &client);
    // The first x whose plain hit is the character, a pixel or two into the glyph; or the last
    // one, a pixel short of the next glyph.
    int found = -1;
    for (int x = 3; x < ClientWidth(); x++) {
        POINT probe = {x, client.y};
        TLogTextPos pos;
        view.HitTest(probe, pos, false);
        const bool on = pos.line == line && pos.ch == ch;
        if (on && !rightPart)
            return ScreenPointOf(view, x + 1, client.y);
        if (on)
            found = x;
        else if (found >= 0)
            return ScreenPointOf(view, found - 1, client.y);
    }
    ADD_FAILURE() << "character not found: " << line << ", " << ch;
    return center;
}

RECT LogViewWindowTest::ClientRect()
{
    RECT rect;
    GetClientRect(view, &rect);
    return rect;
}

CString LogViewWindowTest::ClipboardText()
{
    CString text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void LogViewWindowTest::EmptyTheClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

std::unique_ptr<TMemoryCanvas> LogViewWindowTest::CaptureView()
{
    auto canvas = std::make_unique<TMemoryCanvas>(ClientWidth(), ClientHeight());
    HDC dc = GetDC(view);
    BitBlt(canvas->dc, 0, 0, canvas->width, canvas->height, dc, 0, 0, SRCCOPY);
    ReleaseDC(view, dc);
    return canvas;
}

std::unique_ptr<TMemoryCanvas> LogViewWindowTest::CaptureFullRepaint()
{
    view.ShowWindow(SW_HIDE);
    view.ShowWindow(SW_SHOW);
    Settle();
    return CaptureView();
}
