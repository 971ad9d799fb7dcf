// The views of the nodes: log views and member lists as cards of the main window's panels, the
// selection that switches them, the title and the preferences that reach them.
#include "world/IRCWorld.h"

#include "controls/CardLayoutPanel.h"
#include "controls/ChatPanel.h"
#include "controls/ChildId.h"
#include "controls/DoubleBufferedView.h"
#include "foundation/IrcMarkup.h"
#include "foundation/OpenUrl.h"
#include "log/AddressFinder.h"
#include "log/LogFormatter.h"
#include "logview/LogView.h"
#include "settings/Config.h"
#include "world/MemberListView.h"
#include "world/ProtocolLogWindows.h"
#include "world/UserInfoDialogs.h"
#include "world/WhoDialog.h"
#include "world/WorldFrame.h"

namespace {

// Cards are keyed by their node; 1 is the card of the empty views.
UINT CardKey(TIRCUnit* unit, TIRCChannel* channel)
{
    return channel ? (UINT)(UINT_PTR)channel : unit ? (UINT)(UINT_PTR)unit : 1;
}

TIRCNode* NodeOf(TIRCUnit* unit, TIRCChannel* channel)
{
    return channel ? static_cast<TIRCNode*>(channel) : static_cast<TIRCNode*>(unit);
}

HWND FocusedWindow() { return ::GetFocus(); }

// Shows the node's card, or the empty one (1). A card hidden with the keyboard focus would keep
// it, and PgUp, Ctrl+A or Ctrl+C would act on a view nobody sees: the node's card shown in its
// place takes it, else the input line.
template <class TPanel> void ShowCardPassingFocus(TPanel* panel, UINT key, HWND inputLine)
{
    CWnd* hidden = panel->GetCurrentCard();
    bool focused = hidden && hidden->m_hWnd == FocusedWindow();
    panel->ShowCard(panel->GetCard(key) ? key : 1);
    CWnd* shown = panel->GetCurrentCard();
    if (!focused || shown == hidden)
        return;
    HWND target = shown && panel->GetCurrentCardId() != 1 ? shown->m_hWnd : inputLine;
    if (target)
        ::SetFocus(target);
}

// Takes the node's card out of the panel. A focused card that goes leaves the focus with nobody,
// and typed keys would only beep: the input line takes it. False when there was no card.
template <class TPanel> bool DestroyCardPassingFocus(TPanel* panel, UINT key, CWnd* inputLine)
{
    CWnd* card = panel ? panel->GetCard(key) : nullptr;
    bool focused = card && card->m_hWnd == FocusedWindow();
    if (!panel || !panel->DestroyCard(key))
        return false;
    if (focused && inputLine)
        inputLine->SetFocus();
    return true;
}

CString WindowTitle(HWND window)
{
    CString text;
    int length = ::GetWindowTextLengthW(window);
    ::GetWindowTextW(window, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer(length);
    return text;
}

} // namespace

CString GetAppTitle()
{
    CString title;
    title.Format(L"Ketroval %d.%d%s", 2, 40, L"");
    return title;
}

void TIRCWorld::Attach(IWorldFrame* owner)
{
    frame = owner;
    protocolLogs->SetFrame(frame);
    serverTree = frame->GetServerTree();
    allLog = frame->GetAllChannelsLog();
    inputLine = frame->GetInputLine();
    logPanel = &frame->GetChatPanel()->cards;
    memberPanel = frame->GetMemberListPanel();
    if (allLog) {
        allLog->keyListener = this;
        allLog->contextPopupListener = this;
        allLog->eventLineListener = this;
        ApplyLogPreferences(allLog, preference->ConsoleLogMaxLines);
    }
    emptyLog = CreateLogView(nullptr, nullptr);
    emptyMemberList = CreateMemberListView(nullptr, nullptr);
    frameUserInfo = std::make_unique<TWorldFrameUserInfo>(frame);
    userInfoDialogs = std::make_unique<TUserInfoDialogs>(this, preference, &config->geometry, frameUserInfo.get());
    ApplyUserInfoLook();
    SetUserInfoWindows(userInfoDialogs.get());
    Select(nullptr, nullptr, true);
    UpdateTitle();
    serverTree->listener = this;
    inputLine->listener = this;
    OnHeightChanged(inputLine);
    timer.Start(1000);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    lastTickDay = now.wDay;
}

// The view settings of the preferences; surplus oldest lines go at once.
void TIRCWorld::ApplyLogPreferences(TLogView* view, int maxLines)
{
    view->nickPopupsEnabled = preference->EnableNickContextMenu;
    view->copyOnSelect = preference->LogInstantCopy;
    view->SetLineLeading(preference->LineLeading);
    view->SetIndent(preference->Indent);
    view->SetBottomMargin(preference->BottomMargin);
    view->maxLines = maxLines;
    if (maxLines > 0 && view->GetLineCount() > maxLines)
        view->RemoveHeadLines(view->GetLineCount() - maxLines);
}

TLogView* TIRCWorld::CreateLogView(TIRCUnit* unit, TIRCChannel* channel)
{
    UINT key = CardKey(unit, channel);
    if (!logPanel || logPanel->GetCard(key))
        return nullptr;
    TLogTheme& theme = config->view.logTheme;
    auto* view = new TLogView();
    if (!view->Create(&theme.text, &theme.channelLogBack, logPanel->m_hWnd, GetNextChildId(), &preference->keyword,
                      addressFinder, false)) {
        delete view;
        return nullptr;
    }
    ApplyLogPreferences(view, preference->ChannelLogMaxLines);
    view->keyListener = this;
    view->contextPopupListener = this;
    view->nickPopupListener = this;
    view->eventLineListener = this;
    logPanel->AddCard(key, view);
    if (unit) {
        TIRCNode* node = NodeOf(unit, channel);
        node->logView = view;
        if (IsSelected(unit, channel)) {
            ShowCardPassingFocus(logPanel, key, InputLineWindow());
            node->OnLogViewShown();
            // Select handed the words out before this view existed.
            view->SetSearchWords(searchWords);
        }
    }
    return view;
}

TMemberListView* TIRCWorld::CreateMemberListView(TIRCUnit* unit, TIRCChannel* channel)
{
    UINT key = CardKey(unit, channel);
    if (!memberPanel || memberPanel->GetCard(key))
        return nullptr;
    auto* list = new TMemberListView(&memberListEvents);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | LVS_SMALLICON | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS |
                        LVS_AUTOARRANGE | LVS_OWNERDATA;
    if (!list->CreateEx(0, WC_LISTVIEWW, L"", style, RECT{}, memberPanel->m_hWnd, GetNextChildId())) {
        delete list;
        return nullptr;
    }
    list->InsertColumn(0, L"", 120);
    CImageList* images = frame->GetMemberImageList();
    list->SetImageList(images ? images->m_hImageList : nullptr, LVSIL_SMALL);
    list->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    ApplyListAppearance(list);
    memberPanel->AddCard(key, list);
    if (channel && IsSelected(unit, channel)) {
        ShowCardPassingFocus(memberPanel, key, InputLineWindow());
        channel->OnMemberViewShown();
    }
    return list;
}

// WHO windows list their members as the main window's member lists do.
void TIRCWorld::ApplyUserInfoLook()
{
    if (!userInfoDialogs)
        return;
    CImageList* images = frame->GetMemberImageList();
    userInfoDialogs->SetMemberLook(images ? images->m_hImageList : nullptr, &memberListEvents,
                                   config->view.listFont.handle, config->view.settings.list.backColor);
}

void TIRCWorld::ApplyListAppearance(TListView* list)
{
    list->SetFont(config->view.listFont.handle);
    list->SendMessage(LVM_SETBKCOLOR, 0, config->view.settings.list.backColor);
    list->SendMessage(LVM_SETTEXTBKCOLOR, 0, config->view.settings.list.backColor);
}

void TIRCWorld::DestroyLogView(TIRCUnit* unit, TIRCChannel* channel)
{
    UINT key = CardKey(unit, channel);
    if (unit)
        NodeOf(unit, channel)->DetachLogView();
    if (DestroyCardPassingFocus(logPanel, key, inputLine) && key == 1)
        emptyLog = nullptr;
}

void TIRCWorld::DestroyMemberListView(TIRCUnit* unit, TIRCChannel* channel)
{
    UINT key = CardKey(unit, channel);
    if (channel)
        channel->DetachMemberView();
    if (!DestroyCardPassingFocus(memberPanel, key, inputLine))
        return;
    if (key == 1) {
        emptyMemberList = nullptr;
        return;
    }
    // Selected again as a click would: the empty list shows, and a log left scrolled back comes
    // to the kick or part line when the user asked for the end on selection.
    if (IsSelected(unit, channel))
        Select(unit, channel, true);
}

void TIRCWorld::DestroyNodeViews(TIRCUnit* unit, TIRCChannel* channel)
{
    DestroyLogView(unit, channel);
    if (channel)
        DestroyMemberListView(unit, channel);
    if (currentChannel == channel && currentUnit == unit) {
        currentUnit = channel ? unit : nullptr;
        currentChannel = nullptr;
    }
}

IMemberListView* TIRCWorld::CreateMemberView(TIRCUnit* unit, TIRCChannel* channel)
{
    return CreateMemberListView(unit, channel);
}

void TIRCWorld::DestroyMemberView(TIRCUnit* unit, TIRCChannel* channel) { DestroyMemberListView(unit, channel); }

// A node gets its log view with its first line.
ILogLineSink* TIRCWorld::GetLogSink(TIRCUnit* unit, TIRCChannel* channel)
{
    TIRCNode* node = NodeOf(unit, channel);
    if (!node->logView)
        CreateLogView(unit, channel);
    return node->logView;
}

void TIRCWorld::AddLineToAllLog(const TLogLineData& line, bool checkKeywords)
{
    if (!allLog)
        return;
    auto* unit = (TIRCUnit*)line.unitTag;
    auto* channel = (TIRCChannel*)line.channelTag;
    bool keyword = false;
    if (checkKeywords && HasUnit(unit))
        keyword = channel && unit->HasChannel(channel) ? channel->GetConfig().Keyword : unit->GetSettings().Keyword;
    allLog->AddLine(line, keyword);
}

bool TIRCWorld::IsScrolledBack(TIRCUnit* unit, TIRCChannel* channel)
{
    TLogView* view = NodeOf(unit, channel)->logView;
    return view && !view->IsAtEnd();
}

void TIRCWorld::MarkNode(TIRCUnit* unit, TIRCChannel* channel, TNodeMark mark)
{
    TIRCNode* node = NodeOf(unit, channel);
    bool& flag = mark == MARK_KEYWORD    ? node->keywordMark
                 : mark == MARK_NEW_TALK ? node->newTalkMark
                                         : node->updateMark;
    // Each line of a busy channel marks its node again; only a new mark changes the tree.
    if (flag)
        return;
    flag = true;
    RedrawTree();
}

TLogView* TIRCWorld::GetCurrentLogView() const
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    TLogView* view = unit ? NodeOf(unit, channel)->logView : nullptr;
    return view ? view : emptyLog;
}

