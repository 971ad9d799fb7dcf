#include "dialogs/AlternativeServersDialog.h"

#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "res/strings/dialogs.h"
#include "settings/ServerConfig.h"
#include "settings/ServerList.h"
#include "settings/WindowGeometry.h"

#include <commctrl.h>

#include <cwchar>

namespace {

const int kDefaultPort = 6667;

} // namespace

TAlternativeServersDialog::TAlternativeServersDialog(TUnitSetting* unit, const CString& settingsFolder,
                                                     TWindowGeometry* geometry)
    : TUpdateDialog(IDD_ALT_SERVERS), unit(unit), settingsFolder(settingsFolder), geometry(geometry)
{
}

BOOL TAlternativeServersDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    HWND list = List();
    const UINT headings[] = {IDS_ALT_HOST_COLUMN, IDS_ALT_PORT_COLUMN};
    const int defaults[] = {200, 360};
    for (int i = 0; i < 2; i++) {
        CString heading = LoadResourceString(headings[i]);
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
        column.fmt = i == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.cx =
            geometry && (size_t)i < geometry->altServersHeader.size() ? geometry->altServersHeader[i] : defaults[i];
        column.pszText = const_cast<wchar_t*>(heading.GetString());
        ::SendMessageW(list, LVM_INSERTCOLUMNW, (WPARAM)i, (LPARAM)&column);
    }
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    FillHosts();
    SetSpinEditValue(::GetDlgItem(m_hWnd, IDC_ALT_PORT), ::GetDlgItem(m_hWnd, IDC_ALT_PORT_SPIN), kDefaultPort, 1,
                     65535);
    if (unit) {
        SetRow(-1, unit->Hostname, unit->Port);
        for (const TAltServer& server : unit->AltServers)
            SetRow(-1, server.Hostname, server.Port);
    }
    Select(0);
    ::SetFocus(list);
    return FALSE;
}

void TAlternativeServersDialog::FillHosts()
{
    HWND combo = ::GetDlgItem(m_hWnd, IDC_ALT_HOST);
    ::SendMessageW(combo, CB_LIMITTEXT, kTextLimit, 0);
    TStringList hosts;
    LoadServerList(settingsFolder, hosts);
    for (const CString& line : hosts.items)
        ::SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)line.GetString());
}

int TAlternativeServersDialog::RowCount() const { return ListView_GetItemCount(List()); }

int TAlternativeServersDialog::Selected() const { return ListView_GetNextItem(List(), -1, LVNI_SELECTED); }

void TAlternativeServersDialog::Select(int index)
{
    HWND list = List();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index < 0 || index >= RowCount())
        return;
    ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, index, FALSE);
}

int TAlternativeServersDialog::SetRow(int index, const CString& host, int port)
{
    HWND list = List();
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<wchar_t*>(host.GetString());
    if (index < 0) {
        item.iItem = RowCount();
        index = (int)::SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
        if (index < 0)
            return index;
    } else {
        item.iItem = index;
        ::SendMessageW(list, LVM_SETITEMW, 0, (LPARAM)&item);
    }
    CString portText;
    portText.Format(L"%d", port);
    item.iItem = index;
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t*>(portText.GetString());
    ::SendMessageW(list, LVM_SETITEMW, 0, (LPARAM)&item);
    return index;
}

CString TAlternativeServersDialog::RowHost(int index) const
{
    wchar_t text[kTextLimit + 1] = L"";
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = kTextLimit + 1;
    ::SendMessageW(List(), LVM_GETITEMTEXTW, (WPARAM)index, (LPARAM)&item);
    return text;
}

int TAlternativeServersDialog::RowPort(int index) const
{
    wchar_t text[16] = L"";
    LVITEMW item = {};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = 16;
    ::SendMessageW(List(), LVM_GETITEMTEXTW, (WPARAM)index, (LPARAM)&item);
    return (int)wcstol(text, nullptr, 10);
}

CString TAlternativeServersDialog::HostText() const { return GetControlText(::GetDlgItem(m_hWnd, IDC_ALT_HOST)); }

