#pragma once
// Device contexts: CDC calls on any context (and owns one it made itself); CPaintDC and
// CClientDC take a window's context for one scope and give it back.

#include "classlib/String.h"

#include <windows.h>

class CDC {
public:
    CDC() = default;
    explicit CDC(HDC dc) : m_hDC(dc) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC()
    {
        if (m_owned)
            ::DeleteDC(m_hDC);
    }

    operator HDC() const { return m_hDC; }
    BOOL CreateCompatibleDC(HDC dc)
    {
        if (m_owned)
            ::DeleteDC(m_hDC);
        m_hDC = ::CreateCompatibleDC(dc);
        m_owned = m_hDC != nullptr;
        return m_owned;
    }
    HDC Detach()
    {
        HDC dc = m_hDC;
        m_hDC = nullptr;
        m_owned = false;
        return dc;
    }

    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    void FillSolidRect(const RECT& rect, COLORREF color)
    {
        COLORREF old = ::SetBkColor(m_hDC, color);
        ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        ::SetBkColor(m_hDC, old);
    }
    int DrawText(const CString& text, RECT* rect, UINT format)
    {
        return ::DrawTextW(m_hDC, text, text.GetLength(), rect, format);
    }
    SIZE GetTextExtent(const CString& text) const
    {
        SIZE size = {};
        ::GetTextExtentPoint32W(m_hDC, text, text.GetLength(), &size);
        return size;
    }
    BOOL GetTextMetrics(TEXTMETRICW* metrics) const { return ::GetTextMetricsW(m_hDC, metrics); }
    int GetClipBox(RECT* rect) const { return ::GetClipBox(m_hDC, rect); }
    BOOL BitBlt(int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, width, height, source, sx, sy, rop);
    }
    BOOL PatBlt(const RECT& r, DWORD rop)
    {
        return ::PatBlt(m_hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, rop);
    }
    BOOL DrawFocusRect(const RECT& rect) { return ::DrawFocusRect(m_hDC, &rect); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    HDC m_hDC = nullptr;

private:
    bool m_owned = false;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hWnd(hwnd) { m_hDC = ::BeginPaint(hwnd, &m_ps); }
    ~CPaintDC() override { ::EndPaint(m_hWnd, &m_ps); }

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(HWND hwnd) : m_hWnd(hwnd) { m_hDC = ::GetDC(hwnd); }
    ~CClientDC() override { ::ReleaseDC(m_hWnd, m_hDC); }

private:
    HWND m_hWnd;
};