TListView* TIRCWorld::GetCurrentMemberList() const
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    CWnd* list = memberPanel && channel ? memberPanel->GetCard(CardKey(unit, channel)) : nullptr;
    return list ? static_cast<TMemberListView*>(list) : emptyMemberList;
}

HWND TIRCWorld::InputLineWindow() const { return inputLine ? inputLine->m_hWnd : nullptr; }

void TIRCWorld::ShowNodeCards(TIRCUnit* unit, TIRCChannel* channel)
{
    UINT key = CardKey(unit, channel);
    if (logPanel)
        ShowCardPassingFocus(logPanel, key, InputLineWindow());
    if (memberPanel)
        ShowCardPassingFocus(memberPanel, key, InputLineWindow());
}

// A node left behind keeps no found text marked and no member rows selected.
void TIRCWorld::ClearViewMarks(TIRCNode* node)
{
    if (node->logView)
        node->logView->ClearSelection();
    if (auto* list = dynamic_cast<TMemberListView*>(node->memberView))
        list->DeselectAll();
}

void TIRCWorld::Select(TIRCUnit* unit, TIRCChannel* channel, bool treeAlreadySelected)
{
    unit = HasUnit(unit) ? unit : nullptr;
    channel = unit && unit->HasChannel(channel) ? channel : nullptr;
    HWND focus = FocusedWindow();
    TIRCNode* old = currentUnit ? NodeOf(currentUnit, currentChannel) : nullptr;
    bool focusOnLog = old && old->logView && old->logView->m_hWnd == focus;
    // The tree may already show the new node: the old one's list is found by its own key.
    CWnd* oldList = old && memberPanel ? memberPanel->GetCard(CardKey(currentUnit, currentChannel)) : nullptr;
    oldList = oldList ? oldList : emptyMemberList;
    bool focusOnList = old && oldList && oldList->m_hWnd == focus;
    if (channel) {
        if (!channel->memberView && channel->GetMembers().GetCount() > 0)
            channel->EnsureMemberView();
        currentChannelNames[unit] = channel->GetName();
    } else if (unit) {
        currentChannelNames[unit].Empty();
    }
    if (unit) {
        TIRCNode* node = NodeOf(unit, channel);
        node->keywordMark = node->newTalkMark = node->updateMark = false;
    }
    ShowNodeCards(unit, channel);
    TIRCNode* node = unit ? NodeOf(unit, channel) : nullptr;
    if (focusOnLog || focusOnList) {
        CWnd* list = channel && memberPanel ? memberPanel->GetCard(CardKey(unit, channel)) : nullptr;
        HWND target = focusOnLog && node && node->logView ? node->logView->m_hWnd
                      : focusOnList && list               ? list->m_hWnd
                                                          : inputLine->m_hWnd;
        ::SetFocus(target);
    }
    if (node && node->logView) {
        if (!node->logViewShown || (preference->ViewBottomOnSelect && !node->logView->IsAtEnd()))
            node->logView->ScrollToEnd();
        node->OnLogViewShown();
    }
    if (node && node->memberView)
        node->OnMemberViewShown();
    if (unit == currentUnit && channel == currentChannel) {
        // Items rebuilt under a hold may have left the tree on another one.
        if (!treeAlreadySelected)
            SelectTreeItem(unit, channel);
        return;
    }
    if (old && HasUnit(currentUnit) && (!currentChannel || currentUnit->HasChannel(currentChannel))) {
        ClearViewMarks(old);
        old->keywordMark = old->newTalkMark = old->updateMark = false;
    }
    // Selecting the item raises the tree's notification, which comes back here with the same pair.
    currentUnit = unit;
    currentChannel = channel;
    if (!treeAlreadySelected)
        SelectTreeItem(unit, channel);
    UpdateTitle();
    if (node && node->logView)
        node->logView->SetSearchWords(searchWords);
    if (channel && channel->memberView)
        GetCurrentMemberList()->SendMessage(LVM_ARRANGE, LVA_DEFAULT);
}

