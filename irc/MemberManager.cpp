#include "irc/MemberManager.h"

#include "ircproto/IRCNames.h"

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
    auto it = members.find(key);
    TIRCMember* member;
    if (it == members.end()) {
        if ((int)members.size() >= kMaxMembers)
            return false;
        member = new TIRCMember(record);
        members.emplace(key, member);
    } else {
        member = it->second;
        if (replaceAll) {
            *member = record;
        } else {
            member->nick = record.nick;
            if (!record.user.IsEmpty())
                member->user = record.user;
            if (!record.host.IsEmpty())
                member->host = record.host;
        }
    }
    Classify(*member);
    ShowInMemberView(member);
    SortMemberView();
    ShowInWhoList(member, true);
    SortWhoList();
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
    const CString* texts[] = {&user, &host, &server, &fullName};
    CString* fields[] = {&member->user, &member->host, &member->server, &member->fullName};
    for (int i = 0; i < 4; i++)
        if (!texts[i]->IsEmpty())
            *fields[i] = *texts[i];
    member->q = q, member->a = a, member->o = o, member->h = h, member->v = v;
    Classify(*member);
    ShowChangedDetails(member);
}

bool TIRCMemberManager::UpdateUserHost(const CString& nick, const CString& user, const CString& host)
{
    if (user.IsEmpty() && host.IsEmpty())
        return false;
    TIRCMember* member = Find(nick);
    if (!member || (member->nick == nick && member->user == user && member->host == host))
        return false;
    if (!user.IsEmpty())
        member->user = user;
    if (!host.IsEmpty())
        member->host = host;
    ShowChangedDetails(member);
    return true;
}

void TIRCMemberManager::ShowChangedDetails(TIRCMember* member)
{
    if (memberView) {
        int item = memberView->FindItem(member);
        if (item >= 0)
            memberView->RedrawItem(item);
    }
    SortMemberView();
    ShowInWhoList(member, false);
    SortWhoList();
}

void TIRCMemberManager::RemoveMember(const CString& nick)
{
    auto it = members.find(IRCToUpper(nick));
    if (it == members.end())
        return;
    for (IMemberListView* view : {memberView, whoList}) {
        if (!view)
            continue;
        int item = view->FindItem(it->second);
        if (item >= 0)
            view->DeleteItem(item);
    }
    delete it->second;
    members.erase(it);
}

void TIRCMemberManager::RenameMember(const CString& oldNick, const CString& newNick)
{
    if (IRCCompareNoCase(oldNick, newNick) != 0 && Find(newNick))
        RemoveMember(newNick);
    auto it = members.find(IRCToUpper(oldNick));
    if (it == members.end())
        return;
    TIRCMember* member = it->second;
    members.erase(it);
    member->nick = newNick;
    members.emplace(IRCToUpper(newNick), member);
    Classify(*member);
    if (memberView) {
        int item = memberView->FindItem(member);
        if (item >= 0)
            memberView->SetItemText(item, 0, newNick);
        SortMemberView();
    }
    if (whoList) {
        int item = whoList->FindItem(member);
        if (item >= 0)
            whoList->SetItemText(item, 1, newNick);
        SortWhoList();
    }
}

void TIRCMemberManager::ChangeMemberMode(const CString& nick, wchar_t letter, bool on)
{
    TIRCMember* member = Find(nick);
    if (!member)
        return;
    member->SetMode(letter, on);
    for (IMemberListView* view : {memberView, whoList}) {
        if (!view)
            continue;
        int item = view->FindItem(member);
        if (item >= 0)
            view->RedrawItem(item);
    }
    SortMemberView();
    SortWhoList();
}

void TIRCMemberManager::Clear()
{
    for (auto& entry : members)
        delete entry.second;
    members.clear();
    if (memberView)
        memberView->DeleteAllItems();
    if (whoList)
        whoList->DeleteAllItems();
}

void TIRCMemberManager::ClassifyAll()
{
    for (auto& entry : members)
        Classify(*entry.second);
    SortMemberView();
    for (IMemberListView* view : {memberView, whoList})
        if (view)
            view->RedrawItem(-1);
}

void TIRCMemberManager::RefreshView()
{
    if (!memberView)
        return;
    for (auto& entry : members)
        ShowInMemberView(entry.second);
    SortMemberView();
}

void TIRCMemberManager::FillWhoList()
{
    if (!whoList)
        return;
    for (auto& entry : members)
        ShowInWhoList(entry.second, true);
    SortWhoList();
}

void TIRCMemberManager::ShowInMemberView(TIRCMember* member)
{
    if (!memberView)
        return;
    int item = memberView->FindItem(member);
    if (item < 0)
        memberView->InsertItem(member, member->nick);
    else
        memberView->SetItemText(item, 0, member->nick);
}

void TIRCMemberManager::ShowInWhoList(TIRCMember* member, bool withNick)
{
    if (!whoList)
        return;
    int item = whoList->FindItem(member);
    if (item < 0)
        item = whoList->InsertItem(member, L"");
    const CString* columns[] = {&member->nick, &member->user, &member->host, &member->fullName, &member->server};
    for (int column = withNick ? 1 : 2; column <= 5; column++)
        whoList->SetItemText(item, column, *columns[column - 1]);
}

void TIRCMemberManager::SortMemberView()
{
    if (memberView)
        memberView->SortItems(&CompareMembers, listener ? listener->GetMemberSortMethod() : 0);
}

void TIRCMemberManager::SortWhoList()
{
    if (whoList)
        whoList->SortItems(&CompareWhoRows, whoSortColumn);
}

std::vector<CString> TIRCMemberManager::GetNicks() const
{
    std::vector<CString> nicks;
    nicks.reserve(members.size());
    for (auto& entry : members)
        nicks.push_back(entry.second->nick);
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
