#pragma once
// A channel's members, by IRC-folded nick, with the member list and the WHO window's list kept
// in step when they are attached.

#include "irc/Member.h"
#include "irc/MemberView.h"

#include <map>
#include <vector>

class TIRCMemberManager {
public:
    // A server cannot make one channel hold more than this; NAMES and WHO beyond it are dropped.
    static constexpr int kMaxMembers = 100000;

    explicit TIRCMemberManager(IMemberManagerListener* listener);
    TIRCMemberManager(const TIRCMemberManager&) = delete;
    TIRCMemberManager& operator=(const TIRCMemberManager&) = delete;
    virtual ~TIRCMemberManager();

    TIRCMember* Find(const CString& nick) const;
    int GetCount() const { return (int)members.size(); }
    // False when the list is full and the nick is new.
    bool AddMember(const TIRCMember& record, bool replaceAll);
    void AddOrUpdateMember(const CString& nick, const CString& user, const CString& host, const CString& server,
                           const CString& fullName, bool q, bool a, bool o, bool h, bool v);
    // True when the stored nick, user or host differed from the given ones (the auto-op check runs then).
    bool UpdateUserHost(const CString& nick, const CString& user, const CString& host);
    void RemoveMember(const CString& nick);
    void RenameMember(const CString& oldNick, const CString& newNick);
    void ChangeMemberMode(const CString& nick, wchar_t letter, bool on);
    void Clear();
    void ClassifyAll();

    void SetMemberView(IMemberListView* view) { memberView = view; }
    void SetWhoList(IMemberListView* view) { whoList = view; }
    IMemberListView* GetWhoList() const { return whoList; }
    void SetWhoSortColumn(int column) { whoSortColumn = column; }
    void RefreshView();
    void FillWhoList();
    void SortWhoList();

    std::vector<CString> GetNicks() const;
    std::vector<TIRCMember*> GetMembers() const;

private:
    // Plain code-unit order of the folded keys; NUL inside a nick still compares.
    struct TKeyLess {
        bool operator()(const CString& a, const CString& b) const;
    };
    using TMap = std::map<CString, TIRCMember*, TKeyLess>;

    void ShowInMemberView(TIRCMember* member);
    void ShowInWhoList(TIRCMember* member, bool withNick);
    // Both views after the member's modes or address changed.
    void ShowChangedDetails(TIRCMember* member);
    void SortMemberView();
    void Classify(TIRCMember& member);

    TMap members;
    IMemberManagerListener* listener;
    IMemberListView* memberView = nullptr;
    IMemberListView* whoList = nullptr;
    int whoSortColumn = 1;
};
