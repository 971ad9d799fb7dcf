#pragma once
// Shared by the received-side sources of the unit: event types of the printed lines and the
// formatter of the unit's log formats.

#include "log/LogFormatter.h"

// Event types of printed lines; each selects a display switch and a line type.
enum TEventType {
    EventPrivmsg = 0,
    EventNotice = 1,
    EventAction = 2,
    EventJoin = 3,
    EventPart = 4,
    EventNick = 5,
    EventKill = 6,
    EventKick = 7,
    EventMode = 8,
    EventUserMode = 9,
    EventQuit = 10,
    EventInviting = 11,
    EventInvite = 12,
    EventTopic = 13,
    EventCtcpQuery = 14,
    EventCtcpReply = 15,
    EventDccSend = 16,
    EventDccResume = 17,
    EventDccAccept = 18,
    EventDccChat = 19,
    EventError = 20,
    EventReply = 21,
    EventModeReply = 22,
    EventTopicReply = 23,
    EventNamesReply = 24,
    EventAwayReply = 25,
};

// The formats the unit was given, or the default ones until it has them.
TLogFormatter MakeLineFormatter(const TLogFormat* format);
