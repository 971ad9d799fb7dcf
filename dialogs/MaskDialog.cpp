#include "dialogs/MaskDialog.h"

#include "classlib/App.h"
#include "classlib/CmdUI.h"
#include "ircproto/IRCNames.h"

TMaskDialog::TMaskDialog() : TUpdateDialog(IDD_MASK_DIALOG) {}

TMaskDialog::~TMaskDialog() { DestroyWindow(); }

bool TMaskDialog::CreateAndShow()
{
    // Owned by the main window: it stays above it and goes with it.
    if (!Create(IDD_MASK_DIALOG, AfxGetMainWnd()))
        return false;
    ShowWindow(SW_SHOWNORMAL);
    return true;
}

BOOL TMaskDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    list.SubclassDlgItem(IDC_MASK_LIST, m_hWnd);
    edit.SubclassDlgItem(IDC_MASK_EDIT, m_hWnd);
    edit.SendMessage(EM_LIMITTEXT, kTextLimit);
    SetWindowText(title);
    return TRUE;
}

// Replies and MODE changes come in bursts: the list is drawn once the burst's messages are handled.
void TMaskDialog::BeginBurst() { listed.BeginBurst(m_hWnd, kEndBurstMessage); }

LRESULT TMaskDialog::OnEndBurst(WPARAM, LPARAM)
{
    listed.EndBurst();
    return 0;
}

int TMaskDialog::AddMask(const CString& mask)
{
    BeginBurst();
    int index = listed.Add(mask);
    if (index >= 0)
        masks.push_back(mask);
    return index;
}

int TMaskDialog::AddShownMask(const CString& mask)
{
    BeginBurst();
    return listed.Add(mask);
}

void TMaskDialog::RemoveMask(const CString& mask)
{
    BeginBurst();
    int index = listed.Find(mask);
    if (index >= 0)
        listed.Remove(index);
    for (auto it = masks.begin(); it != masks.end(); ++it) {
        if (IRCCompareNoCase(*it, mask) == 0) {
            masks.erase(it);
            break;
        }
    }
}

void TMaskDialog::ClearMasks()
{
    BeginBurst();
    listed.Clear();
    masks.clear();
}

std::vector<CString> TMaskDialog::GetMasks() const { return listed.Texts(); }

int TMaskDialog::GetCount() const { return list.GetCount(); }

void TMaskDialog::SetMaskText(const CString& text) { edit.SetWindowText(text); }

void TMaskDialog::OnUpdate()
{
    if (listener)
        listener->OnMaskDialogUpdate(this);
}

// The listener deletes this dialog in its close slot: nothing of it is used after that call.
void TMaskDialog::OnOK()
{
    TUpdateDialog::OnOK();
    if (!listener)
        return;
    IMaskDialogListener* owner = listener;
    owner->OnMaskDialogOK(this);
    owner->OnMaskDialogClose(this);
}

void TMaskDialog::OnCancel()
{
    TUpdateDialog::OnCancel();
    if (listener)
        listener->OnMaskDialogClose(this);
}