void TIRCWorld::GetSelection(TIRCUnit*& unit, TIRCChannel*& channel) const
{
    if (serverTree) {
        ReadTreeSelection(unit, channel);
        return;
    }
    unit = HasUnit(currentUnit) ? currentUnit : nullptr;
    channel = unit && unit->HasChannel(currentChannel) ? currentChannel : nullptr;
}

bool TIRCWorld::IsSelected(TIRCUnit* unit, TIRCChannel* channel)
{
    TIRCUnit* selectedUnit;
    TIRCChannel* selectedChannel;
    GetSelection(selectedUnit, selectedChannel);
    return selectedUnit == unit && selectedChannel == channel;
}

CString TIRCWorld::MakeTitle() const
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    if (!unit)
        return GetAppTitle();
    TLogFormatter format(config->view.settings.formats);
    const TIRCUnitSession& session = unit->GetSession();
    CString nick = unit->GetState() == TIRCUnit::StateLoggedIn ? session.currentNick : unit->GetSettings().Nick;
    CString userModes = session.userMode.ToString();
    if (!channel)
        return format.FormatUnitTitle(nick, unit->GetName(), userModes);
    if (channel->GetKind() == TIRCChannel::KindChannel) {
        TIRCMember* own = channel->FindMember(nick);
        return format.FormatChannelTitle(nick, unit->GetName(), channel->GetName(), userModes, channel->mode.ToString(),
                                         StripControlCodes(channel->topic), channel->GetMembers().GetCount(),
                                         own ? own->GetPrefixChar() : CString());
    }
    CString partner = channel->GetKind() == TIRCChannel::KindTalk ? channel->GetName() : channel->GetConfig().ExtraText;
    return format.FormatTalkTitle(nick, unit->GetName(), partner, userModes);
}

