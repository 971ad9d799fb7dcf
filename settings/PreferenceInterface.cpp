// "preference.ini" sections "Event", "Interface", "Action", "Window" and "Layout".

#include "settings/Preference.h"

#include "settings/IniExchange.h"

void TPreference::ExchangeEvent(TIniExchange& io)
{
    io.Section(L"Event");
    io.Bool(L"FocusOnJoin", FocusOnJoin, false);
    io.Bool(L"SelectFirstChannelOnInit", SelectFirstChannelOnInit, true);
    io.Bool(L"RegisterOnTalk", RegisterOnTalk, true);
    io.Bool(L"FocusOnTalk", FocusOnTalk, false);
    io.Bool(L"IgnoreNoticeOnTalk", IgnoreNoticeOnTalk, true);
    io.Bool(L"RejoinOnKick", RejoinOnKick, false);
    io.Int(L"InviteAction", InviteAction, 1);
    io.Bool(L"ActivateInviteDialog", ActivateInviteDialog, true);
    io.Bool(L"LimitInviteDialog", LimitInviteDialog, true);
    io.Int(L"InviteDialogMax", InviteDialogMax, 3);
    io.Bool(L"FlashTitleOnUpdate", FlashTitleOnUpdate, false);
    io.Bool(L"ExpandTreeOnLogOn", ExpandTreeOnLogOn, true);
}

void TPreference::ExchangeInterface(TIniExchange& io)
{
    io.Section(L"Interface");
    io.Bool(L"EnableIMEOnInit", EnableIMEOnInit, false);
    io.Bool(L"CompleteNickOnTab", CompleteNickOnTab, true);
    io.Bool(L"PromptOnQuit", PromptOnQuit, true);
    io.Bool(L"HideSelectionOnInactive", HideSelectionOnInactive, true);
    io.Bool(L"EnableNickContextMenu", EnableNickContextMenu, true);
    io.Bool(L"MinimizeOnSendEmptyLine", MinimizeOnSendEmptyLine, false);
    io.Bool(L"JoinOnDoubleClick", JoinOnDoubleClick, true);
    io.Bool(L"PartOnDoubleClick", PartOnDoubleClick, false);
    io.Bool(L"ConnectOnDoubleClick", ConnectOnDoubleClick, false);
    io.Bool(L"DisconnectOnDoubleClick", DisconnectOnDoubleClick, false);
    io.Bool(L"LogInstantCopy", LogInstantCopy, false);
    io.Bool(L"PromptOnKick", PromptOnKick, true);
    io.String(L"KickMessage", KickMessage, L"Flooder");
}

void TPreference::ExchangeAction(TIniExchange& io)
{
    io.Section(L"Action");
    io.Bool(L"SendMultiLineByNotice", SendMultiLineByNotice, true);
    io.String(L"ReferenceMark", ReferenceMark, L">");
    io.Int(L"NickPolicy", NickPolicy, 0);
    io.Bool(L"RejoinToRecoverOp", RejoinToRecoverOp, false);
    io.Bool(L"EnableAutoOpDelay", EnableAutoOpDelay, true);
    io.Int(L"AutoOpDelayMin", AutoOpDelayMin, 5);
    io.Int(L"AutoOpDelayMax", AutoOpDelayMax, 30);
    io.Bool(L"EnableAutoOpOnBeingOperator", EnableAutoOpOnBeingOperator, true);
    io.Int(L"URLOpenMethod", URLOpenMethod, 0);
    io.String(L"URLOpenApplication", URLOpenApplication, L"");
    io.Bool(L"UnawayOnSendTalk", UnawayOnSendTalk, true);
    io.Bool(L"IgnoreURLInConsoleReply", IgnoreURLInConsoleReply, true);
    io.Bool(L"ViewBottomOnSelect", ViewBottomOnSelect, false);
    io.Bool(L"PrintAllLogToConsole", PrintAllLogToConsole, false);
    io.Bool(L"RecordUrlInMyMessage", RecordUrlInMyMessage, false);
    io.Bool(L"AutoClipUrl", AutoClipUrl, false);
}

void TPreference::ExchangeWindow(TIniExchange& io)
{
    io.Section(L"Window");
    io.Bool(L"HideAllWindowOnMinimize", HideAllWindowOnMinimize, true);
    io.Bool(L"RestoreOnHotKey", RestoreOnHotKey, false);
    io.Word(L"RestoreHotKeyVCode", RestoreHotKeyVCode, 76);
    io.Word(L"RestoreHotKeyModifiers", RestoreHotKeyModifiers, 6);
    io.Bool(L"SnapWindow", SnapWindow, false);
    io.Bool(L"ForceSingleApplicationInstance", ForceSingleApplicationInstance, false);
    io.Bool(L"ServerAllLog", ServerAllLog, true);
    io.Bool(L"ServerKeyword", ServerKeyword, true);
    io.Bool(L"ServerUpdate", ServerUpdate, true);
    io.Bool(L"TalkAllLog", TalkAllLog, true);
    io.Bool(L"TalkKeyword", TalkKeyword, true);
    io.Bool(L"TalkUpdate", TalkUpdate, true);
    io.Bool(L"DCCChatAllLog", DCCChatAllLog, true);
    io.Bool(L"DCCChatKeyword", DCCChatKeyword, true);
    io.Bool(L"DCCChatUpdate", DCCChatUpdate, true);
    io.Bool(L"EnableTrayIcon", EnableTrayIcon, true);
    io.Bool(L"ShowTrayIconOnMinimized", ShowTrayIconOnMinimized, false);
    io.Bool(L"HideWindowOnMinimize", HideWindowOnMinimize, false);
    io.Bool(L"EnableBaloon", EnableBaloon, false);
    io.Bool(L"RestoreTrayIconOnSingleClick", RestoreTrayIconOnSingleClick, false);
    io.Bool(L"BalloonFollowsAllLog", BalloonFollowsAllLog, true);
    io.Bool(L"ShowBalloonOnInactive", ShowBalloonOnInactive, true);
    io.Bool(L"IgnoreNoticeForBalloon", IgnoreNoticeForBalloon, true);
}

void TPreference::ExchangeLayout(TIniExchange& io)
{
    io.Section(L"Layout");
    io.Bool(L"ThreeColumnsLayout", ThreeColumnsLayout, false);
    io.Bool(L"InvertLogAndList", InvertLogAndList, false);
    io.Bool(L"InvertMemberAndTree", InvertMemberAndTree, false);
    io.Bool(L"SortTree", SortTree, false);
    io.Int(L"MemberSortMethod", MemberSortMethod, 4);
    io.Int(L"LineLeading", LineLeading, 0);
    io.Int(L"Indent", Indent, 6);
    io.Int(L"BottomMargin", BottomMargin, 10);
    io.Int(L"ChannelLogMaxLines", ChannelLogMaxLines, 1000);
    io.Int(L"ConsoleLogMaxLines", ConsoleLogMaxLines, 300);
}
