#pragma once
// A font as the program keeps it: face, size in tenths of a point, colour and LOGFONT, with the
// GDI font made from them on request.

#include "classlib/String.h"

#include <windows.h>

class TFont {
public:
    TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;
    ~TFont();

    void SetFaceName(const CString& name) { faceName = name; }
    // Negative character height on the main window's display (the screen before it exists).
    static int PointsToHeight(int tenths);
    void CreateHandle();
    // Takes the settings only; the caller makes the GDI font.
    void Assign(const TFont& other);
    void DeleteHandle();

    HFONT handle = nullptr;
    COLORREF color = 0;
    LOGFONTW logFont;
    int size = 0;
    CString faceName;
};
