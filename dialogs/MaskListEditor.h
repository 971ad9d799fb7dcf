#pragma once
// What the windows that edit a list of masks through an edit above the list have in common: the
// Add, Overwrite and Delete buttons with their rules, and the keys (Down leaves the edit for the
// list, Up at the list's top goes back, Enter and Delete in the list delete, Enter in the edit
// adds, or confirms the window when the edit is empty). Each window keeps the list's texts its
// own way and hands the editor the three operations on them; the editor listens to the edit and
// the list, and the window's message map offers it the buttons' messages first.

#include "controls/Edit.h"
#include "controls/ListBox.h"

#include <functional>

class TMaskListEditor : public IEditListener, public IListBoxListener {
public:
    struct TStore {
        // The index of the text under IRC folding, or -1.
        std::function<int(const CString&)> find;
        // The index it took, or -1.
        std::function<int(const CString&)> add;
        std::function<void(int)> remove;
    };

    // selectAdded: an added mask stays selected; otherwise the next one is typed afresh. confirm:
    // the window's OK.
    TMaskListEditor(TEdit& edit, TListBox& list, TStore store, bool selectAdded, std::function<void()> confirm)
        : edit(edit), list(list), store(std::move(store)), selectAdded(selectAdded), confirm(std::move(confirm))
    {
        edit.listener = this;
        list.listener = this;
    }
    TMaskListEditor(const TMaskListEditor&) = delete;
    TMaskListEditor& operator=(const TMaskListEditor&) = delete;

    // The commands and enable rules of the Add, Overwrite and Delete buttons.
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam);

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

    bool OnKeyDown(TEdit*, UINT key) override { return OnEditKey(key); }
    bool OnEnter(TEdit*, UINT) override;
    bool OnKeyDown(TListBox*, UINT key) override { return OnListKey(key); }
    void OnSelChange(TListBox*) override { ShowSelected(); }

private:
    void FocusEdit();

    TEdit& edit;
    TListBox& list;
    TStore store;
    bool selectAdded;
    std::function<void()> confirm;
};
