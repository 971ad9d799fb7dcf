#include "prefs/ViewLogTextPage.h"

#include "dialogs/FontDialog.h"
#include "dialogs/MessageBoxes.h"
#include "dialogs/PictureListDialog.h"
#include "foundation/ResourceString.h"

#include <algorithm>
#include <iterator>

namespace {

// The background style codes in the order of the names of the style list; enlarging right and
// top are stored as 304 and 303.
const int kBackStyles[] = {0,   100, 101, 102, 200, 201, 202, 203, 204, 205, 206, 207,
                           208, 300, 301, 302, 304, 303, 305, 306, 307, 308, 309};

const UINT kShadowNames[] = {IDS_SHADOW_NONE, IDS_SHADOW_DROP, IDS_SHADOW_OUTLINE, IDS_SHADOW_FILL};

const int kFontControls[] = {IDC_LOG_TEXT_SAMPLE, IDC_LOG_TEXT_FONT_COLOR, IDC_LOG_TEXT_FONT};
const int kAllControls[] = {IDC_LOG_TEXT_SAMPLE,
                            IDC_LOG_TEXT_FONT_COLOR,
                            IDC_LOG_TEXT_FONT,
                            IDC_LOG_TEXT_URL_UNDERLINE,
                            IDC_LOG_TEXT_HOST_UNDERLINE,
                            IDC_LOG_TEXT_SELECT_TEXT_COLOR,
                            IDC_LOG_TEXT_SELECT_BACK_COLOR,
                            IDC_LOG_TEXT_HILIGHT_COLOR,
                            IDC_LOG_TEXT_STYLE_LABEL,
                            IDC_LOG_TEXT_STYLE,
                            IDC_LOG_TEXT_IMAGE_LABEL,
                            IDC_LOG_TEXT_IMAGE_FILE,
                            IDC_LOG_TEXT_CHOOSE_IMAGE,
                            IDC_LOG_TEXT_BACK_COLOR,
                            IDC_LOG_TEXT_SHADOW_LABEL,
                            IDC_LOG_TEXT_SHADOW_KIND,
                            IDC_LOG_TEXT_SHADOW_COLOR};

} // namespace

BOOL TViewLogTextPage::OnInitDialog()
{
    TPropertyPage::OnInitDialog();
    if (!sources.view || !sources.textTheme || !sources.channelBack || !sources.allBack)
        return TRUE;
    initialised = true;
    items.SubclassDlgItem(IDC_LOG_TEXT_ITEMS, m_hWnd);
    sample.SubclassDlgItem(IDC_LOG_TEXT_SAMPLE, m_hWnd);
    items.listener = this;
    channelImage = sources.view->channelLogBack.imageFile;
    allImage = sources.view->allLogBack.imageFile;
    BuildItemTree();
    FillStyleNames();
    FillShadowList();
    HWND tab = Item(IDC_LOG_TEXT_SAMPLES);
    for (UINT title : {IDS_LOG_TEXT_CHANNEL_LOG, IDS_LOG_TEXT_ALL_LOG}) {
        CString text = LoadResourceString(title);
        TCITEMW tabItem = {};
        tabItem.mask = TCIF_TEXT;
        tabItem.pszText = const_cast<wchar_t*>((const wchar_t*)text);
        ::SendMessageW(tab, TCM_INSERTITEMW, ::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), (LPARAM)&tabItem);
    }
    CreateSamples();
    ShowItem(items.GetSelectedItem());
    return TRUE;
}

void TViewLogTextPage::FillStyleNames()
{
    CString names = LoadResourceString(IDS_LOG_TEXT_BACK_STYLES);
    styleNames.clear();
    for (size_t i = 0; i < std::size(kBackStyles); i++) {
        int comma = names.Find(L',');
        styleNames.push_back(comma >= 0 ? names.Left(comma) : names);
        names = comma >= 0 ? names.Mid(comma + 1) : CString();
    }
    styleChoices.clear();
    for (size_t i = 0; i < std::size(kBackStyles); i++)
        styleChoices.push_back({styleNames[i], kBackStyles[i]});
}

void TViewLogTextPage::FillShadowList()
{
    HWND combo = Item(IDC_LOG_TEXT_SHADOW_KIND);
    for (UINT name : kShadowNames)
        ::SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)(const wchar_t*)LoadResourceString(name));
}

