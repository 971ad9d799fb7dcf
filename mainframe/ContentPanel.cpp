#include "mainframe/ContentPanel.h"

#include "classlib/App.h"
#include "controls/ChildId.h"
#include "controls/IconImageList.h"
#include "logview/LogView.h"
#include "settings/Config.h"

namespace {

const UINT kTreeIcons[] = {253, 254, 142, 143, 144, 255, 256, 229};
const UINT kMemberIcons[] = {147, 148, 349, 149, 348, 347};

// A pane slot takes the window and becomes its parent; each window sits in one slot only.
void PutInPane(TSplitter* splitter, CWnd*& slot, CWnd* window)
{
    slot = window;
    if (window)
        window->SetParent(splitter->m_hWnd);
}

} // namespace

CContentPanel::~CContentPanel()
{
    // The root splitter deletes the whole tree of windows; the pointers never owned them.
    if (m_hWnd)
        DestroyWindow();
}

void CContentPanel::SetSources(TConfig* config, const TLogAddressFinder* finder)
{
    settings = config;
    addressFinder = finder;
}

BOOL CContentPanel::Create(HWND parent, UINT id, DWORD style)
{
    return CreateEx(0, L"Ketroval2ContentPanel", L"", style, RECT{}, parent, id);
}

BOOL CContentPanel::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.lpszClass = RegisterPanelClass(L"Ketroval2ContentPanel");
    SetPanelStyles(cs);
    return TRUE;
}

LRESULT CContentPanel::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1 || !settings)
        return -1;
    if (!CreateChildren())
        return -1;
    LoadSplitterPositions();
    return 0;
}

bool CContentPanel::CreateSplitters()
{
    if (!rootSplitter.Create(m_hWnd, GetNextChildId(), true))
        return false;
    mainSplitter = new TSplitter;
    if (!mainSplitter->Create(m_hWnd, GetNextChildId(), true)) {
        delete mainSplitter;
        mainSplitter = nullptr;
        return false;
    }
    PutInPane(&rootSplitter, rootSplitter.second, mainSplitter);
    rootSplitter.mode = TSplitter::SECOND_ONLY;
    rootSplitter.RecalcLayout();
    infoSplitter = new TSplitter;
    logSplitter = new TSplitter;
    // Put into their slots before creation, so a failure still leaves them owned.
    PutInPane(mainSplitter, mainSplitter->first, infoSplitter);
    PutInPane(mainSplitter, mainSplitter->second, logSplitter);
    if (!infoSplitter->Create(mainSplitter->m_hWnd, GetNextChildId(), false) ||
        !logSplitter->Create(mainSplitter->m_hWnd, GetNextChildId(), false))
        return false;
    return true;
}

void CContentPanel::StyleEdit(TEdit& edit)
{
    TViewConfig& view = settings->view;
    edit.SetColors(view.editFont.color, view.settings.editBackColor);
    edit.SetFontAndAdjustHeight(view.editFont.handle);
}

bool CContentPanel::CreateServerTree()
{
    serverTree = new TServerTreeView;
    PutInPane(infoSplitter, infoSplitter->first, serverTree);
    DWORD style = WS_CHILD | TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS | TVS_FULLROWSELECT;
    if (!serverTree->Create(style, RECT{}, infoSplitter->m_hWnd, GetNextChildId()))
        return false;
    serverTree->SendMessage(TVM_SETINDENT, 16);
    serverTree->SetItemHeight(16);
    BuildIconImageList(treeImages, kTreeIcons, (int)(sizeof(kTreeIcons) / sizeof(kTreeIcons[0])));
    serverTree->SetImageList(treeImages, TVSIL_NORMAL);
    serverTree->SetFontAndItemHeight(settings->view.treeFont.handle);
    serverTree->SendMessage(TVM_SETBKCOLOR, 0, (LPARAM)settings->view.settings.tree.backColor);
    return true;
}

bool CContentPanel::CreateConsoleLog()
{
    TViewConfig& view = settings->view;
    consoleLog = new TLogView;
    if (!consoleLog->Create(&view.logTheme.text, &view.logTheme.allLogBack, m_hWnd, GetNextChildId(),
                            &settings->preference.keyword, addressFinder, false)) {
        delete consoleLog;
        consoleLog = nullptr;
        return false;
    }
    consoleLog->nickPopupsEnabled = settings->preference.EnableNickContextMenu;
    TBorderPanel* frame = new TBorderPanel;
    PutInPane(logSplitter, logSplitter->first, frame);
    frame->child = consoleLog;
    frame->ownsChild = true;
    if (!frame->Create(logSplitter->m_hWnd, GetNextChildId(), WS_CHILD | WS_VISIBLE))
        return false;
    consoleLog->SetParent(frame->m_hWnd);
    consoleLog->ShowWindow(SW_SHOW);
    return true;
}

