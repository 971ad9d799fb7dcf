// Connect, register with PASS, NICK and USER, and log in: away state, login commands, auto-join.

#include "irc/IRCUnit.h"

#include "foundation/ResourceString.h"
#include "ircproto/IRCNames.h"
#include "res/resource.h"
#include "settings/Preference.h"

namespace {

const int kJoinBytes = 480;

CString JoinWithComma(const CString& list, const CString& item, int count)
{
    return count > 0 ? list + L"," + item : list + item;
}

} // namespace

CString StripHostComment(const CString& host)
{
    int cut = host.FindOneOf(L" (),");
    return cut < 0 ? host : host.Left(cut);
}

void TIRCUnit::Connect()
{
    // A unit on its way out (a script's onDisconnect, a menu or macro) opens no new link: it
    // could log in and be cut without QUIT when the program ends.
    if (connection.IsActive() || session.shutdown)
        return;
    session.currentNick = session.firstNick = session.secondNick = session.wantedNick = settings.Nick;
    // A connection the user starts does not bring back an away state of the last one.
    if (settings.AutoAway)
        session.awayMessage = ExpandText(settings.AwayMessage);
    session.userMode.away = settings.AutoAway;
    session.reconnectArmed = preference->Reconnect;
    session.reconnectAttempts = 0;
    session.reconnectCountdown = 0;
    session.loginTimeoutArmed = preference->RetryOnHalt;
    session.rejoinPending = false;
    session.rejoinList.clear();
    session.delayedConnect = false;
    session.altServerIndex = -1;
    OpenConnection(true);
}

void TIRCUnit::OpenConnection(bool firstAttempt)
{
    TSocksClient& transport = connection.transport;
    transport.useProxy = settings.EnableSocks;
    transport.proxyHost = settings.SocksHostname;
    transport.proxyPort = settings.SocksPort;
    transport.socksVersion = settings.SocksVersion;
    transport.useAuth = settings.EnableSocksAuth;
    // A SOCKS4 user id may hold blanks: only the USER line needs the mended name.
    transport.user = settings.SocksVersion == 4 ? settings.Username : settings.SocksUsername;
    transport.password = settings.SocksPassword;
    if (!transport.client.HasSocket())
        transport.client.useTls = !settings.EnableSocks && settings.UseSSL;
    // Through a proxy, TLS starts on the server's stream once the proxy has connected it.
    transport.tlsAfterProxy = settings.EnableSocks && settings.UseSSL;

    int& index = session.altServerIndex;
    CString host;
    int port;
    if (index >= 0 && index < (int)settings.AltServers.size()) {
        host = StripHostComment(settings.AltServers[index].Hostname);
        port = settings.AltServers[index].Port;
        index++;
    } else {
        host = StripHostComment(settings.Hostname);
        port = settings.Port;
        index = 0;
    }
    if (!transport.active) {
        transport.targetHost = host;
        transport.targetPort = port;
    }
    BeginConnecting(firstAttempt);
    connection.ResetFloodControl();
    transport.Connect();
}

void TIRCUnit::BeginConnecting(bool firstAttempt)
{
    session.state = StateConnecting;
    // The login time-out also covers a connect that never completes.
    if (session.loginTimeoutArmed)
        session.loginCountdown = preference->RetryOnHaltTime;
    const TSocksClient& transport = connection.transport;
    CString host = StripHostComment(transport.targetHost);
    PrintSystemText(nullptr, firstAttempt
                                 ? FormatConnectingMessage(host, transport.targetPort)
                                 : FormatReconnectingMessage(host, transport.targetPort, session.reconnectAttempts));
}

void TIRCUnit::Register()
{
    session.state = StateRegistering;
    RefreshTreeItem(nullptr);
    session.codePage = settings.Codepage;
    PrintSystemText(nullptr, LoadResourceString(IDS_CONNECTED));
    if (session.loginTimeoutArmed)
        session.loginCountdown = preference->RetryOnHaltTime;
    if (!preference->RestoreNickAndAwayOnReconnect)
        session.wantedNick = settings.Nick;
    session.currentNick = session.firstNick = session.wantedNick;
    session.nickRetryCount = 0;
    if (settings.EnablePassword && !settings.Password.IsEmpty())
        SendPassword(settings.Password);
    SendCommand(L"NICK", CString(), session.wantedNick, 0, 0);
    CString text;
    text.Format(L"%s %d * :%s", GetLoginUserName().GetString(), settings.Invisible ? 8 : 0,
                settings.Realname.GetString());
    SendCommand(L"USER", CString(), text, 0, 0);
}

