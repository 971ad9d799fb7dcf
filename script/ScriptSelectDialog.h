#pragma once
// The script settings window: the scripts folder's "*.js" files as rows, one column per server,
// and a right-click on a cell switches that script on or off for that server at once.

#include "controls/LayoutManager.h"
#include "controls/ListView.h"
#include "controls/UpdateDialog.h"
#include "res/windows/script.h"

#include <vector>

class TConfig;
class TIRCUnit;
class TIRCWorld;
class TScriptSelectDialog;

class IScriptSelectDialogListener {
public:
    // The owner may delete the dialog here.
    virtual void OnScriptSelectDialogClosed(TScriptSelectDialog* dialog) = 0;
    virtual void OnScriptSelectionChanged(TScriptSelectDialog* dialog) = 0;
    virtual void OnShowScriptConsole(TScriptSelectDialog* dialog) = 0;

protected:
    ~IScriptSelectDialogListener() = default;
};

class TScriptSelectDialog : public TUpdateDialog, public IListViewListener {
public:
    // config gives the scripts folder and the window's stored geometry.
    TScriptSelectDialog(TConfig* config, TIRCWorld* world);
    ~TScriptSelectDialog() override;

    // The servers whose columns are shown, in server-tree order.
    void SetServers(const std::vector<TIRCUnit*>& servers) { this->servers = servers; }
    void RebuildColumns();
    void RefreshList();
    // Widths into the settings: the window's, the file column's, and each server's column.
    void SaveLayout();

    BOOL OnInitDialog() override;
    void OnCancel() override;

    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView*, UINT, int, int) override {}
    void OnRightClick(TListView* list) override;
    void OnContextMenu(TListView*, int, int) override {}
    void OnCustomDraw(TListView*, NMHDR*, LRESULT*) override {}
    void OnColumnClick(TListView*, int) override {}

    TListView& GetList() { return list; }

    IScriptSelectDialogListener* listener = nullptr;

    BEGIN_MSG_MAP(TScriptSelectDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        COMMAND_ID_HANDLER(IDC_SCRIPT_OPEN_FOLDER, OnOpenFolder)
        COMMAND_ID_HANDLER(IDC_SCRIPT_SHOW_CONSOLE, OnShowConsole)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    void OnOpenFolder();
    void OnShowConsole();
    // The server of a list column (1 and later); null when it has left the world since.
    TIRCUnit* ColumnServer(int column) const;

    TConfig* config;
    TIRCWorld* world;
    std::vector<TIRCUnit*> servers;
    std::vector<TIRCUnit*> columnServers; // the server behind list column n + 1
    TListView list;
    TLayoutManager layout;
    CString enabledText;
    int width = 0;
    int height = 0;
    bool initialised = false;
};
