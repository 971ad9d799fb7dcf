#pragma once
// What the windows that edit a list of masks through an edit above the list have in common: the
// Add, Overwrite and Delete buttons with their rules, and the keys (Down leaves the edit for the
// list, Up at the list's top goes back, Enter and Delete in the list delete). Each window keeps
// the list's texts its own way and hands the editor the three operations on them.

#include "controls/Edit.h"
#include "controls/ListBox.h"

#include <functional>

class TMaskListEditor {
public:
    struct TStore {
        // The index of the text under IRC folding, or -1.
        std::function<int(const CString&)> find;
        // The index it took, or -1.
        std::function<int(const CString&)> add;
        std::function<void(int)> remove;
    };

    // selectAdded: an added mask stays selected; otherwise the next one is typed afresh.
    TMaskListEditor(TEdit& edit, TListBox& list, TStore store, bool selectAdded)
        : edit(edit), list(list), store(std::move(store)), selectAdded(selectAdded)
    {
    }

    bool CanAdd() const;
    bool CanOverwrite() const { return CanAdd() && list.GetCurSel() >= 0; }
    bool CanDelete() const { return list.GetCurSel() >= 0; }
    void Add();
    void Overwrite();
    void DeleteSelected();

    // The selected mask goes into the edit.
    void ShowSelected();
    bool OnEditKey(UINT key);
    bool OnListKey(UINT key);

private:
    void FocusEdit();

    TEdit& edit;
    TListBox& list;
    TStore store;
    bool selectAdded;
};
