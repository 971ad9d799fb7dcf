// The keyboard of the main window: node navigation, focus cycling, scrolling, and typing into the
// input line from the tree, the log views and the member lists.
#include "world/IRCWorld.h"

#include "controls/KeyState.h"
#include "logview/LogView.h"
#include "settings/Preference.h"
#include "world/WorldFrame.h"

namespace {

bool Down(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// Whether the active keyboard layout types a character with the key and Ctrl+Alt held, as layouts
// with AltGr do with the digits (@ # { on several of them). The layout's state is left as it was.
bool TypesCharacterWithCtrlAlt(UINT key)
{
    BYTE state[256] = {};
    for (int held : {VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU})
        state[held] = (BYTE)(::GetKeyState(held) & 0x80);
    state[VK_CONTROL] = state[VK_MENU] = 0x80;
    HKL layout = ::GetKeyboardLayout(0);
    wchar_t typed[8];
    const UINT kKeepKeyboardState = 4;
    return ::ToUnicodeEx(key, ::MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, layout), state, typed, 8, kKeepKeyboardState,
                         layout) != 0;
}

bool IsDigitKey(UINT key, int& digit)
{
    if (key >= '0' && key <= '9')
        digit = key - '0';
    else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        digit = key - VK_NUMPAD0;
    else
        return false;
    return true;
}

// Page, line and end keys on a log view; false for other keys.
bool ScrollLogView(TLogView* view, UINT key)
{
    switch (key) {
    case VK_PRIOR:
        view->PageUp();
        return true;
    case VK_NEXT:
        view->PageDown();
        return true;
    case VK_HOME:
        view->ScrollToTop();
        return true;
    case VK_END:
        view->ScrollToEnd();
        return true;
    case VK_UP:
        view->ScrollUp(1);
        return true;
    case VK_DOWN:
        view->ScrollDown(1);
        return true;
    }
    return false;
}

// A system key as the system reports it, with the Alt flag: the input line's default handling
// then still makes Alt+F4 a close and Alt+letter the menu.
LPARAM SystemKeyData(UINT key)
{
    LPARAM data = 1 | (LPARAM)(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC) & 0xFF) << 16;
    if (Down(VK_MENU))
        data |= (LPARAM)KF_ALTDOWN << 16;
    return data;
}

void FocusWindow(CWnd* window)
{
    if (window && window->m_hWnd)
        ::SetFocus(window->m_hWnd);
}

} // namespace

// Ctrl+C, V, X and Z (and Ctrl+F in a log view) stay with the control that has the focus. With
// Alt held they are AltGr characters, typed into the input line.
bool TIRCWorld::IsLeftToControl(UINT key, bool findToo) const
{
    bool ctrl = Down(VK_CONTROL), shift = Down(VK_SHIFT), alt = Down(VK_MENU);
    if (key == VK_MENU)
        return true;
    return ctrl && !shift && !alt && (key == 'C' || key == 'V' || key == 'X' || key == 'Z' || (findToo && key == 'F'));
}

// Typing anywhere lands in the input line, at the end of its text.
bool TIRCWorld::ForwardKeyToInputLine(UINT key, bool system)
{
    if (!inputLine)
        return false;
    inputLine->SetFocus();
    int length = inputLine->GetWindowTextLength();
    inputLine->SendMessage(EM_SETSEL, length, length);
    inputLine->SendMessage(EM_SCROLLCARET);
    if (key != VK_RETURN)
        inputLine->PostMessage(system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, system ? SystemKeyData(key) : 0);
    return true;
}

void TIRCWorld::FocusCurrentLogView() { FocusWindow(GetCurrentLogView()); }

void TIRCWorld::FocusCurrentMemberList() { FocusWindow(GetCurrentMemberList()); }

void TIRCWorld::FocusTree() { FocusWindow(serverTree); }

// The shown search bar takes the log view's place in the Tab order.
bool TIRCWorld::FocusShownSearchBar()
{
    TEdit* edit = frame && frame->IsSearchBarShown() ? frame->GetSearchEdit() : nullptr;
    FocusWindow(edit);
    return edit != nullptr;
}

bool TIRCWorld::OnKeyDown(UINT key)
{
    bool modifier = Down(VK_CONTROL) || Down(VK_SHIFT) || Down(VK_MENU);
    if ((key == VK_UP || key == VK_DOWN) && !modifier) {
        SelectNextNode(key == VK_DOWN, false, false);
        return true;
    }
    if (key == VK_TAB && !Down(VK_CONTROL)) {
        if (Down(VK_SHIFT))
            FocusCurrentMemberList();
        else if (!FocusShownSearchBar())
            FocusCurrentLogView();
        return true;
    }
    if (IsLeftToControl(key))
        return false;
    return ForwardKeyToInputLine(key, false);
}

