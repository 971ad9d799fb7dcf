#include "irc/IRCUnitSession.h"

void TIRCUnitSession::Reset()
{
    state = 0;
    capabilities.Reset();
    altServerIndex = -1;
    codePage = 0;
    serverName.Empty();
    currentNick.Empty();
    firstNick.Empty();
    secondNick.Empty();
    wantedNick.Empty();
    nickRetryCount = 0;
    altNickIndex = -1;
    userName.Empty();
    host.Empty();
    userMode = TUserMode();
    awayMessage.Empty();
    for (bool& flag : replyFlags)
        flag = false;
    reconnectArmed = false;
    reconnectAttempts = 0;
    reconnectCountdown = 0;
    loginTimeoutArmed = false;
    loginCountdown = 0;
    rejoinPending = false;
    rejoinList.clear();
    awaitedJoins.clear();
    joinListTaken = false;
    partedChannels.clear();
    delayedConnect = false;
    delayedConnectCountdown = 0;
    selectFirstChannel = false;
    shutdown = false;
    quitSent = false;
    quitCountdown = 0;
    keepAliveCount = 0;
    lastCtcpTime = 0;
}

void TIRCUnitSession::ResetForDisconnect()
{
    state = 0;
    capabilities.Reset();
    serverName.Empty();
    userName.Empty();
    host.Empty();
    nickRetryCount = 0;
    altNickIndex = -1;
    for (bool& flag : replyFlags)
        flag = false;
    quitSent = false;
    selectFirstChannel = false;
    quitCountdown = 0;
    keepAliveCount = 0;
    lastCtcpTime = 0;
}
