#pragma once
// TModeDialog: the modal editor of a channel's simple flags, key and user limit. It sends
// nothing: the owner reads the edited mode after IDOK.

#include "controls/DialogExchange.h"
#include "controls/UpdateDialog.h"
#include "ircproto/Modes.h"
#include "res/windows/chanmode.h"

class TModeDialog : public TUpdateDialog {
public:
    TModeDialog();

    void SetChannelName(const CString& value) { channelName = value; }
    // The server's name, shown after the channel's; empty shows none.
    void SetServerName(const CString& value) { serverName = value; }
    TChannelMode GetMode() const { return mode; }

    TChannelMode mode;
    // Editing the mode a channel is created with rather than a joined channel's.
    bool creation = false;

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TModeDialog)
        COMMAND_ID_HANDLER(IDC_MODE_S, OnSecret)
        COMMAND_ID_HANDLER(IDC_MODE_P, OnPrivate)
        UPDATE_UI_HANDLER(IDC_MODE_KEY, OnUpdateKey)
        UPDATE_UI_HANDLER(IDC_MODE_LIMIT, OnUpdateLimit)
        UPDATE_UI_HANDLER(IDC_MODE_LIMIT_SPIN, OnUpdateLimit)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    bool IsChecked(int id) const;
    void Check(int id, bool on);
    // The mode's controls, loaded when the dialog opens and stored on OK.
    void Exchange(TDialogExchange::Direction direction);
    void OnSecret();
    void OnPrivate();
    void OnUpdateKey(CCmdUI* ui);
    void OnUpdateLimit(CCmdUI* ui);

    CString serverName;
    CString channelName;
};

// A blank, comma or line break would split a JOIN or MODE line into other names, keys or lines.
bool HasJoinBreakingCharacter(const CString& text);
// True, after telling the user and putting the focus on the edit, when its text has such a
// character.
bool RefuseJoinBreakingText(HWND dialog, int editId);
