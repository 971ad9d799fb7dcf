// The per-second tick: reconnect countdown, delayed connect, login time-out, QUIT wait,
// keep-alive and log flushing.

#include "irc/IRCUnit.h"

#include "settings/Preference.h"


void TIRCUnit::Tick()
{
    switch (session.state) {
    case StateDisconnected:
        TickDisconnected();
        break;
    // A connect that never completes would hang the unit: the time-out counts from the request.
    case StateConnecting:
    case StateRegistering:
        TickRegistering();
        break;
    }
    if (session.state == StateLoggedIn) {
        whoManager.Tick(true);
        if (preference->RejoinOnError437)
            rejoinManager.Tick();
    }
    TickQuitWait();
    TickKeepAlive();
    FlushLogs();
}

void TIRCUnit::ScheduleConnect(int seconds)
{
    session.delayedConnect = true;
    session.delayedConnectCountdown = seconds;
}

void TIRCUnit::TickDisconnected()
{
    if (session.reconnectArmed) {
        if (session.reconnectCountdown > 0)
            session.reconnectCountdown--;
        if (session.reconnectCountdown <= 0) {
            session.reconnectAttempts++;
            if (preference->ReconnectCount > 0 && session.reconnectAttempts >= preference->ReconnectCount)
                session.reconnectArmed = false;
            OpenConnection(false);
            return;
        }
    }
    if (session.delayedConnect && session.delayedConnectCountdown > 0 && --session.delayedConnectCountdown == 0) {
        session.delayedConnect = false;
        Connect();
    }
}

void TIRCUnit::TickRegistering()
{
    if (!session.loginTimeoutArmed)
        return;
    if (session.loginCountdown > 0)
        session.loginCountdown--;
    if (session.loginCountdown > 0 || !connection.IsActive())
        return;
    connection.Close();
    Disconnect(false, true);
    session.delayedConnect = false;
}

void TIRCUnit::TickQuitWait()
{
    if (!session.quitSent || --session.quitCountdown >= 0)
        return;
    session.altServerIndex = -1;
    if (connection.transport.client.connected || session.state == StateConnecting) {
        connection.Close();
        Disconnect(true, false);
        session.delayedConnect = false;
    }
    // Whatever ended the wait, it is over.
    session.quitSent = false;
}

void TIRCUnit::TickKeepAlive()
{
    if (session.state != StateLoggedIn || !preference->EnableAutoPong)
        return;
    if (++session.keepAliveCount >= preference->AutoPongTime) {
        SendPong(session.serverName);
        session.keepAliveCount = 0;
    }
}
