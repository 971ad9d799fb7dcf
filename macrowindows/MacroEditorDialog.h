#pragma once
// TMacroEditorDialog: the modeless window in which one macro file is edited as a list of rules.
// The file is read when the window opens and written whole on OK; Cancel writes nothing. A save
// that fails says so and leaves the window open. The owner hears of the save and of the close,
// and deletes the window in the close notice.

#include "macrowindows/MacroItemDialog.h"
#include "macrowindows/RowListDialog.h"

#include "macro/MacroFile.h"

class TMacroEditorDialog;

class IMacroEditorDialogListener {
public:
    // saved is false when the file could not be written; the old file then stays, and so does
    // the editor with its rows.
    virtual void OnMacroFileSaved(TMacroEditorDialog* editor, bool saved) = 0;
    // The owner deletes the editor here.
    virtual void OnMacroEditorClosed(TMacroEditorDialog* editor) = 0;

protected:
    ~IMacroEditorDialogListener() = default;
};

class TMacroEditorDialog : public TRecordListDialog<TMacroItem, TMacroItemDialog> {
public:
    // config gives the macro and sound folders and the window's stored geometry.
    explicit TMacroEditorDialog(TConfig* config);
    ~TMacroEditorDialog() override;

    void SetFileName(const CString& name) { fileName = name; }
    CString GetFileName() const { return fileName; }
    // Why the file could not be read when the window opened; 0 when it was read or is missing.
    DWORD GetReadError() const { return file.readError; }
    virtual void SetTopMost(bool topMost);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BEGIN_MSG_MAP(TMacroEditorDialog)
        COMMAND_ID_HANDLER(IDC_MACRO_EDITOR_INSERT_FILE, OnInsertFile)
        CHAIN_MSG_MAP(TRowListDialog)
    END_MSG_MAP()

    IMacroEditorDialogListener* listener = nullptr;

protected:
    TMacroItem ReadRow(int row) const override;
    void WriteRow(const TMacroItem& item, int row) override;

private:
    void OnInsertFile();

    CString fileName;
    TMacroFile file;
    CString stopMark;
    bool topMost = false;
};
