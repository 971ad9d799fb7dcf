#include "controls/ComboBox.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "foundation/IrcPalette.h"
#include "foundation/ResourceString.h"
#include "foundation/StringUtils.h"
#include "res/resource.h"

#include <algorithm>

int TColorComboBox::ItemHeight() const
{
    LOGFONTW font = {};
    ::GetObjectW(GetFont() ? (HGDIOBJ)GetFont() : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    return std::abs((int)font.lfHeight) + 2;
}

void TColorComboBox::FillColors()
{
    filled = true;
    SetDroppedWidth(100);
    SetItemHeight(-1, ItemHeight());
    SetItemHeight(0, ItemHeight());
    SetItemData(AddString(LoadResourceString(IDS_COLOR_DEFAULT)), (DWORD_PTR)-1);
    std::vector<CString> names = SplitWords(LoadResourceString(IDS_IRC_COLOR_NAMES), 0);
    for (size_t i = 0; i < names.size() && i < 16; i++)
        SetItemData(AddString(names[i]), kIrcPalette[i]);
}

COLORREF TColorComboBox::GetSelectedColor() const
{
    int index = GetCurSel();
    return index < 0 ? (COLORREF)-1 : (COLORREF)GetItemData(index);
}

void TColorComboBox::DrawItem(DRAWITEMSTRUCT* item)
{
    if (item->itemID == (UINT)-1)
        return;
    CDC dc(item->hDC);
    RECT rect = item->rcItem;
    int h = rect.bottom - rect.top;
    bool disabled = !IsWindowEnabled(), selected = (item->itemState & ODS_SELECTED) != 0;
    int back = disabled ? COLOR_BTNFACE : (selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    int fore = disabled ? COLOR_GRAYTEXT : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    dc.FillSolidRect(rect, ::GetSysColor(back));
    COLORREF color = (COLORREF)item->itemData;
    if (color != (COLORREF)-1)
        dc.FillSolidRect(RECT{rect.left + 2, rect.top + 2, rect.left + h - 2, rect.bottom - 2}, color);
    RECT text = {rect.left + h + 2, rect.top, rect.right, rect.bottom};
    dc.SetTextColor(::GetSysColor(fore));
    dc.SetBkColor(::GetSysColor(back));
    dc.DrawText(GetLBText((int)item->itemID), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (selected)
        dc.DrawFocusRect(rect);
}

void TColorComboBox::MeasureItem(MEASUREITEMSTRUCT* item)
{
    RECT client;
    GetClientRect(&client);
    item->itemHeight = (UINT)ItemHeight();
    item->itemWidth = (UINT)(client.right - client.left);
}

LRESULT TColorComboBox::OnDrawItem(WPARAM, LPARAM lParam)
{
    DrawItem((DRAWITEMSTRUCT*)lParam);
    return TRUE;
}

LRESULT TColorComboBox::OnMeasureItem(WPARAM, LPARAM lParam)
{
    MeasureItem((MEASUREITEMSTRUCT*)lParam);
    return TRUE;
}

namespace {

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param)
{
    ((TFontComboBox*)param)->AddFace(font->lfFaceName, font->lfCharSet);
    return 1;
}

} // namespace

void TFontComboBox::AddFace(const CString& face, BYTE charset)
{
    if (face.IsEmpty() || face[0] == L'@')
        return;
    std::vector<BYTE>& sets = charsets[face];
    if (std::find(sets.begin(), sets.end(), charset) == sets.end())
        sets.push_back(charset);
    if (FindStringExact(-1, face) == CB_ERR)
        AddString(face);
}

void TFontComboBox::LoadFonts()
{
    CClientDC screen(nullptr);
    for (BYTE charset : {ANSI_CHARSET, SHIFTJIS_CHARSET, DEFAULT_CHARSET}) {
        LOGFONTW wanted = {};
        wanted.lfCharSet = charset;
        ::EnumFontFamiliesExW(screen, &wanted, CollectFace, (LPARAM)this, 0);
    }
}

void TFontComboBox::SelectFontName(const CString& name)
{
    int count = GetCount();
    for (int i = 0; i < count; i++)
        if (GetLBText(i) == name) {
            SetCurSel(i);
            return;
        }
    SetCurSel(-1);
}

CString TFontComboBox::GetSelectedFontName() const
{
    int index = GetCurSel();
    if (index < 0)
        return CString();
    CString name = GetLBText(index);
    return name == LoadResourceString(IDS_FONT_DEFAULT) ? CString() : name;
}

std::vector<BYTE> TFontComboBox::GetCharsets(const CString& face) const
{
    auto it = charsets.find(face);
    return it == charsets.end() ? std::vector<BYTE>() : it->second;
}

CString GetCharsetName(int charset)
{
    static const struct {
        int charset;
        UINT text;
    } kNames[] = {
        {ANSI_CHARSET, IDS_CHARSET_ANSI},
        {SYMBOL_CHARSET, IDS_CHARSET_SYMBOL},
        {MAC_CHARSET, IDS_CHARSET_MAC},
        {SHIFTJIS_CHARSET, IDS_CHARSET_SHIFTJIS},
        {HANGUL_CHARSET, IDS_CHARSET_HANGUL},
        {JOHAB_CHARSET, IDS_CHARSET_JOHAB},
        {GB2312_CHARSET, IDS_CHARSET_GB2312},
        {CHINESEBIG5_CHARSET, IDS_CHARSET_CHINESEBIG5},
        {GREEK_CHARSET, IDS_CHARSET_GREEK},
        {TURKISH_CHARSET, IDS_CHARSET_TURKISH},
        {VIETNAMESE_CHARSET, IDS_CHARSET_VIETNAMESE},
        {HEBREW_CHARSET, IDS_CHARSET_HEBREW},
        {ARABIC_CHARSET, IDS_CHARSET_ARABIC},
        {BALTIC_CHARSET, IDS_CHARSET_BALTIC},
        {RUSSIAN_CHARSET, IDS_CHARSET_RUSSIAN},
        {THAI_CHARSET, IDS_CHARSET_THAI},
        {EASTEUROPE_CHARSET, IDS_CHARSET_EASTEUROPE},
        {OEM_CHARSET, IDS_CHARSET_OEM},
    };
    for (const auto& name : kNames)
        if (name.charset == charset)
            return LoadResourceString(name.text);
    return LoadResourceString(IDS_CHARSET_OTHER);
}