void TViewLogTextPage::OnSelChanged(TTreeView*, HTREEITEM newItem, HTREEITEM) { ShowItem(newItem); }

void TViewLogTextPage::ExchangeItem(int code, TDialogExchange::Direction direction)
{
    TDialogExchange io(m_hWnd, direction);
    TViewLogTextConfig& text = sources.view->logText;
    switch (code) {
    case kLogTextShadow:
        io.ListIndex(IDC_LOG_TEXT_SHADOW_KIND, text.shadowKind);
        break;
    // The boxes say "underline"; the settings say "use the font".
    case kLogTextUrl:
        io.InvertedCheck(IDC_LOG_TEXT_URL_UNDERLINE, text.useUrlFont);
        break;
    case kLogTextHost:
        io.InvertedCheck(IDC_LOG_TEXT_HOST_UNDERLINE, text.useHostnameFont);
        break;
    case kLogTextChannelBack:
    case kLogTextAllBack: {
        TViewBackground& back = code == kLogTextChannelBack ? sources.view->channelLogBack : sources.view->allLogBack;
        io.Choice(IDC_LOG_TEXT_STYLE, back.style, styleChoices);
        io.Edit(IDC_LOG_TEXT_IMAGE_FILE, back.imageFile, 0);
        break;
    }
    }
}

void TViewLogTextPage::ShowControls(std::initializer_list<int> shown)
{
    for (int id : kAllControls) {
        bool show = std::find(shown.begin(), shown.end(), id) != shown.end();
        ::ShowWindow(Item(id), show ? SW_SHOWNA : SW_HIDE);
    }
}

void TViewLogTextPage::ShowItem(HTREEITEM item)
{
    if (!initialised || !item)
        return;
    const int code = CodeOf(item);
    const TViewLogTextConfig& text = sources.view->logText;
    const COLORREF channelBack = sources.view->channelLogBack.color;
    TFont* plain = sources.textTheme->GetLineFont(0, false, false);
    switch (code) {
    case kLogTextBackgrounds:
        ShowControls({});
        return;
    case kLogTextChannelBack:
    case kLogTextAllBack:
        ShowBackground(code);
        return;
    case kLogTextShadow:
        ShowControls({IDC_LOG_TEXT_SHADOW_LABEL, IDC_LOG_TEXT_SHADOW_KIND, IDC_LOG_TEXT_SHADOW_COLOR});
        ExchangeItem(code, TDialogExchange::Direction::Load);
        return;
    case kLogTextSelection:
        ShowControls({IDC_LOG_TEXT_SAMPLE, IDC_LOG_TEXT_SELECT_TEXT_COLOR, IDC_LOG_TEXT_SELECT_BACK_COLOR});
        ShowLabel(plain, text.selectTextColor, text.selectBackColor);
        return;
    case kLogTextHilight:
        ShowControls({IDC_LOG_TEXT_SAMPLE, IDC_LOG_TEXT_HILIGHT_COLOR});
        ShowLabel(plain, text.lineFonts[0].color, text.hilightBackColor);
        return;
    case kLogTextUrl:
    case kLogTextHost: {
        int check = code == kLogTextUrl ? IDC_LOG_TEXT_URL_UNDERLINE : IDC_LOG_TEXT_HOST_UNDERLINE;
        ShowControls({kFontControls[0], kFontControls[1], kFontControls[2], check});
        ExchangeItem(code, TDialogExchange::Direction::Load);
        ShowLabel(GetThemeFont(code), GetFontSetting(code)->color, channelBack);
        return;
    }
    }
    ShowControls({kFontControls[0], kFontControls[1], kFontControls[2]});
    if (const TViewFont* font = GetFontSetting(code)) {
        ShowLabel(GetThemeFont(code), font->color, channelBack);
        return;
    }
    // A root or a group edits the fonts below it: shown greyed in the first of them.
    int child = CodeOf(items.GetChildItem(item));
    TFont* font = GetFontSetting(child) ? GetThemeFont(child) : plain;
    ShowLabel(font, ::GetSysColor(COLOR_GRAYTEXT), ::GetSysColor(COLOR_BTNFACE));
}

