#pragma once
// The macro and script pages of the server property dialog: the files of a folder in a sorted
// list, the ones the server uses ticked. Files that are gone drop out of the server's choice.

#include "controls/ListView.h"
#include "prefs/ServerPage.h"

#include <vector>

class TServerFileListPage : public TServerPage {
public:
    TServerFileListPage(UINT templateId, const wchar_t* extension, bool keepExtension);

    // The folder listed, ending with a backslash.
    CString folder;

    BOOL OnInitDialog() override;

protected:
    void Load() override;
    void Store() override;
    // The server's list of chosen files.
    virtual std::vector<CString>& Chosen() = 0;

private:
    CString extension;
    bool keepExtension;
    TListView list;
};

class TServerMacroPage : public TServerFileListPage {
public:
    TServerMacroPage();

protected:
    std::vector<CString>& Chosen() override { return unit->MacroFiles; }
};

class TServerScriptPage : public TServerFileListPage {
public:
    TServerScriptPage();

protected:
    std::vector<CString>& Chosen() override { return unit->ScriptFiles; }
};
