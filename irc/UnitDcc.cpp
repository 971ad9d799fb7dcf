// DCC offers: the four kinds that arrive, file offers and accepted resume positions checked before
// anything reaches the DCC side, and the four the unit sends, all as CTCP queries.

#include "irc/IRCUnit.h"

#include "dcc/DCCReceiveItem.h"
#include "dcc/DCCSendItem.h"
#include "foundation/ResourceString.h"
#include "foundation/StringUtils.h"
#include "irc/DccOffer.h"
#include "log/LogFormatter.h"
#include "log/LogLineData.h"
#include "res/strings/dcc.h"
#include "settings/Preference.h"

namespace {

CString ResumeRefusedText(const CString& nick, long long position)
{
    CString number;
    number.Format(L"%lld", position);
    return FormatStringResourceWithTwo(IDS_DCC_RESUME_REFUSED, nick, number);
}

} // namespace

void TIRCUnit::OnDccQuery(const TIRCReceiveMessage& message, CString text)
{
    CString type = CutFirstWord(text);
    type.MakeUpper();
    if (type == L"SEND")
        OnDccSendOffer(message, text);
    else if (type == L"CHAT")
        OnDccChatOffer(message, text);
    else if (type == L"RESUME")
        OnDccResume(message, text);
    else if (type == L"ACCEPT")
        OnDccAccept(message, text);
    else
        PrintCtcpQueryText(TLogFormatter(*logFormat).FormatCTCPQuery(message, L"DCC " + type));
}

bool TIRCUnit::IsAutoReceive(const TIRCReceiveMessage& message) const
{
    if (preference->DCCReceiveAction != DccOfferAccept)
        return false;
    TIRCMember sender(message.nick, message.user, message.host);
    ClassifyUser(sender);
    if (sender.groupKind == 2)
        return preference->AutoReceiveSelf;
    if (sender.groupKind == 1) {
        const bool groups[] = {preference->AutoReceiveGroup1, preference->AutoReceiveGroup2,
                               preference->AutoReceiveGroup3, preference->AutoReceiveGroup4,
                               preference->AutoReceiveGroup5};
        return groups[sender.groupIndex];
    }
    return preference->AutoReceiveNormal;
}

void TIRCUnit::OnDccSendOffer(const TIRCReceiveMessage& message, const CString& text)
{
    TDccSendOffer offer = ParseDccSendOffer(text);
    // The line and the scripts show the offer as it came; the receive item makes the name safe
    // for the disk.
    PrintToServer(CString(), CString(),
                  TLogFormatter(*logFormat)
                      .FormatDCCSend(message, offer.fileName, offer.address.ToString(), offer.port, offer.size),
                  EVENT_DCC_SEND, 0, false, CString());
    // After the user closed the program no transfer window may open and no download start.
    if (session.shutdown)
        return;
    if (preference->EnableDCCReceiveSound)
        PlaySoundFile(preference->DCCReceiveSoundFile);
    if (preference->DCCReceiveAction != DccOfferIgnore) {
        if (offer.size <= 0)
            return;
        // Anyone can offer: an item that would connect to a port beyond 16 bits (a socket would
        // wrap it to another) or wait for a size no file has is not made, and the user is told.
        if (CheckDccSendOffer(offer)) {
            bool automatic = IsAutoReceive(message);
            dccManager->AddReceiveItem(this, offer.variant, automatic, message.nick, offer.fileName, offer.port,
                                       offer.size, offer.address);
            ShowDccWindowOnOffer(automatic);
        } else {
            PrintSystemText(nullptr, FormatStringResourceWithTwo(IDS_DCC_OFFER_UNUSABLE, message.nick, offer.fileName));
        }
    }
    sendScripts->FireOnDccSend(message, message.GetParam(0), offer.fileName, (unsigned long long)offer.size,
                               offer.address.ToString(), offer.port);
}

void TIRCUnit::ShowDccWindowOnOffer(bool automatic)
{
    if (preference->ViewDialogOnReceive)
        frame->ShowDCCDialog(preference->MinimizeDialogOnAutoReceive && automatic &&
                             !preference->ActivateDialogOnReceive);
    if (preference->ActivateDialogOnReceive)
        frame->BringDCCDialogToFront();
    else if (preference->BlinkDialogOnReceive)
        frame->BlinkDCCDialog();
}

void TIRCUnit::OnDccChatOffer(const TIRCReceiveMessage& message, const CString& text)
{
    TDccChatOffer offer = ParseDccChatOffer(text);
    CString address = offer.address.ToString();
    PrintToServer(CString(), CString(), TLogFormatter(*logFormat).FormatDCCChat(message, address, offer.port),
                  EVENT_DCC_CHAT, 0, false, CString());
    if (session.shutdown)
        return;
    if (preference->EnableDCCChatSound)
        PlaySoundFile(preference->DCCChatSoundFile);
    // Whatever the address and port, the talk opens: a connection that cannot be made is told
    // there like any other.
    if (preference->DCCChatAction == DccOfferAccept) {
        AcceptChatOffer(message, address, offer.port);
    } else if (preference->DCCChatAction == DccOfferAsk) {
        AskChatOffer(message, address, offer.port);
    }
    sendScripts->FireOnDccChat(message, message.GetParam(0), address, offer.port);
}

