#pragma once
// The small modeless window that tells the user someone offers a DCC chat: connect or close.

#include "controls/UpdateDialog.h"
#include "dcc/DCCChatRequest.h"

class TDCCChatDialog : public TUpdateDialog, public IDCCChatRequest {
public:
    TDCCChatDialog();
    ~TDCCChatDialog() override;

    void SetListener(IDCCChatDialogListener* value) { listener = value; }
    void SetNick(const CString& value) { nick = value; }
    void SetAddress(const CString& value) { address = value; }
    void SetPort(int value) { port = value; }
    CString GetNick() const override { return nick; }
    HWND GetWindowHandle() const override { return m_hWnd; }
    CString GetAddress() const override { return address; }
    int GetPort() const override { return port; }
    CString GetTimeText() const { return timeText; }

    // Made without a parent; centred on the screen while the main window is hidden or minimised.
    bool ShowModeless(bool activate);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CString timeText;
    CString addressText;
    CString nick;
    IDCCChatDialogListener* listener = nullptr;
    CString address;
    int port = 0;
};