namespace {

const DWORD kFrameMs = 16;

} // namespace

void TIRCWorld::UpdateTitle()
{
    if (!frame)
        return;
    titleDue = true;
    if (titleTimer.IsRunning())
        return;
    DWORD since = ::GetTickCount() - titleShownAt;
    if (since >= kFrameMs)
        ShowTitle();
    else
        titleTimer.Start(kFrameMs - since);
}

// Setting the caption repaints it and the tray icon's tip goes to another process: only changes.
void TIRCWorld::ShowTitle()
{
    titleDue = false;
    titleShownAt = ::GetTickCount();
    CString title = MakeTitle();
    if (title == shownTitle && WindowTitle(frame->GetFrameWindow()) == title)
        return;
    shownTitle = title;
    ::SetWindowTextW(frame->GetFrameWindow(), title);
    frame->SetTrayToolTip(title);
}

void TIRCWorld::UpdateTitleIfUnitSelected(TIRCUnit* unit)
{
    TIRCUnit* selected;
    TIRCChannel* channel;
    GetSelection(selected, channel);
    if (selected == unit)
        UpdateTitle();
}

void TIRCWorld::UpdateTitleIfNodeSelected(TIRCUnit* unit, TIRCChannel* channel)
{
    if (IsSelected(unit, channel))
        UpdateTitle();
}

