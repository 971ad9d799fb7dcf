#pragma once
// TMemberListView: the member list of a channel in the main window. The member manager keeps
// its rows in order; the control holds no rows of its own (it asks for each row's nick and
// image). Rows change in bursts (a NAMES reply, a netsplit), so the list takes no row while a
// burst lasts: it asks the manager for all of them, placed in one go, before anything shows or
// reads a row, and it holds its layout and paint from the first change until the burst is over,
// then does both once.

#include "controls/DoubleBufferedView.h"
#include "irc/MemberView.h"

#include <vector>

class TMemberListView : public TDoubleBufferedListView, public IMemberListView {
public:
    explicit TMemberListView(IListViewListener* listener) : TDoubleBufferedListView(listener) {}
    ~TMemberListView() override;

    int FindItem(const TIRCMember* member);
    int InsertItem(const TIRCMember* member, const CString& text, int item) override;
    void SetItemText(int item, int column, const CString& text) override;
    void DeleteItem(int item) override;
    void DeleteAllItems() override;
    void MoveItem(int from, int to) override;
    void RedrawItem(int item) override;
    void SortItems(TMemberCompare compare, int param) override;
    void SetRows(const std::vector<TIRCMember*>& members) override;
    bool WaitForRows(TIRCMemberManager* members) override;

    const TIRCMember* GetMember(int item)
    {
        PlaceRows();
        return MemberAt(item);
    }
    // How often the rows were sorted, placed and laid out, for the tests of bursts.
    int GetSortCount() const { return sortCount; }
    int GetPlaceCount() const { return placeCount; }
    int GetLayoutCount() const { return layoutCount; }
    bool IsRedrawHeld() const { return redrawHeld; }
    // A settings change is no burst: what waits is laid out and painted now.
    void LayOutNow() { ReleaseRedraw(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct TRow {
        const TIRCMember* member;
        bool selected;
    };
    // Where the control's selection, focus and selection mark were before rows moved.
    struct TKeptState {
        std::vector<int> selected;
        const TIRCMember* focused = nullptr;
        int focusedRow = -1;
        const TIRCMember* mark = nullptr;
        int markRow = -1;
    };
    const TIRCMember* MemberAt(int item) const
    {
        return item >= 0 && item < (int)rows.size() ? rows[item].member : nullptr;
    }
    int FindMember(const TIRCMember* member) const;
    int FindItemNear(const TIRCMember* member, int row) const;
    void PlaceRows();
    void KeepState(TKeptState& kept) const;
    void RestoreState(const TKeptState& kept);
    void NoteStateChange(const NMHDR* header);
    void AnswerDisplayInfo(NMLVDISPINFOW* info);
    int LabelWidth(const CString& text);
    void ForgetFont();
    void HoldRedraw();
    void OnReleaseTimer();
    void ReleaseRedraw();

    std::vector<TRow> rows;
    // The manager whose rows wait to be placed here.
    TIRCMemberManager* waitingFor = nullptr;
    int selectedRows = 0;
    int focusedRow = -1;
    bool restoringState = false;
    HDC measureDc = nullptr;
    HGDIOBJ measureOldFont = nullptr;
    std::vector<short> charWidths;
    int widestLabel = 0; // when the control measured the rows
    bool measuring = false;
    bool paintedRows = false;
    bool redrawHeld = false;
    DWORD heldAt = 0;
    DWORD lastChangeAt = 0;
    int sortCount = 0;
    int placeCount = 0;
    int layoutCount = 0;
};

// The member image list's order: op, voice, half-op, none, admin, owner.
int GetMemberImage(const TIRCMember& member);

// One row drawn in the given colours: small-icon rows centred under their image, report rows
// column by column.
void DrawMemberRow(TListView* list, HDC dc, int item, COLORREF text, COLORREF back, bool report);
