#pragma once
// The script settings window: the scripts folder's "*.js" files as rows, one column per server,
// and a right-click on a cell switches that script on or off for that server at once.

#include "res/windows/script.h"
#include "world/ServerFileListDialog.h"

class TScriptSelectDialog;

class IScriptSelectDialogListener {
public:
    // The owner may delete the dialog here.
    virtual void OnScriptSelectDialogClosed(TScriptSelectDialog* dialog) = 0;
    virtual void OnScriptSelectionChanged(TScriptSelectDialog* dialog) = 0;
    virtual void OnShowScriptConsole(TScriptSelectDialog* dialog) = 0;

protected:
    ~IScriptSelectDialogListener() = default;
};

class TScriptSelectDialog : public TServerFileListDialog {
public:
    // config gives the scripts folder and the window's stored geometry.
    TScriptSelectDialog(TConfig* config, TIRCWorld* world);
    ~TScriptSelectDialog() override;

    BOOL OnInitDialog() override;
    void OnCancel() override;

    void OnRightClick(TListView* list) override;

    IScriptSelectDialogListener* listener = nullptr;

    BEGIN_MSG_MAP(TScriptSelectDialog)
        COMMAND_ID_HANDLER(IDC_SCRIPT_OPEN_FOLDER, OnOpenFolder)
        COMMAND_ID_HANDLER(IDC_SCRIPT_SHOW_CONSOLE, OnShowConsole)
        CHAIN_MSG_MAP(TServerFileListDialog)
    END_MSG_MAP()

protected:
    std::vector<CString> ListFiles() const override;

private:
    void OnOpenFolder();
    void OnShowConsole();
};
