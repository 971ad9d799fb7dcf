#pragma once
// The DCC pages of the preference window: the root page, receiving with its details, sending
// and chats.

#include "prefs/PreferencePage.h"

class TDCCPage : public TPreferencePage {
public:
    TDCCPage() : TPreferencePage(IDD_DCC_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
};

class TDCCReceivePage : public TPreferencePage {
public:
    TDCCReceivePage() : TPreferencePage(IDD_DCC_RECEIVE_PAGE) {}

    // The action chosen on the page once it is shown, else the stored one.
    int GetReceiveAction() const;

    BEGIN_MSG_MAP(TDCCReceivePage)
        COMMAND_ID_HANDLER(IDC_RECV_BROWSE, BrowseFolder)
        CHAIN_MSG_MAP(TPreferencePage)
    END_MSG_MAP()

protected:
    void Exchange(TDialogExchange& io) override;
    void Store() override;
    void UpdateControls() override;

private:
    void BrowseFolder();
};

class TDCCReceiveDetailPage : public TPreferencePage {
public:
    TDCCReceiveDetailPage() : TPreferencePage(IDD_DCC_RECEIVE_DETAIL_PAGE) {}

    void SetReceivePage(TDCCReceivePage* page) { receivePage = page; }

protected:
    void Exchange(TDialogExchange& io) override;
    void UpdateControls() override;

private:
    TDCCReceivePage* receivePage = nullptr;
};

class TDCCSendPage : public TPreferencePage {
public:
    TDCCSendPage() : TPreferencePage(IDD_DCC_SEND_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
    void UpdateControls() override;
};

class TDCCChatPage : public TPreferencePage {
public:
    TDCCChatPage() : TPreferencePage(IDD_DCC_CHAT_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
    void UpdateControls() override;
};
