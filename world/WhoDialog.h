#pragma once
// The detailed member list of one channel: modes, nick, login name, address, real name and
// server per member, as WHO replies filled them. The channel is its listener and keeps the rows
// through the member manager; the window asks for a fresh WHO and saves the list to a file.

#include "controls/ListView.h"
#include "controls/ResizableDialog.h"
#include "irc/UserInfoWindows.h"
#include "res/windows/world.h"

class TPreference;
struct TWindowGeometry;

// What the dialog needs of the main window.
class IUserInfoFrame {
public:
    virtual HWND GetFrameWindow() = 0;
    virtual bool IsTopMost() = 0;
    // WHOIS of the nicks selected in the list that has the focus.
    virtual void OnUserInfo() = 0;

protected:
    ~IUserInfoFrame() = default;
};

class TWhoDialog : public TResizableDialog, public IListViewListener, public IWhoWindow, public IMemberListView {
public:
    static constexpr int kColumnCount = 6;

    TWhoDialog();
    ~TWhoDialog() override;

    void SetPreference(const TPreference* value) { preference = value; }
    void SetListener(IWhoDialogListener* value) { listener = value; }
    void SetUnitName(const CString& name) { unitName = name; }
    void SetChannelName(const CString& name) { channelName = name; }
    void SetImageList(HIMAGELIST images) { imageList = images; }
    // Column widths and the window's normal rectangle, read at creation and written back.
    void SetGeometry(TWindowGeometry* value) { geometry = value; }
    void SetFrame(IUserInfoFrame* value) { frame = value; }
    // Draws the member rows as the main window's member list does.
    void SetRowPainter(IListViewListener* painter) { rowPainter = painter; }
    void SetListLook(HFONT font, COLORREF backColor);
    // Modeless on the desktop, at the stored place.
    bool CreateAndShow();

    TListView* GetListView() { return list; }
    const CString& GetTitle() const { return title; }
    // Asks for the file, then writes it; failures are shown to the user.
    void SaveMembers();
    // Nick, login name, address, server and real name per row in list order; false when the
    // file could not be written, which leaves any old file as it was.
    bool WriteMembers(const CString& path);

    BOOL OnInitDialog() override;
    // No OK button: Enter closes the window as its close box does.
    void OnOK() override { OnCancel(); }
    void OnCancel() override;

    IMemberListView* GetList() override { return this; }
    void Activate() override;
    void KickIdle(WPARAM wParam, LPARAM lParam) override { SendMessage(WM_KICKIDLE, wParam, lParam); }
    HWND GetWindowHandle() const override { return m_hWnd; }

    int InsertItem(const TIRCMember* member, const CString& text, int item) override;
    void SetItemText(int item, int column, const CString& text) override;
    void DeleteItem(int item) override;
    void DeleteAllItems() override;
    void MoveItem(int from, int to) override;
    void RedrawItem(int item) override;
    void SortItems(TMemberCompare compare, int param) override;

    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView* view, UINT flags, int x, int y) override;
    void OnRightClick(TListView*) override {}
    void OnContextMenu(TListView* view, int x, int y) override;
    void OnCustomDraw(TListView* view, NMHDR* header, LRESULT* result) override;
    void OnColumnClick(TListView* view, int column) override;

    BEGIN_MSG_MAP(TWhoDialog)
        COMMAND_ID_HANDLER(IDC_WHO_UPDATE, OnUpdate)
        COMMAND_ID_HANDLER(IDC_WHO_SAVE, SaveMembers)
        CHAIN_MSG_MAP(TResizableDialog)
    END_MSG_MAP()

private:
    void ApplyListLook();
    void OnUpdate();
    void CreateList();
    void StoreGeometry();
    CString AskSavePath();

    const TPreference* preference = nullptr;
    IWhoDialogListener* listener = nullptr;
    TListView* list = nullptr;
    CString title;
    CString unitName;
    CString channelName;
    HIMAGELIST imageList = nullptr;
    TWindowGeometry* geometry = nullptr;
    IUserInfoFrame* frame = nullptr;
    IListViewListener* rowPainter = nullptr;
    HFONT listFont = nullptr;
    COLORREF listBackColor = CLR_NONE;
};
