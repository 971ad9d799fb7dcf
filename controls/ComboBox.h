#pragma once
// Combo boxes of the settings dialogs: the sixteen IRC colours with swatches, and the font
// faces with the character sets each supports.

#include "classlib/ComboBox.h"
#include "classlib/MsgMap.h"

#include <map>
#include <vector>

class TComboBox : public CComboBox {};

// Needs CBS_OWNERDRAWFIXED | CBS_HASSTRINGS.
class TColorComboBox : public TComboBox {
public:
    // The default entry first, then the sixteen colours by colour number.
    void FillColors();
    // -1 when nothing or the default entry is selected.
    COLORREF GetSelectedColor() const;
    virtual void DrawItem(DRAWITEMSTRUCT* item);
    virtual void MeasureItem(MEASUREITEMSTRUCT* item);

    BEGIN_MSG_MAP(TColorComboBox)
        MESSAGE_HANDLER(KV_REFLECTED(WM_DRAWITEM), OnDrawItem)
        MESSAGE_HANDLER(KV_REFLECTED(WM_MEASUREITEM), OnMeasureItem)
    END_MSG_MAP()

    bool filled = false;

private:
    int ItemHeight() const;
    LRESULT OnDrawItem(WPARAM, LPARAM lParam);
    LRESULT OnMeasureItem(WPARAM, LPARAM lParam);
};

class TFontComboBox : public TComboBox {
public:
    // Faces usable for ANSI, Shift-JIS and the default set; vertical (@) faces are left out.
    void LoadFonts();
    void SelectFontName(const CString& name);
    // Empty when nothing or the default entry is selected.
    CString GetSelectedFontName() const;
    std::vector<BYTE> GetCharsets(const CString& face) const;
    // Records one face reported for a character set.
    void AddFace(const CString& face, BYTE charset);

private:
    std::map<CString, std::vector<BYTE>> charsets;
};

// The display name of a character set.
CString GetCharsetName(int charset);
