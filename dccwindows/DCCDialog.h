#pragma once
// TDCCDialog: the transfer window. Receive items in the upper list, send items in the lower one,
// each pane with its tool bar; the menu, tool bars, context menus and double-clicks drive the
// items of the DCC manager. Made once by the main window and only hidden when closed.

#include "classlib/Frame.h"
#include "classlib/MsgMap.h"
#include "classlib/ToolBar.h"
#include "controls/DoubleBufferedView.h"
#include "controls/Splitter.h"
#include "dccmanager/DCCManager.h"
#include "foundation/WindowHelpers.h"
#include "res/windows/dccwindow.h"

#include <functional>
#include <vector>

class CCmdUI;
class TConfig;
class TDCCDialog;
class TToolBarPanel;

// ShellExecuteW with the verb on the path, shown normally; its result is not examined.
void OpenWithShell(const CString& verb, const CString& path);

class IDCCDialogListener {
public:
    // The window was closed: it is hidden and its state saved.
    virtual void OnDCCDialogClosed(TDCCDialog* dialog) = 0;

protected:
    ~IDCCDialogListener() = default;
};

class TDCCDialog : public CFrameWnd, public IDCCManagerListener, public IListViewListener {
public:
    static const int ReceiveColumns = 9;
    static const int SendColumns = 8;

    TDCCDialog();
    ~TDCCDialog() override;

    void SetListener(IDCCDialogListener* value) { listener = value; }
    void SetManager(TDCCManager* value) { manager = value; }
    // Column widths, placement and splitter in "window.ini", and the receive folder.
    void SetSettings(TConfig* value) { settings = value; }

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    void RestorePlacement(bool minimized);
    void RefreshAndSelectFirst();
    // Saves the state, stops the flashing, tells the listener and hides the window.
    void OnClose();
    void UpdateReceiveList(bool progressOnly);
    void UpdateSendList(bool progressOnly);
    void UpdateReceiveRow(TDCCReceiveItem* item, int row);
    void UpdateSendRow(TDCCSendItem* item, int row);

    TWindowFlasher& GetFlasher() { return flasher; }
    TDoubleBufferedListView* GetReceiveList() const { return receiveList; }
    TDoubleBufferedListView* GetSendList() const { return sendList; }
    HWND GetReceiveToolBar() const { return receiveToolBar ? receiveToolBar->m_hWnd : nullptr; }
    HWND GetSendToolBar() const { return sendToolBar ? sendToolBar->m_hWnd : nullptr; }
    // How folders are explored and files opened; tests put a recorder here.
    std::function<void(const CString& verb, const CString& path)> openWithShell =
        static_cast<void (*)(const CString&, const CString&)>(OpenWithShell);

    // IDCCManagerListener
    void OnDCCItemChanged() override;
    void OnDCCAllFinished() override;
    void OnDCCTimer() override;

