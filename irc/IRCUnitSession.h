#pragma once
// What one connection of a server unit knows: state, server, nicks, reconnect and time-out
// counters. Reset starts from nothing; ResetForDisconnect keeps what the next login reuses.

#include "ircproto/ISupport.h"
#include "ircproto/Modes.h"

#include <utility>
#include <vector>

typedef std::vector<std::pair<CString, CString>> TJoinList; // (channel, key); key empty when none

class TIRCUnitSession {
public:
    TIRCUnitSession() { Reset(); }

    void Reset();
    void ResetForDisconnect();

    int state;
    TISupportInfo capabilities;
    int altServerIndex;
    int codePage;
    CString serverName;
    CString currentNick;
    CString firstNick;
    CString secondNick;
    CString wantedNick;
    int nickRetryCount;
    int altNickIndex;
    CString userName;
    CString host;
    TUserMode userMode;
    CString awayMessage;
    bool replyFlags[5];
    bool reconnectArmed;
    int reconnectAttempts;
    int reconnectCountdown;
    bool loginTimeoutArmed;
    int loginCountdown;
    bool rejoinPending;
    TJoinList rejoinList;
    // Channels whose JOIN went out in this login and has not been answered (joined or refused).
    TJoinList awaitedJoins;
    // The login got as far as choosing its channels; until then a lost link leaves the choice to
    // the next login.
    bool joinListTaken;
    // Channels the user parted in this session; a link lost before the server answered does not
    // bring them back.
    std::vector<CString> partedChannels;
    bool delayedConnect;
    int delayedConnectCountdown;
    bool selectFirstChannel;
    bool shutdown;
    bool quitSent;
    int quitCountdown;
    int keepAliveCount;
    unsigned lastCtcpTime;
};
