#pragma once
// The small modal prompts that ask for one value: a line of text, a nick, or the channel to
// invite someone to. The caller sets caption, prompt and initial text, and reads the value
// after IDOK; Cancel leaves it as it was.

#include "controls/ComboBox.h"
#include "controls/DialogExchange.h"
#include "controls/UpdateDialog.h"
#include "res/windows/prompts.h"

#include <vector>

class TInputMessageDialog : public TUpdateDialog {
public:
    TInputMessageDialog() : TInputMessageDialog(IDD_INPUT_MESSAGE, IDC_INPUT_MESSAGE_PROMPT, IDC_INPUT_MESSAGE_TEXT) {}

    void SetTitle(const CString& value) { title = value; }
    void SetPrompt(const CString& value) { prompt = value; }
    void SetText(const CString& value) { text = value; }
    CString GetText() const { return text; }

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TInputMessageDialog)
        UPDATE_UI_HANDLER(IDOK, OnUpdateOK)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

protected:
    TInputMessageDialog(UINT templateId, int promptId, int editId)
        : TUpdateDialog(templateId), promptId(promptId), editId(editId)
    {
    }
    CString GetEditText() const;
    virtual bool CanConfirm() const { return true; }

private:
    void OnUpdateOK(CCmdUI* ui);
    void Exchange(TDialogExchange::Direction direction);

    int promptId;
    int editId;
    CString title;
    CString prompt;
    CString text;
};

// An empty nick cannot be confirmed; the nick is not checked further.
class TInputNickDialog : public TInputMessageDialog {
public:
    TInputNickDialog() : TInputMessageDialog(IDD_INPUT_NICK, IDC_INPUT_NICK_PROMPT, IDC_INPUT_NICK_TEXT) {}

protected:
    bool CanConfirm() const override { return !GetEditText().IsEmpty(); }
};

class TInputInviteDialog : public TUpdateDialog {
public:
    TInputInviteDialog() : TUpdateDialog(IDD_INPUT_INVITE) {}

    void AddChannel(const CString& name) { channels.push_back(name); }
    CString GetChannelName() const { return channel; }

    // The server's name, shown in the caption after "招待 - ".
    void SetServerName(const CString& name) { serverName = name; }
    // Offered in the box's list, in order.
    std::vector<CString> channels;
    // The box's text after OK.
    CString channel;

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TInputInviteDialog)
        UPDATE_UI_HANDLER(IDOK, OnUpdateOK)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    CString GetBoxText() const;
    bool CanConfirm() const;
    void OnUpdateOK(CCmdUI* ui);

    CString serverName;
};
