#pragma once
// GDI objects that own their handles, and a guard that selects an object into a device
// context for one scope, so painting code gives everything back on every path.

#include <windows.h>

template <class THandle> class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(THandle handle) : m_handle(handle) {}
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() { DeleteObject(); }

    operator THandle() const { return m_handle; }
    THandle GetSafeHandle() const { return m_handle; }
    BOOL Attach(THandle handle)
    {
        DeleteObject();
        m_handle = handle;
        return handle != nullptr;
    }
    THandle Detach()
    {
        THandle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    BOOL DeleteObject()
    {
        BOOL ok = m_handle && ::DeleteObject(m_handle);
        m_handle = nullptr;
        return ok;
    }

protected:
    THandle m_handle = nullptr;
};

class CFont : public CGdiObject<HFONT> {
public:
    BOOL CreateFontIndirect(const LOGFONTW* font) { return Attach(::CreateFontIndirectW(font)); }
};

class CBrush : public CGdiObject<HBRUSH> {
public:
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
};

class CPen : public CGdiObject<HPEN> {
public:
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
};

class CBitmap : public CGdiObject<HBITMAP> {
public:
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height)
    {
        return Attach(::CreateCompatibleBitmap(dc, width, height));
    }
};

class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? ::SelectObject(dc, object) : nullptr) {}
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
    ~CSelectObject()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