bool CContentPanel::CreateChildren()
{
    if (!CreateSplitters())
        return false;
    if (!CreateServerTree())
        return false;
    memberListPanel = new TListPanel;
    PutInPane(infoSplitter, infoSplitter->second, memberListPanel);
    if (!memberListPanel->Create(infoSplitter->m_hWnd, GetNextChildId(), WS_CHILD | WS_VISIBLE | WS_BORDER))
        return false;
    if (!CreateConsoleLog())
        return false;
    chatPanel = new TChatPanel;
    PutInPane(logSplitter, logSplitter->second, chatPanel);
    if (!chatPanel->Create(logSplitter->m_hWnd, GetNextChildId(), WS_CHILD | WS_VISIBLE | WS_BORDER))
        return false;
    StyleEdit(chatPanel->input);
    for (const CString& line : settings->inputHistory)
        chatPanel->input.GetHistory().Add(line);
    BuildIconImageList(memberImages, kMemberIcons, (int)(sizeof(kMemberIcons) / sizeof(kMemberIcons[0])));
    return true;
}

void CContentPanel::LoadSplitterPositions()
{
    rootSplitter.position = settings->splitterLeft;
    rootSplitter.RecalcLayout();
    mainSplitter->position = settings->splitterRoot;
    mainSplitter->RecalcLayout();
    infoSplitter->position = settings->splitterInfo;
    infoSplitter->RecalcLayout();
    logSplitter->position = settings->splitterLog;
    logSplitter->RecalcLayout();
    for (TSplitter* splitter : {mainSplitter, infoSplitter, logSplitter}) {
        splitter->farSide = true;
        splitter->RecalcLayout();
    }
}

void CContentPanel::ResetSplitterPositions()
{
    TSplitterPositions defaults;
    rootSplitter.position = defaults.left;
    rootSplitter.RecalcLayout();
    mainSplitter->position = defaults.root;
    mainSplitter->RecalcLayout();
    infoSplitter->position = defaults.info;
    infoSplitter->RecalcLayout();
    logSplitter->position = defaults.log;
    logSplitter->RecalcLayout();
}

TSplitterPositions CContentPanel::GetSplitterPositions() const
{
    TSplitterPositions positions;
    positions.left = rootSplitter.position;
    positions.root = mainSplitter ? mainSplitter->position : positions.root;
    positions.info = infoSplitter ? infoSplitter->position : positions.info;
    positions.log = logSplitter ? logSplitter->position : positions.log;
    return positions;
}

void CContentPanel::StoreInputHistory(std::vector<CString>& lines) const
{
    lines.clear();
    if (chatPanel)
        chatPanel->input.GetHistory().GetAll(lines);
}

