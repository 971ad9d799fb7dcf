#include "prefs/ViewListPages.h"

#include "classlib/Gdi.h"
#include "controls/ChildId.h"
#include "foundation/ResourceString.h"
#include "prefs/ViewPages.h"
#include "settings/ViewConfig.h"

namespace {

// The member preview's rows: text, picture, and (as item data) the colours they show.
enum { kListNormal, kListSelected, kListSelf, kListGroup1 };
const struct {
    const wchar_t* text;
    int image;
} kListRows[] = {{L"Normal", 0},    {L"Selected", 0},  {L"Myself", 1},    {L"Favorite1", 1},
                 {L"Favorite2", 1}, {L"Favorite3", 2}, {L"Favorite4", 2}, {L"Favorite5", 2}};

// The tree preview's rows below the server, with the colours they show as item data.
enum { kTreeServer, kTreeNormal, kTreeSelected, kTreeKeyword, kTreeNewTalk, kTreeUpdate };
const struct {
    UINT text;
    int data;
} kTreeRows[] = {{IDS_TREE_PREVIEW_NORMAL, kTreeNormal},
                 {IDS_TREE_PREVIEW_SELECTED, kTreeSelected},
                 {IDS_TREE_PREVIEW_KEYWORD, kTreeKeyword},
                 {IDS_TREE_PREVIEW_NEW_TALK, kTreeNewTalk},
                 {IDS_TREE_PREVIEW_UPDATE, kTreeUpdate}};

HTREEITEM InsertRow(TTreeView& tree, const CString& text, int image, LPARAM data, HTREEITEM parent)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = (LPWSTR)text.GetString();
    insert.item.iImage = insert.item.iSelectedImage = image;
    insert.item.lParam = data;
    return tree.InsertItem(&insert);
}

void FillRect(HDC dc, const RECT& rect, COLORREF color)
{
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(dc, &rect, brush);
    ::DeleteObject(brush);
}

} // namespace

TViewPreviewPage::~TViewPreviewPage()
{
    if (images)
        ImageList_Destroy(images);
}

void TViewPreviewPage::MakeImages(std::initializer_list<int> iconIds)
{
    if (images)
        ImageList_Destroy(images);
    images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, (int)iconIds.size(), 0);
    for (int id : iconIds) {
        auto icon = (HICON)::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0);
        ImageList_AddIcon(images, icon);
        if (icon)
            ::DestroyIcon(icon);
    }
}

// The font keeps its colour: that is the normal text colour, edited by its own button.
void TViewPreviewPage::ChangeFont(TViewFont& font)
{
    if (initialised && ChooseViewFont(this, font))
        RefreshPreview();
}

void TViewPreviewPage::PickColor(int id, std::initializer_list<TColorButton> buttons)
{
    if (!initialised)
        return;
    for (const TColorButton& button : buttons)
        if (button.id == id && ChooseViewColor(this, *button.field, button.systemColor))
            RefreshPreview();
}

BOOL TViewListPage::OnInitDialog()
{
    TViewPreviewPage::OnInitDialog();
    initialised = config != nullptr;
    if (initialised)
        CreatePreview();
    return TRUE;
}

void TViewListPage::CreatePreview()
{
    frame.SubclassDlgItem(IDC_LIST_PREVIEW_FRAME, m_hWnd);
    RECT area = {};
    frame.GetClientRect(&area);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LVS_SMALLICON | LVS_SHOWSELALWAYS |
                        LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE;
    if (!preview.CreateEx(0, WC_LISTVIEWW, L"", style, area, frame.m_hWnd, GetNextChildId()))
        return;
    MakeImages({147, 148, 149});
    preview.SetImageList(images, LVSIL_SMALL);
    for (int row = 0; row < (int)std::size(kListRows); row++) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = row;
        item.pszText = (LPWSTR)kListRows[row].text;
        item.iImage = kListRows[row].image;
        item.lParam = row;
        preview.SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&item);
    }
    ApplyLook();
}

void TViewListPage::ApplyLook()
{
    preview.SendMessage(LVM_SETBKCOLOR, 0, ResolveViewColor(config->backColor, COLOR_WINDOW));
    ApplyFontSetting(previewFont, config->font);
    preview.SetFont(previewFont.handle);
    preview.SendMessage(LVM_ARRANGE, LVA_ALIGNTOP);
}

void TViewListPage::OnColorButton(int id)
{
    if (!config)
        return;
    TViewListConfig& c = *config;
    PickColor(id, {{IDC_VIEW_NORMAL_TEXT, &c.font.color, COLOR_WINDOWTEXT},
                   {IDC_VIEW_NORMAL_BACK, &c.backColor, COLOR_WINDOW},
                   {IDC_VIEW_SELECTED_TEXT, &c.selectedText, COLOR_HIGHLIGHTTEXT},
                   {IDC_LIST_SELECTED_BACK, &c.selectedBack, COLOR_HIGHLIGHT},
                   {IDC_LIST_SELF_TEXT, &c.selfText, COLOR_WINDOWTEXT},
                   {IDC_LIST_SELF_BACK, &c.selfBack, COLOR_WINDOW},
                   {IDC_LIST_GROUP1_TEXT, &c.groupText[0], COLOR_WINDOWTEXT},
                   {IDC_LIST_GROUP1_BACK, &c.groupBack[0], COLOR_WINDOW},
                   {IDC_LIST_GROUP2_TEXT, &c.groupText[1], COLOR_WINDOWTEXT},
                   {IDC_LIST_GROUP2_BACK, &c.groupBack[1], COLOR_WINDOW},
                   {IDC_LIST_GROUP3_TEXT, &c.groupText[2], COLOR_WINDOWTEXT},
                   {IDC_LIST_GROUP3_BACK, &c.groupBack[2], COLOR_WINDOW},
                   {IDC_LIST_GROUP4_TEXT, &c.groupText[3], COLOR_WINDOWTEXT},
                   {IDC_LIST_GROUP4_BACK, &c.groupBack[3], COLOR_WINDOW},
                   {IDC_LIST_GROUP5_TEXT, &c.groupText[4], COLOR_WINDOWTEXT},
                   {IDC_LIST_GROUP5_BACK, &c.groupBack[4], COLOR_WINDOW}});
}

