#include "prefs/PropertyTreeSheet.h"

#include "classlib/CmdUI.h"
#include "classlib/Frame.h"
#include "dialogs/MessageBoxes.h"
#include "prefs/PropertyPage.h"

#include <prsht.h>

#include <cwctype>

namespace {

const int kTitleLimit = 31;

// Every branch open, from the item down and along its siblings.
void ExpandAll(CTreeCtrl& tree, HTREEITEM item)
{
    for (; item; item = tree.GetNextSiblingItem(item)) {
        tree.Expand(item, TVE_EXPAND);
        ExpandAll(tree, tree.GetChildItem(item));
    }
}

// A hot-key field takes every key as the key being chosen.
bool IsHotKeyField(HWND window)
{
    wchar_t name[32] = L"";
    return window && ::GetClassNameW(window, name, 32) && _wcsicmp(name, HOTKEY_CLASSW) == 0;
}

// The letter a button's or label's text marks with '&' ("&&" is a plain '&'), upper-cased; 0
// for other controls, which the dialog keys never reach by a letter.
wchar_t MnemonicOf(HWND control)
{
    if (!(::SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_STATIC)))
        return 0;
    wchar_t name[16] = L"";
    ::GetClassNameW(control, name, 16);
    if (_wcsicmp(name, WC_STATICW) == 0 && (::GetWindowLongPtrW(control, GWL_STYLE) & SS_NOPREFIX))
        return 0;
    CString text = CWindow(control).GetWindowText();
    for (int i = 0; i + 1 < text.GetLength(); i++)
        if (text[i] == L'&') {
            if (text[i + 1] != L'&')
                return (wchar_t)towupper(text[i + 1]);
            i++;
        }
    return 0;
}

struct TMnemonicSearch {
    wchar_t letter;
    bool found;
};

BOOL CALLBACK FindMnemonic(HWND control, LPARAM data)
{
    auto* search = (TMnemonicSearch*)data;
    if (::IsWindowVisible(control) && ::IsWindowEnabled(control) && MnemonicOf(control) == search->letter)
        search->found = true;
    return !search->found;
}

// Whether an enabled control shown in the window (the sheet's own or the shown page's) answers
// to the Alt+letter of the key.
bool ClaimsAltKey(HWND window, const MSG* msg)
{
    if (msg->message != WM_SYSKEYDOWN || ::GetKeyState(VK_CONTROL) < 0)
        return false;
    wchar_t letter = (wchar_t)msg->wParam;
    if (!((letter >= L'A' && letter <= L'Z') || (letter >= L'0' && letter <= L'9')))
        return false;
    TMnemonicSearch search = {letter, false};
    ::EnumChildWindows(window, FindMnemonic, (LPARAM)&search);
    return search.found;
}

// The window a frame walk goes to next: a child's parent, a top-level window's owner.
HWND EnclosingWindow(HWND window)
{
    if (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)
        return ::GetParent(window);
    return ::GetWindow(window, GW_OWNER);
}

} // namespace

TPropertyTreeSheet::TPropertyTreeSheet(CWnd* parent) : TUpdateDialog(IDD_PREFERENCE_SHEET, parent) {}

TPropertyTreeSheet::~TPropertyTreeSheet()
{
    // The pages are the subclass's; their windows are children and go with the sheet's.
    if (m_hWnd)
        DestroyWindow();
}

bool TPropertyTreeSheet::AddPage(TPropertyPage* page, CString title, TPropertyPage* parent)
{
    if (m_hWnd || !page)
        return false;
    entries.push_back(std::make_unique<TEntry>(TEntry{page->GetTemplateId(), page, parent, title}));
    return true;
}

BOOL TPropertyTreeSheet::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    tree.SubclassWindow(GetDlgItem(IDC_SHEET_TREE));
    banner.SubclassWindow(GetDlgItem(IDC_SHEET_BANNER));
    ::GetWindowRect(GetDlgItem(IDC_SHEET_FRAME), &pageRect);
    ::MapWindowPoints(nullptr, m_hWnd, (POINT*)&pageRect, 2);
    ::InflateRect(&pageRect, -2, -2);
    banner.baseColor = COLOR_BTNFACE;
    banner.fontWeight = 700;
    banner.fontHeight = 14;
    for (auto& entry : entries) {
        TVINSERTSTRUCTW insert = {};
        auto parent = entry->parent ? items.find(entry->parent) : items.end();
        insert.hParent = parent != items.end() ? parent->second : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = LPSTR_TEXTCALLBACKW;
        insert.item.lParam = (LPARAM)entry.get();
        if (HTREEITEM item = tree.InsertItem(&insert))
            items[entry->page] = item;
    }
    ExpandAll(tree, tree.GetRootItem());
    if (ShowPage(0))
        current = 0;
    return TRUE;
}

TPropertyPage* TPropertyTreeSheet::GetCurrentPage() const { return GetPage(current); }

TPropertyPage* TPropertyTreeSheet::GetPage(int index) const
{
    return index >= 0 && index < (int)entries.size() ? entries[index]->page : nullptr;
}

HTREEITEM TPropertyTreeSheet::FindItem(TPropertyPage* page) const
{
    auto found = items.find(page);
    return found == items.end() ? nullptr : found->second;
}

