#include "dialogs/MaskDialog.h"

#include "classlib/App.h"
#include "classlib/CmdUI.h"
#include "classlib/DC.h"
#include "classlib/Gdi.h"
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

int TMaskDialog::FindInList(const CString& text) const
{
    if (!folded.count(IRCToUpper(text)))
        return -1;
    for (size_t i = 0; i < items.size(); i++)
        if (IRCCompareNoCase(items[i], text) == 0)
            return (int)i;
    return -1;
}

int TMaskDialog::TextExtent(const CString& text) const
{
    CClientDC dc(list.m_hWnd);
    CSelectObject select(dc, list.GetFont());
    return dc.GetTextExtent(text).cx + 6;
}

// Each text is measured once: a list of thousands stays quick to fill and to thin out.
int TMaskDialog::AddToList(const CString& text)
{
    if (!folded.insert(IRCToUpper(text)).second)
        return -1;
    int index = list.AddString(text);
    if (index < 0) {
        folded.erase(IRCToUpper(text));
        return -1;
    }
    items.insert(items.begin() + index, text);
    int extent = TextExtent(text);
    extents.insert(extents.begin() + index, extent);
    widths.insert(extent);
    if (extent > list.GetHorizontalExtent())
        list.SetHorizontalExtent(extent);
    return index;
}

void TMaskDialog::DeleteFromList(int index)
{
    folded.erase(IRCToUpper(items[(size_t)index]));
    items.erase(items.begin() + index);
    widths.erase(widths.find(extents[(size_t)index]));
    extents.erase(extents.begin() + index);
    list.DeleteString(index);
    list.SetHorizontalExtent(widths.empty() ? 0 : *widths.rbegin());
}

// Replies and MODE changes come in bursts; repainting the list after each line would take
// minutes for a long list, so the list is drawn once the burst's messages are handled.
void TMaskDialog::BeginBurst()
{
    if (inBurst || !m_hWnd)
        return;
    inBurst = true;
    list.SendMessage(WM_SETREDRAW, FALSE);
    PostMessage(kEndBurstMessage);
}

LRESULT TMaskDialog::OnEndBurst(WPARAM, LPARAM)
{
    if (!inBurst)
        return 0;
    inBurst = false;
    list.SendMessage(WM_SETREDRAW, TRUE);
    list.Invalidate();
    return 0;
}

int TMaskDialog::AddMask(const CString& mask)
{
    BeginBurst();
    int index = AddToList(mask);
    if (index >= 0)
        masks.push_back(mask);
    return index;
}

int TMaskDialog::AddShownMask(const CString& mask)
{
    BeginBurst();
    return AddToList(mask);
}

void TMaskDialog::RemoveMask(const CString& mask)
{
    BeginBurst();
    int index = FindInList(mask);
    if (index >= 0)
        DeleteFromList(index);
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
    list.ResetContent();
    folded.clear();
    items.clear();
    extents.clear();
    widths.clear();
    masks.clear();
    list.UpdateHorizontalExtent();
}

std::vector<CString> TMaskDialog::GetMasks() const { return items; }

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
