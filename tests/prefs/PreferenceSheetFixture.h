#pragma once
// The preference window over settings in a fresh folder whose "preference.ini" is a golden file
// of values off their defaults, driven with real clicks and keys. OK saves the file as the main
// window does, with "view.ini" beside it, so a test reads back what a user's edit stored.

#include "prefs/PreferenceDialog.h"
#include "settings/Config.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

// One user edit and what "preference.ini" holds afterwards.
struct TPageEdit {
    // State checks the control's enabled state ("on" or "off") at that moment; Row clicks the
    // check box of the list row whose index is the text; Select clicks the row itself.
    enum Kind { Click, Type, HotKey, Down, State, Row, Select };
    Kind kind;
    int control;
    const wchar_t* text; // typed text; for HotKey the key and modifiers in "KC" form; for Down the count
    const wchar_t* section = nullptr;
    const wchar_t* key = nullptr;
    const wchar_t* stored = nullptr;
};

class PreferenceSheetFixture : public ::testing::Test, public IPreferenceDialogListener {
protected:
    void SetUp() override;
    void TearDown() override;

    // The golden file's values, off their defaults wherever a page maps or inverts them.
    void MakeGolden(TPreference& p);
    void Open();
    // Clicks the page's tree item, as a user picks it.
    void ShowPage(TPropertyPage* page);
    // Opens the window and shows the page; false when the window did not open.
    template <class TPage> bool OpenOn(TPage TPreferenceDialog::*member)
    {
        Open();
        if (dialog)
            ShowPage(&(dialog->*member));
        return dialog != nullptr;
    }
    // What the main window's idle pass does: the enable rules of the shown page run.
    void Idle();
    void Apply(const TPageEdit& edit);
    void TypeInto(HWND control, const wchar_t* text, bool lines);
    void ClickOk();
    // The value of the key in the file as saved, or "(missing)".
    std::wstring Stored(const wchar_t* section, const wchar_t* key, const wchar_t* file = L"preference.ini");
    std::string FileBytes(const wchar_t* file = L"preference.ini");
    HWND Control(TPropertyPage* page, int id) { return ::GetDlgItem(page->m_hWnd, id); }
    bool Enabled(TPropertyPage* page, int id) { return ::IsWindowEnabled(Control(page, id)) != FALSE; }
    // Shows the page, makes every edit with real input, OK, then checks each key as the file holds it.
    void RunEdits(TPropertyPage* page, const std::vector<TPageEdit>& edits, const wchar_t* screenshot);

    void OnPreferenceDialogOK(TPreferenceDialog*) override;
    void OnPreferenceDialogClose(TPreferenceDialog* closing) override;

    TTempFolder folder;
    TConfig settings;
    TPreferenceDialog* dialog = nullptr;
    // Handed to the window before it opens; none finds no URLs in its log samples.
    const TLogAddressFinder* addressFinder = nullptr;
    std::string golden;
    // "view.ini" as the fixture wrote it, the input line's font and colours off their defaults.
    std::string viewGolden;
    int okCount = 0;
    int closeCount = 0;
};

// A page of the preference window, whichever class it is.
template <auto member> TPropertyPage* PageOf(TPreferenceDialog& dialog) { return &(dialog.*member); }

// One page's table: its edits and the keys they store, run by PreferencePageTable.
struct TPageTable {
    const char* name; // also names the screenshot
    TPropertyPage* (*page)(TPreferenceDialog&);
    std::vector<TPageEdit> edits;
    // A folder field the table empties: the key stores the default instead, never empty.
    const wchar_t* folderSection = nullptr;
    const wchar_t* folderKey = nullptr;
    CString (*folderDefault)() = nullptr;
};
inline void PrintTo(const TPageTable& table, std::ostream* out) { *out << table.name; }
inline std::string PageTableName(const ::testing::TestParamInfo<TPageTable>& info) { return info.param.name; }

class PreferencePageTable : public PreferenceSheetFixture, public ::testing::WithParamInterface<TPageTable> {};
