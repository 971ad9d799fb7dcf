// "preference.ini" sections "Log", "Sound" and "DCC".

#include "settings/Preference.h"

#include "settings/IniExchange.h"

namespace {

// The exact sentinel only: another spelling is a folder the user typed.
void ReplaceSentinel(const TIniExchange& io, CString& folder, CString (*computeDefault)())
{
    if (io.IsLoading() && folder == IniDefaultSentinel)
        folder = computeDefault();
}

} // namespace

void TPreference::ExchangeLog(TIniExchange& io)
{
    io.Section(L"Log");
    io.String(L"LogRootDir", LogRootDir, IniDefaultSentinel);
    io.String(L"UnitLogFile", UnitLogFile, L"Server\\%y%m%d-%s.txt");
    io.String(L"ChannelLogFile", ChannelLogFile, L"%c\\%y%m%d-%s.txt");
    io.String(L"TalkLogFile", TalkLogFile, L"Talk\\%y%m%d-%c-%s.txt");
    io.String(L"DCCChatLogFile", DCCChatLogFile, L"DCCChat\\%y%m%d-%c-%s.txt");
    io.String(L"URLLogFile", URLLogFile, L"URL\\%y%m%d.txt");
    io.Bool(L"EnableUnitLog", EnableUnitLog, false);
    io.Bool(L"EnableChannelLog", EnableChannelLog, false);
    io.Bool(L"EnableTalkLog", EnableTalkLog, false);
    io.Bool(L"EnableDCCChatLog", EnableDCCChatLog, false);
    io.Bool(L"EnableURLLog", EnableURLLog, false);
    io.Bool(L"ForceFlushLog", ForceFlushLog, false);
    io.Int(L"FlushLogTime", FlushLogTime, 180);
    io.Int(L"LogCodepage", LogCodepage, 65001);
    ReplaceSentinel(io, LogRootDir, GetDefaultLogFolder);
}

void TPreference::ExchangeSound(TIniExchange& io)
{
    struct TSoundKeys {
        const wchar_t* fileKey;
        const wchar_t* enableKey;
        CString& file;
        bool& enable;
    } sounds[] = {
        {L"LogInSoundFile", L"EnableLogInSound", LogInSoundFile, EnableLogInSound},
        {L"DisconnectSoundFile", L"EnableDisconnectSound", DisconnectSoundFile, EnableDisconnectSound},
        {L"KickSoundFile", L"EnableKickSound", KickSoundFile, EnableKickSound},
        {L"InviteSoundFile", L"EnableInviteSound", InviteSoundFile, EnableInviteSound},
        {L"TalkSoundFile", L"EnableTalkSound", TalkSoundFile, EnableTalkSound},
        {L"DCCChatSoundFile", L"EnableDCCChatSound", DCCChatSoundFile, EnableDCCChatSound},
        {L"DCCReceiveSoundFile", L"EnableDCCReceiveSound", DCCReceiveSoundFile, EnableDCCReceiveSound},
        {L"DCCReceiveCompleteSoundFile", L"EnableDCCReceiveCompleteSound", DCCReceiveCompleteSoundFile,
         EnableDCCReceiveCompleteSound},
        {L"DCCReceiveFailSoundFile", L"EnableDCCReceiveFailSound", DCCReceiveFailSoundFile, EnableDCCReceiveFailSound},
        {L"DCCSendCompleteSoundFile", L"EnableDCCSendCompleteSound", DCCSendCompleteSoundFile,
         EnableDCCSendCompleteSound},
        {L"DCCSendFailSoundFile", L"EnableDCCSendFailSound", DCCSendFailSoundFile, EnableDCCSendFailSound},
        {L"KeywordSoundFile", L"EnableKeywordSound", KeywordSoundFile, EnableKeywordSound},
        {L"ChannelMessageSoundFile", L"EnableChannelMessageSound", ChannelMessageSoundFile, EnableChannelMessageSound},
        {L"TalkMessageSoundFile", L"EnableTalkMessageSound", TalkMessageSoundFile, EnableTalkMessageSound},
        {L"DCCChatMessageSoundFile", L"EnableDCCChatMessageSound", DCCChatMessageSoundFile, EnableDCCChatMessageSound},
    };
    io.Section(L"Sound");
    io.Bool(L"MuteOnAway", MuteOnAway, true);
    for (TSoundKeys& sound : sounds)
        io.String(sound.fileKey, sound.file, L"");
    for (TSoundKeys& sound : sounds)
        io.Bool(sound.enableKey, sound.enable, false);
}

