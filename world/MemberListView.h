#pragma once
// TMemberListView: the member list of a channel in the main window. The member manager keeps
// its items in step; each item carries its member, and its image shows the member's mode.

#include "controls/DoubleBufferedView.h"
#include "irc/MemberView.h"

class TMemberListView : public TDoubleBufferedListView, public IMemberListView {
public:
    explicit TMemberListView(IListViewListener* listener) : TDoubleBufferedListView(listener) {}

    int FindItem(const TIRCMember* member) override { return FindItemByData((LPARAM)member); }
    int InsertItem(const TIRCMember* member, const CString& text) override;
    void SetItemText(int item, int column, const CString& text) override;
    void DeleteItem(int item) override;
    void DeleteAllItems() override { TListView::DeleteAllItems(); }
    void RedrawItem(int item) override;
    void SortItems(TMemberCompare compare, int param) override;

    const TIRCMember* GetMember(int item) const { return (const TIRCMember*)GetItemData(item); }
};

// The member image list's order: op, voice, half-op, none, admin, owner.
int GetMemberImage(const TIRCMember& member);

// One row drawn in the given colours: small-icon rows centred under their image, report rows
// column by column.
void DrawMemberRow(TListView* list, HDC dc, int item, COLORREF text, COLORREF back, bool report);
