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
        Reposition(member, TRows(), kNickText | kWhoTexts);
        return true;
    }
    TIRCMember* member = it->second;
    TRows rows = FindRows(member);
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
    Reposition(member, rows, kNickText | kWhoTexts);
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
    TRows rows = FindRows(member);
    const CString* texts[] = {&user, &host, &server, &fullName};
    CString* fields[] = {&member->user, &member->host, &member->server, &member->fullName};
    for (int i = 0; i < 4; i++)
        if (!texts[i]->IsEmpty())
            *fields[i] = *texts[i];
    member->q = q, member->a = a, member->o = o, member->h = h, member->v = v;
    Classify(*member);
    Reposition(member, rows, kRedraw | kWhoDetails);
}

bool TIRCMemberManager::UpdateUserHost(const CString& nick, const CString& user, const CString& host)
{
    if (user.IsEmpty() && host.IsEmpty())
        return false;
    TIRCMember* member = Find(nick);
    if (!member || (member->nick == nick && member->user == user && member->host == host))
        return false;
    TRows rows = FindRows(member);
    if (!user.IsEmpty())
        member->user = user;
    if (!host.IsEmpty())
        member->host = host;
    Reposition(member, rows, kRedraw | kWhoDetails);
    return true;
}

void TIRCMemberManager::RemoveMember(const CString& nick)
{
    auto it = members.find(IRCToUpper(nick));
    if (it == members.end())
        return;
    TRows rows = FindRows(it->second);
    if (rows.member >= 0) {
        memberList.order.Remove(rows.member);
        memberList.view->DeleteItem(rows.member);
    }
    if (rows.who >= 0) {
        whoList.order.Remove(rows.who);
        whoList.view->DeleteItem(rows.who);
    }
    delete it->second;
    members.erase(it);
    fullTold = false;
}

void TIRCMemberManager::RenameMember(const CString& oldNick, const CString& newNick)
{
    if (IRCCompareNoCase(oldNick, newNick) != 0 && Find(newNick))
        RemoveMember(newNick);
    auto it = members.find(IRCToUpper(oldNick));
    if (it == members.end())
        return;
    TIRCMember* member = it->second;
    TRows rows = FindRows(member);
    members.erase(it);
    member->nick = newNick;
    members.emplace(IRCToUpper(newNick), member);
    Classify(*member);
    Reposition(member, rows, kNickText | kWhoNick);
}

void TIRCMemberManager::ChangeMemberMode(const CString& nick, wchar_t letter, bool on)
{
    TIRCMember* member = Find(nick);
    if (!member)
        return;
    TRows rows = FindRows(member);
    member->SetMode(letter, on);
    Reposition(member, rows, kRedraw | kWhoRedraw);
}

void TIRCMemberManager::Clear()
{
    for (auto& entry : members)
        delete entry.second;
    members.clear();
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
        memberList.order.Reset(&CompareMembers, GetSortMethod(), GetMembers());
        memberList.view->SortItems(&CompareMembers, memberList.order.GetParam());
    }
    for (TShownList* list : {&memberList, &whoList})
        if (list->view)
            list->view->RedrawItem(-1);
}

void TIRCMemberManager::SetMemberView(IMemberListView* view)
{
    memberList.view = view;
    memberList.order.Reset(&CompareMembers, GetSortMethod(), {});
}

void TIRCMemberManager::SetWhoList(IMemberListView* view)
{
    whoList.view = view;
    whoList.order.Reset(&CompareWhoRows, whoSortColumn, {});
}

// Rows already shown keep their items, so the list keeps its selection and scroll position.
void TIRCMemberManager::RefreshView()
{
    if (!memberList.view)
        return;
    TMemberOrder& order = memberList.order;
    if (order.GetCount() == 0) {
        // Nothing of ours is shown yet: the view starts empty.
        memberList.view->DeleteAllItems();
        order.Reset(&CompareMembers, GetSortMethod(), GetMembers());
        for (int row = 0; row < order.GetCount(); row++)
            memberList.view->InsertItem(order.GetAt(row), order.GetAt(row)->nick, row);
        return;
    }
    std::vector<const TIRCMember*> shown;
    shown.reserve((size_t)order.GetCount());
    for (int row = 0; row < order.GetCount(); row++) {
        memberList.view->SetItemText(row, 0, order.GetAt(row)->nick);
        shown.push_back(order.GetAt(row));
    }
    std::sort(shown.begin(), shown.end());
    for (TIRCMember* member : GetMembers())
        if (!std::binary_search(shown.begin(), shown.end(), member))
            memberList.view->InsertItem(member, member->nick, order.Insert(member));
    order.Reset(&CompareMembers, GetSortMethod(), GetMembers());
    memberList.view->SortItems(&CompareMembers, order.GetParam());
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
    memberList.order.Reset(&CompareMembers, GetSortMethod(), GetMembers());
    memberList.view->SortItems(&CompareMembers, memberList.order.GetParam());
}

// Before the member's sort keys change.
TIRCMemberManager::TRows TIRCMemberManager::FindRows(const TIRCMember* member)
{
    KeepMemberListOrder();
    TRows rows;
    if (memberList.view)
        rows.member = memberList.order.Find(member);
    if (whoList.view)
        rows.who = whoList.order.Find(member);
    return rows;
}

// After the member changed: its rows move to where it now belongs (or are made) and show it.
void TIRCMemberManager::Reposition(TIRCMember* member, const TRows& rows, int show)
{
    if (memberList.view)
        RepositionInMemberList(member, rows.member, show);
    if (whoList.view)
        RepositionInWhoList(member, rows.who, show);
}

void TIRCMemberManager::RepositionInMemberList(TIRCMember* member, int from, int show)
{
    if (from >= 0)
        memberList.order.Remove(from);
    int to = memberList.order.Insert(member);
    if (from < 0) {
        memberList.view->InsertItem(member, member->nick, to);
        return;
    }
    if (from != to)
        memberList.view->MoveItem(from, to);
    if (show & kNickText)
        memberList.view->SetItemText(to, 0, member->nick);
    if (show & kRedraw)
        memberList.view->RedrawItem(to);
}

void TIRCMemberManager::RepositionInWhoList(TIRCMember* member, int from, int show)
{
    if (from >= 0)
        whoList.order.Remove(from);
    int to = whoList.order.Insert(member);
    if (from < 0)
        whoList.view->InsertItem(member, CString(), to);
    else if (from != to)
        whoList.view->MoveItem(from, to);
    if (from < 0 || (show & kWhoTexts))
        SetWhoTexts(member, to, 1);
    else if (show & kWhoNick)
        whoList.view->SetItemText(to, 1, member->nick);
    else if (show & kWhoDetails)
        SetWhoTexts(member, to, 2);
    if (show & kWhoRedraw)
        whoList.view->RedrawItem(to);
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
    // A shown list keeps its order beside it; only a channel without one is sorted here.
    const TMemberOrder* order = &memberList.order;
    TMemberOrder sorted;
    if (!memberList.view || !order->IsSortedBy(&CompareMembers, GetSortMethod()) || order->GetCount() != GetCount()) {
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
