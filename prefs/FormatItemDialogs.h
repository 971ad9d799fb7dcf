#pragma once
// One event's row of the message details page, edited in a small modal dialog: the text it is
// written with and its two log marks, or only the marks for the message events, which have no
// text of their own. The caller sets the public fields before DoModal and reads them after IDOK.

#include "controls/DialogExchange.h"
#include "controls/UpdateDialog.h"
#include "res/windows/formatpages.h"

// The two log marks every row has, and the row's name in the caption.
class TFormatMarksDialog : public TUpdateDialog {
public:
    void SetItemName(const CString& value) { itemName = value; }

    BOOL OnInitDialog() override;
    void OnOK() override;

    bool channel = false;
    bool console = false;

protected:
    TFormatMarksDialog(UINT templateId, CWnd* parent) : TUpdateDialog(templateId, parent) {}
    virtual void Exchange(TDialogExchange& io);

private:
    CString itemName;
};

class TFormatItemDialog : public TFormatMarksDialog {
public:
    explicit TFormatItemDialog(CWnd* parent = nullptr) : TFormatMarksDialog(IDD_FORMAT_ITEM_DIALOG, parent) {}

    const CString& GetFormat() const { return format; }

    CString format;

protected:
    void Exchange(TDialogExchange& io) override;
};

class TFormatTextItemDialog : public TFormatMarksDialog {
public:
    explicit TFormatTextItemDialog(CWnd* parent = nullptr) : TFormatMarksDialog(IDD_FORMAT_TEXT_ITEM_DIALOG, parent) {}

    BOOL OnInitDialog() override;

    // Cleared for the private message event, which always goes to its channel's log.
    bool channelEnabled = true;
};
