#include "irc/MemberManager.h"

#include "ircproto/IRCNames.h"

#include <algorithm>
#include <cwchar>

bool TIRCMemberManager::TKeyLess::operator()(const CString& a, const CString& b) const
{
    int n = a.GetLength() < b.GetLength() ? a.GetLength() : b.GetLength();
    int c = wmemcmp(a.GetString(), b.GetString(), (size_t)n);
    return c != 0 ? c < 0 : a.GetLength() < b.GetLength();
}

TIRCMemberManager::TIRCMemberManager(IMemberManagerListener* listener) : listener(listener) {}

TIRCMemberManager::~TIRCMemberManager()
{
    for (auto& entry : members)
        delete entry.second;
    DeleteGone();
}

TIRCMember* TIRCMemberManager::Find(const CString& nick) const
{
    auto it = members.find(IRCToUpper(nick));
    return it == members.end() ? nullptr : it->second;
}

void TIRCMemberManager::Classify(TIRCMember& member)
{
    if (listener)
        listener->ClassifyMember(member);
}

bool TIRCMemberManager::AddMember(const TIRCMember& record, bool replaceAll)
{
    CString key = IRCToUpper(record.nick);
    auto it = members.lower_bound(key);
    if (it == members.end() || members.key_comp()(key, it->first)) {
        if ((int)members.size() >= kMaxMembers) {
            if (!fullTold && listener)
                listener->MemberListFull(*this);
            fullTold = true;
            return false;
        }
        TIRCMember* member = new TIRCMember(record);
        members.emplace_hint(it, key, member);
        Classify(*member);
        KeepMemberListOrder();
        if (memberList.view)
            unplaced.insert(member);
        if (whoList.view)
            RepositionInWhoList(member, TBefore(), kWhoTexts);
        HandOverRows();
        return true;
    }
    TIRCMember* member = it->second;
    TBefore before = Remember(member);
    if (replaceAll) {
        *member = record;
    } else {
        member->nick = record.nick;
        if (!record.user.IsEmpty())
            member->user = record.user;
        if (!record.host.IsEmpty())
            member->host = record.host;
    }
    Classify(*member);
    Reposition(member, before, kNickText | kWhoTexts);
    return true;
}

void TIRCMemberManager::AddOrUpdateMember(const CString& nick, const CString& user, const CString& host,
                                          const CString& server, const CString& fullName, bool q, bool a, bool o,
                                          bool h, bool v)
{
    TIRCMember* member = Find(nick);
    if (!member) {
        TIRCMember record(nick, user, host);
        record.server = server;
        record.fullName = fullName;
        record.q = q, record.a = a, record.o = o, record.h = h, record.v = v;
        AddMember(record, true);
        return;
    }
    if (member->nick == nick && member->user == user && member->host == host && member->server == server &&
        member->fullName == fullName && member->q == q && member->a == a && member->o == o && member->h == h &&
        member->v == v)
        return;
    TBefore before = Remember(member);
    const CString* texts[] = {&user, &host, &server, &fullName};
    CString* fields[] = {&member->user, &member->host, &member->server, &member->fullName};
    for (int i = 0; i < 4; i++)
        if (!texts[i]->IsEmpty())
            *fields[i] = *texts[i];
    member->q = q, member->a = a, member->o = o, member->h = h, member->v = v;
    Classify(*member);
    Reposition(member, before, kRedraw | kWhoDetails);
}

bool TIRCMemberManager::UpdateUserHost(const CString& nick, const CString& user, const CString& host)
{
    if (user.IsEmpty() && host.IsEmpty())
        return false;
    TIRCMember* member = Find(nick);
    if (!member || (member->nick == nick && member->user == user && member->host == host))
        return false;
    TBefore before = Remember(member);
    if (!user.IsEmpty())
        member->user = user;
    if (!host.IsEmpty())
        member->host = host;
    Reposition(member, before, kRedraw | kWhoDetails);
    return true;
}

void TIRCMemberManager::RemoveMember(const CString& nick)
{
    auto it = members.find(IRCToUpper(nick));
    if (it == members.end())
        return;
    TIRCMember* member = it->second;
    int whoRow = Remember(member).whoRow;
    if (whoRow >= 0) {
        whoList.order.Remove(whoRow);
        whoList.view->DeleteItem(whoRow);
    }
    members.erase(it);
    fullTold = false;
    if (!memberList.view) {
        delete member;
        return;
    }
    // The member list's row may still show it until the list takes its rows.
    unplaced.insert(member);
    gone.push_back(member);
    HandOverRows();
}

