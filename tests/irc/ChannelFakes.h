#pragma once
// Recording stand-ins for the windows a channel and its members talk to.

#include "irc/MaskList.h"
#include "irc/MemberManager.h"

#include <algorithm>
#include <utility>
#include <vector>

// A list window: items in display order, each with its member and column texts.
class TFakeMemberView : public IMemberListView {
public:
    struct TItem {
        const TIRCMember* member;
        CString columns[6];
    };

    int FindItem(const TIRCMember* member) const
    {
        for (size_t i = 0; i < items.size(); i++)
            if (items[i].member == member)
                return (int)i;
        return -1;
    }
    int InsertItem(const TIRCMember* member, const CString& text, int item) override
    {
        items.insert(items.begin() + item, TItem{member, {text}});
        return item;
    }
    void SetItemText(int item, int column, const CString& text) override { items[item].columns[column] = text; }
    void DeleteItem(int item) override { items.erase(items.begin() + item); }
    void DeleteAllItems() override { items.clear(); }
    void MoveItem(int from, int to) override
    {
        TItem moved = items[(size_t)from];
        items.erase(items.begin() + from);
        items.insert(items.begin() + to, moved);
        moves++;
    }
    void RedrawItem(int) override { redraws++; }
    void SortItems(TMemberCompare compare, int param) override
    {
        sorts++;
        std::stable_sort(items.begin(), items.end(),
                         [&](const TItem& a, const TItem& b) { return compare(a.member, b.member, param) < 0; });
    }
    void SetRows(const std::vector<TIRCMember*>& members) override
    {
        placements++;
        IMemberListView::SetRows(members);
    }
    bool WaitForRows(TIRCMemberManager* members) override
    {
        waiting = waits ? members : nullptr;
        return waits;
    }
    // What a list that waits does before it shows its rows.
    void TakeRows()
    {
        if (TIRCMemberManager* members = std::exchange(waiting, nullptr))
            members->PlaceWaitingRows();
    }
    std::vector<CString> Column(int column) const
    {
        std::vector<CString> texts;
        for (const TItem& item : items)
            texts.push_back(item.columns[column]);
        return texts;
    }

    std::vector<TItem> items;
    bool waits = false;
    TIRCMemberManager* waiting = nullptr;
    int placements = 0;
    int redraws = 0;
    int sorts = 0;
    int moves = 0;
};

class TFakeMaskList : public IMaskList {
public:
    explicit TFakeMaskList(std::vector<TFakeMaskList*>* deleted) : deleted(deleted) {}
    ~TFakeMaskList() override { deleted->push_back(this); }
    void AddMask(const CString& mask) override { masks.push_back(mask); }
    void AddShownMask(const CString& mask) override { masks.push_back(mask); }
    void SetMaskText(const CString& mask) override { editText = mask; }
    void RemoveMask(const CString& mask) override
    {
        masks.erase(std::remove(masks.begin(), masks.end(), mask), masks.end());
    }
    void ClearMasks() override { masks.clear(); }
    int GetMaskCount() override { return (int)masks.size(); }
    void GetMasks(std::vector<CString>& now, std::vector<CString>& before) override
    {
        now = masks;
        before = filled;
    }
    void Show() override { shows++; }
    void KickIdle() override {}
    HWND GetWindowHandle() const override { return nullptr; }

    std::vector<TFakeMaskList*>* deleted;
    std::vector<CString> masks;
    std::vector<CString> filled;
    CString editText;
    int shows = 0;
};

// Classifies the own nick as the user's identity; sorts by the given method.
class TFakeClassifier : public IMemberManagerListener {
public:
    void ClassifyMember(TIRCMember& member) override { member.groupKind = member.nick == ownNick ? 2 : 0; }
    int GetMemberSortMethod() override { return sortMethod; }
    void MemberListFull(const TIRCMemberManager&) override { fullTold++; }

    CString ownNick = L"me";
    int sortMethod = 1;
    int fullTold = 0;
    TFakeMemberView view;
};