bool TIRCWorld::OnSysKeyDown(UINT key)
{
    if (IsLeftToControl(key))
        return false;
    return ForwardKeyToInputLine(key, true);
}

bool TIRCWorld::TMemberListEvents::OnSysKeyDown(UINT key) { return world->OnSysKeyDown(key); }

bool TIRCWorld::OnMemberListKeyDown(UINT key)
{
    if (key == VK_TAB && !Down(VK_CONTROL)) {
        if (Down(VK_SHIFT))
            FocusWindow(allLog);
        else
            FocusTree();
        return true;
    }
    if (IsLeftToControl(key))
        return false;
    return ForwardKeyToInputLine(key, false);
}

bool TIRCWorld::OnKeyDown(TLogView* view, UINT key)
{
    if (key == VK_TAB && !Down(VK_CONTROL)) {
        bool fromAllLog = view == allLog;
        if (Down(VK_SHIFT)) {
            if (fromAllLog)
                FocusWindow(inputLine);
            else if (!FocusShownSearchBar())
                FocusTree();
        } else {
            if (fromAllLog)
                FocusCurrentMemberList();
            else
                FocusWindow(inputLine);
        }
        return true;
    }
    if (IsLeftToControl(key, true))
        return false;
    return ForwardKeyToInputLine(key, false);
}

bool TIRCWorld::OnSysKeyDown(TLogView*, UINT key) { return OnSysKeyDown(key); }

bool TIRCWorld::OnKeyDown(TEdit* edit, UINT key)
{
    bool ctrl = Down(VK_CONTROL), shift = Down(VK_SHIFT), alt = Down(VK_MENU);
    if (ctrl)
        return HandleInputCtrlKey(edit, key, shift, alt);
    return HandleInputPlainKey(edit, key, shift);
}

bool TIRCWorld::HandleInputPlainKey(TEdit* edit, UINT key, bool shift)
{
    TLogView* view = GetCurrentLogView();
    bool inputLineReports = edit == inputLine;
    switch (key) {
    case VK_TAB:
        if (inputLineReports && preference->CompleteNickOnTab)
            CompleteNick(!shift);
        else if (inputLineReports)
            shift ? FocusCurrentLogView() : FocusWindow(allLog);
        else
            shift ? FocusTree() : FocusCurrentLogView();
        return true;
    case VK_PRIOR:
    case VK_NEXT:
        return !view || ScrollLogView(view, key);
    case VK_UP:
    case VK_DOWN:
        return shift && (!view || ScrollLogView(view, key));
    }
    return false;
}

bool TIRCWorld::HandleInputCtrlKey(TEdit* edit, UINT key, bool shift, bool alt)
{
    int digit;
    if (IsDigitKey(key, digit) && !shift) {
        // AltGr arrives as Ctrl+Alt: where the layout types a character with it, the key
        // belongs to the edit.
        if (alt && TypesCharacterWithCtrlAlt(key))
            return false;
        SelectChannelByNumber(alt ? digit + 10 : digit);
        return true;
    }
    if (alt && (key == VK_UP || key == VK_DOWN)) {
        if (!preference->SortTree) {
            MoveSelectedNode(key == VK_UP);
            SaveServerTree();
        }
        return true;
    }
    // AltGr arrives as Ctrl+Alt, and the rows below would take the characters it types.
    if (alt)
        return false;
    TLogView* view = shift ? allLog : GetCurrentLogView();
    if (shift) {
        if (key == VK_TAB)
            SelectNextNode(false, true, false);
        return key == VK_TAB || (view && ScrollLogView(view, key));
    }
    switch (key) {
    case VK_TAB:
    case VK_DOWN:
        SelectNextNode(true, true, false);
        return true;
    case VK_UP:
        SelectNextNode(false, true, false);
        return true;
    case VK_LEFT:
    case VK_OEM_4:
        SelectNextServer(false, true);
        return true;
    case VK_RIGHT:
    case VK_OEM_6:
        SelectNextServer(true, true);
        return true;
    case 'A':
        edit->SendMessage(EM_SETSEL, 0, 0x7FFFFFFF);
        edit->SendMessage(EM_SCROLLCARET);
        return true;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return !view || ScrollLogView(view, key);
    case VK_OEM_2:
        ToggleCurrentServerItem();
        return true;
    }
    return false;
}

bool TIRCWorld::OnSysKeyDown(TEdit*, UINT key)
{
    if (Down(VK_CONTROL) || Down(VK_SHIFT))
        return false;
    switch (key) {
    case VK_UP:
        SelectNextNode(false, false, false);
        return true;
    case VK_DOWN:
        SelectNextNode(true, false, false);
        return true;
    case VK_LEFT:
        SelectNextServer(false, false);
        return true;
    case VK_RIGHT:
        SelectNextServer(true, false);
        return true;
    case VK_OEM_4:
        SelectNextNode(false, true, false);
        return true;
    case VK_OEM_6:
        SelectNextNode(true, true, false);
        return true;
    }
    return false;
}

