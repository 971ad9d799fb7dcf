#pragma once
// TInviteDialog: the modeless window that tells the user someone invited them to a channel
// and offers to join it.

#include "controls/UpdateDialog.h"
#include "ircproto/InviteRequest.h"

class TInviteDialog : public TUpdateDialog, public IInviteRequest {
public:
    TInviteDialog();
    ~TInviteDialog() override;

    void SetListener(IInviteDialogListener* value) { listener = value; }
    void SetNick(const CString& value) { nick = value; }
    void SetChannel(const CString& value) { channel = value; }
    CString GetNick() const override { return nick; }
    HWND GetWindowHandle() const override { return m_hWnd; }
    CString GetChannel() const override { return channel; }
    CString GetTimeText() const { return timeText; }

    // Made without a parent; centred on the screen while the main window is hidden or minimised.
    bool CreateAndShow(bool activate);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CString channel;
    CString nick;
    CString timeText;
    IInviteDialogListener* listener = nullptr;
};
