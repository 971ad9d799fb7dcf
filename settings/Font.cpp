#include "settings/Font.h"

#include "classlib/App.h"
#include "classlib/Wnd.h"

#include <cstdlib>

TFont::TFont()
{
    ZeroMemory(&logFont, sizeof logFont);
    logFont.lfCharSet = SHIFTJIS_CHARSET;
}

TFont::~TFont() { DeleteHandle(); }

void TFont::DeleteHandle()
{
    if (handle)
        DeleteObject(handle);
    handle = nullptr;
}

int TFont::PointsToHeight(int tenths)
{
    CWnd* main = AfxGetMainWnd();
    HWND window = main ? main->m_hWnd : nullptr;
    HDC dc = GetDC(window);
    POINT points[2] = {{0, MulDiv(tenths, GetDeviceCaps(dc, LOGPIXELSY), 720)}, {0, 0}};
    DPtoLP(dc, points, 2);
    ReleaseDC(window, dc);
    return -abs(points[0].y - points[1].y);
}

void TFont::CreateHandle()
{
    DeleteHandle();
    logFont.lfHeight = PointsToHeight(size);
    lstrcpynW(logFont.lfFaceName, faceName, LF_FACESIZE);
    logFont.lfQuality = CLEARTYPE_QUALITY;
    handle = CreateFontIndirectW(&logFont);
}

void TFont::Assign(const TFont& other)
{
    DeleteHandle();
    faceName = other.faceName;
    size = other.size;
    logFont.lfWeight = other.logFont.lfWeight == FW_BOLD ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = other.logFont.lfItalic ? TRUE : FALSE;
    logFont.lfUnderline = other.logFont.lfUnderline ? TRUE : FALSE;
    logFont.lfCharSet = other.logFont.lfCharSet;
    color = other.color;
}
