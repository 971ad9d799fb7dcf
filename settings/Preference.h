#pragma once
// The user's preferences, stored in "preference.ini" in the settings folder. Every member is named
// like its key; a new block holds every default, as a load without a file gives.

#include "classlib/String.h"
#include "settings/LogKeyword.h"
#include "settings/UserGroup.h"

#include <vector>

class TIniExchange;

// Stored choices, by the numbers the file holds; the members keep them as int, the way the file
// and the dialog exchanges read them, and code compares them with these names.
enum TInviteAction { InviteDoNothing = 0, InviteShowDialog = 1, InviteJoin = 2 };
enum TNickPolicy { NickAddUnderscore = 0, NickAddDigit = 1, NickAskUser = 2, NickDoNothing = 3 };
// What an offered file or chat does: nothing, waits for the user, or is accepted (a file only
// from the auto-accept users).
enum TDccOfferAction { DccOfferIgnore = 0, DccOfferAsk = 1, DccOfferAccept = 2 };
enum TWhoTiming { WhoAtOnce = 0, WhoFast = 1, WhoSlow = 2, WhoNever = 3 };

// The documents folder (or the desktop when there is none) + "\KetrovalLog\".
CString GetDefaultLogFolder();
// The desktop folder, without a trailing backslash.
CString GetDefaultDCCFolder();

class TPreference {
public:
    TPreference();
    // Fills every member from the file in the folder; a missing file or key gives the default.
    void Load(const CString& settingsFolder);
    // Rewrites the whole file; a failure leaves the old file as it was. A file that was there
    // but could not be read at the load is never written over (false).
    bool Save(const CString& settingsFolder) const;
    static CString GetFilePath(const CString& settingsFolder);
    CString MakeMask(CString nick, CString userName, CString host) const;

    // Why the last load gave defaults (0: the file was read); not stored.
    DWORD loadError = 0;

    bool Installed;

    bool Reconnect;
    int ReconnectCount;
    int ReconnectTime;
    bool RetryOnHalt;
    int RetryOnHaltTime;
    bool ForceAutoJoin;
    bool RestoreNickAndAwayOnReconnect;
    int IPResolveMethod;
    CString IPAddress;

    bool FocusOnJoin;
    bool SelectFirstChannelOnInit;
    bool RegisterOnTalk;
    bool FocusOnTalk;
    bool IgnoreNoticeOnTalk;
    bool RejoinOnKick;
    int InviteAction;
    bool ActivateInviteDialog;
    bool LimitInviteDialog;
    int InviteDialogMax;
    bool FlashTitleOnUpdate;
    bool ExpandTreeOnLogOn;

    bool EnableIMEOnInit;
    bool CompleteNickOnTab;
    bool PromptOnQuit;
    bool HideSelectionOnInactive;
    bool EnableNickContextMenu;
    bool MinimizeOnSendEmptyLine;
    bool JoinOnDoubleClick;
    bool PartOnDoubleClick;
    bool ConnectOnDoubleClick;
    bool DisconnectOnDoubleClick;
    bool LogInstantCopy;
    bool PromptOnKick;
    CString KickMessage;

    int NickPolicy;
    bool RejoinToRecoverOp;
    bool EnableAutoOpDelay;
    int AutoOpDelayMin;
    int AutoOpDelayMax;
    bool EnableAutoOpOnBeingOperator;
    int URLOpenMethod;
    CString URLOpenApplication;
    bool UnawayOnSendTalk;
    bool IgnoreURLInConsoleReply;
    bool ViewBottomOnSelect;
    bool PrintAllLogToConsole;
    bool RecordUrlInMyMessage;
    bool AutoClipUrl;

    TLogKeyword keyword;
    TUserGroupList userGroups;
    std::vector<CString> nickList;

    CString LogRootDir;
    CString UnitLogFile;
    CString ChannelLogFile;
    CString TalkLogFile;
    CString DCCChatLogFile;
    CString URLLogFile;
    bool EnableUnitLog;
    bool EnableChannelLog;
    bool EnableTalkLog;
    bool EnableDCCChatLog;
    bool EnableURLLog;
    bool ForceFlushLog;
    int FlushLogTime;
    int LogCodepage;

    bool MuteOnAway;
    CString LogInSoundFile;
    CString DisconnectSoundFile;
    CString KickSoundFile;
    CString InviteSoundFile;
    CString TalkSoundFile;
    CString DCCChatSoundFile;
    CString DCCReceiveSoundFile;
    CString DCCReceiveCompleteSoundFile;
    CString DCCReceiveFailSoundFile;
    CString DCCSendCompleteSoundFile;
    CString DCCSendFailSoundFile;
    CString KeywordSoundFile;
    CString ChannelMessageSoundFile;
    CString TalkMessageSoundFile;
    CString DCCChatMessageSoundFile;
    bool EnableLogInSound;
    bool EnableDisconnectSound;
    bool EnableKickSound;
    bool EnableInviteSound;
    bool EnableTalkSound;
    bool EnableDCCChatSound;
    bool EnableDCCReceiveSound;
    bool EnableDCCReceiveCompleteSound;
    bool EnableDCCReceiveFailSound;
    bool EnableDCCSendCompleteSound;
    bool EnableDCCSendFailSound;
    bool EnableKeywordSound;
    bool EnableChannelMessageSound;
    bool EnableTalkMessageSound;
    bool EnableDCCChatMessageSound;