void TViewLogTextPage::ShowBackground(int code)
{
    ShowControls({IDC_LOG_TEXT_STYLE_LABEL, IDC_LOG_TEXT_IMAGE_LABEL, IDC_LOG_TEXT_IMAGE_FILE,
                  IDC_LOG_TEXT_CHOOSE_IMAGE, IDC_LOG_TEXT_STYLE, IDC_LOG_TEXT_BACK_COLOR});
    int tab = code == kLogTextChannelBack ? 0 : 1;
    ::SendDlgItemMessageW(m_hWnd, IDC_LOG_TEXT_SAMPLES, TCM_SETCURSEL, tab, 0);
    ShowSample(tab);
    ExchangeItem(code, TDialogExchange::Direction::Load);
}

// A font that could not be made (a face or size no font has) falls back to the plain text font,
// then to the page's own, so the label never draws with a missing or zero-height font.
void TViewLogTextPage::ShowLabel(TFont* font, COLORREF text, COLORREF back)
{
    if (!font || !font->handle)
        font = sources.textTheme->GetLineFont(0, false, false);
    if (font && font->handle) {
        sampleFont.Assign(*font);
        sampleFont.CreateHandle();
    } else {
        sampleFont.DeleteHandle();
    }
    HFONT handle = sampleFont.handle ? sampleFont.handle : (HFONT)SendMessage(WM_GETFONT);
    labelText = text;
    labelBack = back;
    sample.SendMessage(WM_SETFONT, (WPARAM)handle, FALSE);
    sample.SetTextColor(text);
    sample.SetBackgroundColor(back);
}

TViewFont* TViewLogTextPage::FontOfItemOrFirstChild(HTREEITEM item) const
{
    if (TViewFont* font = GetFontSetting(CodeOf(item)))
        return font;
    return GetFontSetting(CodeOf(items.GetChildItem(item)));
}

void TViewLogTextPage::ForEachFontUnder(HTREEITEM item, const std::function<void(TViewFont&)>& change)
{
    if (TViewFont* font = GetFontSetting(CodeOf(item))) {
        change(*font);
        return;
    }
    for (HTREEITEM child = items.GetChildItem(item); child; child = items.GetNextSiblingItem(child)) {
        if (TViewFont* font = GetFontSetting(CodeOf(child))) {
            change(*font);
            continue;
        }
        for (HTREEITEM grandchild = items.GetChildItem(child); grandchild;
             grandchild = items.GetNextSiblingItem(grandchild))
            if (TViewFont* font = GetFontSetting(CodeOf(grandchild)))
                change(*font);
    }
}

// The refresh already showed the selected item again; the colour marks follow here.
void TViewLogTextPage::ApplyThemeAndRedraw()
{
    ApplyTheme();
    if (initialised)
        items.Invalidate();
}

void TViewLogTextPage::OnChangeFont()
{
    HTREEITEM item = items.GetSelectedItem();
    const TViewFont* shown = item ? FontOfItemOrFirstChild(item) : nullptr;
    if (!shown)
        return;
    TFontDialogEx dialog(this);
    dialog.StartFrom(*shown);
    if (dialog.DoModal() != IDOK)
        return;
    ForEachFontUnder(item, [&](TViewFont& font) { dialog.CopyChoiceTo(font); });
    ApplyThemeAndRedraw();
}

bool TViewLogTextPage::PickColor(COLORREF& color)
{
    TColorDialog dialog(color, 0, ::GetAncestor(m_hWnd, GA_ROOT));
    if (dialog.DoModal() != IDOK)
        return false;
    color = dialog.GetColor();
    return true;
}

void TViewLogTextPage::OnChangeFontColor()
{
    HTREEITEM item = items.GetSelectedItem();
    COLORREF color = labelText;
    if (!item || !FontOfItemOrFirstChild(item) || !PickColor(color))
        return;
    ForEachFontUnder(item, [&](TViewFont& font) { font.color = color; });
    ApplyThemeAndRedraw();
}

