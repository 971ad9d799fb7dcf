#pragma once
// TPreferencePage: a page of the preference window that edits the live preference block. Its
// enable rules run when the window is idle; each page states them in UpdateControls.

#include "prefs/PropertyPage.h"
#include "res/windows/preference.h"

#include <initializer_list>

class TPreference;

class TPreferencePage : public TPropertyPage {
public:
    explicit TPreferencePage(UINT templateId) : TPropertyPage(templateId) {}

    void SetPreference(TPreference* value) { preference = value; }
    TPreference* GetPreference() const { return preference; }

    BEGIN_MSG_MAP(TPreferencePage)
        MESSAGE_HANDLER(WM_KICKIDLE, OnKickIdle)
        CHAIN_MSG_MAP(TPropertyPage)
    END_MSG_MAP()

protected:
    bool HasRecord() const override { return preference != nullptr; }
    // Enables or disables the controls from the live state of the others.
    virtual void UpdateControls() {}
    void Enable(std::initializer_list<int> ids, bool on);
    // The index of the checked button of a radio group, 0 when none is.
    int CheckedIndex(std::initializer_list<int> ids) const;
    // The folder chooser over the sheet, starting at the edit's folder; the choice goes there.
    void BrowseFolderInto(int editId, UINT titleId);
    // A folder edit's line. The folder must be usable only where it will be used and only when
    // the user changed it: a stored folder that takes no files now must not hold up the window.
    void ExchangeFolder(TDialogExchange& io, int editId, CString& folder, bool used);

    TPreference* preference = nullptr;

private:
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
};

// A folder typed on a page: empty is taken (the default is stored then), otherwise it must be a
// folder that exists, or one that can be made below an existing folder. A folder on
// a drive that is not there now is taken as typed. Relative names count from the program's folder.
bool IsUsableFolder(const CString& folder);
// The folder a page stores: the typed one trimmed, or the default when nothing is left.
void StoreFolder(CString& folder, const CString& standard);
