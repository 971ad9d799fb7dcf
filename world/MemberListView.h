#pragma once
// TMemberListView: the member list of a channel in the main window. The member manager keeps
// its rows in step and in order; each row carries its member, and its image shows the member's
// mode. Rows change in bursts (a NAMES reply, a netsplit), so the list holds its layout and
// paint from the first change until the burst is over, then does both once.

#include "controls/DoubleBufferedView.h"
#include "irc/MemberView.h"

class TMemberListView : public TDoubleBufferedListView, public IMemberListView {
public:
    explicit TMemberListView(IListViewListener* listener) : TDoubleBufferedListView(listener) {}

    int FindItem(const TIRCMember* member) { return FindItemByData((LPARAM)member); }
    int InsertItem(const TIRCMember* member, const CString& text, int item) override;
    void SetItemText(int item, int column, const CString& text) override;
    void DeleteItem(int item) override;
    void DeleteAllItems() override;
    void MoveItem(int from, int to) override;
    void RedrawItem(int item) override;
    void SortItems(TMemberCompare compare, int param) override;

    const TIRCMember* GetMember(int item) const { return (const TIRCMember*)GetItemData(item); }
    // How often the rows were sorted and laid out, for the tests of bursts.
    int GetSortCount() const { return sortCount; }
    int GetLayoutCount() const { return layoutCount; }
    bool IsRedrawHeld() const { return redrawHeld; }
    // A settings change is no burst: what waits is laid out and painted now.
    void LayOutNow() { ReleaseRedraw(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void HoldRedraw();
    void OnReleaseTimer();
    void ReleaseRedraw();

    bool redrawHeld = false;
    bool changedSinceTick = false;
    DWORD heldAt = 0;
    int sortCount = 0;
    int layoutCount = 0;
};

// The member image list's order: op, voice, half-op, none, admin, owner.
int GetMemberImage(const TIRCMember& member);

// One row drawn in the given colours: small-icon rows centred under their image, report rows
// column by column.
void DrawMemberRow(TListView* list, HDC dc, int item, COLORREF text, COLORREF back, bool report);
