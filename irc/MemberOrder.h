#pragma once
// The members of a list window in the window's order, kept beside it: a member's row is found by
// binary search, and a change inserts, removes or moves one row, or a burst of them all at once,
// instead of sorting the window.

#include "irc/MemberView.h"

#include <unordered_set>
#include <vector>

class TMemberOrder {
public:
    // Sorted once; the caller fills or sorts its window to match.
    void Reset(TMemberCompare compare, int param, std::vector<TIRCMember*> members);
    void Clear() { rows.clear(); }
    bool IsSortedBy(TMemberCompare by, int byParam) const { return compare == by && param == byParam; }
    int GetParam() const { return param; }
    int GetCount() const { return (int)rows.size(); }
    TIRCMember* GetAt(int row) const { return rows[(size_t)row]; }

    // The member's row, -1 when it has none. Found by its sort key as it was when it was placed.
    int Find(const TIRCMember* member) const;
    // The row the member takes by its sort key as it is now.
    int Insert(TIRCMember* member);
    void Remove(int row) { rows.erase(rows.begin() + row); }
    // The leaving members' rows go and the arriving members take theirs by their keys as they
    // are now: one sort of the arriving and one pass over the rest.
    void Replace(const std::unordered_set<TIRCMember*>& leaving, std::vector<TIRCMember*> arriving);
    const std::vector<TIRCMember*>& GetRows() const { return rows; }

private:
    bool Before(const TIRCMember* a, const TIRCMember* b) const;

    TMemberCompare compare = nullptr;
    int param = 0;
    std::vector<TIRCMember*> rows;
};
