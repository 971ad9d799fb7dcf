#pragma once
// The keys of the windows that edit a list of masks through an edit above the list: Down leaves
// the edit for the list, Up at the list's top goes back, Enter and Delete in the list delete.

#include "app/Edit.h"
#include "app/ListBox.h"

#include <functional>

class TMaskListKeys {
public:
    TMaskListKeys(TEdit& edit, TListBox& list) : edit(edit), list(list) {}

    // The selected mask goes into the edit.
    void ShowSelected();
    void FocusEdit();
    bool OnEditKey(UINT key);
    bool OnListKey(UINT key, const std::function<void()>& deleteSelected);

private:
    TEdit& edit;
    TListBox& list;
};
