#pragma once
// A window list that shows members: the channel's member list or the rows of its WHO window.
// Each item carries its member; the window implements this, tests record the calls.

#include "classlib/String.h"

class TIRCMember;

using TMemberCompare = int (*)(const TIRCMember* a, const TIRCMember* b, int param);

class IMemberListView {
public:
    // -1 when the member has no item.
    virtual int FindItem(const TIRCMember* member) = 0;
    // Returns the new item's index.
    virtual int InsertItem(const TIRCMember* member, const CString& text) = 0;
    virtual void SetItemText(int item, int column, const CString& text) = 0;
    virtual void DeleteItem(int item) = 0;
    virtual void DeleteAllItems() = 0;
    virtual void RedrawItem(int item) = 0;
    virtual void SortItems(TMemberCompare compare, int param) = 0;

protected:
    ~IMemberListView() = default;
};

class IMemberManagerListener {
public:
    // Sets the member's group kind and index from the user groups.
    virtual void ClassifyMember(TIRCMember& member) = 0;
    // The "MemberSortMethod" preference.
    virtual int GetMemberSortMethod() = 0;

protected:
    ~IMemberManagerListener() = default;
};