    // IListViewListener
    bool OnKeyDown(UINT key) override;
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView* list, UINT flags, int x, int y) override;
    void OnRightClick(TListView*) override {}
    void OnContextMenu(TListView* list, int x, int y) override;
    void OnCustomDraw(TListView*, NMHDR*, LRESULT*) override {}
    void OnColumnClick(TListView*, int) override {}

    BEGIN_MSG_MAP(TDCCDialog)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
        MESSAGE_HANDLER(WM_CLOSE, OnCloseMessage)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        MESSAGE_HANDLER(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
        COMMAND_ID_HANDLER(ID_DCC_OPEN_ROOT_FOLDER, OnOpenRootFolder)
        COMMAND_ID_HANDLER(ID_DCC_CLEAR_RECEIVES, OnClearReceives)
        COMMAND_ID_HANDLER(ID_DCC_CLEAR_SENDS, OnClearSends)
        COMMAND_ID_HANDLER(ID_DCC_CLOSE, OnClose)
        COMMAND_ID_HANDLER(ID_DCC_RECEIVE_START, OnReceiveStart)
        COMMAND_ID_HANDLER(ID_DCC_RECEIVE_QUEUE, OnReceiveQueue)
        COMMAND_ID_HANDLER(ID_DCC_RECEIVE_RESUME, OnReceiveResume)
        COMMAND_ID_HANDLER(ID_DCC_RECEIVE_FOLDER, OnReceiveFolder)
        COMMAND_ID_HANDLER(ID_DCC_RECEIVE_FILE_NAME, OnReceiveFileName)
        COMMAND_ID_HANDLER(ID_DCC_RECEIVE_STOP, OnReceiveStop)
        COMMAND_ID_HANDLER(ID_DCC_RECEIVE_DELETE, OnReceiveDelete)
        COMMAND_ID_HANDLER(ID_DCC_RECEIVE_OPEN_FOLDER, OnReceiveOpenFolder)
        COMMAND_ID_HANDLER(ID_DCC_RECEIVE_RUN, OnReceiveRun)
        COMMAND_ID_HANDLER(ID_DCC_SEND_START, OnSendStart)
        COMMAND_ID_HANDLER(ID_DCC_SEND_QUEUE, OnSendQueue)
        COMMAND_ID_HANDLER(ID_DCC_SEND_CHANGE_FILE, OnSendChangeFile)
        COMMAND_ID_HANDLER(ID_DCC_SEND_STOP, OnSendStop)
        COMMAND_ID_HANDLER(ID_DCC_SEND_DELETE, OnSendDelete)
        COMMAND_ID_HANDLER(ID_DCC_SEND_RUN, OnSendRun)
        UPDATE_UI_HANDLER(ID_DCC_CLEAR_RECEIVES, OnUpdateClearReceives)
        UPDATE_UI_HANDLER(ID_DCC_CLEAR_SENDS, OnUpdateClearSends)
        UPDATE_UI_HANDLER(ID_DCC_RECEIVE_START, OnUpdateReceiveStart)
        UPDATE_UI_HANDLER(ID_DCC_RECEIVE_QUEUE, OnUpdateReceiveQueue)
        UPDATE_UI_HANDLER(ID_DCC_RECEIVE_RESUME, OnUpdateReceiveResume)
        UPDATE_UI_HANDLER(ID_DCC_RECEIVE_FOLDER, OnUpdateReceiveRename)
        UPDATE_UI_HANDLER(ID_DCC_RECEIVE_FILE_NAME, OnUpdateReceiveRename)
        UPDATE_UI_HANDLER(ID_DCC_RECEIVE_STOP, OnUpdateReceiveStop)
        UPDATE_UI_HANDLER(ID_DCC_RECEIVE_DELETE, OnUpdateReceiveDelete)
        UPDATE_UI_HANDLER(ID_DCC_RECEIVE_OPEN_FOLDER, OnUpdateReceiveOpenFolder)
        UPDATE_UI_HANDLER(ID_DCC_RECEIVE_RUN, OnUpdateReceiveRun)
        UPDATE_UI_HANDLER(ID_DCC_SEND_START, OnUpdateSendStart)
        UPDATE_UI_HANDLER(ID_DCC_SEND_QUEUE, OnUpdateSendQueue)
        UPDATE_UI_HANDLER(ID_DCC_SEND_CHANGE_FILE, OnUpdateSendChangeFile)
        UPDATE_UI_HANDLER(ID_DCC_SEND_STOP, OnUpdateSendStop)
        UPDATE_UI_HANDLER(ID_DCC_SEND_DELETE, OnUpdateSendDelete)
        UPDATE_UI_HANDLER(ID_DCC_SEND_RUN, OnUpdateSendRun)
    END_MSG_MAP()

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnCloseMessage(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
    bool IsToolBarTip(HWND window) const;
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    bool CreateList(TDoubleBufferedListView*& list, UINT firstHeading, int columns, const std::vector<int>* widths);
    bool CreatePane(TToolBarPanel*& pane, CToolBarCtrl*& toolBar, CImageList& images, UINT toolBarId, UINT bitmapId,
                    TDoubleBufferedListView* list);
    void SaveState();
    void UpdateCaption();
    void SelectFirstRow(TDoubleBufferedListView* list);

    // Items of the selected rows that the manager still holds, in list order.
    std::vector<TDCCReceiveItem*> SelectedReceives() const;
    std::vector<TDCCSendItem*> SelectedSends() const;
    TDCCReceiveItem* SingleSelectedReceive() const;
    TDCCSendItem* SingleSelectedSend() const;
    bool AnySelectedReceiveIn(std::initializer_list<int> states) const;
    bool AnySelectedSendIn(std::initializer_list<int> states) const;
    void RunReceivedFile(TDCCReceiveItem* item);
    void StartSends(const std::vector<TDCCSendItem*>& items);
    void OpenFolder(const CString& folder);

    void OnOpenRootFolder();
    void OnClearReceives();
    void OnClearSends();
    void OnReceiveStart();
    void OnReceiveQueue();
    void OnReceiveResume();
    void OnReceiveFolder();
    void OnReceiveFileName();
    void OnReceiveStop();
    void OnReceiveDelete();
    void OnReceiveOpenFolder();
    void OnReceiveRun();
    void OnSendStart();
    void OnSendQueue();
    void OnSendChangeFile();
    void OnSendStop();
    void OnSendDelete();
    void OnSendRun();
    void OnUpdateClearReceives(CCmdUI* ui);
    void OnUpdateClearSends(CCmdUI* ui);
    void OnUpdateReceiveStart(CCmdUI* ui);
    void OnUpdateReceiveQueue(CCmdUI* ui);
    void OnUpdateReceiveResume(CCmdUI* ui);
    void OnUpdateReceiveRename(CCmdUI* ui);
    void OnUpdateReceiveStop(CCmdUI* ui);
    void OnUpdateReceiveDelete(CCmdUI* ui);
    void OnUpdateReceiveOpenFolder(CCmdUI* ui);
    void OnUpdateReceiveRun(CCmdUI* ui);
    void OnUpdateSendStart(CCmdUI* ui);
    void OnUpdateSendQueue(CCmdUI* ui);
    void OnUpdateSendChangeFile(CCmdUI* ui);
    void OnUpdateSendStop(CCmdUI* ui);
    void OnUpdateSendDelete(CCmdUI* ui);
    void OnUpdateSendRun(CCmdUI* ui);

    IDCCDialogListener* listener = nullptr;
    TDCCManager* manager = nullptr;
    TConfig* settings = nullptr;
    TWindowFlasher flasher;
    TSplitter splitter;
    CImageList stateImages;
    TDoubleBufferedListView* receiveList = nullptr; // owned by its pane
    TDoubleBufferedListView* sendList = nullptr;
    TToolBarPanel* receivePane = nullptr; // owned by the splitter
    TToolBarPanel* sendPane = nullptr;
    CToolBarCtrl* receiveToolBar = nullptr; // owned by its pane
    CToolBarCtrl* sendToolBar = nullptr;
    CImageList receiveToolImages;
    CImageList sendToolImages;
    CString title = L"DCC";
    // The tip shown last; the tool tip reads it after the notification returns.
    CString tipText;
};
