#include "prefs/DccPages.h"

#include "settings/Preference.h"

namespace {

const int kMany = 1000000;

const std::initializer_list<int> kReceiveActions = {IDC_RECV_NOTHING, IDC_RECV_TO_DIALOG, IDC_RECV_AUTO};
const std::initializer_list<int> kChatActions = {IDC_CHAT_NOTHING, IDC_CHAT_DIALOG, IDC_CHAT_AUTO};

} // namespace

void TDCCPage::Exchange(TDialogExchange& io) { io.Check(IDC_DCC_CLOSE_ON_END, preference->CloseDialogOnEndTransfer); }

void TDCCReceivePage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    // With "do nothing" the folder is greyed and takes no files.
    ExchangeFolder(io, IDC_RECV_FOLDER, p.DCCRootDir, CheckedIndex(kReceiveActions) != DccOfferIgnore);
    io.Check(IDC_RECV_NICK_FOLDER, p.ReceiveInNickFolder);
    io.Radio(kReceiveActions, p.DCCReceiveAction);
    io.Check(IDC_RECV_RESUME, p.AutoResume);
    io.Check(IDC_RECV_LIMIT, p.EnableMaxDCCReceiveConnection);
    io.Spin(IDC_RECV_MAX, p.MaxDCCReceiveConnection, 1, kMany);
    io.Check(IDC_RECV_SHOW_DIALOG, p.ViewDialogOnReceive);
    io.Check(IDC_RECV_MINIMIZED, p.MinimizeDialogOnAutoReceive);
    io.Check(IDC_RECV_ACTIVATE, p.ActivateDialogOnReceive);
    io.Check(IDC_RECV_BLINK, p.BlinkDialogOnReceive);
}

void TDCCReceivePage::Store() { StoreFolder(preference->DCCRootDir, GetDefaultDCCFolder()); }

int TDCCReceivePage::GetReceiveAction() const
{
    if (m_hWnd)
        return CheckedIndex(kReceiveActions);
    return preference ? preference->DCCReceiveAction : 0;
}

void TDCCReceivePage::UpdateControls()
{
    int action = CheckedIndex(kReceiveActions);
    bool acting = action != DccOfferIgnore;
    bool activate = IsChecked(IDC_RECV_ACTIVATE);
    Enable({IDC_RECV_FOLDER, IDC_RECV_BROWSE, IDC_RECV_LIMIT, IDC_RECV_SHOW_DIALOG, IDC_RECV_ACTIVATE,
            IDC_RECV_NICK_FOLDER},
           acting);
    Enable({IDC_RECV_MAX, IDC_RECV_MAX_SPIN}, acting && IsChecked(IDC_RECV_LIMIT));
    Enable({IDC_RECV_BLINK}, acting && !activate);
    Enable({IDC_RECV_RESUME}, action == DccOfferAccept);
    Enable({IDC_RECV_MINIMIZED}, action == DccOfferAccept && !activate && IsChecked(IDC_RECV_SHOW_DIALOG));
}

void TDCCReceivePage::BrowseFolder() { BrowseFolderInto(IDC_RECV_FOLDER, IDS_DCC_FOLDER_TITLE); }

void TDCCReceiveDetailPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Check(IDC_RECVD_ON_RESUME_FAIL, p.ReceiveOnResumeFail);
    io.Spin(IDC_RECVD_WAIT, p.ReceiveOnResumeFailTime, 3, kMany);
    io.Check(IDC_RECVD_HIDDEN, p.HideFileInReceiving);
    io.Check(IDC_RECVD_SELF, p.AutoReceiveSelf);
    io.Check(IDC_RECVD_GROUP1, p.AutoReceiveGroup1);
    io.Check(IDC_RECVD_GROUP2, p.AutoReceiveGroup2);
    io.Check(IDC_RECVD_GROUP3, p.AutoReceiveGroup3);
    io.Check(IDC_RECVD_GROUP4, p.AutoReceiveGroup4);
    io.Check(IDC_RECVD_GROUP5, p.AutoReceiveGroup5);
    io.Check(IDC_RECVD_NORMAL, p.AutoReceiveNormal);
}

void TDCCReceiveDetailPage::UpdateControls()
{
    if (!receivePage)
        return;
    int action = receivePage->GetReceiveAction();
    Enable({IDC_RECVD_ON_RESUME_FAIL, IDC_RECVD_HIDDEN}, action != DccOfferIgnore);
    Enable({IDC_RECVD_WAIT, IDC_RECVD_WAIT_SPIN}, action != DccOfferIgnore && IsChecked(IDC_RECVD_ON_RESUME_FAIL));
    Enable({IDC_RECVD_SELF, IDC_RECVD_GROUP1, IDC_RECVD_GROUP2, IDC_RECVD_GROUP3, IDC_RECVD_GROUP4, IDC_RECVD_GROUP5,
            IDC_RECVD_NORMAL},
           action == DccOfferAccept);
}

void TDCCSendPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Range(IDC_SEND_PORT_FIRST, IDC_SEND_PORT_LAST, p.DCCReceivePortStart, p.DCCReceivePortEnd, 0, 65535);
    io.Check(IDC_SEND_SHOW_DIALOG, p.ViewDialogOnSend);
    io.Check(IDC_SEND_INSTANT, p.InstantSend);
    io.Check(IDC_SEND_LIMIT, p.EnableMaxDCCSendConnection);
    io.Spin(IDC_SEND_MAX, p.MaxDCCSendConnection, 1, kMany);
    io.Check(IDC_SEND_LIMIT_SPEED, p.EnableMaxOutgoingBandwidth);
    io.Spin(IDC_SEND_SPEED, p.MaxOutgoingBandwidth, 1, kMany);
    io.Check(IDC_SEND_BUFFER_ON, p.EnableSendBufferSize);
    io.Spin(IDC_SEND_BUFFER, p.SendBufferSize, 4, 512);
    io.Check(IDC_SEND_EXTENDED, p.ExtendedDCCProtocol);
}

void TDCCSendPage::UpdateControls()
{
    Enable({IDC_SEND_SPEED, IDC_SEND_SPEED_SPIN}, IsChecked(IDC_SEND_LIMIT_SPEED));
    Enable({IDC_SEND_BUFFER, IDC_SEND_BUFFER_SPIN}, IsChecked(IDC_SEND_BUFFER_ON));
}

void TDCCChatPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Range(IDC_CHAT_PORT_FIRST, IDC_CHAT_PORT_LAST, p.DCCChatPortStart, p.DCCChatPortEnd, 0, 65535);
    io.Radio(kChatActions, p.DCCChatAction);
    io.Check(IDC_CHAT_FRONT, p.ActivateDCCChatDialog);
    io.Check(IDC_CHAT_LIMIT, p.EnableMaxDCCChatRequestDialog);
    io.Spin(IDC_CHAT_MAX, p.MaxDCCChatRequestDialog, 0, kMany);
    io.Check(IDC_CHAT_SELECT_STARTED, p.SelectOnAutoAcceptChat);
    io.Check(IDC_CHAT_ADAPTIVE, p.DCCChatAdaptiveEncodingSelection);
}

void TDCCChatPage::UpdateControls()
{
    int action = CheckedIndex(kChatActions);
    Enable({IDC_CHAT_LIMIT, IDC_CHAT_FRONT}, action == DccOfferAsk);
    Enable({IDC_CHAT_MAX, IDC_CHAT_MAX_SPIN}, action == DccOfferAsk && IsChecked(IDC_CHAT_LIMIT));
    Enable({IDC_CHAT_SELECT_STARTED}, action == DccOfferAccept);
}
