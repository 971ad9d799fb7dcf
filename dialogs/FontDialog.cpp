#include "dialogs/FontDialog.h"

#include "foundation/ResourceString.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <vector>

namespace {

const wchar_t* const kSizes[] = {L"1",  L"2",    L"3",  L"4",  L"5",  L"6",  L"7",  L"8",  L"9",
                                 L"10", L"10.5", L"11", L"12", L"13", L"14", L"16", L"18", L"20",
                                 L"22", L"24",   L"26", L"28", L"32", L"36", L"48", L"72"};

struct TStyle {
    bool bold, italic, underline;
};
const TStyle kStyles[] = {{false, false, false}, {true, false, false}, {false, true, false}, {false, false, true},
                          {true, true, false},   {true, false, true},  {false, true, true},  {true, true, true}};

CString StyleText(const TStyle& style)
{
    CString text;
    auto add = [&](bool on, UINT word) {
        if (!on)
            return;
        if (!text.IsEmpty())
            text += L' ';
        text += LoadResourceString(word);
    };
    add(style.bold, IDS_FONT_STYLE_BOLD);
    add(style.italic, IDS_FONT_STYLE_ITALIC);
    add(style.underline, IDS_FONT_STYLE_UNDERLINE);
    return text.IsEmpty() ? LoadResourceString(IDS_FONT_STYLE_NORMAL) : text;
}

// A whole number of points shows as "12", any other as "10.5"; a negative size shows its sign
// once, before the points ("-12.5").
CString SizeText(int tenths)
{
    const wchar_t* sign = tenths < 0 ? L"-" : L"";
    int magnitude = std::abs(tenths);
    CString text;
    if (magnitude % 10 == 0)
        text.Format(L"%s%d", sign, magnitude / 10);
    else
        text.Format(L"%s%d.%d", sign, magnitude / 10, magnitude % 10);
    return text;
}

} // namespace

int TFontDialogEx::ParseSize(const CString& text)
{
    CString trimmed = text;
    trimmed.Trim();
    if (trimmed.IsEmpty())
        return 0;
    wchar_t* end = nullptr;
    double tenths = 0;
    if (trimmed.Find(L'.') >= 0) {
        tenths = std::wcstod(trimmed, &end) * 10;
        // The small step away from zero keeps "10.7" from truncating to 106 through binary
        // rounding.
        tenths += tenths < 0 ? -1e-6 : 1e-6;
    } else {
        tenths = (double)std::wcstol(trimmed, &end, 10) * 10;
    }
    // The leading number counts; a unit or anything else after it ("12pt") is left aside.
    if (!end || end == trimmed.GetString() || tenths != tenths)
        return 0;
    // Held where the settings hold a size they read.
    return (int)std::clamp(tenths, (double)-kLargestFontSize, (double)kLargestFontSize);
}

BOOL TFontDialogEx::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    family.SubclassDlgItem(IDC_FONT_FAMILY, m_hWnd);
    sample.SubclassDlgItem(IDC_FONT_SAMPLE, m_hWnd);
    sample.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    sample.SetBackgroundColor(::GetSysColor(COLOR_WINDOW));

    HWND styles = Item(IDC_FONT_STYLE);
    for (const TStyle& style : kStyles)
        ::SendMessageW(styles, LB_ADDSTRING, 0, (LPARAM)(const wchar_t*)StyleText(style));
    HWND sizes = Item(IDC_FONT_SIZE);
    for (const wchar_t* entry : kSizes)
        ::SendMessageW(sizes, CB_ADDSTRING, 0, (LPARAM)entry);

    family.LoadFonts();
    family.SelectFontName(faceName);
    for (int i = 0; i < (int)std::size(kStyles); i++)
        if (kStyles[i].bold == bold && kStyles[i].italic == italic && kStyles[i].underline == underline)
            ::SendMessageW(styles, LB_SETCURSEL, i, 0);
    SetComboText(sizes, SizeText(size), kTextLimit);
    // The list shows the size it holds, so Down in the field goes on from there.
    int listed = (int)::SendMessageW(sizes, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(const wchar_t*)SizeText(size));
    if (listed >= 0)
        ::SendMessageW(sizes, CB_SETCURSEL, listed, 0);
    initialised = true;
    UpdateSample();
    FillCharsets();
    return TRUE;
}

