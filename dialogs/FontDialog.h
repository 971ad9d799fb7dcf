#pragma once
// TFontDialogEx: the program's own font chooser. The caller puts the starting font into the
// public fields, runs it modally and, after IDOK, reads the fields back; every choice the user
// makes lands in them at once.

#include "controls/ComboBox.h"
#include "controls/Label.h"
#include "controls/UpdateDialog.h"
#include "res/windows/dialogs.h"
#include "settings/Font.h"
#include "settings/ViewSettings.h"

class TFontDialogEx : public TUpdateDialog {
public:
    explicit TFontDialogEx(CWnd* parent = nullptr) : TUpdateDialog(IDD_FONT_DIALOG, parent) {}

    void SetFaceName(const CString& value) { faceName = value; }
    CString GetFaceName() const { return faceName; }
    // Starts from a stored font, and after IDOK puts the choice back into one: face, character
    // set, size and style. The colour is not the chooser's and stays.
    void StartFrom(const TViewFont& font);
    void CopyChoiceTo(TViewFont& font) const;

    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(TFontDialogEx)
        COMMAND_CODE_HANDLER(IDC_FONT_FAMILY, CBN_SELCHANGE, OnFamilyChosen)
        COMMAND_CODE_HANDLER(IDC_FONT_STYLE, LBN_SELCHANGE, OnStyleChosen)
        COMMAND_CODE_HANDLER(IDC_FONT_SIZE, CBN_SELCHANGE, OnSizeChosen)
        COMMAND_CODE_HANDLER(IDC_FONT_SIZE, CBN_EDITCHANGE, OnSizeEdited)
        COMMAND_CODE_HANDLER(IDC_FONT_CHARSET, LBN_SELCHANGE, OnCharsetChosen)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    BYTE charset = SHIFTJIS_CHARSET;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // Tenths of a point.
    int size = 100;

    // What the size field's text means in tenths of a point ("10.5" is 105, "-12" is -120); 0
    // for text that is not a number. A size of 0 or below is kept as the settings keep it.
    static int ParseSize(const CString& text);

private:
    void FillCharsets();
    void UpdateSample();
    void OnFamilyChosen();
    void OnStyleChosen();
    void OnSizeChosen();
    void OnSizeEdited();
    void OnCharsetChosen();
    void TakeSize(const CString& text);
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

    TFontComboBox family;
    TLabel sample;
    TFont sampleFont;
    CString faceName;
    bool initialised = false;
};