// A pick ends the list with CBN_SELENDOK, which may come while the list is still open (a key
// pressed in it); arrows on the closed list report CBN_SELCHANGE alone. Arrows moving through
// the open list are no choice yet: a list closed without a pick ends with CBN_SELENDCANCEL.
bool TViewLogTextPage::IsListOpen(int id) const
{
    return ::SendDlgItemMessageW(m_hWnd, id, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TViewLogTextPage::OnStyleSelChange()
{
    if (!IsListOpen(IDC_LOG_TEXT_STYLE))
        OnStyleChanged();
}

// Esc, F4, Alt+Up, Tab or a click elsewhere close the list without a pick, yet the box may
// still show the entry the arrows reached: it shows what is stored again.
void TViewLogTextPage::OnListCancelled() { ExchangeItem(SelectedCode(), TDialogExchange::Direction::Load); }

void TViewLogTextPage::OnStyleChanged()
{
    TViewBackground* back = SelectedBackground();
    if (!back)
        return;
    int before = back->style;
    ExchangeItem(SelectedCode(), TDialogExchange::Direction::Store);
    if (back->style != before)
        ApplyTheme();
}

void TViewLogTextPage::OnChangeBackColor()
{
    if (TViewBackground* back = SelectedBackground())
        PickColorInto(back->color, back->color);
}

void TViewLogTextPage::OnChooseImage()
{
    TViewBackground* back = SelectedBackground();
    if (!back)
        return;
    TPictureListDialog dialog(this);
    dialog.folders = {sources.userImageFolder, sources.programImageFolder};
    dialog.file = GetControlText(Item(IDC_LOG_TEXT_IMAGE_FILE));
    if (dialog.DoModal() != IDOK)
        return;
    // A picture that does not decode never becomes the background; the user is told why the
    // pick changed nothing.
    if (!dialog.file.IsEmpty() && !PictureLoads(dialog.file)) {
        CString text;
        text.Format(LoadResourceString(IDS_LOG_TEXT_PICTURE_UNREADABLE), (const wchar_t*)dialog.file);
        ShowWarningMessage(::GetAncestor(m_hWnd, GA_ROOT), text, CString());
        return;
    }
    back->imageFile = dialog.file;
    // No picture means the colour alone; a first picture is tiled.
    if (back->imageFile.IsEmpty() || back->style == kBackStyles[0])
        back->style = back->imageFile.IsEmpty() ? kBackStyles[0] : kBackStyles[1];
    ExchangeItem(SelectedCode(), TDialogExchange::Direction::Load);
    // A pick always applies: under the same name the file may have been missing or replaced, and
    // no picture must drop the one the working background holds.
    bool channel = back == &sources.view->channelLogBack;
    (channel ? *sources.channelBack : *sources.allBack)
        .Apply(*back, sources.userImageFolder, sources.programImageFolder);
    (channel ? channelImage : allImage) = back->imageFile;
    ApplyTheme();
}

void TViewLogTextPage::OnUnderline()
{
    ExchangeItem(SelectedCode(), TDialogExchange::Direction::Store);
    ApplyTheme();
}

void TViewLogTextPage::OnShadowKindSelChange()
{
    if (!IsListOpen(IDC_LOG_TEXT_SHADOW_KIND))
        OnShadowKindChanged();
}

void TViewLogTextPage::OnShadowKindChanged()
{
    int& kind = sources.view->logText.shadowKind;
    int before = kind;
    ExchangeItem(kLogTextShadow, TDialogExchange::Direction::Store);
    if (kind != before)
        ApplyTheme();
}

void TViewLogTextPage::PickColorInto(COLORREF start, COLORREF& field)
{
    if (!PickColor(start))
        return;
    field = start;
    ApplyThemeAndRedraw();
}

void TViewLogTextPage::OnChangeShadowColor()
{
    PickColorInto(sources.view->logText.shadowColor, sources.view->logText.shadowColor);
}

void TViewLogTextPage::OnChangeSelectTextColor() { PickColorInto(labelText, sources.view->logText.selectTextColor); }

void TViewLogTextPage::OnChangeSelectBackColor() { PickColorInto(labelBack, sources.view->logText.selectBackColor); }

void TViewLogTextPage::OnChangeHilightColor() { PickColorInto(labelBack, sources.view->logText.hilightBackColor); }

LRESULT TViewLogTextPage::OnTabChanged(NMHDR*)
{
    ShowSample((int)::SendDlgItemMessageW(m_hWnd, IDC_LOG_TEXT_SAMPLES, TCM_GETCURSEL, 0, 0));
    return 0;
}
