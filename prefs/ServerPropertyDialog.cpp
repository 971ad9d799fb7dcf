#include "prefs/ServerPropertyDialog.h"

#include "classlib/CmdUI.h"
#include "foundation/ResourceString.h"
#include "res/resource.h"
#include "settings/Config.h"

TServerPropertyDialog::TServerPropertyDialog(CWnd* parent) : TPropertyTabSheet(parent) {}

void TServerPropertyDialog::SetConfig(TConfig* config)
{
    connection.settingsFolder = config->GetSettingsFolder();
    connection.geometry = &config->geometry;
    macros.folder = config->GetMacroFolder();
    scripts.folder = config->GetScriptFolder();
    channels.columnWidths = &config->geometry.serverHeader;
}

BOOL TServerPropertyDialog::OnInitDialog()
{
    TPropertyTabSheet::OnInitDialog();
    SetWindowText(title);
    connection.unit = &unit;
    detail.unit = &unit;
    channels.unit = &unit;
    proxy.unit = &unit;
    macros.unit = &unit;
    scripts.unit = &unit;
    AddPage(&connection, LoadResourceString(IDS_SERVER_PAGE_CONNECTION));
    AddPage(&detail, LoadResourceString(IDS_SERVER_PAGE_DETAIL));
    AddPage(&channels, LoadResourceString(IDS_SERVER_PAGE_CHANNEL));
    AddPage(&proxy, LoadResourceString(IDS_SERVER_PAGE_PROXY));
    AddPage(&macros, LoadResourceString(IDS_SERVER_PAGE_MACRO));
    AddPage(&scripts, LoadResourceString(IDS_SERVER_PAGE_SCRIPT));
    PostMessage(WM_SHOW_PROPERTY_PAGE, 0);
    return TRUE;
}

// A server cannot be confirmed without its name, host, port and nick; "-" is the host list's
// separator, not a host.
void TServerPropertyDialog::OnUpdateOK(CCmdUI* ui)
{
    if (!connection.m_hWnd) {
        ui->Enable(TRUE);
        return;
    }
    CString host = GetControlText(::GetDlgItem(connection.m_hWnd, IDC_SERVER_HOST));
    bool filled = true;
    for (int id : {IDC_SERVER_NAME, IDC_SERVER_HOST, IDC_SERVER_PORT, IDC_SERVER_NICK})
        filled = filled && !GetControlText(::GetDlgItem(connection.m_hWnd, id)).IsEmpty();
    ui->Enable(filled && host != L"-");
}