void TPreference::ExchangeDCC(TIniExchange& io)
{
    io.Section(L"DCC");
    io.Int(L"DCCReceivePortStart", DCCReceivePortStart, 1096);
    io.Int(L"DCCReceivePortEnd", DCCReceivePortEnd, 1115);
    io.Int(L"DCCChatPortStart", DCCChatPortStart, 1196);
    io.Int(L"DCCChatPortEnd", DCCChatPortEnd, 1215);
    io.BoolAsInt(L"CloseDialogOnEndTransfer", CloseDialogOnEndTransfer, false);
    io.Int(L"DCCReceiveAction", DCCReceiveAction, 1);
    io.String(L"DCCRootDir", DCCRootDir, IniDefaultSentinel);
    ReplaceSentinel(io, DCCRootDir, GetDefaultDCCFolder);
    io.Bool(L"ReceiveInNickFolder", ReceiveInNickFolder, false);
    io.Bool(L"ViewDialogOnReceive", ViewDialogOnReceive, true);
    io.Bool(L"MinimizeDialogOnAutoReceive", MinimizeDialogOnAutoReceive, false);
    io.Bool(L"BlinkDialogOnReceive", BlinkDialogOnReceive, true);
    io.Bool(L"ActivateDialogOnReceive", ActivateDialogOnReceive, false);
    io.Bool(L"AutoResume", AutoResume, false);
    io.Bool(L"ReceiveOnResumeFail", ReceiveOnResumeFail, true);
    io.Int(L"ReceiveOnResumeFailTime", ReceiveOnResumeFailTime, 20);
    io.Bool(L"EnableMaxDCCReceiveConnection", EnableMaxDCCReceiveConnection, true);
    io.Int(L"MaxDCCReceiveConnection", MaxDCCReceiveConnection, 3);
    io.Bool(L"HideFileInReceiving", HideFileInReceiving, true);
    io.Bool(L"AutoReceiveSelf", AutoReceiveSelf, true);
    io.Bool(L"AutoReceiveGroup1", AutoReceiveGroup1, true);
    io.Bool(L"AutoReceiveGroup2", AutoReceiveGroup2, true);
    io.Bool(L"AutoReceiveGroup3", AutoReceiveGroup3, true);
    io.Bool(L"AutoReceiveGroup4", AutoReceiveGroup4, true);
    io.Bool(L"AutoReceiveGroup5", AutoReceiveGroup5, true);
    io.Bool(L"AutoReceiveNormal", AutoReceiveNormal, true);
    io.Bool(L"ViewDialogOnSend", ViewDialogOnSend, true);
    io.Bool(L"InstantSend", InstantSend, false);
    io.Bool(L"EnableMaxOutgoingBandwidth", EnableMaxOutgoingBandwidth, false);
    io.Int(L"MaxOutgoingBandwidth", MaxOutgoingBandwidth, 1024);
    io.Bool(L"ExtendedDCCProtocol", ExtendedDCCProtocol, false);
    io.Bool(L"EnableMaxDCCSendConnection", EnableMaxDCCSendConnection, true);
    io.Int(L"MaxDCCSendConnection", MaxDCCSendConnection, 3);
    io.Bool(L"EnableSendBufferSize", EnableSendBufferSize, false);
    io.Int(L"SendBufferSize", SendBufferSize, 4);
    io.Int(L"DCCChatAction", DCCChatAction, 1);
    io.Bool(L"ActivateDCCChatDialog", ActivateDCCChatDialog, true);
    io.Bool(L"SelectOnAutoAcceptChat", SelectOnAutoAcceptChat, false);
    io.Bool(L"EnableMaxDCCChatRequestDialog", EnableMaxDCCChatRequestDialog, true);
    io.Int(L"MaxDCCChatRequestDialog", MaxDCCChatRequestDialog, 3);
    io.BoolAsInt(L"DCCChatAdaptiveEncodingSelection", DCCChatAdaptiveEncodingSelection, false);
}
