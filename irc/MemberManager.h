#pragma once
// A channel's members, by IRC-folded nick, with the member list and the WHO window's list kept
// in step when they are attached. Each list's order is kept here too, so a change touches one
// row of a list and never sorts it; the member list takes a burst of changes (a NAMES reply, a
// netsplit) in one go when it asks for its rows.

#include "irc/Member.h"
#include "irc/MemberOrder.h"
#include "irc/MemberView.h"

#include <map>
#include <unordered_set>
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
    // False when the list is full and the nick is new; the listener hears of the first such refusal.
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

    // A view attached is filled by RefreshView (FillWhoList for the WHO list).
    void SetMemberView(IMemberListView* view);
    void SetWhoList(IMemberListView* view);
    IMemberListView* GetWhoList() const { return whoList.view; }
    void SetWhoSortColumn(int column) { whoSortColumn = column; }
    void RefreshView();
    void FillWhoList();
    // By the sort preference, which may have changed; sorts only when it did.
    void SortMemberView() { KeepMemberListOrder(); }
    void SortWhoList();

    // The member list's rows of the changes so far, which it asks for once it waits for them.
    void PlaceWaitingRows();

    std::vector<CString> GetNicks() const;
    // In the order the member list shows them.
    std::vector<CString> GetNicksInListOrder() const;
    std::vector<TIRCMember*> GetMembers() const;

private:
    // Plain code-unit order of the folded keys; NUL inside a nick still compares.
    struct TKeyLess {
        bool operator()(const CString& a, const CString& b) const;
    };
    using TMap = std::map<CString, TIRCMember*, TKeyLess>;

    struct TShownList {
        IMemberListView* view = nullptr;
        TMemberOrder order;
    };
    // A member before a change: its sort keys and its WHO row (-1 for none).
    struct TBefore {
        TIRCMember keys;
        int whoRow = -1;
    };
    // What a change shows in the rows besides their place.
    enum TShow : int {
        kNickText = 1,    // the member list's text
        kRedraw = 2,      // the member list's image
        kWhoTexts = 4,    // every WHO column
        kWhoNick = 8,     // the WHO nick column
        kWhoDetails = 16, // the WHO address, name and server columns
        kWhoRedraw = 32,
    };

    void Classify(TIRCMember& member);
    int GetSortMethod() const;
    void KeepMemberListOrder();
    TBefore Remember(const TIRCMember* member);
    void Reposition(TIRCMember* member, const TBefore& before, int show);
    void RepositionInMemberList(TIRCMember* member, const TIRCMember& keys, int show);
    void RepositionInWhoList(TIRCMember* member, const TBefore& before, int show);
    void HandOverRows();
    void DeleteGone();
    void SetWhoTexts(const TIRCMember* member, int row, int firstColumn);

    TMap members;
    IMemberManagerListener* listener;
    TShownList memberList;
    TShownList whoList;
    // Members whose member list rows go or move once the list takes its rows, and the removed
    // ones among them, deleted then.
    std::unordered_set<TIRCMember*> unplaced;
    std::vector<TIRCMember*> gone;
    int whoSortColumn = 1;
    bool fullTold = false;
};