int TAlternativeServersDialog::PortValue() const
{
    return GetSpinEditValue(::GetDlgItem(m_hWnd, IDC_ALT_PORT), ::GetDlgItem(m_hWnd, IDC_ALT_PORT_SPIN));
}

void TAlternativeServersDialog::SwapRows(int first, int second)
{
    CString firstHost = RowHost(first), secondHost = RowHost(second);
    int firstPort = RowPort(first), secondPort = RowPort(second);
    SetRow(first, secondHost, secondPort);
    SetRow(second, firstHost, firstPort);
}

void TAlternativeServersDialog::OnAdd()
{
    if (HostText().IsEmpty())
        return;
    Select(SetRow(-1, HostText(), PortValue()));
}

void TAlternativeServersDialog::OnOverwrite()
{
    int selected = Selected();
    if (selected < 0)
        return;
    CString host = HostText();
    int port = PortValue();
    SetRow(selected, host, port);
    SetComboText(::GetDlgItem(m_hWnd, IDC_ALT_HOST), host, kTextLimit);
    CString portText;
    portText.Format(L"%d", port);
    ::SetDlgItemTextW(m_hWnd, IDC_ALT_PORT, portText);
}

void TAlternativeServersDialog::OnDelete()
{
    int selected = Selected();
    if (selected < 0 || RowCount() < 2)
        return;
    ListView_DeleteItem(List(), selected);
    Select(selected < RowCount() ? selected : RowCount() - 1);
}

void TAlternativeServersDialog::OnUp()
{
    int selected = Selected();
    if (selected <= 0)
        return;
    SwapRows(selected - 1, selected);
    Select(selected - 1);
}

void TAlternativeServersDialog::OnDown()
{
    int selected = Selected();
    if (selected < 0 || selected >= RowCount() - 1)
        return;
    SwapRows(selected, selected + 1);
    Select(selected + 1);
}

void TAlternativeServersDialog::OnUpdateAdd(CCmdUI* ui) { ui->Enable(!HostText().IsEmpty()); }
void TAlternativeServersDialog::OnUpdateOverwrite(CCmdUI* ui) { ui->Enable(Selected() >= 0); }
void TAlternativeServersDialog::OnUpdateDelete(CCmdUI* ui) { ui->Enable(Selected() >= 0 && RowCount() >= 2); }
void TAlternativeServersDialog::OnUpdateUp(CCmdUI* ui) { ui->Enable(Selected() > 0); }
void TAlternativeServersDialog::OnUpdateDown(CCmdUI* ui)
{
    int selected = Selected();
    ui->Enable(selected >= 0 && selected < RowCount() - 1);
}

LRESULT TAlternativeServersDialog::OnItemChanged(NMHDR* header)
{
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
    // Only a selected row fills the fields; the rows rewritten by a move are not picks.
    if (change->iItem < 0 || !(ListView_GetItemState(List(), change->iItem, LVIS_SELECTED) & LVIS_SELECTED))
        return 0;
    SetComboText(::GetDlgItem(m_hWnd, IDC_ALT_HOST), RowHost(change->iItem), kTextLimit);
    CString portText;
    portText.Format(L"%d", RowPort(change->iItem));
    ::SetDlgItemTextW(m_hWnd, IDC_ALT_PORT, portText);
    return 0;
}

void TAlternativeServersDialog::StoreColumnWidths()
{
    if (!geometry)
        return;
    geometry->altServersHeader.resize(2);
    for (int i = 0; i < 2; i++)
        geometry->altServersHeader[i] = ListView_GetColumnWidth(List(), i);
}

void TAlternativeServersDialog::OnOK()
{
    int count = RowCount();
    if (unit && count > 0) {
        unit->Hostname = RowHost(0);
        unit->Port = RowPort(0);
        unit->AltServers.clear();
        for (int i = 1; i < count; i++)
            unit->AltServers.push_back({RowHost(i), RowPort(i)});
    }
    StoreColumnWidths();
    TUpdateDialog::OnOK();
}

void TAlternativeServersDialog::OnCancel()
{
    StoreColumnWidths();
    TUpdateDialog::OnCancel();
}