void TIRCMemberManager::RenameMember(const CString& oldNick, const CString& newNick)
{
    if (IRCCompareNoCase(oldNick, newNick) != 0 && Find(newNick))
        RemoveMember(newNick);
    auto it = members.find(IRCToUpper(oldNick));
    if (it == members.end())
        return;
    TIRCMember* member = it->second;
    TBefore before = Remember(member);
    members.erase(it);
    member->nick = newNick;
    members.emplace(IRCToUpper(newNick), member);
    Classify(*member);
    Reposition(member, before, kNickText | kWhoNick);
}

void TIRCMemberManager::ChangeMemberMode(const CString& nick, wchar_t letter, bool on)
{
    TIRCMember* member = Find(nick);
    if (!member)
        return;
    TBefore before = Remember(member);
    member->SetMode(letter, on);
    Reposition(member, before, kRedraw | kWhoRedraw);
}

void TIRCMemberManager::Clear()
{
    for (auto& entry : members)
        delete entry.second;
    members.clear();
    unplaced.clear();
    DeleteGone();
    fullTold = false;
    for (TShownList* list : {&memberList, &whoList}) {
        list->order.Clear();
        if (list->view)
            list->view->DeleteAllItems();
    }
}

void TIRCMemberManager::ClassifyAll()
{
    for (auto& entry : members)
        Classify(*entry.second);
    // One sort of the whole list, which keeps its selection.
    if (memberList.view) {
        PlaceWaitingRows();
        memberList.order.Reset(&CompareMembers, GetSortMethod(), GetMembers());
        memberList.view->SortItems(&CompareMembers, memberList.order.GetParam());
    }
    for (TShownList* list : {&memberList, &whoList})
        if (list->view)
            list->view->RedrawItem(-1);
}

// The list that goes takes its rows first: none of them shows a removed member.
void TIRCMemberManager::SetMemberView(IMemberListView* view)
{
    PlaceWaitingRows();
    memberList.view = view;
    memberList.order.Reset(&CompareMembers, GetSortMethod(), {});
}

void TIRCMemberManager::SetWhoList(IMemberListView* view)
{
    whoList.view = view;
    whoList.order.Reset(&CompareWhoRows, whoSortColumn, {});
}

// Rows already shown keep their selection and the list its scroll position.
void TIRCMemberManager::RefreshView()
{
    if (!memberList.view)
        return;
    unplaced.clear();
    memberList.order.Reset(&CompareMembers, GetSortMethod(), GetMembers());
    memberList.view->SetRows(memberList.order.GetRows());
    DeleteGone();
}

void TIRCMemberManager::FillWhoList()
{
    if (!whoList.view)
        return;
    whoList.view->DeleteAllItems();
    whoList.order.Reset(&CompareWhoRows, whoSortColumn, GetMembers());
    for (int row = 0; row < whoList.order.GetCount(); row++) {
        TIRCMember* member = whoList.order.GetAt(row);
        whoList.view->InsertItem(member, L"", row);
        SetWhoTexts(member, row, 1);
    }
}

void TIRCMemberManager::SortWhoList()
{
    if (!whoList.view)
        return;
    whoList.order.Reset(&CompareWhoRows, whoSortColumn, GetMembers());
    whoList.view->SortItems(&CompareWhoRows, whoSortColumn);
}

int TIRCMemberManager::GetSortMethod() const { return listener ? listener->GetMemberSortMethod() : 0; }

// The preference may have changed since the list was sorted.
void TIRCMemberManager::KeepMemberListOrder()
{
    if (!memberList.view || memberList.order.IsSortedBy(&CompareMembers, GetSortMethod()))
        return;
    PlaceWaitingRows();
    memberList.order.Reset(&CompareMembers, GetSortMethod(), GetMembers());
    memberList.view->SortItems(&CompareMembers, memberList.order.GetParam());
}

// Before the member's sort keys change.
TIRCMemberManager::TBefore TIRCMemberManager::Remember(const TIRCMember* member)
{
    KeepMemberListOrder();
    TBefore before;
    before.keys = *member;
    if (whoList.view)
        before.whoRow = whoList.order.Find(member);
    return before;
}

