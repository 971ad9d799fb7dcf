// Each behaviour page of the preference window as a user meets it: its controls edited with real
// clicks and keys, OK, and every key the page edits read back from "preference.ini" under its
// name with the value it must have (typed numbers clamped into their ranges, inverted and
// remapped choices written as the file counts them, dependent controls greyed but still stored).

#include "tests/prefs/PreferenceSheetFixture.h"

namespace {

using E = TPageEdit;

class PreferencePagesTest : public PreferenceSheetFixture {};

const wchar_t kConnection[] = L"Connection";
const wchar_t kInterface[] = L"Interface";
const wchar_t kDetail[] = L"Detail";
const wchar_t kWindow[] = L"Window";
const wchar_t kUserInfo[] = L"UserInfo";
const wchar_t kDcc[] = L"DCC";
const wchar_t kSound[] = L"Sound";
const wchar_t kLog[] = L"Log";
const wchar_t kKeyword[] = L"Keyword";
const wchar_t kAction[] = L"Action";
const wchar_t kEvent[] = L"Event";

// Every page whose test is its table alone, its edits in the order a user makes them.
const TPageTable kPages[] = {
    {"Connection",
     PageOf<&TPreferenceDialog::connectionPage>,
     {{E::State, IDC_CONN_IP_ADDRESS, L"on"},
      {E::Type, IDC_CONN_RECONNECT_TIME, L"2000000", kConnection, L"ReconnectTime", L"1000000"},
      {E::Type, IDC_CONN_RECONNECT_COUNT, L"0", kConnection, L"ReconnectCount", L"0"},
      {E::Type, IDC_CONN_RETRY_TIME, L"3", kConnection, L"RetryOnHaltTime", L"10"},
      {E::Click, IDC_CONN_FORCE_AUTO_JOIN, L"", kConnection, L"ForceAutoJoin", L"false"},
      {E::Click, IDC_CONN_RESTORE_NICK, L"", kConnection, L"RestoreNickAndAwayOnReconnect", L"false"},
      {E::Type, IDC_CONN_IP_ADDRESS, L"192.0.2.9", kConnection, L"IPAddress", L"192.0.2.9"},
      {E::Click, IDC_CONN_IP_JOIN, L"", kConnection, L"IPResolveMethod", L"1"},
      {E::State, IDC_CONN_IP_ADDRESS, L"off"},
      {E::Click, IDC_CONN_RECONNECT, L"", kConnection, L"Reconnect", L"false"},
      {E::State, IDC_CONN_RECONNECT_TIME, L"off"},
      {E::State, IDC_CONN_RECONNECT_COUNT_SPIN, L"off"},
      {E::Click, IDC_CONN_RETRY_ON_HALT, L"", kConnection, L"RetryOnHalt", L"false"},
      {E::State, IDC_CONN_RETRY_TIME, L"off"}}},
    {"Interface",
     PageOf<&TPreferenceDialog::interfacePage>,
     {{E::Click, IDC_UI_PROMPT_ON_QUIT, L"", kInterface, L"PromptOnQuit", L"false"},
      {E::Click, IDC_UI_COMPLETE_NICK, L"", kInterface, L"CompleteNickOnTab", L"false"},
      {E::Click, IDC_UI_HIDE_SELECTION, L"", kInterface, L"HideSelectionOnInactive", L"false"},
      {E::Click, IDC_UI_NICK_MENU, L"", kInterface, L"EnableNickContextMenu", L"false"},
      {E::Click, IDC_UI_MINIMIZE_ON_EMPTY, L"", kInterface, L"MinimizeOnSendEmptyLine", L"true"},
      {E::Click, IDC_UI_INSTANT_COPY, L"", kInterface, L"LogInstantCopy", L"true"},
      {E::Click, IDC_UI_PROMPT_ON_KICK, L"", kInterface, L"PromptOnKick", L"false"},
      // No rule here: the kick message stays editable.
      {E::Type, IDC_UI_KICK_MESSAGE, L"Bye now", kInterface, L"KickMessage", L"Bye now"},
      {E::Click, IDC_UI_IME_ON_INIT, L"", kInterface, L"EnableIMEOnInit", L"true"},
      {E::Click, IDC_UI_CONNECT_ON_DBLCLK, L"", kInterface, L"ConnectOnDoubleClick", L"true"},
      {E::Click, IDC_UI_DISCONNECT_ON_DBLCLK, L"", kInterface, L"DisconnectOnDoubleClick", L"true"},
      {E::Click, IDC_UI_JOIN_ON_DBLCLK, L"", kInterface, L"JoinOnDoubleClick", L"false"},
      {E::Click, IDC_UI_PART_ON_DBLCLK, L"", kInterface, L"PartOnDoubleClick", L"true"}}},
    {"Detail",
     PageOf<&TPreferenceDialog::detailPage>,
     {{E::Type, IDC_DETAIL_PONG_TIME, L"5", kDetail, L"AutoPongTime", L"20"},
      {E::Type, IDC_DETAIL_437_INTERVAL, L"2", kDetail, L"Error437RejoinInterval", L"10"},
      {E::Type, IDC_DETAIL_437_COUNT, L"2000001", kDetail, L"Error437RejoinCount", L"1000000"},
      // The golden file ignores CTCP: "answer" is unchecked and its option greyed.
      {E::State, IDC_DETAIL_CTCP_LIMIT, L"off"},
      {E::Click, IDC_DETAIL_ANSWER_CTCP, L"", kDetail, L"IgnoreCtcp", L"false"},
      {E::Click, IDC_DETAIL_CTCP_LIMIT, L"", kDetail, L"EnableCtcpSequenceLimit", L"false"},
      {E::Type, IDC_DETAIL_COMMAND_PREFIX, L"", kDetail, L"CommandPrefix", L""},
      {E::Click, IDC_DETAIL_KANA_FULL, L"", kDetail, L"KanaEncodingMethod", L"0"},
      {E::Click, IDC_DETAIL_AUTO_PONG, L"", kDetail, L"EnableAutoPong", L"false"},
      {E::State, IDC_DETAIL_PONG_TIME_SPIN, L"off"},
      {E::Click, IDC_DETAIL_REJOIN_437, L"", kDetail, L"RejoinOnError437", L"false"},
      {E::State, IDC_DETAIL_437_COUNT, L"off"},
      {E::Click, IDC_DETAIL_ENABLE_COMMAND, L"", kDetail, L"EnableCommand", L"false"},
      {E::State, IDC_DETAIL_COMMAND_PREFIX, L"off"}}},
    {"Window",
     PageOf<&TPreferenceDialog::windowPage>,
     {{E::HotKey, IDC_WIN_HOTKEY, L"LCA", kWindow, L"RestoreHotKeyVCode", L"76"},
      {E::State, IDC_WIN_HOTKEY, L"on", kWindow, L"RestoreHotKeyModifiers", L"6"},
      {E::Click, IDC_WIN_SINGLE_INSTANCE, L"", kWindow, L"ForceSingleApplicationInstance", L"true"},
      {E::Click, IDC_WIN_SNAP, L"", kWindow, L"SnapWindow", L"true"},
      {E::Click, IDC_WIN_HIDE_ALL, L"", kWindow, L"HideAllWindowOnMinimize", L"false"},
      {E::Click, IDC_WIN_SERVER_ALL_LOG, L"", kWindow, L"ServerAllLog", L"false"},
      {E::Click, IDC_WIN_SERVER_UPDATE, L"", kWindow, L"ServerUpdate", L"false"},
      {E::Click, IDC_WIN_SERVER_KEYWORD, L"", kWindow, L"ServerKeyword", L"false"},
      {E::Click, IDC_WIN_TALK_ALL_LOG, L"", kWindow, L"TalkAllLog", L"false"},
      {E::Click, IDC_WIN_TALK_KEYWORD, L"", kWindow, L"TalkKeyword", L"false"},
      {E::Click, IDC_WIN_CHAT_UPDATE, L"", kWindow, L"DCCChatUpdate", L"false"},
      {E::Click, IDC_WIN_HOTKEY_ON, L"", kWindow, L"RestoreOnHotKey", L"false"},
      {E::State, IDC_WIN_HOTKEY, L"off"}}},
    {"TrayIcon",
     PageOf<&TPreferenceDialog::trayIconPage>,
     {{E::State, IDC_TRAY_BALLOON_INACTIVE, L"off"},
      {E::Click, IDC_TRAY_BALLOON, L"", kWindow, L"EnableBaloon", L"true"},
      {E::State, IDC_TRAY_BALLOON_INACTIVE, L"on"},
      {E::Click, IDC_TRAY_BALLOON_INACTIVE, L"", kWindow, L"ShowBalloonOnInactive", L"false"},
      {E::Click, IDC_TRAY_BALLOON_ALL_LOG, L"", kWindow, L"BalloonFollowsAllLog", L"false"},
      {E::Click, IDC_TRAY_BALLOON_NO_NOTICE, L"", kWindow, L"IgnoreNoticeForBalloon", L"false"},
      {E::Click, IDC_TRAY_DOUBLE_CLICK, L"", kWindow, L"RestoreTrayIconOnSingleClick", L"false"},
      {E::Click, IDC_TRAY_ONLY_MINIMIZED, L"", kWindow, L"ShowTrayIconOnMinimized", L"true"},
      {E::Click, IDC_TRAY_HIDE_TASKBAR, L"", kWindow, L"HideWindowOnMinimize", L"true"},
      {E::Click, IDC_TRAY_ENABLE, L"", kWindow, L"EnableTrayIcon", L"false"},
      {E::State, IDC_TRAY_ONLY_MINIMIZED, L"off"},
      {E::State, IDC_TRAY_SINGLE_CLICK, L"off"},
      {E::State, IDC_TRAY_BALLOON, L"off"},
      {E::State, IDC_TRAY_BALLOON_NO_NOTICE, L"off"}}},
    {"UserInfo",
     PageOf<&TPreferenceDialog::userInfoPage>,
     {{E::Click, IDC_USER_WHO_NO_SEND, L"", kUserInfo, L"WhoTiming", L"3"},
      {E::Click, IDC_USER_DETAIL_WHOIS, L"", kUserInfo, L"DetailWhois", L"false"},
      {E::Type, IDC_USER_WHOIS_MAX, L"1000001", kUserInfo, L"WhoisDialogMax", L"1000000"},
      {E::Click, IDC_USER_LIMIT_WHOIS, L"", kUserInfo, L"LimitWhoisDialog", L"false"},
      {E::State, IDC_USER_WHOIS_MAX, L"off"},
      {E::Click, IDC_USER_MASK_NICK, L"", kUserInfo, L"MaskWholeNick", L"true"},
      {E::Click, IDC_USER_MASK_USER, L"", kUserInfo, L"MaskWholeUsername", L"true"},
      {E::Click, IDC_USER_MASK_DIGITS, L"", kUserInfo, L"MaskAllAddressDigits", L"false"},
      {E::Click, IDC_USER_MASK_FIRST, L"", kUserInfo, L"MaskFirstAddressToken", L"true"},
      {E::Click, IDC_USER_AUTO_MASK, L"", kUserInfo, L"AutoMask", L"false"},
      {E::State, IDC_USER_MASK_FIRST, L"off"}}},
    {"Dcc",
     PageOf<&TPreferenceDialog::dccPage>,
     {{E::Click, IDC_DCC_CLOSE_ON_END, L"", kDcc, L"CloseDialogOnEndTransfer", L"1"}}},
    {"DccReceive",
     PageOf<&TPreferenceDialog::dccReceivePage>,
     {{E::Type, IDC_RECV_FOLDER, L""},
      {E::Click, IDC_RECV_NICK_FOLDER, L"", kDcc, L"ReceiveInNickFolder", L"true"},
      {E::Click, IDC_RECV_RESUME, L"", kDcc, L"AutoResume", L"true"},
      {E::Type, IDC_RECV_MAX, L"0", kDcc, L"MaxDCCReceiveConnection", L"1"},
      {E::Click, IDC_RECV_MINIMIZED, L"", kDcc, L"MinimizeDialogOnAutoReceive", L"true"},
      {E::Click, IDC_RECV_BLINK, L"", kDcc, L"BlinkDialogOnReceive", L"false"},
      {E::Click, IDC_RECV_ACTIVATE, L"", kDcc, L"ActivateDialogOnReceive", L"true"},
      {E::State, IDC_RECV_BLINK, L"off"},
      {E::State, IDC_RECV_MINIMIZED, L"off"},
      {E::Click, IDC_RECV_TO_DIALOG, L""},
      {E::State, IDC_RECV_RESUME, L"off"},
      {E::Click, IDC_RECV_LIMIT, L"", kDcc, L"EnableMaxDCCReceiveConnection", L"false"},
      {E::State, IDC_RECV_MAX_SPIN, L"off"},
      {E::Click, IDC_RECV_SHOW_DIALOG, L"", kDcc, L"ViewDialogOnReceive", L"false"},
      {E::Click, IDC_RECV_NOTHING, L"", kDcc, L"DCCReceiveAction", L"0"},
      {E::State, IDC_RECV_FOLDER, L"off"},
      {E::State, IDC_RECV_ACTIVATE, L"off"}},
     // An emptied save location is the desktop.
     kDcc,
     L"DCCRootDir",
     GetDefaultDCCFolder},
    // A range typed backwards is its first port.
    {"DccSend",
     PageOf<&TPreferenceDialog::dccSendPage>,
     {{E::Type, IDC_SEND_PORT_FIRST, L"2000", kDcc, L"DCCReceivePortStart", L"2000"},
      {E::Type, IDC_SEND_PORT_LAST, L"1000", kDcc, L"DCCReceivePortEnd", L"2000"},
      {E::Click, IDC_SEND_SHOW_DIALOG, L"", kDcc, L"ViewDialogOnSend", L"false"},
      {E::Click, IDC_SEND_INSTANT, L"", kDcc, L"InstantSend", L"true"},
      {E::Type, IDC_SEND_MAX, L"0", kDcc, L"MaxDCCSendConnection", L"1"},
      {E::Click, IDC_SEND_LIMIT, L"", kDcc, L"EnableMaxDCCSendConnection", L"false"},
      {E::State, IDC_SEND_MAX, L"on"},
      {E::State, IDC_SEND_SPEED, L"off"},
      {E::Click, IDC_SEND_LIMIT_SPEED, L"", kDcc, L"EnableMaxOutgoingBandwidth", L"true"},
      {E::Type, IDC_SEND_SPEED, L"2000000", kDcc, L"MaxOutgoingBandwidth", L"1000000"},
      {E::Click, IDC_SEND_BUFFER_ON, L"", kDcc, L"EnableSendBufferSize", L"true"},
      {E::Type, IDC_SEND_BUFFER, L"1000", kDcc, L"SendBufferSize", L"512"},
      {E::Click, IDC_SEND_EXTENDED, L"", kDcc, L"ExtendedDCCProtocol", L"true"}}},
    {"DccChat",
     PageOf<&TPreferenceDialog::dccChatPage>,
     {{E::Type, IDC_CHAT_PORT_FIRST, L"3000", kDcc, L"DCCChatPortStart", L"3000"},
      {E::Type, IDC_CHAT_PORT_LAST, L"2999", kDcc, L"DCCChatPortEnd", L"3000"},
      {E::Click, IDC_CHAT_FRONT, L"", kDcc, L"ActivateDCCChatDialog", L"false"},
      {E::Type, IDC_CHAT_MAX, L"7", kDcc, L"MaxDCCChatRequestDialog", L"7"},
      {E::Click, IDC_CHAT_LIMIT, L"", kDcc, L"EnableMaxDCCChatRequestDialog", L"false"},
      {E::State, IDC_CHAT_MAX, L"off"},
      {E::State, IDC_CHAT_SELECT_STARTED, L"off"},
      {E::Click, IDC_CHAT_AUTO, L"", kDcc, L"DCCChatAction", L"2"},
      {E::State, IDC_CHAT_SELECT_STARTED, L"on"},
      {E::State, IDC_CHAT_LIMIT, L"off"},
      {E::Click, IDC_CHAT_SELECT_STARTED, L"", kDcc, L"SelectOnAutoAcceptChat", L"true"},
      {E::Click, IDC_CHAT_ADAPTIVE, L"", kDcc, L"DCCChatAdaptiveEncodingSelection", L"1"}}},
    {"Sound",
     PageOf<&TPreferenceDialog::soundPage>,
     {{E::Select, IDC_SOUND_LIST, L"0"},
      {E::State, IDC_SOUND_PLAY, L"off"},
      {E::State, IDC_SOUND_CHANGE, L"on"},
      {E::Select, IDC_SOUND_LIST, L"5"},
      {E::State, IDC_SOUND_PLAY, L"on"},
      // Row 5 is the keyword: its box cleared keeps its file.
      {E::Row, IDC_SOUND_LIST, L"5", kSound, L"EnableKeywordSound", L"false"},
      {E::State, IDC_SOUND_LIST, L"on", kSound, L"KeywordSoundFile", L"C:\\Sounds\\ding.wav"},
      {E::Row, IDC_SOUND_LIST, L"2", kSound, L"EnableChannelMessageSound", L"true"},
      {E::Row, IDC_SOUND_LIST, L"10", kSound, L"EnableDCCReceiveSound", L"true"},
      {E::Row, IDC_SOUND_LIST, L"11", kSound, L"EnableDCCReceiveCompleteSound", L"true"},
      {E::Click, IDC_SOUND_MUTE_ON_AWAY, L"", kSound, L"MuteOnAway", L"false"}}},
    {"Log",
     PageOf<&TPreferenceDialog::logPage>,
     {{E::Type, IDC_LOG_FOLDER, L""},
      {E::Click, IDC_LOG_UNIT, L"", kLog, L"EnableUnitLog", L"true"},
      {E::Type, IDC_LOG_UNIT_FILE, L"S\\%s.txt", kLog, L"UnitLogFile", L"S\\%s.txt"},
      {E::Click, IDC_LOG_CHANNEL, L"", kLog, L"EnableChannelLog", L"false"},
      {E::Type, IDC_LOG_CHANNEL_FILE, L"%c.txt", kLog, L"ChannelLogFile", L"%c.txt"},
      {E::Click, IDC_LOG_TALK, L"", kLog, L"EnableTalkLog", L"true"},
      {E::Click, IDC_LOG_DCC_CHAT, L"", kLog, L"EnableDCCChatLog", L"true"},
      {E::Click, IDC_LOG_URL, L"", kLog, L"EnableURLLog", L"true"},
      {E::Type, IDC_LOG_URL_FILE, L"U\\%y.txt", kLog, L"URLLogFile", L"U\\%y.txt"},
      {E::State, IDC_LOG_FLUSH_TIME, L"off"},
      {E::Click, IDC_LOG_FLUSH, L"", kLog, L"ForceFlushLog", L"true"},
      {E::Type, IDC_LOG_FLUSH_TIME, L"5", kLog, L"FlushLogTime", L"10"},
      {E::Down, IDC_LOG_ENCODING, L"2", kLog, L"LogCodepage", L"28605"}},
     // An emptied folder is the default log folder, never empty.
     kLog,
     L"LogRootDir",
     GetDefaultLogFolder},
    {"Keyword",
     PageOf<&TPreferenceDialog::keywordPage>,
     {// Enter in the lists breaks the line and does not confirm the window.
      {E::Type, IDC_KEY_LIKE, L"zeta\n\nAlpha\nbeta\nZulu", kKeyword, L"Like.Count", L"4"},
      {E::State, IDC_KEY_LIKE, L"on", kKeyword, L"Like.00.Pattern", L"Alpha"},
      {E::State, IDC_KEY_LIKE, L"on", kKeyword, L"Like.01.Pattern", L"Zulu"},
      {E::State, IDC_KEY_LIKE, L"on", kKeyword, L"Like.02.Pattern", L"beta"},
      {E::State, IDC_KEY_LIKE, L"on", kKeyword, L"Like.03.Pattern", L"zeta"},
      {E::Type, IDC_KEY_DISLIKE, L"\n\n", kKeyword, L"Dislike.Count", L"0"},
      {E::Click, IDC_KEY_CASE, L"", kKeyword, L"Case", L"true"},
      {E::Click, IDC_KEY_BLINK, L"", kKeyword, L"BlinkTitleOnKeyword", L"false"},
      {E::Click, IDC_KEY_WORDS, L"", kKeyword, L"ExactWordMatch", L"true"},
      {E::State, IDC_KEY_DISLIKE, L"off"}}},
    {"KeywordDetail",
     PageOf<&TPreferenceDialog::keywordDetailPage>,
     {{E::Click, IDC_KEYD_WHOLE_LINE, L"", kKeyword, L"WholeLine", L"true"},
      {E::Click, IDC_KEYD_IGNORE_NOTICE, L"", kKeyword, L"IgnoreNotice", L"false"},
      {E::Click, IDC_KEYD_IGNORE_URL, L"", kKeyword, L"IgnoreURL", L"false"},
      {E::Click, IDC_KEYD_GROUP1, L"", kKeyword, L"EnableGroup1", L"false"},
      {E::Click, IDC_KEYD_GROUP3, L"", kKeyword, L"EnableGroup3", L"false"},
      {E::Click, IDC_KEYD_NORMAL, L"", kKeyword, L"EnableNormal", L"false"}}},
    {"Action",
     PageOf<&TPreferenceDialog::actionPage>,
     {{E::Click, IDC_ACT_NICK_ASK, L"", kAction, L"NickPolicy", L"2"},
      // The golden file's method 2 is the second button, "new window".
      {E::State, IDC_ACT_APPLICATION, L"off"},
      {E::Click, IDC_ACT_URL_APPLICATION, L"", kAction, L"URLOpenMethod", L"1"},
      {E::State, IDC_ACT_BROWSE, L"on"},
      {E::Type, IDC_ACT_APPLICATION, L"D:\\Web\\open.exe", kAction, L"URLOpenApplication", L"D:\\Web\\open.exe"},
      {E::Click, IDC_ACT_REJOIN_FOR_OP, L"", kAction, L"RejoinToRecoverOp", L"true"},
      {E::Click, IDC_ACT_AUTO_OP_ON_OP, L"", kAction, L"EnableAutoOpOnBeingOperator", L"false"},
      {E::Type, IDC_ACT_DELAY_MIN, L"40", kAction, L"AutoOpDelayMin", L"40"},
      {E::Type, IDC_ACT_DELAY_MAX, L"10", kAction, L"AutoOpDelayMax", L"40"},
      {E::Click, IDC_ACT_AUTO_OP_DELAY, L"", kAction, L"EnableAutoOpDelay", L"false"},
      {E::State, IDC_ACT_DELAY_MAX_SPIN, L"off"}}},
    {"ActionLongDelayAndShellChoice",
     PageOf<&TPreferenceDialog::actionPage>,
     {{E::Type, IDC_ACT_DELAY_MAX, L"5000", kAction, L"AutoOpDelayMax", L"3600"},
      {E::Click, IDC_ACT_URL_SHELL, L"", kAction, L"URLOpenMethod", L"0"}}},
    {"ActionDetail",
     PageOf<&TPreferenceDialog::actionDetailPage>,
     {{E::Click, IDC_ACTD_UNAWAY, L"", kAction, L"UnawayOnSendTalk", L"false"},
      {E::Click, IDC_ACTD_VIEW_BOTTOM, L"", kAction, L"ViewBottomOnSelect", L"true"},
      {E::Click, IDC_ACTD_ALL_LOG, L"", kAction, L"PrintAllLogToConsole", L"true"},
      {E::Click, IDC_ACTD_NO_REPLY_URL, L"", kAction, L"IgnoreURLInConsoleReply", L"false"},
      {E::Click, IDC_ACTD_MY_URL, L"", kAction, L"RecordUrlInMyMessage", L"true"},
      {E::Click, IDC_ACTD_AUTO_CLIP, L"", kAction, L"AutoClipUrl", L"true"}}},
    {"Event",
     PageOf<&TPreferenceDialog::eventPage>,
     {{E::State, IDC_EVENT_LIMIT_INVITE, L"off"},
      {E::State, IDC_EVENT_INVITE_MAX, L"off"},
      {E::Click, IDC_EVENT_INVITE_DIALOG, L"", kEvent, L"InviteAction", L"1"},
      {E::State, IDC_EVENT_INVITE_FRONT, L"on"},
      {E::Type, IDC_EVENT_INVITE_MAX, L"1000001", kEvent, L"InviteDialogMax", L"1000000"},
      {E::Click, IDC_EVENT_INVITE_FRONT, L"", kEvent, L"ActivateInviteDialog", L"false"},
      {E::Click, IDC_EVENT_LIMIT_INVITE, L"", kEvent, L"LimitInviteDialog", L"false"},
      {E::State, IDC_EVENT_INVITE_MAX_SPIN, L"off"},
      {E::Click, IDC_EVENT_FOCUS_TALK, L"", kEvent, L"FocusOnTalk", L"true"},
      {E::Click, IDC_EVENT_REGISTER_TALK, L"", kEvent, L"RegisterOnTalk", L"false"},
      {E::State, IDC_EVENT_FOCUS_TALK, L"off"},
      {E::State, IDC_EVENT_IGNORE_NOTICE, L"off"},
      {E::Click, IDC_EVENT_FOCUS_JOIN, L"", kEvent, L"FocusOnJoin", L"true"},
      {E::State, IDC_EVENT_FIRST_CHANNEL, L"off"},
      {E::Click, IDC_EVENT_REJOIN_ON_KICK, L"", kEvent, L"RejoinOnKick", L"true"},
      {E::Click, IDC_EVENT_FLASH_TITLE, L"", kEvent, L"FlashTitleOnUpdate", L"true"},
      {E::Click, IDC_EVENT_EXPAND_TREE, L"", kEvent, L"ExpandTreeOnLogOn", L"false"}}},
};

} // namespace

