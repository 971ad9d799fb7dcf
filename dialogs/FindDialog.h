#pragma once
// TFindDialog: the modeless search box of a history window. It keeps the search text and the
// match-case and wrap-around options; the owner searches and, on close, keeps them for next time.

#include "controls/DialogExchange.h"
#include "controls/UpdateDialog.h"
#include "res/windows/lists.h"

class TFindDialog;

class IFindDialogListener {
public:
    virtual void OnFind(TFindDialog* dialog, const CString& text, bool forward) = 0;
    // The owner deletes the dialog here.
    virtual void OnFindDialogClose(TFindDialog* dialog) = 0;

protected:
    ~IFindDialogListener() = default;
};

class TFindDialog : public TUpdateDialog {
public:
    TFindDialog() : TUpdateDialog(IDD_FIND_DIALOG) {}
    ~TFindDialog() override { DestroyWindow(); }

    BOOL OnInitDialog() override;
    void OnOK() override { OnForward(); }
    void OnCancel() override;

    bool matchCase = false;
    CString text;
    bool wrapAround = true;
    IFindDialogListener* listener = nullptr;

    BEGIN_MSG_MAP(TFindDialog)
        COMMAND_ID_HANDLER(IDC_FIND_FORWARD, OnForward)
        COMMAND_ID_HANDLER(IDC_FIND_BACKWARD, OnBackward)
        COMMAND_CODE_HANDLER(IDC_FIND_TEXT, EN_CHANGE, OnTextChange)
        UPDATE_UI_HANDLER(IDC_FIND_FORWARD, OnUpdateFind)
        UPDATE_UI_HANDLER(IDC_FIND_BACKWARD, OnUpdateFind)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    void Exchange(TDialogExchange::Direction direction);
    void Find(bool forward);
    void OnForward() { Find(true); }
    void OnBackward() { Find(false); }
    void OnTextChange();
    void OnUpdateFind(CCmdUI* ui);
    bool HasText() const;
};
