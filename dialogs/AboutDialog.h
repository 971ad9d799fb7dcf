#pragma once
// CAboutDlg: the modal about box with the product picture, the version, the author's credit
// and the acknowledgements and licences of the libraries the program is built with.

#include "controls/Edit.h"
#include "controls/Label.h"
#include "controls/UpdateDialog.h"
#include "settings/Font.h"

class CAboutDlg : public TUpdateDialog {
public:
    CAboutDlg();

    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(CAboutDlg)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    static const int kMajorVersion = 2;
    static const int kMinorVersion = 40;
    // The credits edit's text, line by line, each line ending in CR LF.
    static CString BuildCreditsText();

private:
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return 0; }
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);

    TEdit creditsEdit;
    TLabel creditLabel;
    TLabel versionLabel;
    TFont creditFont;
    TFont versionFont;
    TFont textFont;
};
