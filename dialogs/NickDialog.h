#pragma once
// TNickDialog: the modal change-nick dialog. It shows a server's current nick, takes the new
// one and the away state, and keeps the list of nicks to pick from, each with its away flag.
// It sends nothing: the owner reads the results after DoModal, on Cancel too.

#include "controls/DialogExchange.h"
#include "controls/Edit.h"
#include "controls/ListBox.h"
#include "controls/UpdateDialog.h"
#include "res/windows/dialogs.h"

#include <vector>

class TNickDialog : public TUpdateDialog, public IListBoxListener, public IEditListener {
public:
    TNickDialog();

    void SetNick(const CString& value) { nick = value; }
    CString GetNick() const { return nick; }
    void SetServerName(const CString& value) { serverName = value; }

    int nickLength = 9;
    bool away = false;
    // "+" (away) or "-", then the nick: the entries of the preferences' nick list.
    std::vector<CString> nickList;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BEGIN_MSG_MAP(TNickDialog)
        COMMAND_ID_HANDLER(IDC_NICK_ADD, OnAdd)
        COMMAND_ID_HANDLER(IDC_NICK_OVERWRITE, OnOverwrite)
        COMMAND_ID_HANDLER(IDC_NICK_DELETE, OnDelete)
        COMMAND_ID_HANDLER(IDC_NICK_UP, OnUp)
        COMMAND_ID_HANDLER(IDC_NICK_DOWN, OnDown)
        UPDATE_UI_HANDLER(IDC_NICK_ADD, OnUpdateAdd)
        UPDATE_UI_HANDLER(IDC_NICK_OVERWRITE, OnUpdateOverwrite)
        UPDATE_UI_HANDLER(IDC_NICK_DELETE, OnUpdateDelete)
        UPDATE_UI_HANDLER(IDC_NICK_UP, OnUpdateUp)
        UPDATE_UI_HANDLER(IDC_NICK_DOWN, OnUpdateDown)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    // The nick list.
    bool OnKeyDown(TListBox* list, UINT key) override;
    void OnDoubleClick(TListBox* list, UINT flags, int x, int y) override;
    void OnSelChange(TListBox* list) override;
    // The new-nick edit.
    bool OnKeyDown(TEdit* edit, UINT key) override;
    bool OnEnter(TEdit* edit, UINT key) override;

private:
    int FindNick(const CString& text) const;
    CString GetEditText() const { return edit.GetWindowText(); }
    bool IsAwayChecked() const;
    bool CanAdd() const;
    bool CanOverwrite() const;
    bool CanMoveUp() const;
    bool CanMoveDown() const;
    void InsertItem(int index, const CString& text, bool check);
    void SwapWithNext(int index);
    void DeleteSelected();
    void FillFromSelection();
    // The new nick and the away box; the nick list is the list box's own.
    void Exchange(TDialogExchange::Direction direction);
    void StoreResults();
    void FocusEditAll();
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

    TCheckListBox list;
    TEdit edit;
    CString nick;
    CString serverName;
    bool imeWasOpen = false;
};
