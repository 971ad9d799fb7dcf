#include "dialogs/MaskListKeys.h"

#include "app/KeyState.h"

void TMaskListKeys::ShowSelected()
{
    int index = list.GetCurSel();
    if (index >= 0)
        edit.SetWindowText(list.GetText(index));
}

void TMaskListKeys::FocusEdit()
{
    edit.SetFocus();
    edit.SetSel(0, -1);
}

bool TMaskListKeys::OnEditKey(UINT key)
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

bool TMaskListKeys::OnListKey(UINT key, const std::function<void()>& deleteSelected)
{
    if (IsNeverReportedKey(key))
        return false;
    bool plain = !IsAnyModifierDown();
    if (key == VK_RETURN || (plain && (key == VK_BACK || key == VK_DELETE))) {
        deleteSelected();
        if (list.GetCount() == 0)
            FocusEdit();
        return true;
    }
    if (plain && (key == VK_UP || key == VK_PRIOR)) {
        int count = list.GetCount();
        int caret = (int)list.SendMessage(LB_GETCARETINDEX);
        if (count == 0 || caret <= 0 || list.GetCurSel() <= 0) {
            list.SetCurSel(-1);
            FocusEdit();
            return true;
        }
    }
    return false;
}
