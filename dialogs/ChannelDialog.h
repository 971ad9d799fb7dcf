#pragma once
// TChannelDialog: the modal editor of one channel entry of a server. The owner puts the entry
// in, runs it and takes the edited entry back after IDOK.

#include "controls/DialogExchange.h"
#include "controls/UpdateDialog.h"
#include "ircproto/ISupport.h"
#include "res/windows/chanmode.h"
#include "settings/ServerConfig.h"

class TChannelDialog : public TUpdateDialog {
public:
    TChannelDialog();

    void SetChannelConfig(const TChannelConfig& value) { channel = value; }
    TChannelConfig GetChannelConfig() const { return channel; }

    // Opened from the server property dialog rather than the main window: chooses the caption.
    bool fromSettings = false;
    // A new entry whose name can be typed; an existing one keeps its name.
    bool adding = false;
    // The server the entry belongs to, from the main window: its name goes into the caption and
    // its mode letters read the mode text. Empty and null from the settings.
    CString serverName;
    const TISupportMode* serverModes = nullptr;

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TChannelDialog)
        COMMAND_ID_HANDLER(IDC_CHANNEL_MODE_BUTTON, OnModeButton)
        UPDATE_UI_HANDLER(IDOK, OnUpdateOK)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    // The entry's controls, loaded when the dialog opens and stored on OK.
    void Exchange(TDialogExchange::Direction direction);
    void OnModeButton();
    void OnUpdateOK(CCmdUI* ui);

    TChannelConfig channel;
};
