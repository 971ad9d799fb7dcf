#pragma once
// A window list that shows members: the channel's member list or the rows of its WHO window.
// Each item carries its member; the member manager says where each row goes. The window
// implements this, tests record the calls.

#include "irc/Member.h"

#include <vector>

class TIRCMemberManager;

using TMemberCompare = int (*)(const TIRCMember* a, const TIRCMember* b, int param);

class IMemberListView {
public:
    // A new item at the given index; returns the index.
    virtual int InsertItem(const TIRCMember* member, const CString& text, int item) = 0;
    virtual void SetItemText(int item, int column, const CString& text) = 0;
    virtual void DeleteItem(int item) = 0;
    virtual void DeleteAllItems() = 0;
    // The item with its texts, image and selection to another index, counted without it.
    virtual void MoveItem(int from, int to) = 0;
    virtual void RedrawItem(int item) = 0;
    virtual void SortItems(TMemberCompare compare, int param) = 0;
    // Every row at once, in order; a member's row keeps its selection.
    virtual void SetRows(const std::vector<TIRCMember*>& members)
    {
        DeleteAllItems();
        for (size_t i = 0; i < members.size(); i++)
            InsertItem(members[i], members[i]->nick, (int)i);
    }
    // A list that shows changes in bursts takes its rows once a burst is over: true when it asks
    // the manager for them (TIRCMemberManager::PlaceWaitingRows) before it shows or reads a row.
    virtual bool WaitForRows(TIRCMemberManager*) { return false; }

protected:
    ~IMemberListView() = default;
};

class IMemberManagerListener {
public:
    // Sets the member's group kind and index from the user groups.
    virtual void ClassifyMember(TIRCMember& member) = 0;
    // The "MemberSortMethod" preference.
    virtual int GetMemberSortMethod() = 0;
    // The list is full and refused a new member; told once until it has room again.
    virtual void MemberListFull(const TIRCMemberManager& members) = 0;

protected:
    ~IMemberManagerListener() = default;
};
