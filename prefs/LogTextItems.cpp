// The log text page's item tree: what each item stands for, the font records and theme fonts
// behind the codes, and the colour mark drawn in each item's image place.

#include "prefs/ViewLogTextPage.h"

#include "classlib/App.h"
#include "classlib/Gdi.h"
#include "foundation/ResourceString.h"

namespace {

// One tree item: its depth (0 root, 1 child, 2 grandchild), code and text (a string-table
// text, or the literal when the id is 0).
struct TItemRow {
    int depth;
    int code;
    UINT text;
    const wchar_t* literal;
};

const TItemRow kItemRows[] = {
    {0, kLogTextFonts, IDS_LOG_TEXT_FONT, nullptr},
    {1, kLogTextTime, IDS_LOG_TEXT_TIME, nullptr},
    {1, kLogTextPlace, IDS_LOG_TEXT_PLACE, nullptr},
    {1, kLogTextKeyword, IDS_LOG_TEXT_KEYWORD, nullptr},
    {1, kLogTextUrl, IDS_LOG_TEXT_URL, nullptr},
    {1, kLogTextHost, IDS_LOG_TEXT_HOST, nullptr},
    {1, kLogTextSelection, IDS_LOG_TEXT_SELECTION, nullptr},
    {1, kLogTextHilight, IDS_LOG_TEXT_HILIGHT, nullptr},
    {1, kLogTextNickGroup + 0, IDS_LOG_TEXT_NICK, nullptr},
    {2, kLogTextNickFont + 0, IDS_LOG_TEXT_NICK_NORMAL, nullptr},
    {2, kLogTextNickFont + 1, IDS_LOG_TEXT_NICK_SELF, nullptr},
    {2, kLogTextNickFont + 2, 0, L"1"},
    {2, kLogTextNickFont + 3, 0, L"2"},
    {2, kLogTextNickFont + 4, 0, L"3"},
    {2, kLogTextNickFont + 5, 0, L"4"},
    {2, kLogTextNickFont + 6, 0, L"5"},
    {1, kLogTextNickGroup + 1, IDS_LOG_TEXT_TEXT, nullptr},
    {2, kLogTextLineFont + 0, 0, L"Privmsg"},
    {2, kLogTextLineFont + 1, 0, L"Notice"},
    {2, kLogTextLineFont + 2, 0, L"Action"},
    {1, kLogTextNickGroup + 2, IDS_LOG_TEXT_SYSTEM, nullptr},
    {2, kLogTextLineFont + 16, IDS_LOG_TEXT_SYSTEM, nullptr},
    {2, kLogTextLineFont + 14, IDS_LOG_TEXT_ERROR, nullptr},
    {1, kLogTextNickGroup + 3, IDS_LOG_TEXT_IN, nullptr},
    {2, kLogTextLineFont + 3, 0, L"Join"},
    {2, kLogTextLineFont + 7, 0, L"Invite"},
    {1, kLogTextNickGroup + 4, IDS_LOG_TEXT_OUT, nullptr},
    {2, kLogTextLineFont + 4, 0, L"Part"},
    {2, kLogTextLineFont + 5, 0, L"Quit"},
    {2, kLogTextLineFont + 6, 0, L"Kick"},
    {1, kLogTextNickGroup + 5, IDS_LOG_TEXT_MODE, nullptr},
    {2, kLogTextLineFont + 8, 0, L"Nick"},
    {2, kLogTextLineFont + 9, 0, L"Mode"},
    {2, kLogTextLineFont + 10, 0, L"Topic"},
    {1, kLogTextNickGroup + 6, 0, L"CTCP/DCC"},
    {2, kLogTextLineFont + 11, 0, L"CTCP"},
    {2, kLogTextLineFont + 12, 0, L"DCC Send"},
    {2, kLogTextLineFont + 13, 0, L"DCC Chat"},
    {1, kLogTextNickGroup + 7, IDS_LOG_TEXT_AUXILIARY, nullptr},
    {2, kLogTextLineFont + 15, IDS_LOG_TEXT_REPLY, nullptr},
    {2, kLogTextLineFont + 17, IDS_LOG_TEXT_MACRO, nullptr},
    {2, kLogTextLineFont + 18, IDS_LOG_TEXT_SENT, nullptr},
    {2, kLogTextLineFont + 19, IDS_LOG_TEXT_RECEIVED, nullptr},
    {0, kLogTextBackgrounds, IDS_LOG_TEXT_BACKGROUND, nullptr},
    {1, kLogTextChannelBack, IDS_LOG_TEXT_CHANNEL_LOG, nullptr},
    {1, kLogTextAllBack, IDS_LOG_TEXT_ALL_LOG, nullptr},
    {1, kLogTextShadow, IDS_LOG_TEXT_SHADOW, nullptr},
};

} // namespace