void TFontDialogEx::FillCharsets()
{
    HWND list = Item(IDC_FONT_CHARSET);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    std::vector<BYTE> sets = family.GetCharsets(faceName);
    int chosen = -1;
    for (BYTE set : sets) {
        int index = (int)::SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)(const wchar_t*)GetCharsetName(set));
        ::SendMessageW(list, LB_SETITEMDATA, index, set);
        if (set == charset && chosen < 0)
            chosen = index;
    }
    if (sets.size() == 1) {
        ::SendMessageW(list, LB_SETCURSEL, 0, 0);
        ::EnableWindow(list, FALSE);
        return;
    }
    ::EnableWindow(list, TRUE);
    if (!sets.empty())
        ::SendMessageW(list, LB_SETCURSEL, chosen >= 0 ? chosen : 0, 0);
}

void TFontDialogEx::UpdateSample()
{
    sampleFont.SetFaceName(faceName);
    sampleFont.logFont.lfCharSet = charset;
    sampleFont.logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    sampleFont.logFont.lfItalic = italic ? TRUE : FALSE;
    sampleFont.logFont.lfUnderline = underline ? TRUE : FALSE;
    sampleFont.size = size;
    sampleFont.CreateHandle();
    sample.SetFont(sampleFont.handle, TRUE);
}

void TFontDialogEx::OnFamilyChosen()
{
    if (!initialised)
        return;
    int index = family.GetCurSel();
    if (index >= 0)
        faceName = family.GetLBText(index);
    FillCharsets();
    HWND list = Item(IDC_FONT_CHARSET);
    int selected = (int)::SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected >= 0)
        charset = (BYTE)::SendMessageW(list, LB_GETITEMDATA, selected, 0);
    UpdateSample();
}

void TFontDialogEx::OnStyleChosen()
{
    if (!initialised)
        return;
    bold = italic = underline = false;
    HWND styles = Item(IDC_FONT_STYLE);
    int index = (int)::SendMessageW(styles, LB_GETCURSEL, 0, 0);
    if (index >= 0) {
        CString text;
        int length = (int)::SendMessageW(styles, LB_GETTEXTLEN, index, 0);
        ::SendMessageW(styles, LB_GETTEXT, index, (LPARAM)text.GetBuffer(length + 1));
        text.ReleaseBuffer(length);
        bold = text.Find(LoadResourceString(IDS_FONT_STYLE_BOLD)) >= 0;
        italic = text.Find(LoadResourceString(IDS_FONT_STYLE_ITALIC)) >= 0;
        underline = text.Find(LoadResourceString(IDS_FONT_STYLE_UNDERLINE)) >= 0;
    }
    UpdateSample();
}

// The list's choice is not yet the field's text while the selection changes.
void TFontDialogEx::OnSizeChosen()
{
    HWND sizes = Item(IDC_FONT_SIZE);
    int index = (int)::SendMessageW(sizes, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return;
    CString text;
    int length = (int)::SendMessageW(sizes, CB_GETLBTEXTLEN, index, 0);
    ::SendMessageW(sizes, CB_GETLBTEXT, index, (LPARAM)text.GetBuffer(length + 1));
    text.ReleaseBuffer(length);
    TakeSize(text);
}

void TFontDialogEx::OnSizeEdited() { TakeSize(GetControlText(Item(IDC_FONT_SIZE))); }

void TFontDialogEx::TakeSize(const CString& text)
{
    if (!initialised)
        return;
    size = ParseSize(text);
    UpdateSample();
}

void TFontDialogEx::OnCharsetChosen()
{
    if (!initialised)
        return;
    HWND list = Item(IDC_FONT_CHARSET);
    int index = (int)::SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index >= 0)
        charset = (BYTE)::SendMessageW(list, LB_GETITEMDATA, index, 0);
    UpdateSample();
}

void TFontDialogEx::StartFrom(const TViewFont& font)
{
    faceName = font.family;
    charset = font.charset;
    size = font.size;
    bold = font.bold;
    italic = font.italic;
    underline = font.underline;
}

void TFontDialogEx::CopyChoiceTo(TViewFont& font) const
{
    font.family = faceName;
    font.charset = charset;
    font.size = size;
    font.bold = bold;
    font.italic = italic;
    font.underline = underline;
}
