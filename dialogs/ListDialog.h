#pragma once
// TListDialog: the channel list a server sends in answer to LIST, one row per channel with its
// name, user count and topic. The rows live in the dialog and the list view only shows them
// (an owner-data list), so a server's hundred thousand channels fill and sort quickly.

#include "controls/ListView.h"
#include "controls/ResizableDialog.h"
#include "ircproto/ChannelListWindow.h"
#include "res/windows/lists.h"

#include <functional>
#include <vector>

struct TWindowGeometry;

class TListDialog : public TResizableDialog, public IListViewListener, public IChannelListWindow {
public:
    struct TRecord {
        CString name;
        int users = 0;
        CString topic;
    };
    static constexpr int kColumnCount = 3;

    TListDialog();
    ~TListDialog() override;

    void SetListener(IListDialogListener* value) { listener = value; }
    void SetTitle(const CString& value) { title = value; }
    // Column widths and the normal rectangle, read at creation and written back at the end.
    void SetGeometry(TWindowGeometry* value) { geometry = value; }
    // Modeless on the desktop at the stored place; false when the window cannot be made.
    bool CreateAndShow();

    void ClearItems() override;
    void AddChannel(const CString& name, int users, const CString& topic) override;
    void SortItems() override;
    void Activate() override;
    void KickIdle(WPARAM wParam, LPARAM lParam) override { SendMessage(WM_KICKIDLE, wParam, lParam); }
    HWND GetWindowHandle() const override { return m_hWnd; }

    int GetSortColumn() const { return sortColumn; }
    int GetChannelCount() const { return (int)records.size(); }
    // The record a row shows; rows count from the top.
    const TRecord& GetRowRecord(int row) const { return records[order[order.size() - 1 - row]]; }
    TListView* GetListView() { return list; }
    // The selected row's channel; empty without a selection.
    CString GetSelectedChannel() const;

    BOOL OnInitDialog() override;
    // Enter, typed after a name to find its row, neither closes the window nor hides it: the
    // fetched list may have taken minutes. Escape, the close button and Alt+F4 close it.
    void OnOK() override {}
    void OnCancel() override;

    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView* view, UINT flags, int x, int y) override;
    void OnRightClick(TListView*) override {}
    void OnContextMenu(TListView* view, int x, int y) override;
    void OnCustomDraw(TListView*, NMHDR*, LRESULT* result) override { *result = 0; }
    void OnColumnClick(TListView* view, int column) override;

    BEGIN_MSG_MAP(TListDialog)
        MESSAGE_HANDLER(kSyncMessage, OnSync)
        NOTIFY_HANDLER(listId, LVN_GETDISPINFOW, OnGetDispInfo)
        NOTIFY_HANDLER(listId, LVN_ODFINDITEMW, OnFindItem)
        NOTIFY_HANDLER(listId, LVN_ITEMCHANGED, OnItemChanged)
        COMMAND_ID_HANDLER(IDC_LIST_UPDATE, OnUpdate)
        COMMAND_ID_HANDLER(IDC_LIST_JOIN, OnJoin)
        COMMAND_ID_HANDLER(ID_LIST_JOIN, OnJoin)
        COMMAND_ID_HANDLER(ID_LIST_MEMBER_INFO, OnMemberInfo)
        COMMAND_ID_HANDLER(ID_LIST_DETAILED_MEMBER_INFO, OnDetailedMemberInfo)
        UPDATE_UI_HANDLER(IDC_LIST_JOIN, OnUpdateSelection)
        UPDATE_UI_HANDLER(ID_LIST_JOIN, OnUpdateSelection)
        UPDATE_UI_HANDLER(ID_LIST_MEMBER_INFO, OnUpdateSelection)
        UPDATE_UI_HANDLER(ID_LIST_DETAILED_MEMBER_INFO, OnUpdateSelection)
        CHAIN_MSG_MAP(TResizableDialog)
    END_MSG_MAP()

private:
    static const UINT kSyncMessage = WM_APP + 0x21;

    // Rows arrive in bursts: the list learns its new row count once, after the burst.
    LRESULT OnSync(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDispInfo(NMHDR* header);
    LRESULT OnFindItem(NMHDR* header);
    // The Join button follows the selection at once, not only at the next idle time.
    LRESULT OnItemChanged(NMHDR*);
    void UpdateJoinButton();
    void SyncRowCount();
    void CreateList();
    void StoreGeometry();
    int GetSelectedRow() const;
    // The record a list row shows, also while a burst's rows wait for the next sync.
    int RowRecordIndex(int row) const;
    void OnUpdate();
    void OnJoin();
    void OnMemberInfo();
    void OnDetailedMemberInfo();
    void OnUpdateSelection(CCmdUI* ui);

    IListDialogListener* listener = nullptr;
    TListView* list = nullptr;
    UINT listId = 0;
    CString title;
    TWindowGeometry* geometry = nullptr;
    std::vector<TRecord> records;
    // Record indexes, bottom row first: a new row goes to the top by a push at the back.
    std::vector<int> order;
    int sortColumn = 1;
    bool syncPosted = false;
    CString cellText; // the text handed to the list for the cell it is drawing
};

// The order of the sort column: 1 most users first, 2 topics, otherwise names; ties by name,
// letters compared without regard to ASCII case.
int CompareChannelRecords(const TListDialog::TRecord& a, const TListDialog::TRecord& b, int column);

// The row typing finds: the first from start on, round past the end when wrap is set, whose name
// starts with the text (partial) or is the text, ASCII letters in either case; -1 for none.
int FindChannelRow(int count, int start, const CString& text, bool partial, bool wrap,
                   const std::function<const CString&(int row)>& nameOfRow);
