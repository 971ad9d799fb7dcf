#include "dialogs/MaskListEditor.h"

#include "classlib/CmdUI.h"
#include "classlib/MsgMap.h"
#include "controls/KeyState.h"
#include "res/windows/dialogs.h"

bool TMaskListEditor::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT id = message == WM_COMMAND ? LOWORD(wParam) : (UINT)wParam;
    if (id != IDC_MASK_ADD && id != IDC_MASK_OVERWRITE && id != IDC_MASK_DELETE)
        return false;
    if (message == WM_KV_HASCOMMAND)
        return true;
    if (message == WM_KV_UPDATECMDUI) {
        auto* ui = (CCmdUI*)lParam;
        ui->Enable(id == IDC_MASK_ADD ? CanAdd() : id == IDC_MASK_OVERWRITE ? CanOverwrite() : CanDelete());
        return true;
    }
    if (message != WM_COMMAND || HIWORD(wParam) > 1)
        return false;
    if (id == IDC_MASK_ADD)
        Add();
    else if (id == IDC_MASK_OVERWRITE)
        Overwrite();
    else
        DeleteSelected();
    return true;
}

bool TMaskListEditor::OnEnter(TEdit*, UINT)
{
    if (edit.GetWindowText().IsEmpty()) {
        if (confirm)
            confirm();
    } else {
        Add();
    }
    return true;
}

bool TMaskListEditor::CanAdd() const
{
    CString text = edit.GetWindowText();
    return !text.IsEmpty() && store.find(text) < 0;
}

void TMaskListEditor::Add()
{
    if (!CanAdd())
        return;
    int index = store.add(edit.GetWindowText());
    if (index < 0)
        return;
    list.SetCurSel(index);
    list.SendMessage(LB_SETCARETINDEX, (WPARAM)index);
    if (!selectAdded)
        list.SetCurSel(-1);
    edit.SetWindowText(L"");
}

void TMaskListEditor::Overwrite()
{
    if (!CanOverwrite())
        return;
    CString text = edit.GetWindowText();
    DeleteSelected();
    int index = store.add(text);
    if (index < 0)
        return;
    list.SetCurSel(index);
    ShowSelected();
}

void TMaskListEditor::DeleteSelected()
{
    int index = list.GetCurSel();
    if (index < 0)
        return;
    store.remove(index);
    list.SelectNear(index);
    ShowSelected();
}

void TMaskListEditor::ShowSelected()
{
    int index = list.GetCurSel();
    if (index >= 0)
        edit.SetWindowText(list.GetText(index));
}

void TMaskListEditor::FocusEdit()
{
    edit.SetFocus();
    edit.SetSel(0, -1);
}

bool TMaskListEditor::OnEditKey(UINT key)
{
    if ((key != VK_DOWN && key != VK_NEXT) || IsAnyModifierDown())
        return false;
    if (list.GetCount() > 0) {
        list.SetCurSel(0);
        list.SendMessage(LB_SETCARETINDEX, 0);
        list.SetFocus();
        ShowSelected();
    }
    return true;
}

bool TMaskListEditor::OnListKey(UINT key)
{
    if (IsNeverReportedKey(key))
        return false;
    bool plain = !IsAnyModifierDown();
    if (key == VK_RETURN || (plain && (key == VK_BACK || key == VK_DELETE))) {
        DeleteSelected();
        if (list.GetCount() == 0)
            FocusEdit();
        return true;
    }
    if (plain && (key == VK_UP || key == VK_PRIOR)) {
        int count = list.GetCount();
        int caret = (int)list.SendMessage(LB_GETCARETINDEX);
        // Nothing selected with the caret lower down (after an Add): the list moves up.
        if (count == 0 || caret <= 0 || list.GetCurSel() == 0) {
            list.SetCurSel(-1);
            FocusEdit();
            return true;
        }
    }
    return false;
}