TEST_P(PreferencePageTable, EditsAreStored)
{
    const TPageTable& table = GetParam();
    Open();
    ASSERT_TRUE(dialog);
    const std::wstring screenshot = L"pref-" + std::wstring(table.name, table.name + strlen(table.name)) + L".png";
    RunEdits(table.page(*dialog), table.edits, screenshot.c_str());
    if (table.folderDefault) {
        EXPECT_EQ(std::wstring(table.folderDefault()), Stored(table.folderSection, table.folderKey));
    }
}

INSTANTIATE_TEST_SUITE_P(Preferences, PreferencePageTable, ::testing::ValuesIn(kPages), PageTableName);

TEST_F(PreferencePagesTest, DccReceiveDetailPage)
{
    // "Do nothing" on the receive page greys the details at once, before anything is confirmed.
    ASSERT_TRUE(OpenOn(&TPreferenceDialog::dccReceivePage));
    Apply({E::Click, IDC_RECV_NOTHING, L""});
    ShowPage(&dialog->dccReceiveDetailPage);
    EXPECT_FALSE(Enabled(&dialog->dccReceiveDetailPage, IDC_RECVD_ON_RESUME_FAIL));
    EXPECT_FALSE(Enabled(&dialog->dccReceiveDetailPage, IDC_RECVD_GROUP3));
    ShowPage(&dialog->dccReceivePage);
    Apply({E::Click, IDC_RECV_TO_DIALOG, L""});
    ShowPage(&dialog->dccReceiveDetailPage);
    EXPECT_TRUE(Enabled(&dialog->dccReceiveDetailPage, IDC_RECVD_ON_RESUME_FAIL));
    EXPECT_FALSE(Enabled(&dialog->dccReceiveDetailPage, IDC_RECVD_GROUP3));
    ShowPage(&dialog->dccReceivePage);
    Apply({E::Click, IDC_RECV_AUTO, L""});
    RunEdits(&dialog->dccReceiveDetailPage,
             {
                 {E::Type, IDC_RECVD_WAIT, L"1", kDcc, L"ReceiveOnResumeFailTime", L"3"},
                 {E::Click, IDC_RECVD_HIDDEN, L"", kDcc, L"HideFileInReceiving", L"false"},
                 {E::Click, IDC_RECVD_SELF, L"", kDcc, L"AutoReceiveSelf", L"false"},
                 {E::Click, IDC_RECVD_GROUP1, L"", kDcc, L"AutoReceiveGroup1", L"false"},
                 {E::Click, IDC_RECVD_GROUP5, L"", kDcc, L"AutoReceiveGroup5", L"false"},
                 {E::Click, IDC_RECVD_NORMAL, L"", kDcc, L"AutoReceiveNormal", L"false"},
                 {E::Click, IDC_RECVD_ON_RESUME_FAIL, L"", kDcc, L"ReceiveOnResumeFail", L"false"},
                 {E::State, IDC_RECVD_WAIT, L"off"},
             },
             L"pref-dcc-receive-detail.png");
    EXPECT_EQ(L"2", Stored(kDcc, L"DCCReceiveAction"));
}
