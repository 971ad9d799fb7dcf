#pragma once
// TViewPage: the saved themes, listed from the program's and the user's themes folders. A theme
// is loaded whole, as its appearance only or as its message formats only into the preference
// window's working view settings; the working settings are saved as a user theme; user themes
// and old view files are deleted. The files themselves are the window's business.

#include "controls/ListBox.h"
#include "prefs/PropertyPage.h"
#include "res/windows/preference.h"
#include "res/windows/themepages.h"

class CCmdUI;
class TPreferenceDialog;

// What a theme list entry stands for.
struct TThemeEntry {
    CString name;     // the file name with its extension; empty for the built-in defaults
    bool userFolder;  // else the program's themes folder
    bool oldViewFile; // a view file of the previous version
};

class TViewPage : public TPropertyPage, public IListBoxListener {
public:
    TViewPage();

    void SetOwner(TPreferenceDialog* value) { owner = value; }
    static const wchar_t* GetThemeExtension() { return L".theme"; }
    // A typed name that can be saved: a file name that stays inside the themes folder.
    static bool IsValidThemeName(const CString& name);
    TThemeEntry MapEntry(const CString& text) const;
    // Program themes, then old view files, then user themes, each group in code-unit order.
    void UpdateThemeList();

    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(TViewPage)
        COMMAND_ID_HANDLER(IDC_THEME_SAVE, OnSaveTheme)
        COMMAND_ID_HANDLER(IDC_THEME_LOAD_ALL, OnLoadAll)
        COMMAND_ID_HANDLER(IDC_THEME_LOAD_APPEARANCE, OnLoadAppearance)
        COMMAND_ID_HANDLER(IDC_THEME_LOAD_FORMATS, OnLoadFormats)
        COMMAND_ID_HANDLER(IDC_THEME_DELETE, OnDeleteTheme)
        UPDATE_UI_HANDLER(IDC_THEME_SAVE, OnUpdateSaveTheme)
        UPDATE_UI_HANDLER(IDC_THEME_LOAD_ALL, OnUpdateLoad)
        UPDATE_UI_HANDLER(IDC_THEME_LOAD_APPEARANCE, OnUpdateLoad)
        UPDATE_UI_HANDLER(IDC_THEME_LOAD_FORMATS, OnUpdateLoad)
        UPDATE_UI_HANDLER(IDC_THEME_DELETE, OnUpdateDeleteTheme)
        CHAIN_MSG_MAP(TPropertyPage)
    END_MSG_MAP()

    // IListBoxListener: a double click loads everything; choosing an entry shows its name.
    void OnDoubleClick(TListBox*, UINT, int, int) override;
    void OnSelChange(TListBox*) override;

protected:
    bool HasRecord() const override { return owner != nullptr; }

private:
    enum class TPart { All, Appearance, Formats };
    void LoadSelected(TPart part);
    // The selected entry's text; false when nothing is selected.
    bool GetSelectedText(CString& text) const;
    CString GetTypedName() const;
    void OnSaveTheme();
    void OnLoadAll() { LoadSelected(TPart::All); }
    void OnLoadAppearance() { LoadSelected(TPart::Appearance); }
    void OnLoadFormats() { LoadSelected(TPart::Formats); }
    void OnDeleteTheme();
    void OnUpdateSaveTheme(CCmdUI* ui);
    void OnUpdateLoad(CCmdUI* ui);
    void OnUpdateDeleteTheme(CCmdUI* ui);

    TListBox themeList;
    TPreferenceDialog* owner = nullptr;
    const CString defaultsEntry;
};