// A blank or a leading colon would end a middle parameter early: the server would check only the
// password's first word, so such a password goes as the trailing parameter.
void TIRCUnit::SendPassword(const CString& password)
{
    if (password.Find(L' ') >= 0 || password[0] == L':')
        SendCommand(L"PASS", CString(), L":" + password, 0, 0);
    else
        SendCommand(L"PASS", password, CString(), 0, 0);
}

// The stored user name; a blank, a control character or an empty name would make the server
// refuse the whole registration, so only those are mended.
CString TIRCUnit::GetLoginUserName() const
{
    CString userName = settings.Username;
    MakeUserNameSendable(userName);
    return userName;
}

void TIRCUnit::OnLoggedIn(const TIRCReceiveMessage& welcome)
{
    if (session.state == StateLoggedIn)
        return;
    session.state = StateLoggedIn;
    session.reconnectAttempts = 0;
    // The last counted attempt switched the reconnect off; the session it opened gets it again,
    // unless the user has already sent QUIT.
    if (!session.quitSent)
        session.reconnectArmed = preference->Reconnect;
    session.joinListTaken = false;
    session.serverName = welcome.prefix;
    session.currentNick = welcome.GetParam(0);
    session.nickRetryCount = 0;
    session.altServerIndex = -1;
    safeJoinManager.Clear();
    PrintSystemText(nullptr, LoadResourceString(IDS_LOGGED_IN));
    RestoreAway();
    // Any step that writes may lose the connection; what follows belongs to a live session only,
    // and the away flag a lost one kept is the next login's.
    if (session.state != StateLoggedIn)
        return;
    // The server's away reply sets the flag again.
    session.userMode = TUserMode();
    ReopenTalks();
    // Emptied before the login commands, whose own JOINs and WHOs belong to this session.
    whoManager.Reset(0);
    for (CString& text : addressTexts)
        text.Empty();
    for (const CString& line : settings.LoginCommands) {
        if (!line.IsEmpty())
            ExecuteCommand(line, 0);
        if (session.state != StateLoggedIn)
            return;
    }
    int joinCount = 0;
    TJoinList list = TakeJoinList(joinCount);
    // Waited for before they go: a link lost before the server has answered them keeps them for
    // the next rejoin.
    for (const auto& entry : list)
        AwaitJoin(IsChannelAlias(entry.first) ? ExpandChannelAlias(entry.first) : entry.first, entry.second);
    AutoJoin(list);
    if (session.state != StateLoggedIn)
        return;
    world->UpdateTitleIfUnitSelected(this);
    // WHOs of the joined channels wait behind the joins themselves; a rejoin does not wait.
    int whoWait = preference->WhoTiming == WhoFast ? 2 : preference->WhoTiming == WhoSlow ? 5 : 0;
    whoManager.SetWait(whoWait * joinCount);
    ResolveOwnAddress();
    if (session.state != StateLoggedIn)
        return;
    if (preference->ExpandTreeOnLogOn)
        world->ExpandUnitItem(this);
    if (preference->EnableLogInSound)
        PlaySoundFile(preference->LogInSoundFile);
    dccManager->OnUnitLoggedIn(this);
    scripts->FireOnConnect();
}

void TIRCUnit::RestoreAway()
{
    bool restore = preference->RestoreNickAndAwayOnReconnect;
    bool away = restore ? session.userMode.away : settings.AutoAway;
    if (away)
        SetAway(true, restore ? session.awayMessage : ExpandText(settings.AwayMessage));
    else
        session.awayMessage.Empty();
}

