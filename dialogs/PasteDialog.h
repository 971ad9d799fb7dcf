#pragma once
// TPasteDialog: shows several lines before they are sent to a channel or talk; the user may
// edit them, drop blank lines, quote every line and choose NOTICE. The owner sends them.

#include "controls/DialogExchange.h"
#include "controls/ResizableDialog.h"
#include "res/windows/paste.h"
#include "settings/Font.h"

class TPasteDialog : public TResizableDialog {
public:
    // The parent centres the dialog and lets it open at the kept size.
    explicit TPasteDialog(CWnd* parent = nullptr);

    void SetText(const CString& value) { text = value; }
    CString GetText() const { return text; }
    void SetQuote(const CString& value) { quote = value; }
    CString GetQuote() const { return quote; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BEGIN_MSG_MAP(TPasteDialog)
        COMMAND_ID_HANDLER(IDC_PASTE_ADD_QUOTE, OnAddQuote)
        COMMAND_ID_HANDLER(IDC_PASTE_REMOVE_BLANK, OnRemoveBlankLines)
        CHAIN_MSG_MAP(TResizableDialog)
    END_MSG_MAP()

    // In: the settings to open with; out: what the user left when the dialog closed (the size
    // too, through SetSize and GetWidth).
    bool notice = true;
    // False for the send-multiple-lines command, which has its own caption.
    bool pasteMode = true;

private:
    // The text, the quote mark and the notice box; stored on OK and on Cancel alike.
    void Exchange(TDialogExchange::Direction direction);
    void OnAddQuote();
    void OnRemoveBlankLines();
    void OnResized() override;

    TFont textFont;
    CString text;
    CString quote;
};
