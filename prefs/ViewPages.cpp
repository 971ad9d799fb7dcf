#include "prefs/ViewPages.h"

#include "dialogs/FontDialog.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "settings/Preference.h"
#include "settings/ViewConfig.h"

#include <iterator>

bool ChooseViewFont(CWnd* page, TViewFont& font)
{
    TFontDialogEx dialog(page);
    dialog.StartFrom(font);
    if (dialog.DoModal() != IDOK)
        return false;
    dialog.CopyChoiceTo(font);
    return true;
}

bool ChooseViewColor(CWnd* page, COLORREF& color, int systemColor)
{
    TColorDialog dialog(ResolveViewColor(color, systemColor), 0, ::GetAncestor(page->m_hWnd, GA_ROOT));
    if (dialog.DoModal() != IDOK)
        return false;
    color = dialog.GetColor();
    return true;
}

BOOL TViewEditPage::OnInitDialog()
{
    TPropertyPage::OnInitDialog();
    preview.SubclassDlgItem(IDC_EDIT_VIEW_PREVIEW, m_hWnd);
    preview.autoHeight = true;
    initialised = view != nullptr;
    if (initialised)
        InitPreview();
    return TRUE;
}

void TViewEditPage::InitPreview()
{
    preview.SetText(LoadResourceString(IDS_EDIT_PREVIEW_TEXT));
    ApplyFontSetting(previewFont, view->editFont);
    preview.SetFontAndAdjustHeight(previewFont.handle);
    RefreshPreview();
}

void TViewEditPage::RefreshPreview()
{
    if (!initialised || !m_hWnd)
        return;
    preview.SetColors(view->editFont.color, view->editBackColor);
    ::RedrawWindow(preview.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void TViewEditPage::OnChangeFont()
{
    if (!initialised || !ChooseViewFont(this, view->editFont))
        return;
    ApplyFontSetting(previewFont, view->editFont);
    preview.SetFontAndAdjustHeight(previewFont.handle);
    RefreshPreview();
}

void TViewEditPage::OnChangeTextColor()
{
    if (initialised)
        PickColor(view->editFont.color, COLOR_WINDOWTEXT);
}

void TViewEditPage::OnChangeBackColor()
{
    if (initialised)
        PickColor(view->editBackColor, COLOR_WINDOW);
}

void TViewEditPage::PickColor(COLORREF& color, int systemColor)
{
    ChooseViewColor(this, color, systemColor);
    RefreshPreview();
}

// Filling the fields reports them changed; only the user's edits count.
BOOL TViewLayoutPage::OnInitDialog()
{
    BOOL result = TPreferencePage::OnInitDialog();
    spacingChanged = false;
    return result;
}

void TViewLayoutPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Check(IDC_LAYOUT_SORT_TREE, p.SortTree);
    io.Check(IDC_LAYOUT_LOG_RIGHT, p.InvertLogAndList);
    io.Check(IDC_LAYOUT_SWAP_TREE_LIST, p.InvertMemberAndTree);
    io.Check(IDC_LAYOUT_THREE_COLUMNS, p.ThreeColumnsLayout);
    static const UINT kSortNames[] = {IDS_MEMBER_SORT_ALPHABET, IDS_MEMBER_SORT_OPERATOR, IDS_MEMBER_SORT_GROUP,
                                      IDS_MEMBER_SORT_OPERATOR_GROUP, IDS_MEMBER_SORT_GROUP_OPERATOR};
    CString names[std::size(kSortNames)];
    TDialogChoice choices[std::size(kSortNames)];
    for (size_t i = 0; i < std::size(kSortNames); i++) {
        names[i] = LoadResourceString(kSortNames[i]);
        choices[i] = {names[i], (int)i};
    }
    io.Choice(IDC_LAYOUT_MEMBER_SORT, p.MemberSortMethod, choices);
    io.Spin(IDC_LAYOUT_LEADING, p.LineLeading, 0, 100);
    io.Spin(IDC_LAYOUT_INDENT, p.Indent, 0, 500);
    io.Spin(IDC_LAYOUT_BOTTOM, p.BottomMargin, 0, 500);
    io.Spin(IDC_LAYOUT_CHANNEL_LINES, p.ChannelLogMaxLines, 1, 1000000);
    io.Spin(IDC_LAYOUT_CONSOLE_LINES, p.ConsoleLogMaxLines, 1, 1000000);
}