void CContentPanel::ApplyLayoutPreferences(const TPreference& pref)
{
    if (!mainSplitter)
        return;
    mainSplitter->farSide = !pref.InvertLogAndList;
    mainSplitter->RecalcLayout();
    // Take both windows out of whatever slots they had, so each lands in exactly one.
    for (CWnd** slot : {&infoSplitter->first, &infoSplitter->second, &rootSplitter.first})
        *slot = nullptr;
    if (!pref.ThreeColumnsLayout) {
        PutInPane(infoSplitter, infoSplitter->first, serverTree);
        PutInPane(infoSplitter, infoSplitter->second, memberListPanel);
        infoSplitter->mode = TSplitter::BOTH;
        infoSplitter->RecalcLayout();
        infoSplitter->farSide = !pref.InvertMemberAndTree;
        infoSplitter->RecalcLayout();
        rootSplitter.mode = TSplitter::SECOND_ONLY;
    } else {
        if (pref.InvertMemberAndTree) {
            PutInPane(infoSplitter, infoSplitter->first, serverTree);
            infoSplitter->mode = TSplitter::FIRST_ONLY;
            PutInPane(&rootSplitter, rootSplitter.first, memberListPanel);
        } else {
            PutInPane(infoSplitter, infoSplitter->second, memberListPanel);
            infoSplitter->mode = TSplitter::SECOND_ONLY;
            PutInPane(&rootSplitter, rootSplitter.first, serverTree);
        }
        infoSplitter->RecalcLayout();
        rootSplitter.mode = TSplitter::BOTH;
    }
    rootSplitter.RecalcLayout();
    if (chatPanel)
        ::RedrawWindow(chatPanel->cards.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

int CContentPanel::GetSearchBarHeight() const
{
    RECT bar;
    searchBar.GetWindowRect(&bar);
    return bar.bottom - bar.top;
}

void CContentPanel::OnSearchPanelResized(TSearchPanel*) { RecalcLayout(); }

void CContentPanel::OnSearchWordsChanged(const std::vector<CString>& words)
{
    if (searchTarget)
        searchTarget->OnSearchWordsChanged(words);
}

bool CContentPanel::OnFindNext() { return searchTarget && searchTarget->OnFindNext(); }

bool CContentPanel::OnFindPrevious() { return searchTarget && searchTarget->OnFindPrevious(); }

void CContentPanel::OnCloseSearchBar()
{
    if (searchTarget)
        searchTarget->OnCloseSearchBar();
    else
        ShowSearchBar(false);
}

IEditListener* CContentPanel::GetShortcutListener()
{
    return searchTarget ? searchTarget->GetShortcutListener() : nullptr;
}

// The bar is made when first asked for: most sessions never open it, and start-up need not wait
// for its controls.
bool CContentPanel::CreateSearchBar()
{
    if (searchBar.m_hWnd)
        return true;
    if (!searchBar.Create(m_hWnd, GetNextChildId(), WS_CHILD | WS_VISIBLE | WS_BORDER))
        return false;
    searchBar.listener = this;
    StyleEdit(searchBar.edit);
    return true;
}

void CContentPanel::ShowSearchBar(bool show)
{
    if (show && !CreateSearchBar())
        show = false;
    searchBarShown = show;
    RecalcLayout();
}

void CContentPanel::RecalcLayout()
{
    RECT window;
    GetWindowRect(&window);
    int w = window.right - window.left, h = window.bottom - window.top;
    if (!searchBarShown) {
        if (searchBar.m_hWnd)
            searchBar.ShowWindow(SW_HIDE);
        rootSplitter.MoveWindow(0, 0, w, h);
        return;
    }
    searchBar.ShowWindow(SW_SHOW);
    // One pixel row between the bar and the splitters stays uncovered.
    int s = GetSearchBarHeight();
    searchBar.MoveWindow(0, 0, w, s);
    rootSplitter.MoveWindow(0, s + 1, w, h - s - 1);
}

LRESULT CContentPanel::OnSize(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_SIZE, wParam, lParam);
    // A minimised window reports zero; the last layout stays.
    if (LOWORD(lParam) >= 1 && HIWORD(lParam) >= 1)
        RecalcLayout();
    return 0;
}

void CContentPanel::OnActivate(UINT state)
{
    if (state == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(m_hWnd, focus))
            rememberedFocus = focus;
    } else if ((state == WA_ACTIVE || state == WA_CLICKACTIVE) && !HoldsFocus(::GetFocus())) {
        // A click handled before its activation has put the focus where the user wants it.
        RestoreFocus();
    }
}

bool CContentPanel::HoldsFocus(HWND window) const { return window && ::IsWindow(window) && ::IsChild(m_hWnd, window); }

LRESULT CContentPanel::OnSetFocus(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_SETFOCUS, wParam, lParam);
    RestoreFocus();
    return 0;
}

namespace {

// Shown as far as the panel goes; the frame itself may still be on its way back from the tray.
bool IsShownIn(HWND panel, HWND window)
{
    for (; window && window != panel; window = ::GetParent(window))
        if (!(::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE))
            return false;
    return window == panel;
}

// The card a card panel shows now, when the window is one of its cards.
template <class TPanel> HWND ShownCardBeside(const TPanel* panel, HWND card)
{
    if (!panel || ::GetParent(card) != panel->m_hWnd)
        return nullptr;
    CWnd* current = panel->GetCurrentCard();
    return current ? current->m_hWnd : nullptr;
}

} // namespace

// The selection may have moved while the program was inactive and hidden the remembered card:
// the keys would scroll and copy a log no one sees. The card shown in its place takes the focus.
HWND CContentPanel::FocusTarget() const
{
    if (!HoldsFocus(rememberedFocus))
        return nullptr;
    HWND target = rememberedFocus;
    if (!IsShownIn(m_hWnd, target)) {
        target = ShownCardBeside(chatPanel ? &chatPanel->cards : nullptr, rememberedFocus);
        target = target ? target : ShownCardBeside(memberListPanel, rememberedFocus);
    }
    return target && IsShownIn(m_hWnd, target) ? target : nullptr;
}

void CContentPanel::RestoreFocus()
{
    if (HWND target = FocusTarget()) {
        ::SetFocus(target);
        return;
    }
    rememberedFocus = nullptr;
    if (chatPanel)
        chatPanel->input.SetFocus();
}
