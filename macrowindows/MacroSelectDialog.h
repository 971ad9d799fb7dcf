#pragma once
// TMacroSelectDialog: the macro settings window. The macro folder's files are its rows and every
// server a column; a right click on a cell switches that file on or off for that server. Files
// are made, copied, renamed and deleted here, and edited in a TMacroEditorDialog it opens (and
// hides itself meanwhile). The main window owns it and hears of its changes.

#include "macrowindows/MacroEditorDialog.h"

#include "world/ServerFileListDialog.h"

class TMacroSelectDialog;

class IMacroSelectDialogListener {
public:
    // The owner deletes the window here.
    virtual void OnMacroSelectDialogClosed(TMacroSelectDialog* dialog) = 0;
    // A file's rules or the set of files changed: every server reads its files again.
    virtual void OnMacroFilesChanged(TMacroSelectDialog* dialog) = 0;
    virtual void OnMacroFileRenamed(TMacroSelectDialog* dialog, const CString& oldName, const CString& newName) = 0;
    virtual void OnMacroFileDeleted(TMacroSelectDialog* dialog, const CString& name) = 0;

protected:
    ~IMacroSelectDialogListener() = default;
};

class TMacroSelectDialog : public TServerFileListDialog, public IMacroEditorDialogListener {
public:
    // config gives the macro folder and the window's stored geometry.
    TMacroSelectDialog(TConfig* config, TIRCWorld* world);
    ~TMacroSelectDialog() override;

    virtual void SetTopMost(bool topMost);
    // The open editor, or null.
    TMacroEditorDialog* GetEditor() const { return editor; }

    BOOL OnInitDialog() override;
    void OnCancel() override;

    bool OnKeyDown(UINT key) override;
    void OnDoubleClick(TListView* list, UINT flags, int x, int y) override;
    void OnRightClick(TListView* list) override;

    void OnMacroFileSaved(TMacroEditorDialog* editor, bool saved) override;
    void OnMacroEditorClosed(TMacroEditorDialog* editor) override;

    IMacroSelectDialogListener* listener = nullptr;

    BEGIN_MSG_MAP(TMacroSelectDialog)
        MESSAGE_HANDLER(WM_KICKIDLE, OnIdle)
        COMMAND_ID_HANDLER(IDC_MACRO_SELECT_NEW, OnNew)
        COMMAND_ID_HANDLER(IDC_MACRO_SELECT_EDIT, OnEdit)
        COMMAND_ID_HANDLER(IDC_MACRO_SELECT_COPY, OnCopy)
        COMMAND_ID_HANDLER(IDC_MACRO_SELECT_RENAME, OnRename)
        COMMAND_ID_HANDLER(IDC_MACRO_SELECT_DELETE, OnDelete)
        UPDATE_UI_HANDLER(IDC_MACRO_SELECT_EDIT, OnUpdateSelected)
        UPDATE_UI_HANDLER(IDC_MACRO_SELECT_COPY, OnUpdateSelected)
        UPDATE_UI_HANDLER(IDC_MACRO_SELECT_RENAME, OnUpdateSelected)
        UPDATE_UI_HANDLER(IDC_MACRO_SELECT_DELETE, OnUpdateSelected)
        CHAIN_MSG_MAP(TServerFileListDialog)
    END_MSG_MAP()

protected:
    std::vector<CString> ListFiles() const override;

private:
    LRESULT OnIdle(WPARAM wParam, LPARAM lParam);
    void OnNew();
    void OnEdit();
    void OnCopy();
    void OnRename();
    void OnDelete();
    void OnUpdateSelected(CCmdUI* ui);
    int Selected() const { return list.GetNextItem(-1, LVNI_SELECTED); }
    CString SelectedName() const;
    // Selects, focuses and shows the row of the name; none found clears the selection.
    void SelectName(const CString& name);
    // Asks for a file name; false on Cancel. A name that would leave the macro folder is refused
    // with a message and asked again.
    bool AskFileName(UINT title, UINT prompt, CString& name);
    // The selected file's name and the new name asked for it; false when none is selected or on
    // Cancel.
    bool AskNameForSelected(UINT title, UINT prompt, CString& selected, CString& name);
    // The name, with "_" appended while a file or folder of that name is there.
    CString FreeName(CString name) const;
    CString PathOf(const CString& name) const;

    TMacroEditorDialog* editor = nullptr;
    bool topMost = false;
};
