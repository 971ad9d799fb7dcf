#pragma once
// TAlternativeServersDialog: the servers one server entry may connect to, its own host and port
// first and its alternative servers after, in the order they are tried. The host box offers the
// lines of "servers.txt". OK writes the list back into the entry it was given; Cancel leaves the
// entry alone. Either way the column widths are kept.

#include "controls/UpdateDialog.h"
#include "res/windows/wizard.h"

#include <commctrl.h>

struct TUnitSetting;
struct TWindowGeometry;
class CCmdUI;

class TAlternativeServersDialog : public TUpdateDialog {
public:
    TAlternativeServersDialog(TUnitSetting* unit, const CString& settingsFolder, TWindowGeometry* geometry);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // A negative index appends a row; the row's index.
    int SetRow(int index, const CString& host, int port);

    BEGIN_MSG_MAP(TAlternativeServersDialog)
        COMMAND_ID_HANDLER(IDC_ALT_ADD, OnAdd)
        COMMAND_ID_HANDLER(IDC_ALT_OVERWRITE, OnOverwrite)
        COMMAND_ID_HANDLER(IDC_ALT_DELETE, OnDelete)
        COMMAND_ID_HANDLER(IDC_ALT_UP, OnUp)
        COMMAND_ID_HANDLER(IDC_ALT_DOWN, OnDown)
        UPDATE_UI_HANDLER(IDC_ALT_ADD, OnUpdateAdd)
        UPDATE_UI_HANDLER(IDC_ALT_OVERWRITE, OnUpdateOverwrite)
        UPDATE_UI_HANDLER(IDC_ALT_DELETE, OnUpdateDelete)
        UPDATE_UI_HANDLER(IDC_ALT_UP, OnUpdateUp)
        UPDATE_UI_HANDLER(IDC_ALT_DOWN, OnUpdateDown)
        NOTIFY_HANDLER(IDC_ALT_LIST, LVN_ITEMCHANGED, OnItemChanged)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    HWND List() const { return ::GetDlgItem(m_hWnd, IDC_ALT_LIST); }
    int RowCount() const;
    int Selected() const;
    void Select(int index);
    CString HostText() const;
    int PortValue() const;
    CString RowHost(int index) const;
    int RowPort(int index) const;
    void SwapRows(int first, int second);
    void FillHosts();
    void StoreColumnWidths();
    void OnAdd();
    void OnOverwrite();
    void OnDelete();
    void OnUp();
    void OnDown();
    void OnUpdateAdd(CCmdUI* ui);
    void OnUpdateOverwrite(CCmdUI* ui);
    void OnUpdateDelete(CCmdUI* ui);
    void OnUpdateUp(CCmdUI* ui);
    void OnUpdateDown(CCmdUI* ui);
    LRESULT OnItemChanged(NMHDR* header);

    TUnitSetting* unit;
    CString settingsFolder;
    TWindowGeometry* geometry;
};