void TViewLogTextPage::BuildItemTree()
{
    itemImages.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    HICON icon =
        (HICON)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_LOG_TEXT_ITEM), IMAGE_ICON, 16, 16, 0);
    itemImages.Add(icon);
    if (icon)
        ::DestroyIcon(icon);
    items.SetImageList(itemImages, TVSIL_NORMAL);
    HTREEITEM parents[3] = {TVI_ROOT, nullptr, nullptr};
    for (const TItemRow& row : kItemRows) {
        CString text = row.literal ? CString(row.literal) : LoadResourceString(row.text);
        TVINSERTSTRUCTW insert = {};
        insert.hParent = parents[row.depth];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = const_cast<wchar_t*>((const wchar_t*)text);
        insert.item.lParam = row.code;
        HTREEITEM item = items.InsertItem(&insert);
        if (row.depth < 2)
            parents[row.depth + 1] = item;
    }
    HTREEITEM fonts = FindItem(kLogTextFonts);
    items.Expand(fonts, TVE_EXPAND);
    items.Expand(FindItem(kLogTextBackgrounds), TVE_EXPAND);
    items.SelectItem(FindItem(kLogTextTime));
    items.ScrollItemIntoView(fonts);
}

HTREEITEM TViewLogTextPage::FindItem(int code) const
{
    // Depth first over the whole tree; it holds fewer than fifty items.
    HTREEITEM item = items.GetRootItem();
    while (item) {
        if (CodeOf(item) == code)
            return item;
        HTREEITEM next = items.GetChildItem(item);
        while (!next && item) {
            next = items.GetNextSiblingItem(item);
            item = items.GetParentItem(item);
        }
        item = next;
    }
    return nullptr;
}

int TViewLogTextPage::CodeOf(HTREEITEM item) const
{
    if (!item)
        return 0;
    TVITEMW data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    items.GetItem(&data);
    return (int)data.lParam;
}

int TViewLogTextPage::SelectedCode() const { return CodeOf(items.GetSelectedItem()); }

TViewBackground* TViewLogTextPage::SelectedBackground() const
{
    int code = SelectedCode();
    return code == kLogTextChannelBack ? &sources.view->channelLogBack
           : code == kLogTextAllBack   ? &sources.view->allLogBack
                                       : nullptr;
}

namespace {

// The font a code names among the 32 of the log text, in the stored settings and in the theme
// alike (both name them the same); null for codes without a font.
template <class TFonts> auto FontOfCode(TFonts& fonts, int code) -> decltype(&fonts.timeFont)
{
    switch (code) {
    case kLogTextTime:
        return &fonts.timeFont;
    case kLogTextPlace:
        return &fonts.channelFont;
    case kLogTextKeyword:
        return &fonts.keywordFont;
    case kLogTextUrl:
        return &fonts.urlFont;
    case kLogTextHost:
        return &fonts.hostnameFont;
    }
    if (code >= kLogTextLineFont && code < kLogTextLineFont + kLineKindCount)
        return &fonts.lineFonts[code - kLogTextLineFont];
    if (code >= kLogTextNickFont && code < kLogTextNickFont + kNickFontCount)
        return &fonts.nickFonts[code - kLogTextNickFont];
    return nullptr;
}

} // namespace

TViewFont* TViewLogTextPage::GetFontSetting(int code) const
{
    return sources.view ? FontOfCode(sources.view->logText, code) : nullptr;
}

TFont* TViewLogTextPage::GetThemeFont(int code) const
{
    return sources.textTheme ? FontOfCode(*sources.textTheme, code) : nullptr;
}

bool TViewLogTextPage::ItemColor(int code, COLORREF& color) const
{
    const TViewSettings& view = *sources.view;
    if (const TViewFont* font = GetFontSetting(code))
        color = font->color;
    else if (code == kLogTextChannelBack)
        color = view.channelLogBack.color;
    else if (code == kLogTextAllBack)
        color = view.allLogBack.color;
    else if (code == kLogTextShadow)
        color = view.logText.shadowColor;
    else if (code == kLogTextSelection)
        color = view.logText.selectBackColor;
    else if (code == kLogTextHilight)
        color = view.logText.hilightBackColor;
    else
        return false;
    return true;
}

void TViewLogTextPage::OnCustomDraw(TTreeView* tree, NMHDR* header, LRESULT* result)
{
    auto* draw = (NMTVCUSTOMDRAW*)header;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        *result = CDRF_NOTIFYPOSTPAINT;
        return;
    }
    COLORREF color = 0;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPOSTPAINT || !initialised || !ItemColor((int)draw->nmcd.lItemlParam, color))
        return;
    // The square fills the item's image place, one indent wide, just left of the text (the
    // depth arithmetic of the control differs by a pixel or two between systems).
    auto item = (HTREEITEM)draw->nmcd.dwItemSpec;
    const int indent = (int)tree->SendMessage(TVM_GETINDENT);
    RECT text = {};
    tree->GetItemRect(item, &text, TRUE);
    RECT square;
    square.right = text.left;
    square.left = text.left - indent;
    square.top = text.top;
    square.bottom = text.top + tree->GetItemHeight();
    ::InflateRect(&square, -1, -1);
    CBrush fill;
    CPen pen;
    fill.CreateSolidBrush(color);
    pen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOW));
    CSelectObject brushIn(draw->nmcd.hdc, fill);
    CSelectObject penIn(draw->nmcd.hdc, pen);
    ::Rectangle(draw->nmcd.hdc, square.left, square.top, square.right, square.bottom);
}
