#pragma once
// Text whose glyphs and advances depend on their neighbours (right-to-left and shaped scripts,
// combining marks) measured and drawn as one string through the script processor, so that what
// is laid out is what is drawn. GDI's extent calls do not shape everywhere its text output does.

#include <windows.h>

// Characters that must be measured in their string. Controls and surrogate pairs are drawn apart
// from their neighbours as well, but GDI measures them as it draws them.
bool IsShapedChar(wchar_t c);

// One string analysed with a font. The font stays selected into the DC while the object lives.
class TShapedText {
public:
    TShapedText(HDC dc, HFONT font, const wchar_t* text, int count);
    TShapedText(const TShapedText&) = delete;
    TShapedText& operator=(const TShapedText&) = delete;
    ~TShapedText();

    int GetWidth() const;
    // How many characters from the start fit into maxWidth, cut only between whole clusters;
    // width gets their width.
    int Fit(int maxWidth, int& width) const;
    void Draw(int x, int y) const;

private:
    HDC dc;
    HGDIOBJ oldFont = nullptr;
    const wchar_t* text;
    int count;
    // The script processor's analysis, or null when it failed: then GDI measures and draws.
    void* analysis = nullptr;
};

// How many characters of text fit into maxWidth in that font, shaped as one string, and their
// width. Shapes only as much of a long text as can fit.
int FitShapedText(HDC dc, HFONT font, const wchar_t* text, int count, int maxWidth, int& width);