    bool CloseDialogOnEndTransfer;
    int DCCReceiveAction;
    CString DCCRootDir;
    bool ReceiveInNickFolder;
    bool ViewDialogOnReceive;
    bool MinimizeDialogOnAutoReceive;
    bool BlinkDialogOnReceive;
    bool ActivateDialogOnReceive;
    bool AutoResume;
    bool ReceiveOnResumeFail;
    int ReceiveOnResumeFailTime;
    bool EnableMaxDCCReceiveConnection;
    int MaxDCCReceiveConnection;
    bool HideFileInReceiving;
    int DCCReceivePortStart;
    int DCCReceivePortEnd;
    bool AutoReceiveSelf;
    bool AutoReceiveGroup1;
    bool AutoReceiveGroup2;
    bool AutoReceiveGroup3;
    bool AutoReceiveGroup4;
    bool AutoReceiveGroup5;
    bool AutoReceiveNormal;
    bool ViewDialogOnSend;
    bool InstantSend;
    bool EnableMaxOutgoingBandwidth;
    int MaxOutgoingBandwidth;
    bool ExtendedDCCProtocol;
    bool EnableMaxDCCSendConnection;
    int MaxDCCSendConnection;
    bool EnableSendBufferSize;
    int SendBufferSize;
    int DCCChatAction;
    bool ActivateDCCChatDialog;
    bool SelectOnAutoAcceptChat;
    bool EnableMaxDCCChatRequestDialog;
    int MaxDCCChatRequestDialog;
    int DCCChatPortStart;
    int DCCChatPortEnd;
    bool DCCChatAdaptiveEncodingSelection;

    CString ReferenceMark;
    bool SendMultiLineByNotice;

    bool HideAllWindowOnMinimize;
    bool RestoreOnHotKey;
    unsigned short RestoreHotKeyVCode;
    unsigned short RestoreHotKeyModifiers;
    bool SnapWindow;
    bool ForceSingleApplicationInstance;
    bool ServerAllLog;
    bool ServerKeyword;
    bool ServerUpdate;
    bool TalkAllLog;
    bool TalkKeyword;
    bool TalkUpdate;
    bool DCCChatAllLog;
    bool DCCChatKeyword;
    bool DCCChatUpdate;
    bool EnableTrayIcon;
    bool ShowTrayIconOnMinimized;
    bool HideWindowOnMinimize;
    bool RestoreTrayIconOnSingleClick;
    bool EnableBaloon;
    bool BalloonFollowsAllLog;
    bool ShowBalloonOnInactive;
    bool IgnoreNoticeForBalloon;

    bool ThreeColumnsLayout;
    bool InvertLogAndList;
    bool InvertMemberAndTree;
    bool SortTree;
    int MemberSortMethod;
    int LineLeading;
    int Indent;
    int BottomMargin;
    int ChannelLogMaxLines;
    int ConsoleLogMaxLines;

    int WhoTiming;
    bool DetailWhois;
    bool LimitWhoisDialog;
    int WhoisDialogMax;
    bool AutoMask;
    bool MaskWholeNick;
    bool MaskWholeUsername;
    bool MaskAllAddressDigits;
    bool MaskFirstAddressToken;

    bool EnableAutoPong;
    int AutoPongTime;
    bool RejoinOnError437;
    int Error437RejoinInterval;
    int Error437RejoinCount;
    bool IgnoreCtcp;
    bool EnableCtcpSequenceLimit;
    bool EnableCommand;
    CString CommandPrefix;
    int KanaEncodingMethod;

    bool ShowIsonWindowOnStart;
    bool PrintIsonInfoOnServerLog;
    int IsonInterval;
    std::vector<CString> isonTargets;

private:
    // Each section is one function that either reads or writes, so the keys and their
    // defaults are spelled once.
    void ExchangeApplication(TIniExchange& io);
    void ExchangeConnection(TIniExchange& io);
    void ExchangeEvent(TIniExchange& io);
    void ExchangeInterface(TIniExchange& io);
    void ExchangeAction(TIniExchange& io);
    void ExchangeWindow(TIniExchange& io);
    void ExchangeLayout(TIniExchange& io);
    void ExchangeKeyword(TIniExchange& io);
    void ExchangeUserGroup(TIniExchange& io);
    void ExchangeNickList(TIniExchange& io);
    void ExchangeLog(TIniExchange& io);
    void ExchangeSound(TIniExchange& io);
    void ExchangeDCC(TIniExchange& io);
    void ExchangeUserInfo(TIniExchange& io);
    void ExchangeDetail(TIniExchange& io);
    void ExchangeIson(TIniExchange& io);
    void Exchange(TIniExchange& io);
};
