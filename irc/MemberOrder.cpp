#include "irc/MemberOrder.h"

#include <algorithm>

// Members that compare alike (never two of one channel) still get a fixed place.
bool TMemberOrder::Before(const TIRCMember* a, const TIRCMember* b) const
{
    int result = compare(a, b, param);
    return result != 0 ? result < 0 : a < b;
}

void TMemberOrder::Reset(TMemberCompare by, int byParam, std::vector<TIRCMember*> members)
{
    compare = by;
    param = byParam;
    rows = std::move(members);
    std::sort(rows.begin(), rows.end(), [this](const TIRCMember* a, const TIRCMember* b) { return Before(a, b); });
}

int TMemberOrder::Find(const TIRCMember* member) const
{
    if (!compare)
        return -1;
    auto it = std::lower_bound(rows.begin(), rows.end(), member,
                               [this](const TIRCMember* row, const TIRCMember* key) { return Before(row, key); });
    if (it == rows.end() || *it != member)
        it = std::find(rows.begin(), rows.end(), member); // a key changed behind the list's back
    return it == rows.end() ? -1 : (int)(it - rows.begin());
}

int TMemberOrder::Insert(TIRCMember* member)
{
    if (!compare) {
        rows.push_back(member);
        return (int)rows.size() - 1;
    }
    auto it = std::lower_bound(rows.begin(), rows.end(), member,
                               [this](const TIRCMember* row, const TIRCMember* key) { return Before(row, key); });
    it = rows.insert(it, member); // may move the rows: begin() only after it
    return (int)(it - rows.begin());
}

void TMemberOrder::Replace(const std::unordered_set<TIRCMember*>& leaving, std::vector<TIRCMember*> arriving)
{
    auto before = [this](const TIRCMember* a, const TIRCMember* b) { return Before(a, b); };
    std::sort(arriving.begin(), arriving.end(), before);
    std::vector<TIRCMember*> staying;
    if (leaving.empty()) {
        staying.swap(rows);
    } else {
        staying.reserve(rows.size());
        for (TIRCMember* member : rows)
            if (!leaving.count(member))
                staying.push_back(member);
    }
    rows.resize(staying.size() + arriving.size());
    std::merge(staying.begin(), staying.end(), arriving.begin(), arriving.end(), rows.begin(), before);
}
