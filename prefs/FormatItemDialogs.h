#pragma once
// One event's row of the message details page, edited in a small modal dialog: the text it is
// written with and its two log marks, or only the marks for the message events, which have no
// text of their own. The caller sets the public fields before DoModal and reads them after IDOK.

#include "controls/UpdateDialog.h"
#include "res/windows/formatpages.h"

class TFormatItemDialog : public TUpdateDialog {
public:
    explicit TFormatItemDialog(CWnd* parent = nullptr) : TUpdateDialog(IDD_FORMAT_ITEM_DIALOG, parent) {}

    void SetItemName(const CString& value) { itemName = value; }
    const CString& GetFormat() const { return format; }

    BOOL OnInitDialog() override;
    void OnOK() override;

    bool channel = false;
    bool console = false;
    CString format;

private:
    CString itemName;
};

class TFormatTextItemDialog : public TUpdateDialog {
public:
    explicit TFormatTextItemDialog(CWnd* parent = nullptr) : TUpdateDialog(IDD_FORMAT_TEXT_ITEM_DIALOG, parent) {}

    void SetItemName(const CString& value) { itemName = value; }

    BOOL OnInitDialog() override;
    void OnOK() override;

    // Cleared for the private message event, which always goes to its channel's log.
    bool channelEnabled = true;
    bool channel = false;
    bool console = false;

private:
    CString itemName;
};