void TIRCWorld::ClearCurrentMarks()
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    if (!unit)
        return;
    TIRCNode* node = NodeOf(unit, channel);
    node->keywordMark = node->newTalkMark = node->updateMark = false;
    RedrawTree();
}

void TIRCWorld::ApplyPreferences()
{
    config->view.UpdateTheme(*config);
    if (allLog) {
        ApplyLogPreferences(allLog, preference->ConsoleLogMaxLines);
        allLog->ResetLayout();
        allLog->RefreshView();
    }
    if (serverTree) {
        serverTree->SetFontAndItemHeight(config->view.treeFont.handle);
        serverTree->SendMessage(TVM_SETBKCOLOR, 0, config->view.settings.tree.backColor);
    }
    if (emptyMemberList)
        ApplyListAppearance(emptyMemberList);
    ApplyUserInfoLook();
    for (TEdit* edit : {(TEdit*)inputLine, frame ? frame->GetSearchEdit() : nullptr}) {
        if (!edit)
            continue;
        edit->SetFontAndAdjustHeight(config->view.editFont.handle);
        edit->SetColors(config->view.settings.editFont.color, config->view.settings.editBackColor);
        edit->RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW);
    }
    for (TIRCUnit* unit : units) {
        unit->ApplyPreferences();
        ApplyUnitViews(unit);
    }
    ApplyHistoryPreferences();
}

// The views the world made for a unit and its channels follow the new settings at once.
void TIRCWorld::ApplyUnitViews(TIRCUnit* unit)
{
    std::vector<TIRCNode*> nodes = {unit};
    nodes.insert(nodes.end(), unit->GetChannels().begin(), unit->GetChannels().end());
    for (TIRCNode* node : nodes) {
        if (TLogView* view = node->logView) {
            ApplyLogPreferences(view, preference->ChannelLogMaxLines);
            view->ResetLayout();
            view->RefreshView();
        }
        if (auto* list = dynamic_cast<TMemberListView*>(node->memberView)) {
            ApplyListAppearance(list);
            list->LayOutNow();
            list->Invalidate();
        }
    }
    for (TIRCChannel* channel : unit->GetChannels())
        if (auto* who = dynamic_cast<TWhoDialog*>(channel->GetWhoDialog()))
            who->SetListLook(config->view.listFont.handle, config->view.settings.list.backColor);
    if (TProtocolLogDialog* log = protocolLogs ? protocolLogs->Find(unit) : nullptr)
        log->ApplySettings();
}

void TIRCWorld::OpenUrl(const CString& url, bool inNewWindow)
{
    if (url.IsEmpty())
        return;
    CString text = url.Left(3) == L"ttp" ? L"h" + url : url;
    // A URL at the start is enough: the browser gets the whole text.
    bool isUrl = !addressFinder || addressFinder->IsUrl(text);
    ::OpenUrl(preference->URLOpenApplication, text,
              inNewWindow ? URL_OPEN_NEW_BROWSER_WINDOW : preference->URLOpenMethod, isUrl);
}

void TIRCWorld::SetSearchWords(const std::vector<CString>& words)
{
    searchWords = words;
    if (TLogView* view = GetCurrentLogView(); view && view != emptyLog)
        view->SetSearchWords(words);
}

void TIRCWorld::ResetSearchInAllLogs()
{
    searchWords.clear();
    for (TIRCUnit* unit : units) {
        if (unit->logView)
            unit->logView->SetSearchWords(searchWords);
        for (TIRCChannel* channel : unit->GetChannels())
            if (channel->logView)
                channel->logView->SetSearchWords(searchWords);
    }
}

bool TIRCWorld::FindNext() { return FindMatch(true); }

bool TIRCWorld::FindPrevious() { return FindMatch(false); }

bool TIRCWorld::FindMatch(bool forward)
{
    TLogView* view = GetCurrentLogView();
    if (!view || view == emptyLog || !view->FindNextMatch(forward, false))
        return false;
    view->ScrollToSelection();
    return true;
}

void TIRCWorld::OnHeightChanged(TEdit*)
{
    if (frame)
        frame->GetChatPanel()->RecalcLayout();
}