// After the member changed: its rows move to where it now belongs and show it. A row whose
// sort keys are as they were stays where it is.
void TIRCMemberManager::Reposition(TIRCMember* member, const TBefore& before, int show)
{
    if (memberList.view)
        RepositionInMemberList(member, before.keys, show);
    if (whoList.view)
        RepositionInWhoList(member, before, show);
    HandOverRows();
}

void TIRCMemberManager::RepositionInMemberList(TIRCMember* member, const TIRCMember& keys, int show)
{
    if (CompareMembers(&keys, member, memberList.order.GetParam()) != 0) {
        unplaced.insert(member);
        return;
    }
    // Rows still waiting are all shown anew when the list takes them.
    if (!unplaced.empty())
        return;
    int row = memberList.order.Find(member);
    if (row < 0)
        return;
    if (show & kNickText)
        memberList.view->SetItemText(row, 0, member->nick);
    if (show & kRedraw)
        memberList.view->RedrawItem(row);
}

void TIRCMemberManager::RepositionInWhoList(TIRCMember* member, const TBefore& before, int show)
{
    int from = before.whoRow, to = from;
    if (from < 0 || CompareWhoRows(&before.keys, member, whoList.order.GetParam()) != 0) {
        if (from >= 0)
            whoList.order.Remove(from);
        to = whoList.order.Insert(member);
        if (from < 0)
            whoList.view->InsertItem(member, CString(), to);
        else if (from != to)
            whoList.view->MoveItem(from, to);
    }
    if (from < 0 || (show & kWhoTexts))
        SetWhoTexts(member, to, 1);
    else if (show & kWhoNick)
        whoList.view->SetItemText(to, 1, member->nick);
    else if (show & kWhoDetails)
        SetWhoTexts(member, to, 2);
    if (show & kWhoRedraw)
        whoList.view->RedrawItem(to);
}

// A list that waits takes the rows when it asks; any other takes them now.
void TIRCMemberManager::HandOverRows()
{
    if (!unplaced.empty() && !memberList.view->WaitForRows(this))
        PlaceWaitingRows();
}

void TIRCMemberManager::PlaceWaitingRows()
{
    if (unplaced.empty())
        return;
    std::sort(gone.begin(), gone.end());
    std::vector<TIRCMember*> arriving;
    arriving.reserve(unplaced.size());
    for (TIRCMember* member : unplaced)
        if (!std::binary_search(gone.begin(), gone.end(), member))
            arriving.push_back(member);
    memberList.order.Replace(unplaced, std::move(arriving));
    unplaced.clear();
    if (memberList.view)
        memberList.view->SetRows(memberList.order.GetRows());
    DeleteGone();
}

void TIRCMemberManager::DeleteGone()
{
    for (TIRCMember* member : gone)
        delete member;
    gone.clear();
}

void TIRCMemberManager::SetWhoTexts(const TIRCMember* member, int row, int firstColumn)
{
    const CString* columns[] = {&member->nick, &member->user, &member->host, &member->fullName, &member->server};
    for (int column = firstColumn; column <= 5; column++)
        whoList.view->SetItemText(row, column, *columns[column - 1]);
}

std::vector<CString> TIRCMemberManager::GetNicks() const
{
    std::vector<CString> nicks;
    nicks.reserve(members.size());
    for (auto& entry : members)
        nicks.push_back(entry.second->nick);
    return nicks;
}

std::vector<CString> TIRCMemberManager::GetNicksInListOrder() const
{
    // A shown list keeps its order beside it; only a channel without one, or with changes not
    // placed yet, is sorted here.
    const TMemberOrder* order = &memberList.order;
    TMemberOrder sorted;
    if (!memberList.view || !unplaced.empty() || !order->IsSortedBy(&CompareMembers, GetSortMethod()) ||
        order->GetCount() != GetCount()) {
        sorted.Reset(&CompareMembers, GetSortMethod(), GetMembers());
        order = &sorted;
    }
    std::vector<CString> nicks;
    nicks.reserve((size_t)order->GetCount());
    for (int row = 0; row < order->GetCount(); row++)
        nicks.push_back(order->GetAt(row)->nick);
    return nicks;
}

std::vector<TIRCMember*> TIRCMemberManager::GetMembers() const
{
    std::vector<TIRCMember*> list;
    list.reserve(members.size());
    for (auto& entry : members)
        list.push_back(entry.second);
    return list;
}
