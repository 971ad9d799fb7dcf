#pragma once
// One log line as producers hand it to a log, the runs and ranges of a composed line, and the
// event kinds with the line types (fonts) they are shown in.

#include "classlib/String.h"

#include <cstdint>

struct TLogLineData {
    CString timeText;
    CString placePrefix;
    CString nickPrefix;
    // May hold IRC control codes and tabs.
    CString body;
    int lineType = 0;
    int nickStyle = 0;
    CString nick;
    // Handed back when the line is double-clicked.
    CString eventData;
    // Set by the log that receives the line.
    int lineNumber = 0;
    // Carried for the producer (the engine names the line's unit and channel here), never read.
    intptr_t unitTag = 0;
    intptr_t channelTag = 0;
};

// Indexes are UTF-16 positions in the composed text; end is exclusive.
struct TLogRange {
    int start = 0;
    int end = 0;
};

enum TLogRunKind {
    RUN_TEXT = 0,
    RUN_TIME = 1,
    RUN_NICK = 2,
    RUN_PLACE = 3,
    RUN_URL = 4,
    RUN_ADDRESS = 5,
    RUN_KEYWORD = 6,
};

enum TLogStyleFlag {
    STYLE_BOLD = 0x01,
    STYLE_UNDERLINE = 0x02,
    STYLE_REVERSE = 0x20,
    STYLE_FOREGROUND = 0x40,
    STYLE_BACKGROUND = 0x80,
};

struct TLogRun {
    int start = 0;
    int end = 0;
    int kind = RUN_TEXT;
    unsigned char flags = 0;
    unsigned char foreground = 0;
    unsigned char background = 0;
};

// Line types 0 to 19 select the line font; only the first three are checked for keywords.
enum TLogLineType {
    LINE_MESSAGE = 0,
    LINE_NOTICE = 1,
    LINE_ACTION = 2,
    LINE_ERROR = 14,
    LINE_SENT = 18,
    LINE_RECEIVED = 19,
};
const int LOG_LINE_TYPE_COUNT = 20;

enum TLogEventKind {
    EVENT_MESSAGE = 0,
    EVENT_NOTICE = 1,
    EVENT_ACTION = 2,
    EVENT_JOIN = 3,
    EVENT_PART = 4,
    EVENT_NICK = 5,
    EVENT_KILL = 6,
    EVENT_KICK = 7,
    EVENT_MODE = 8,
    EVENT_USER_MODE = 9,
    EVENT_QUIT = 10,
    EVENT_INVITING = 11,
    EVENT_INVITE = 12,
    EVENT_TOPIC = 13,
    EVENT_CTCP_QUERY = 14,
    EVENT_CTCP_REPLY = 15,
    EVENT_DCC_SEND = 16,
    EVENT_DCC_RESUME = 17,
    EVENT_DCC_ACCEPT = 18,
    EVENT_DCC_CHAT = 19,
    EVENT_ERROR = 20,
    EVENT_REPLY = 21,
    EVENT_MODE_REPLY = 22,
    EVENT_TOPIC_REPLY = 23,
    EVENT_NAMES_REPLY = 24,
    EVENT_AWAY_REPLY = 25,
    EVENT_ERROR_REPLY = 26,
    EVENT_STATUS = 27,
    EVENT_SCRIPT = 28,
    EVENT_DCC_SEND_COMPLETE = 29,
    EVENT_DCC_SEND_FAIL = 30,
    EVENT_DCC_RECEIVE_COMPLETE = 31,
    EVENT_DCC_RECEIVE_FAIL = 32,
    EVENT_SENT = 33,
    EVENT_RECEIVED = 34,
};
const int LOG_EVENT_KIND_COUNT = 35;

// Any kind outside the table is shown as a reply (15).
int GetLineTypeOfEvent(int eventKind);
bool IsMessageLineType(int lineType);