void TIRCUnit::OnDccResume(const TIRCReceiveMessage& message, const CString& text)
{
    TDccResumeOffer offer = ParseDccResumeOffer(text);
    // The send item takes only a position inside its file; a refusal is answered with silence.
    bool accepted =
        IsValidDccPort(offer.port) && dccManager->HandleResumeRequest(this, message.nick, offer.port, offer.position);
    PrintToServer(CString(), CString(), TLogFormatter(*logFormat).FormatDCCResume(message, offer.port, offer.position),
                  EVENT_DCC_RESUME, 0, false, CString());
    if (accepted)
        SendDccAccept(message.nick, offer.fileName, offer.port, offer.position);
}

void TIRCUnit::OnDccAccept(const TIRCReceiveMessage& message, const CString& text)
{
    TDccResumeOffer offer = ParseDccResumeOffer(text);
    long long size = 0;
    bool known = IsValidDccPort(offer.port) && dccManager->FindReceiveFileSize(this, message.nick, offer.port, size);
    // The receive item would wait for an answer that never comes: a position it cannot take is told.
    bool usable = known && IsDCCResumePosition(offer.position, size);
    if (usable)
        dccManager->HandleResumeAccept(this, message.nick, offer.port, offer.position);
    PrintToServer(CString(), CString(), TLogFormatter(*logFormat).FormatDCCAccept(message, offer.port, offer.position),
                  EVENT_DCC_ACCEPT, 0, false, CString());
    if (known && !usable)
        PrintSystemText(nullptr, ResumeRefusedText(message.nick, offer.position));
}

void TIRCUnit::SendDccSendOffer(const CString& nick, const CString& fileName, int port, long long size)
{
    SendCtcpQuery(nick,
                  FormatDccSendOffer(fileName, ntohl(myAddress.address), port, size, preference->ExtendedDCCProtocol));
}

void TIRCUnit::SendDccChatOffer(const CString& nick, int port)
{
    SendCtcpQuery(nick, FormatDccChatOffer(ntohl(myAddress.address), port));
}

void TIRCUnit::SendDccResumeRequest(const CString& nick, const CString& fileName, int port, long long position)
{
    SendCtcpQuery(nick, FormatDccResumeRequest(fileName, port, position));
}

void TIRCUnit::SendDccAccept(const CString& nick, const CString& fileName, int port, long long position)
{
    SendCtcpQuery(nick, FormatDccAccept(fileName, port, position));
}

void TIRCUnit::OnDccSendCompleted(const TDCCSendItem* item)
{
    PrintToServer(
        CString(), CString(),
        TLogFormatter(*logFormat).FormatDCCSendComplete(item->GetNick(), item->GetFileName(), item->GetSize()),
        EVENT_DCC_SEND_COMPLETE, 0, false, CString());
    if (preference->EnableDCCSendCompleteSound)
        PlaySoundFile(preference->DCCSendCompleteSoundFile);
}

void TIRCUnit::OnDccSendFailed(const TDCCSendItem* item)
{
    PrintToServer(CString(), CString(),
                  TLogFormatter(*logFormat)
                      .FormatDCCSendFail(item->GetNick(), item->GetFileName(), item->GetSize(), item->GetSentBytes(),
                                         GetDCCPercent(item->GetSentBytes(), item->GetSize()), item->GetErrorMessage()),
                  EVENT_DCC_SEND_FAIL, 0, false, CString());
    if (preference->EnableDCCSendFailSound)
        PlaySoundFile(preference->DCCSendFailSoundFile);
}

void TIRCUnit::OnDccReceiveCompleted(const TDCCReceiveItem* item)
{
    PrintToServer(
        CString(), CString(),
        TLogFormatter(*logFormat).FormatDCCReceiveComplete(item->GetNick(), item->GetFileName(), item->GetSize()),
        EVENT_DCC_RECEIVE_COMPLETE, 0, false, CString());
    if (preference->EnableDCCReceiveCompleteSound)
        PlaySoundFile(preference->DCCReceiveCompleteSoundFile);
}

void TIRCUnit::OnDccReceiveFailed(const TDCCReceiveItem* item)
{
    PrintToServer(CString(), CString(),
                  TLogFormatter(*logFormat)
                      .FormatDCCReceiveFail(item->GetNick(), item->GetFileName(), item->GetAddress().ToString(),
                                            item->GetPort(), item->GetSize(), item->GetPosition(),
                                            GetDCCPercent(item->GetPosition(), item->GetSize()),
                                            item->GetErrorMessage()),
                  EVENT_DCC_RECEIVE_FAIL, 0, false, CString());
    if (preference->EnableDCCReceiveFailSound)
        PlaySoundFile(preference->DCCReceiveFailSoundFile);
}

void TIRCUnit::OnDccReceiveRefused(const CString& nick, const CString& fileName, bool tooManyUnfinished)
{
    UINT text = tooManyUnfinished ? IDS_DCC_RECEIVE_REFUSED : IDS_DCC_RECEIVE_LIST_FULL;
    PrintSystemText(nullptr, FormatStringResourceWithTwo(text, nick, fileName));
}