void TViewListPage::OnCustomDraw(TListView* list, NMHDR* header, LRESULT* result)
{
    auto* draw = (NMLVCUSTOMDRAW*)header;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !config)
        return;
    const int row = (int)draw->nmcd.lItemlParam;
    const TRowColors colors =
        MemberRowColors(*config, row == kListSelected, row == kListSelf, row >= kListGroup1 ? row - kListGroup1 : -1);
    const int item = (int)draw->nmcd.dwItemSpec;
    HDC dc = draw->nmcd.hdc;
    RECT label = {LVIR_LABEL, 0, 0, 0}, icon = {LVIR_ICON, 0, 0, 0};
    list->SendMessage(LVM_GETITEMRECT, (WPARAM)item, (LPARAM)&label);
    list->SendMessage(LVM_GETITEMRECT, (WPARAM)item, (LPARAM)&icon);
    FillRect(dc, label, colors.back);
    {
        CSelectObject font(dc, previewFont.handle);
        COLORREF oldColor = ::SetTextColor(dc, colors.text);
        int oldMode = ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextW(dc, list->GetItemText(item, 0), -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::SetBkMode(dc, oldMode);
        ::SetTextColor(dc, oldColor);
    }
    ImageList_Draw(images, list->GetItemImage(item), dc, icon.left, icon.top + (icon.bottom - icon.top - 16) / 2,
                   ILD_TRANSPARENT);
    *result = CDRF_SKIPDEFAULT;
}

BOOL TViewTreePage::OnInitDialog()
{
    TViewPreviewPage::OnInitDialog();
    preview.SubclassDlgItem(IDC_TREE_PREVIEW, m_hWnd);
    preview.listener = this;
    initialised = config != nullptr;
    if (initialised)
        CreatePreview();
    return TRUE;
}

void TViewTreePage::CreatePreview()
{
    MakeImages({253, 254, 142, 143, 144, 255, 256});
    preview.SetImageList(images, TVSIL_NORMAL);
    HTREEITEM server = InsertRow(preview, LoadResourceString(IDS_TREE_PREVIEW_SERVER), 0, kTreeServer, TVI_ROOT);
    for (const auto& row : kTreeRows)
        InsertRow(preview, LoadResourceString(row.text), 2, row.data, server);
    ApplyLook();
    preview.Expand(server, TVE_EXPAND);
}

void TViewTreePage::ApplyLook()
{
    preview.SendMessage(TVM_SETBKCOLOR, 0, ResolveViewColor(config->backColor, COLOR_WINDOW));
    ApplyFontSetting(previewFont, config->font);
    preview.SetFontAndItemHeight(previewFont.handle);
}

void TViewTreePage::OnColorButton(int id)
{
    if (!config)
        return;
    TViewTreeConfig& c = *config;
    PickColor(id, {{IDC_VIEW_NORMAL_TEXT, &c.font.color, COLOR_WINDOWTEXT},
                   {IDC_VIEW_NORMAL_BACK, &c.backColor, COLOR_WINDOW},
                   {IDC_VIEW_SELECTED_TEXT, &c.selectedText, COLOR_HIGHLIGHTTEXT},
                   {IDC_TREE_SELECTED_BACK, &c.selectedBack, COLOR_HIGHLIGHT},
                   {IDC_TREE_KEYWORD_TEXT, &c.keywordText, COLOR_WINDOWTEXT},
                   {IDC_TREE_KEYWORD_BACK, &c.keywordBack, COLOR_WINDOW},
                   {IDC_TREE_NEW_TALK_TEXT, &c.newTalkText, COLOR_WINDOWTEXT},
                   {IDC_TREE_NEW_TALK_BACK, &c.newTalkBack, COLOR_WINDOW},
                   {IDC_TREE_UPDATE_TEXT, &c.updateText, COLOR_WINDOWTEXT},
                   {IDC_TREE_UPDATE_BACK, &c.updateBack, COLOR_WINDOW}});
}

void TViewTreePage::OnCustomDraw(TTreeView* tree, NMHDR* header, LRESULT* result)
{
    auto* draw = (NMTVCUSTOMDRAW*)header;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    const bool after = draw->nmcd.dwDrawStage == CDDS_ITEMPOSTPAINT;
    if ((draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT && !after) || !config)
        return;
    const int row = (int)draw->nmcd.lItemlParam;
    const TRowColors colors =
        TreeRowColors(*config, row == kTreeSelected, row == kTreeKeyword, row == kTreeNewTalk, row == kTreeUpdate);
    draw->clrText = colors.text;
    draw->clrTextBk = colors.back;
    // The channels' numbers go over the rows the control has painted, as in the real tree.
    const bool channel = tree->GetItemDepth((HTREEITEM)draw->nmcd.dwItemSpec) == 1;
    if (after)
        tree->DrawSiblingNumber(draw);
    else
        *result = channel ? CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT : CDRF_NEWFONT;
}
