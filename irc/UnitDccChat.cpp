// DCC chat talks of a unit: making them, their status lines, the lines they receive, and the
// dialogs that ask the user about an offered chat.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "log/LogLineData.h"
#include "res/strings/dcc.h"
#include "res/strings/foundation.h"
#include "res/strings/irc.h"
#include "settings/Preference.h"

#include <algorithm>

TIRCChannel* TIRCUnit::AddDccChatChannel(const TIRCMember& peer)
{
    TChannelConfig config;
    config.Name.Format(L"%c%s", L'=', peer.nick.GetString());
    config.ExtraText = peer.nick;
    config.Update = preference->DCCChatUpdate;
    config.Keyword = preference->DCCChatKeyword;
    config.Console = preference->DCCChatAllLog;
    TIRCChannel* talk = AddChannel(config, TIRCChannel::KindDccChat);
    for (int n = 0; !talk; n++) {
        config.Name.Format(L"%c%s%d", L'=', peer.nick.GetString(), n);
        talk = AddChannel(config, TIRCChannel::KindDccChat);
    }
    if (channelWindows)
        channelWindows->OnChannelAdded(this, talk);
    talk->GetMembers().AddMember(peer, true);
    return talk;
}

void TIRCUnit::StartDccChatServer(TIRCChannel* channel)
{
    PrintSystemText(channel, LoadResourceString(IDS_DCC_CHAT_PREPARING));
    channel->ListenDCCChat();
}

void TIRCUnit::OnDccChatListening(TIRCChannel* channel, const CString& nick, int port)
{
    PrintSystemText(channel, FormatStringResourceWithNumber(IDS_DCC_CHAT_PORT_TAKEN, port));
    PrintSystemText(channel, LoadResourceString(IDS_DCC_CHAT_SENDING_OFFER));
    SendDccChatOffer(nick, port);
}

void TIRCUnit::PrintDccChatConnecting(TIRCChannel* channel, const CString& host, int port)
{
    PrintSystemText(channel, FormatConnectingMessage(host, port));
}

void TIRCUnit::PrintDccChatError(TIRCChannel* channel, const CString& text)
{
    PrintToChannel(channel, CString(), text, EVENT_ERROR, 0, false);
}

void TIRCUnit::ShowDccChatLine(TIRCChannel* channel, const CString& text)
{
    // Copies: the talk may be gone once a script or a macro has run.
    CString peer = channel->GetPeerName(), name = channel->GetName();
    bool keyword = PrintToChannel(channel, peer, text, EVENT_MESSAGE, 0, true);
    MarkUpdate(channel);
    if (!(keyword && preference->EnableKeywordSound) && preference->EnableDCCChatMessageSound)
        PlaySoundFile(preference->DCCChatMessageSoundFile);
    sendScripts->FireOnDccChatText(name, peer, text);
    TIRCReceiveMessage record;
    record.prefix = record.nick = peer;
    record.command = L"DCCCHATMESSAGE";
    record.params = {name, text};
    RunMacros(record, session.currentNick);
    if (keyword)
        receivedScripts->FireOnHighlight(record, L"DCCCHATTEXT", name, text);
}

void TIRCUnit::AcceptChatOffer(const TIRCReceiveMessage& message, const CString& address, int port)
{
    int live = (int)std::count_if(channels.begin(), channels.end(), [](const TIRCChannel* channel) {
        return channel->GetKind() == TIRCChannel::KindDccChat && channel->IsDCCChatLive();
    });
    // Each offer taken makes a connection; a flood of offers must not make them without end.
    if (live >= kMaxDccChatTalks) {
        PrintSystemText(nullptr, FormatStringResourceWithText(IDS_DCC_CHAT_REFUSED, message.nick));
        return;
    }
    TIRCChannel* talk = AddDccChatChannel(TIRCMember(message.nick, message.user, message.host));
    talk->ConnectDCCChat(address, port);
    if (preference->SelectOnAutoAcceptChat)
        frame->Select(this, talk);
}

void TIRCUnit::AskChatOffer(const TIRCReceiveMessage& message, const CString& address, int port)
{
    if (session.shutdown)
        return;
    IDCCChatRequest* dialog =
        frame->OpenDCCChatDialog(this, message.nick, address, port, preference->ActivateDCCChatDialog);
    if (dialog)
        dccChatDialogs.push_back(dialog);
}

void TIRCUnit::OnDCCChatAccepted(IDCCChatRequest* dialog)
{
    if (std::find(dccChatDialogs.begin(), dccChatDialogs.end(), dialog) == dccChatDialogs.end())
        return;
    TIRCChannel* talk = AddDccChatChannel(TIRCMember(dialog->GetNick(), CString(), CString()));
    talk->ConnectDCCChat(dialog->GetAddress(), dialog->GetPort());
    frame->Select(this, talk);
}

void TIRCUnit::OnDCCChatDialogClosed(IDCCChatRequest* dialog)
{
    auto found = std::find(dccChatDialogs.begin(), dccChatDialogs.end(), dialog);
    if (found == dccChatDialogs.end())
        return;
    dccChatDialogs.erase(found);
    delete dialog;
    frame->OnDCCChatDialogClosed();
}

void TIRCUnit::CloseDccChatDialogs()
{
    std::vector<IDCCChatRequest*> open;
    open.swap(dccChatDialogs);
    for (IDCCChatRequest* dialog : open) {
        delete dialog;
        frame->OnDCCChatDialogClosed();
    }
}

// Text for a DCC chat talk named in a command ("=nick"): echoed, sent whole, and reported.
void TIRCUnit::SendDccChatText(TIRCChannel* talk, const CString& text, bool quiet)
{
    PrintToChannel(talk, session.currentNick, text, EVENT_MESSAGE, 1, false);
    talk->SendDCCChatLine(text);
    if (quiet)
        return;
    CString name = talk->GetName();
    sendScripts->FireOnDccChatText(name, session.currentNick, text);
    TIRCReceiveMessage record = MakeOwnRecord(L"DCCCHATMESSAGE");
    record.params = {name, text};
    RunMacros(record, session.currentNick);
}