bool TPropertyTreeSheet::ShowPage(int index)
{
    banner.SetWindowText(L"");
    if (TPropertyPage* shown = GetCurrentPage(); shown && shown->m_hWnd)
        shown->ShowWindow(SW_HIDE);
    if (index < 0 || index >= (int)entries.size() || !entries[index]->page)
        return false;
    TEntry& entry = *entries[index];
    banner.SetWindowText(entry.title);
    TPropertyPage* page = entry.page;
    if (!page->m_hWnd && page->Create(entry.templateId, this))
        // Tab and the mnemonics of the sheet's dialog handling reach into the page.
        ::SetWindowLongPtrW(page->m_hWnd, GWL_EXSTYLE,
                            ::GetWindowLongPtrW(page->m_hWnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    if (page->m_hWnd) {
        page->OnPageShow();
        page->SetWindowPos(nullptr, pageRect.left, pageRect.top, pageRect.right - pageRect.left,
                           pageRect.bottom - pageRect.top, SWP_NOZORDER);
        page->ShowWindow(SW_SHOW);
        page->SetFocus();
    }
    if (HTREEITEM item = FindItem(page))
        tree.SelectItem(item);
    return true;
}

bool TPropertyTreeSheet::SelectPage(TPropertyPage* page)
{
    for (int i = 0; i < (int)entries.size(); i++)
        if (entries[i]->page == page) {
            if (!ShowPage(i))
                return false;
            current = i;
            return true;
        }
    return false;
}

bool TPropertyTreeSheet::ApplyPages()
{
    for (auto& entry : entries) {
        TDialogProblem problem;
        if (entry->page->m_hWnd && !entry->page->Validate(problem)) {
            ShowProblem(entry->page, problem);
            return false;
        }
    }
    for (auto& entry : entries)
        if (entry->page->m_hWnd)
            entry->page->OnOK();
    return true;
}

void TPropertyTreeSheet::ShowProblem(TPropertyPage* page, const TDialogProblem& problem)
{
    SelectPage(page);
    HWND control = ::GetDlgItem(page->m_hWnd, problem.control);
    if (!problem.text.IsEmpty())
        ShowWarningMessage(m_hWnd, problem.text, CString());
    if (control) {
        ::SetFocus(control);
        ::SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

BOOL TPropertyTreeSheet::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg))
        return TRUE;
    if (!IsHotKeyField(msg->hwnd) && !ClaimsAltKey(m_hWnd, msg)) {
        // The main window's accelerators keep working while the sheet is the active window, but
        // an Alt+letter a control here is marked with is that control's.
        HWND up = EnclosingWindow(m_hWnd);
        // A sheet no window owns still belongs to the frame it was made for.
        if (!up && m_pParentWnd)
            up = m_pParentWnd->m_hWnd;
        for (; up; up = EnclosingWindow(up))
            if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(up)))
                if (frame->PreTranslateMessage(msg))
                    return TRUE;
    }
    return TUpdateDialog::PreTranslateMessage(msg);
}

void TPropertyTreeSheet::OnOK()
{
    if (ApplyPages())
        TUpdateDialog::OnOK();
}

void TPropertyTreeSheet::OnCancel()
{
    for (auto& entry : entries)
        if (entry->page->m_hWnd)
            entry->page->OnCancel();
    TUpdateDialog::OnCancel();
}

int TPropertyTreeSheet::FindEntry(const TEntry* entry) const
{
    for (int i = 0; i < (int)entries.size(); i++)
        if (entries[i].get() == entry)
            return i;
    return -1;
}

LRESULT TPropertyTreeSheet::OnShowPageMessage(WPARAM wParam, LPARAM)
{
    // Showing a page selects its item, whose notice comes back here for the page already shown.
    if ((int)wParam == current)
        return 0;
    if (ShowPage((int)wParam))
        current = (int)wParam;
    return 0;
}

LRESULT TPropertyTreeSheet::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    UpdateDialogControls(this, FALSE);
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = tree.GetSelectedItem();
    if (item.hItem && tree.GetItem(&item) && item.lParam) {
        TPropertyPage* page = ((TEntry*)item.lParam)->page;
        if (page && page->m_hWnd)
            page->SendMessage(WM_KICKIDLE, wParam, lParam);
    }
    return 0;
}

LRESULT TPropertyTreeSheet::OnSelChanged(NMHDR* header)
{
    auto* view = (NMTREEVIEWW*)header;
    int index = FindEntry((const TEntry*)view->itemNew.lParam);
    // After the tree has finished its own selection change.
    if (index >= 0 && index != current)
        PostMessage(WM_SHOW_TREE_PAGE, index);
    return 0;
}

LRESULT TPropertyTreeSheet::OnGetDispInfo(NMHDR* header)
{
    auto* info = (NMTVDISPINFOW*)header;
    auto* entry = (const TEntry*)info->item.lParam;
    if (entry && (info->item.mask & TVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0)
        lstrcpynW(info->item.pszText, entry->title.Left(kTitleLimit), info->item.cchTextMax);
    return 0;
}

LRESULT TPropertyTreeSheet::OnTreeCustomDraw(NMHDR* header)
{
    auto* draw = (NMTVCUSTOMDRAW*)header;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    // The shown page's item keeps the selection colours while the page has the focus: the
    // system's colour for a selection without focus can be as pale as the tree itself, and
    // several pages share a title.
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && ::GetFocus() != tree.m_hWnd &&
        (HTREEITEM)draw->nmcd.dwItemSpec == tree.GetSelectedItem()) {
        draw->clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw->clrTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
}

void TPropertyTreeSheet::OnHelp()
{
    TPropertyPage* page = GetCurrentPage();
    if (!page || !page->m_hWnd)
        return;
    NMHDR header = {m_hWnd, IDD_PREFERENCE_SHEET, (UINT)PSN_HELP};
    page->SendMessage(WM_NOTIFY, IDD_PREFERENCE_SHEET, (LPARAM)&header);
}
