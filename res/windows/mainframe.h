#pragma once
// The main window's menus, accelerators and tool bar, and the command ids they carry. The ids are
// fixed: macros, scripts and popup items reach the commands through them.

// Main menu and accelerators share IDR_MAINFRAME (128, res/resource.h); so does the tool bar.
// The tray menu is the tray icon's (res/windows/tray.h).
#define IDR_MEMBER_POPUP 163
// Popups the world opens: the tree where no item is, a talk, the input line, a log view's plain
// text, URLs and addresses. 299 holds a placeholder the user's own items replace.
#define IDR_TREE_POPUP 130
#define IDR_INPUT_POPUP 173
#define IDR_LOG_EDIT_POPUP 174
#define IDR_URL_POPUP 175
#define IDR_ADDRESS_POPUP 176
#define IDR_LOG_POPUP 299
#define IDR_TALK_POPUP 309
#define IDB_MAIN_TOOLBAR 290

// Server menu
#define ID_DELETE_SERVER 32772
#define ID_DELETE_CHANNEL 32777
#define ID_ADD_SERVER 32778
#define ID_ADD_CHANNEL 32779
#define ID_SERVER_PROPERTIES 32781
#define ID_CHANNEL_PROPERTIES 32782
#define ID_CONNECT 32783
#define ID_DISCONNECT 32784
#define ID_PROTOCOL_LOG 32785
#define ID_JOIN 32786
#define ID_PART 32787
#define ID_PREFERENCES 32788
#define ID_CHANGE_NICK 32789
#define ID_MEMBER_TALK 32790
#define ID_USER_INFO 32791
#define ID_CHANNEL_MODE 32792
#define ID_TOPIC 32793
#define ID_INVITE_TO_CHANNEL 32794
#define ID_BAN_LIST 32796
#define ID_BAN_EXCEPTION_LIST 32797
#define ID_INVITE_LIST 32798
#define ID_TOGGLE_AWAY 32799
#define ID_SET_AWAY_MESSAGE 32800
#define ID_COPY_URL 32802
#define ID_OPEN_URL 32803
#define ID_COPY_ADDRESS 32804
#define ID_PASTE_MY_ADDRESS 32805
#define ID_CTCP_PING 32806
#define ID_CTCP_TIME 32807
#define ID_CTCP_VERSION 32808
#define ID_CTCP_USERINFO 32809
#define ID_CTCP_CLIENTINFO 32810
#define ID_GIVE_OP 32811
#define ID_TAKE_OP 32812
#define ID_KICK 32813
#define ID_ADD_BAN 32814
#define ID_GIVE_VOICE 32815
#define ID_TAKE_VOICE 32816
#define ID_DCC_SEND 32817
#define ID_DCC_CHAT 32818
#define ID_COPY_MEMBER_ADDRESS 32819
#define ID_INVITE_MEMBER 32820
#define ID_FIND 32822
#define ID_TOGGLE_MAIN_MENU 32824
#define ID_DCC_WINDOW 32827
#define ID_AUTO_OP 32846
#define ID_AUTO_OP_REGISTER 32847
#define ID_FIND_NEXT 32848
#define ID_FIND_PREVIOUS 32849
#define ID_CHANNEL_AUTO_OP 32850
#define ID_IGNORE_LIST 32851
#define ID_KEYWORD_HISTORY 32852
#define ID_URL_HISTORY 32853
#define ID_EDIT_SERVER_TREE 32854
#define ID_COPY_SERVER 32855
#define ID_USER_GROUPS 32856
#define ID_REGISTER_SELF 32857
#define ID_REGISTER_GROUP1 32858
#define ID_REGISTER_GROUP5 32862
#define ID_BOLD_EFFECT 32863
#define ID_UNDERLINE_EFFECT 32864
#define ID_REVERSE_EFFECT 32865
#define ID_STOP_EFFECT 32866
#define ID_COLOR_EFFECT 32867
#define ID_SERVER_AUTO_OP 32868
#define ID_TOPMOST 32869
#define ID_RESET_MEMBERS 32870
#define ID_MEMBER_INFO 32871
#define ID_CHANNEL_LIST 32872
#define ID_SAVE_LOG 32876
#define ID_PART_PROMPT 32877
#define ID_QUIT_PROMPT 32878
#define ID_TALK 32879
#define ID_MINIMIZE 32880
#define ID_MACRO_SETTINGS 32881
#define ID_REGISTER_IGNORE 32882
#define ID_POPUP_MENU_SETTINGS 32892
#define ID_SEND_MULTI_LINE 32895
#define ID_CLEAR_LOG 32897
#define ID_TOGGLE_TRAY_ICON 32898
#define ID_STOP_MACROS 32899
#define ID_EXIT_FROM_TRAY 32900
#define ID_FORCE_DISCONNECT 32918
#define ID_OPEN_HOME_PAGE 32920
#define ID_HELP_MACRO 32921
#define ID_HELP_INDEX 32922
#define ID_HELP_MAIN_WINDOW 32923
#define ID_HELP_SHORTCUT_KEYS 32924
#define ID_OPEN_URL_NEW_WINDOW 32925
#define ID_REOP_LIST 32926
#define ID_SEND_ACTION 32928
#define ID_WHOIS 32929
#define ID_TOGGLE_BALLOON 32931
#define ID_SCRIPT_CONSOLE 32935
#define ID_SCRIPT_SETTINGS 32936
#define ID_HELP_SCRIPT 32938
#define ID_RESET_SPLITTERS 32940

// User popup-menu items: one id per item, from the first.
#define ID_USER_POPUP_FIRST 45056
#define ID_USER_POPUP_LAST 49151

// The class library's own ids: edit commands, the exit, the tool bar switch, the tray's restore.
#define ID_EDIT_CLEAR 57632
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_SELECT_ALL 57642
#define ID_EDIT_UNDO 57643
#define ID_APP_EXIT 57665
#define ID_VIEW_TOOLBAR 59392
#define ID_RESTORE_FROM_TRAY 61728
