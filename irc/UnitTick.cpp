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
    // Queued auto-ops count their delay down here; a send may end the session.
    for (TIRCChannel* channel : std::vector<TIRCChannel*>(channels))
        if (HasChannel(channel))
            channel->ProcessAutoOpQueue(true);
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
    if (connection.transport.client.IsConnected() || session.state == StateConnecting)
        CloseAtOnce();
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

void TIRCUnit::ApplyPreferences()
{
    // The server's node follows the window page's switches at once, as talks and DCC chats do.
    settings.Update = preference->ServerUpdate;
    settings.Console = preference->ServerAllLog;
    settings.Keyword = preference->ServerKeyword;
    // A unit on its way out keeps its logs closed whatever the switches say.
    if (session.shutdown)
        return;
    if (preference->EnableUnitLog != serverLog.enabled)
        serverLog.Enable(preference->EnableUnitLog);
    serverLog.ReopenIfNameChanged();
    ApplyAddressMethod();
    // A QUIT the server has not answered yet stays the end of the session.
    if (session.state == StateLoggedIn && !session.quitSent)
        session.reconnectArmed = preference->Reconnect;
    if (!preference->RejoinOnError437)
        rejoinManager.ClearPending();
    for (TIRCChannel* channel : channels)
        channel->ApplyPreferences();
}

void TIRCUnit::ApplyAddressMethod()
{
    if (preference->IPResolveMethod == addressMethod) {
        if (addressMethod == 3 && resolver.GetHostName() != preference->IPAddress) {
            myAddress = TInetAddress();
            resolver.SetHostName(preference->IPAddress);
            resolver.Resolve();
        }
        return;
    }
    myAddress = TInetAddress();
    addressMethod = preference->IPResolveMethod;
    const CString* host = nullptr;
    switch (addressMethod) {
    case 0:
        resolver.ResolveLocalHost();
        return;
    case 1:
        host = &addressTexts[0];
        break;
    case 2:
        host = &addressTexts[1];
        // No reply yet: asking oneself brings one.
        if (host->IsEmpty())
            SendCtcpQuery(session.currentNick, L"GETADDRESS");
        break;
    case 3:
        host = &preference->IPAddress;
        break;
    }
    if (host && !host->IsEmpty()) {
        resolver.SetHostName(*host);
        resolver.Resolve();
    }
}