// A talk of the last session starts again with its peer and the user as members.
void TIRCUnit::ReopenTalks()
{
    for (TIRCChannel* channel : channels) {
        if (channel->GetKind() != TIRCChannel::KindTalk)
            continue;
        channel->OnJoined();
        RefreshTreeItem(channel);
        PrintSystemLine(channel, LoadResourceString(IDS_TALK_STARTED));
        if (!channel->FindMember(channel->GetName()))
            channel->GetMembers().AddMember(TIRCMember(channel->GetName(), CString(), CString()), true);
        if (!channel->FindMember(session.currentNick))
            channel->GetMembers().AddMember(TIRCMember(session.currentNick, session.userName, session.host), true);
    }
}

// The channels of a lost session, with the auto-join ones when forced; else the auto-join ones.
// joinCount tells how many were chosen by the auto-join flags alone (none on a rejoin).
TJoinList TIRCUnit::TakeJoinList(int& joinCount)
{
    TJoinList list;
    session.joinListTaken = true;
    bool rejoin = session.rejoinPending;
    if (rejoin) {
        list = session.rejoinList;
        session.rejoinPending = false;
        session.rejoinList.clear();
        joinCount = 0;
        if (!preference->ForceAutoJoin)
            return list;
    }
    for (TIRCChannel* channel : channels) {
        if (channel->GetKind() != TIRCChannel::KindChannel || !channel->GetConfig().AutoJoin)
            continue;
        bool listed = false;
        for (const auto& entry : list)
            listed = listed || (rejoin && CompareNames(entry.first, channel->GetName()) == 0);
        if (!listed)
            list.emplace_back(channel->GetName(), channel->GetConfig().Password);
    }
    if (!rejoin)
        joinCount = (int)list.size();
    return list;
}

void TIRCUnit::ResolveOwnAddress()
{
    myAddress = TInetAddress();
    switch (addressMethod) {
    case 0:
        resolver.ResolveLocalHost();
        break;
    case 2:
        SendCtcpQuery(session.currentNick, L"GETADDRESS");
        break;
    case 3:
        resolver.SetHostName(preference->IPAddress);
        resolver.Resolve();
        break;
    }
}

bool TIRCUnit::FitsJoinLine(const CString& channelText, const CString& keyText) const
{
    return Encode(channelText + keyText).GetLength() <= kJoinBytes;
}

void TIRCUnit::AutoJoin(const TJoinList& list, bool retry)
{
    CString names, keys;
    int count = 0;
    bool keyedOnly = true;
    for (const auto& entry : list) {
        CString name = IsChannelAlias(entry.first) ? ExpandChannelAlias(entry.first) : entry.first;
        const CString& key = entry.second;
        if (key.IsEmpty()) {
            CString longer = JoinWithComma(names, name, count);
            if (FitsJoinLine(longer, keys)) {
                names = longer;
                count++;
            } else {
                SendJoinLine(names, keys, count, retry);
                names = name;
                keys.Empty();
                count = 1;
            }
            keyedOnly = false;
            continue;
        }
        // Keyed channels go first in a line, so a line that has a keyless one is sent first.
        CString longerNames = JoinWithComma(names, name, count);
        CString longerKeys = JoinWithComma(keys, key, count);
        if (keyedOnly && FitsJoinLine(longerNames, longerKeys)) {
            names = longerNames;
            keys = longerKeys;
            count++;
        } else {
            SendJoinLine(names, keys, count, retry);
            names = name;
            keys = key;
            count = 1;
            keyedOnly = true;
        }
    }
    SendJoinLine(names, keys, count, retry);
}

// A channel too long for any line comes first and alone, and leaves nothing before it to send.
void TIRCUnit::SendJoinLine(const CString& names, const CString& keys, int count, bool retry)
{
    if (count > 0)
        SendJoin(names, keys, retry);
}

void TIRCUnit::SetAway(bool away, const CString& message)
{
    // With a link the flag waits for the server's 305 or 306: an AWAY refused, or lost with the
    // link, leaves the user as the server knows them.
    session.awayMessage = away ? message : CString();
    // Without a link no server answers: the choice is what the next login restores.
    if (!connection.IsActive()) {
        session.userMode.away = away;
        return;
    }
    // AWAY without text would mean coming back.
    SendAway(away ? (message.IsEmpty() ? CString(L"Gone") : message) : CString());
}
