// The DCC chat of a DCC chat talk: its connection, either side, and the code page of its lines.

#include "irc/IRCChannel.h"

#include "foundation/CodePage.h"
#include "foundation/Iso2022Jp.h"
#include "foundation/ResourceString.h"
#include "irc/IRCUnit.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

void TIRCChannel::ConnectDCCChat(const CString& host, int port)
{
    if (!chatClient) {
        chatClient = new TDCCChatClient();
        chatClient->listener = this;
    }
    if (!chatClient->IsStarted())
        chatClient->SetPeer(host, port);
    // An address or port that cannot be used fails inside Connect: its error follows this line.
    unit->PrintDccChatConnecting(this, host, port);
    chatClient->Connect();
}

bool TIRCChannel::IsDCCChatLive() const
{
    return (chatClient && chatClient->IsStarted()) ||
           (chatServer && (chatServer->IsListening() || chatServer->IsConnected()));
}

void TIRCChannel::ListenDCCChat()
{
    if (!chatServer) {
        chatServer = new TDCCChatServer();
        chatServer->listener = this;
    }
    chatServer->Listen();
}

void TIRCChannel::OnChatUp()
{
    OnJoined();
    unit->PrintSystemText(this, LoadResourceString(IDS_CONNECTED));
}

void TIRCChannel::OnChatDown()
{
    unit->PrintSystemText(this, LoadResourceString(IDS_DISCONNECTED));
    OnLeft();
}

void TIRCChannel::OnChatFailed(const CString& text)
{
    unit->PrintDccChatError(this, text);
    OnLeft();
}

void TIRCChannel::OnChatConnected(TDCCChatClient*) { OnChatUp(); }
void TIRCChannel::OnChatAccepted(TDCCChatServer*) { OnChatUp(); }
void TIRCChannel::OnChatClosed(TDCCChatClient*) { OnChatDown(); }
void TIRCChannel::OnChatClosed(TDCCChatServer*) { OnChatDown(); }
void TIRCChannel::OnChatError(TDCCChatClient*, const CString& text) { OnChatFailed(text); }
void TIRCChannel::OnChatError(TDCCChatServer*, const CString& text) { OnChatFailed(text); }
void TIRCChannel::OnChatReceive(TDCCChatClient*, const CStringA& line) { OnDCCChatLine(line); }
void TIRCChannel::OnChatReceive(TDCCChatServer*, const CStringA& line) { OnDCCChatLine(line); }

void TIRCChannel::OnChatListening(TDCCChatServer* server)
{
    unit->OnDccChatListening(this, peerName, server->GetPort());
}

void TIRCChannel::OnDCCChatLine(const CStringA& bytes)
{
    CString text;
    if (!unit->GetPreference()->DCCChatAdaptiveEncodingSelection) {
        text = unit->Decode(bytes);
    } else if (DetectJisOrUtf8(bytes) == DETECTED_JIS) {
        text = DecodeIso2022Jp(bytes);
        chatEncoding = 1;
    } else {
        text = ConvertFromUtf8(bytes);
        chatEncoding = 2;
    }
    unit->ShowDccChatLine(this, text);
}

void TIRCChannel::SendDCCChatLine(const CString& text)
{
    if (!joined)
        return;
    const TPreference& pref = *unit->GetPreference();
    CStringA bytes;
    if (!pref.DCCChatAdaptiveEncodingSelection || chatEncoding == 0)
        bytes = unit->Encode(text);
    else if (chatEncoding == 1)
        bytes = EncodeIso2022JpByKanaMethod(text, pref.KanaEncodingMethod);
    else
        bytes = ConvertToUtf8(text);
    if (chatClient)
        chatClient->SendLine(bytes);
    else if (chatServer)
        chatServer->SendLine(bytes);
}