bool TIRCWorld::OnCtrlSpace(TEdit*)
{
    if (!Down(VK_MENU))
        SelectNextNode(!Down(VK_SHIFT), false, true);
    return true;
}

bool TIRCWorld::OnMouseWheel(TEdit*, UINT flags, short delta, int x, int y)
{
    if (TLogView* view = GetCurrentLogView())
        view->OnMouseWheel(flags, delta, POINT{x, y});
    return false;
}

void TIRCWorld::ToggleCurrentServerItem()
{
    HTREEITEM item = ServerItemOfSelection();
    if (!item)
        return;
    HTREEITEM before = serverTree->GetSelectedItem();
    serverTree->Expand(item, TVE_TOGGLE);
    HTREEITEM after = serverTree->GetSelectedItem();
    if (after != before)
        OnSelChanged(serverTree, after, before);
}

HTREEITEM TIRCWorld::ServerItemOfSelection() const
{
    HTREEITEM item = serverTree ? serverTree->GetSelectedItem() : nullptr;
    if (!item)
        return nullptr;
    int depth = serverTree->GetItemDepth(item);
    return depth == 0 ? item : depth == 1 ? serverTree->GetParentItem(item) : nullptr;
}

// True when the item's node became the selection.
bool TIRCWorld::TakeNode(HTREEITEM item, bool joinedOnly, bool updatedOnly)
{
    void* data = TreeItemData(item);
    int depth = serverTree->GetItemDepth(item);
    if (depth > 1 || !data)
        return false;
    TIRCNode* node = depth == 0 ? static_cast<TIRCNode*>((TIRCUnit*)data) : static_cast<TIRCNode*>((TIRCChannel*)data);
    if (updatedOnly ? !node->updateMark : depth == 0 ? joinedOnly : joinedOnly && !((TIRCChannel*)node)->IsJoined())
        return false;
    if (depth == 0)
        Select((TIRCUnit*)data, nullptr, false);
    else
        Select(((TIRCChannel*)data)->GetUnit(), (TIRCChannel*)data, false);
    return true;
}

// The next item in the walk's direction, wrapping once at an end; null when the walk is over.
HTREEITEM TIRCWorld::StepItem(HTREEITEM item, HTREEITEM start, bool forward, bool serversOnly, bool& wrapped) const
{
    TTreeView* tree = serverTree;
    HTREEITEM next = serversOnly ? tree->GetNextItem(item, forward ? TVGN_NEXT : TVGN_PREVIOUS)
                     : forward   ? tree->GetNextVisibleItem(item)
                                 : tree->GetPrevVisibleItem(item);
    if (!next) {
        if (wrapped)
            return nullptr;
        wrapped = true;
        next = forward ? tree->GetRootItem() : serversOnly ? tree->GetLastChild(nullptr) : tree->GetLastItem();
    }
    return next == start ? nullptr : next;
}

void TIRCWorld::SelectNextNode(bool forward, bool joinedOnly, bool updatedOnly)
{
    HTREEITEM start = serverTree ? serverTree->GetSelectedItem() : nullptr;
    bool wrapped = false;
    for (HTREEITEM item = start; start && (item = StepItem(item, start, forward, false, wrapped));) {
        if (!serverTree->IsItemVisible(item))
            continue;
        if (!TreeItemData(item) && serverTree->GetItemDepth(item) <= 1)
            return;
        if (TakeNode(item, joinedOnly, updatedOnly))
            return;
    }
}

void TIRCWorld::SelectNextServer(bool forward, bool loggedInOnly)
{
    HTREEITEM start = ServerItemOfSelection();
    bool wrapped = false;
    for (HTREEITEM item = start; start && (item = StepItem(item, start, forward, true, wrapped));) {
        auto* unit = (TIRCUnit*)TreeItemData(item);
        if (!unit || (loggedInOnly && unit->GetState() != TIRCUnit::StateLoggedIn))
            continue;
        bool expanded = (serverTree->GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
        const CString& last = currentChannelNames[unit];
        Select(unit, expanded && !last.IsEmpty() ? unit->FindChannel(last) : nullptr, false);
        return;
    }
}

void TIRCWorld::SelectChannelByNumber(int n)
{
    HTREEITEM item = ServerItemOfSelection();
    if (!item)
        return;
    auto* unit = (TIRCUnit*)TreeItemData(item);
    if (n == 0) {
        Select(unit, nullptr, false);
        return;
    }
    HTREEITEM child = serverTree->GetChildItem(item);
    for (int i = 1; child && i < n; i++)
        child = serverTree->GetNextSiblingItem(child);
    if (!child)
        return;
    Select(unit, (TIRCChannel*)TreeItemData(child), false);
}
