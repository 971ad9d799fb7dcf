#pragma once
// The first start's pages, each a modal dialog of its own that its owner fills through public
// fields, runs and reads back: the start page (how to set up), the server page (server and nick)
// and the channel page (channels to join). ">>" and "<<" both end a page with IDOK after storing
// its controls; back tells them apart. TLoadLegacyDialog asks whether to take over the previous
// version's settings found in its default folder.

#include "controls/DialogExchange.h"
#include "controls/Edit.h"
#include "controls/ListBox.h"
#include "controls/UpdateDialog.h"
#include "dialogs/MaskListEditor.h"
#include "res/windows/wizard.h"

#include <vector>

class CCmdUI;

enum class TInstallChoice { Beginner = 0, Advanced = 1, TakeOver = 2 };

class TInstallStartDialog : public TUpdateDialog {
public:
    TInstallStartDialog() : TUpdateDialog(IDD_INSTALL_START) {}

    TInstallChoice choice = TInstallChoice::Beginner;
    bool legacyFound = false;

    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void Exchange(TDialogExchange::Direction direction);

    bool initialised = false;
};

class TInstallServerDialog : public TUpdateDialog {
public:
    TInstallServerDialog() : TUpdateDialog(IDD_INSTALL_SERVER) {}

    bool back = false;
    CString nick;
    CString server;

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TInstallServerDialog)
        COMMAND_ID_HANDLER(IDC_INSTALL_BACK, OnBack)
        UPDATE_UI_HANDLER(IDOK, OnUpdateNext)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    void Exchange(TDialogExchange::Direction direction);
    void Store(bool goBack);
    void OnBack();
    void OnUpdateNext(CCmdUI* ui);
};

// The server page's rule for ">>": a valid nick and a server that is neither empty nor a
// separator line.
bool CanLeaveServerPage(const CString& nick, const CString& server);

class TInstallChannelDialog : public TUpdateDialog, public IEditListener, public IListBoxListener {
public:
    TInstallChannelDialog();

    bool back = false;
    bool connectAtStartup = true;
    std::vector<CString> channels;

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TInstallChannelDialog)
        COMMAND_ID_HANDLER(IDC_INSTALL_BACK, OnBack)
        COMMAND_ID_HANDLER(IDC_INSTALL_CHANNEL_ADD, OnAdd)
        COMMAND_ID_HANDLER(IDC_INSTALL_CHANNEL_DELETE, OnDelete)
        UPDATE_UI_HANDLER(IDC_INSTALL_CHANNEL_ADD, OnUpdateAdd)
        UPDATE_UI_HANDLER(IDC_INSTALL_CHANNEL_DELETE, OnUpdateDelete)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    bool OnKeyDown(TEdit* edit, UINT key) override;
    bool OnEnter(TEdit* edit, UINT key) override;
    bool OnKeyDown(TListBox* list, UINT key) override;
    void OnSelChange(TListBox* list) override;

private:
    int FindChannel(const CString& text) const;
    bool CanAdd() const;
    void Store(bool goBack);
    void OnBack();
    void OnAdd();
    void OnDelete();
    void OnUpdateAdd(CCmdUI* ui);
    void OnUpdateDelete(CCmdUI* ui);

    TListBox list;
    TEdit edit;
    TMaskListEditor editor;
};

enum class TLoadLegacyResult { TakeOver = 0, Back = 1, ChooseFolder = 2 };

class TLoadLegacyDialog : public TUpdateDialog {
public:
    TLoadLegacyDialog() : TUpdateDialog(IDD_LOAD_LEGACY) {}

    TLoadLegacyResult result = TLoadLegacyResult::Back;

    void OnOK() override;
    void OnCancel() override;

    BEGIN_MSG_MAP(TLoadLegacyDialog)
        COMMAND_ID_HANDLER(IDC_LOAD_LEGACY_OTHER, OnChooseFolder)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    void OnChooseFolder();
};
