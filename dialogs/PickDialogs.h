#pragma once
// The pick dialogs: one text of a list the caller gives (TSelectDialog), one macro file of a folder
// (TSelectMacroDialog, named without its extension) and one sound file of a folder
// (TSelectSoundDialog, named with it, and playable). Modal; an empty result means no choice.

#include "controls/ListBox.h"
#include "controls/UpdateDialog.h"
#include "res/windows/macro.h"

#include <vector>

class TSelectDialog : public TUpdateDialog, public IListBoxListener {
public:
    TSelectDialog();

    void AddCandidate(const CString& text) { candidates.push_back(text); }
    // The text to preselect (letter case aside); after IDOK the choice, empty for none.
    void SetText(const CString& text) { currentText = text; }
    CString GetText() const { return currentText; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDoubleClick(TListBox* list, UINT flags, int x, int y) override;

private:
    TListBox list;
    std::vector<CString> candidates;
    CString currentText;
};

// The two folder pickers: the folder's files of some extensions, sorted, listed again on Update.
class TSelectFileDialog : public TUpdateDialog, public IListBoxListener {
public:
    void SetFolder(const CString& value) { folder = value; }
    // The name to preselect; after IDOK the choice, empty for none.
    void SetFileName(const CString& value) { fileName = value; }
    CString GetFileName() const { return fileName; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDoubleClick(TListBox* list, UINT flags, int x, int y) override;
    void OnSelChange(TListBox* list) override;

    BEGIN_MSG_MAP(TSelectFileDialog)
        COMMAND_ID_HANDLER(IDC_SELECT_UPDATE, ListFolder)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

protected:
    TSelectFileDialog(UINT templateId, const std::vector<CString>& extensions, bool keepExtension);
    CString SelectedText() const;

    TListBox list;
    CString folder;
    CString fileName;

private:
    void ListFolder();

    std::vector<CString> extensions;
    bool keepExtension;
};

class TSelectMacroDialog : public TSelectFileDialog {
public:
    TSelectMacroDialog();
};

class TSelectSoundDialog : public TSelectFileDialog {
public:
    TSelectSoundDialog();

    BEGIN_MSG_MAP(TSelectSoundDialog)
        COMMAND_ID_HANDLER(IDC_SELECT_PLAY, OnPlay)
        UPDATE_UI_HANDLER(IDC_SELECT_PLAY, OnUpdatePlay)
        CHAIN_MSG_MAP(TSelectFileDialog)
    END_MSG_MAP()

private:
    void OnPlay();
    void OnUpdatePlay(CCmdUI* ui);
};
