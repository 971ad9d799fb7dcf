#include "tests/irc/IrcTestSupport.h"

#include "foundation/CodePage.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <algorithm>

namespace {

SOCKET ListenOn(int port, int& actualPort)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    BOOL reuse = TRUE;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof(reuse));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons((u_short)port);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(s, 8) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    int length = sizeof(address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    actualPort = ntohs(address.sin_port);
    return s;
}

} // namespace

TUnitRecorder::TUnitRecorder()
{
    context.keyword = &keywords;
    context.addressFinder = &addressFinder;
}

ILogLineSink* TUnitRecorder::GetLogSink(TIRCUnit*, TIRCChannel* channel)
{
    std::unique_ptr<TLogLineStore>& view = views[channel];
    if (!view)
        view = std::make_unique<TLogLineStore>(&context);
    return view.get();
}

void TUnitRecorder::AddLineToAllLog(const TLogLineData& line, bool checkKeywords)
{
    allLogLines.push_back(line);
    allLog.AddLine(line, checkKeywords);
}

void TUnitRecorder::MarkNode(TIRCUnit*, TIRCChannel* channel, TNodeMark mark)
{
    const char* names[] = {"keyword", "newtalk", "update"};
    marks.push_back(std::string(names[mark]) + " " + (channel ? Narrow(channel->GetName()) : "server"));
}

void TUnitRecorder::AddProtocolLine(TIRCUnit*, const CString& text, int direction)
{
    protocol.push_back((direction ? "> " : "< ") + Narrow(text));
}

std::vector<std::string> TUnitRecorder::ViewTexts(TIRCChannel* channel)
{
    std::vector<std::string> texts;
    auto found = views.find(channel);
    if (found != views.end())
        for (int i = 0; i < found->second->GetCount(); i++)
            texts.push_back(Narrow(found->second->GetLine(i).GetText()));
    return texts;
}

std::vector<std::string> TUnitRecorder::AllLogTexts()
{
    std::vector<std::string> texts;
    for (int i = 0; i < allLog.GetCount(); i++)
        texts.push_back(Narrow(allLog.GetLine(i).GetText()));
    return texts;
}

bool TUnitRecorder::ProcessEvent(const TIRCReceiveMessage& message, const CString&)
{
    std::string event = Narrow(message.command.IsEmpty() ? CString(L"?") : message.command);
    for (const CString& param : message.params)
        event += " " + Narrow(param);
    macroEvents.push_back(event);
    return false;
}

void TUnitTest::SetUp()
{
    preference.Load(folder.path);
    // No lookups of the own address behind the tests' backs.
    preference.IPResolveMethod = 1;
    settings.Name = L"testnet";
    settings.Hostname = L"127.0.0.1";
    settings.Nick = L"kvnick";
    settings.Username = L"kvuser";
    settings.Realname = L"Ketroval Test";
}

TIRCUnit& TUnitTest::MakeUnit()
{
    unit = std::make_unique<TIRCUnit>(&recorder, &preference, settings);
    unit->SetScriptEvents(&recorder);
    unit->SetMacroEngine(&recorder);
    return *unit;
}

void TUnitTest::StartOffline()
{
    if (!unit)
        MakeUnit();
    unit->GetConnection().transport.active = true;
    // What Connect sets before the transport is asked to connect.
    TIRCUnitSession& session = unit->GetSession();
    session.currentNick = session.firstNick = session.secondNick = session.wantedNick = settings.Nick;
    session.reconnectArmed = preference.Reconnect;
    session.state = TIRCUnit::StateConnecting;
    unit->OnConnect(&unit->GetConnection());
}

void TUnitTest::WelcomeOffline()
{
    StartOffline();
    Feed(":irc.example 001 kvnick :Welcome");
}

TIRCChannel* TUnitTest::AddChannel(const CString& name, TIRCChannel::TKind kind)
{
    TChannelConfig config;
    config.Name = name;
    return unit->AddChannel(config, kind);
}

void FeedLine(TIRCUnit& unit, const std::string& line)
{
    TIRCReceiveMessageA message;
    message.rawLine = CStringA(line.data(), (int)line.size());
    message.Parse();
    unit.OnReceive(&unit.GetConnection(), &message);
}

void TUnitTest::Feed(const std::string& line) { FeedLine(*unit, line); }

std::vector<std::string> TUnitTest::Queued() { return QueuedLines(unit->GetConnection()); }

std::vector<std::string> QueuedLines(TIRCConnection& connection)
{
    std::vector<std::string> lines;
    auto add = [&lines](TIRCSendMessage message) {
        message.Build();
        lines.emplace_back(message.line.GetString(), message.line.GetLength() - 2);
    };
    if (connection.writing)
        add(connection.current);
    for (const auto* queue : {&connection.high, &connection.normal, &connection.low})
        for (const TIRCSendMessage& message : *queue)
            add(message);
    return lines;
}

std::vector<std::string> TakeQueuedLines(TIRCConnection& connection)
{
    std::vector<std::string> lines = QueuedLines(connection);
    connection.ClearQueues();
    connection.writing = false;
    return lines;
}

std::vector<std::string> TUnitTest::TakeQueued() { return TakeQueuedLines(unit->GetConnection()); }

TLineSocket* TUnitTest::ConnectTo(TScriptedServer& server, bool logIn)
{
    settings.Port = server.Port();
    MakeUnit();
    unit->Connect();
    TLineSocket* peer = server.WaitClient();
    if (!peer || !logIn)
        return peer;
    return WelcomeOn(peer) ? peer : nullptr;
}

bool TUnitTest::WelcomeOn(TLineSocket* peer)
{
    // After the registration lines, so a test that counts lines starts from them.
    if (!peer || !peer->WaitFor("USER "))
        return false;
    peer->Send(":irc.example 001 kvnick :Welcome\r\n");
    return PumpMessagesUntil([&] { return unit->GetState() == TIRCUnit::StateLoggedIn; }, kWaitBoundMs);
}

bool TUnitTest::WaitDisconnected(DWORD timeoutMs)
{
    return PumpMessagesUntil([&] { return unit->GetState() == TIRCUnit::StateDisconnected; }, timeoutMs);
}

bool TUnitTest::ServerLogShows(const char* text)
{
    for (const std::string& line : recorder.ViewTexts(nullptr))
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

bool TUnitTest::HistoryHolds(const char* line)
{
    for (const TIRCSendMessage& message : unit->GetConnection().history)
        if (message.line == line)
            return true;
    return false;
}

bool TUnitTest::SawMacroEvent(const std::string& event, DWORD timeoutMs)
{
    const std::vector<std::string>& events = recorder.macroEvents;
    return PumpMessagesUntil([&] { return std::find(events.begin(), events.end(), event) != events.end(); }, timeoutMs);
}

bool RoundTrip(TIRCUnit& unit, TLineSocket& peer)
{
    static int marks = 0;
    CString mark;
    mark.Format(L"kvmark%d", ++marks);
    unit.SendCommand(L"PING", mark, CString(), 0, 0);
    return peer.WaitFor("PING " + Narrow(mark));
}

TLineSocket::TLineSocket(SOCKET connected) : socket(connected)
{
    thread = std::thread([this] { Read(); });
}

TLineSocket::~TLineSocket()
{
    stopping = true;
    if (thread.joinable())
        thread.join();
    Close();
}

void TLineSocket::Read()
{
    char buffer[65536];
    while (WaitReadable(socket, stopping)) {
        int n = recv(socket, buffer, sizeof(buffer), 0);
        if (n <= 0)
            break;
        std::lock_guard<std::mutex> guard(lock);
        data.append(buffer, n);
    }
    closed = true;
}

void TLineSocket::Send(const std::string& bytes)
{
    for (size_t sent = 0; sent < bytes.size();) {
        int n = send(socket, bytes.data() + sent, (int)(bytes.size() - sent), 0);
        if (n <= 0)
            return;
        sent += n;
    }
}

void TLineSocket::Close()
{
    if (socket == INVALID_SOCKET)
        return;
    shutdown(socket, SD_BOTH);
    Release();
}

void TLineSocket::Reset()
{
    if (socket == INVALID_SOCKET)
        return;
    linger abort = {1, 0};
    setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    Release();
}

void TLineSocket::Release()
{
    stopping = true;
    if (thread.joinable() && std::this_thread::get_id() != thread.get_id())
        thread.join();
    closesocket(socket);
    socket = INVALID_SOCKET;
    closed = true;
}

std::string TLineSocket::Received()
{
    std::lock_guard<std::mutex> guard(lock);
    return data;
}

std::vector<std::string> TLineSocket::Lines()
{
    std::string text = Received();
    std::vector<std::string> lines;
    for (size_t start = 0, lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1) {
        size_t end = lf > start && text[lf - 1] == '\r' ? lf - 1 : lf;
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

std::vector<std::string> TLineSocket::LinesStartingWith(const std::string& head)
{
    std::vector<std::string> lines;
    for (const std::string& line : Lines())
        if (line.rfind(head, 0) == 0)
            lines.push_back(line);
    return lines;
}

bool TLineSocket::WaitFor(const std::string& text, DWORD timeoutMs)
{
    return PumpMessagesUntil(
        [&] {
            for (const std::string& line : Lines())
                if (line.find(text) != std::string::npos)
                    return true;
            return false;
        },
        timeoutMs);
}

TScriptedServer::TScriptedServer(int wantedPort) : port(wantedPort) { Listen(); }

TScriptedServer::~TScriptedServer() { Kill(); }

bool TScriptedServer::Listen()
{
    listener = ListenOn(port, port);
    if (listener == INVALID_SOCKET)
        return false;
    stopping = false;
    thread = std::thread([this] { AcceptLoop(); });
    return true;
}

void TScriptedServer::AcceptLoop()
{
    while (WaitReadable(listener, stopping)) {
        SOCKET s = accept(listener, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            return;
        std::lock_guard<std::mutex> guard(lock);
        clients.push_back(std::make_unique<TLineSocket>(s));
    }
}

void TScriptedServer::Kill()
{
    stopping = true;
    if (thread.joinable())
        thread.join();
    if (listener != INVALID_SOCKET)
        closesocket(listener);
    listener = INVALID_SOCKET;
    std::lock_guard<std::mutex> guard(lock);
    for (auto& client : clients)
        client->Close();
}

TLineSocket* TickToReconnect(TIRCUnit& unit, TScriptedServer& server, int count)
{
    for (int tick = 0; tick < 600 && unit.GetState() == TIRCUnit::StateDisconnected; tick++)
        unit.Tick();
    return server.WaitClient(count);
}

int TScriptedServer::Accepted()
{
    std::lock_guard<std::mutex> guard(lock);
    return (int)clients.size();
}

TLineSocket* TScriptedServer::WaitClient(int count, DWORD timeoutMs)
{
    if (!PumpMessagesUntil([&] { return Accepted() >= count; }, timeoutMs))
        return nullptr;
    std::lock_guard<std::mutex> guard(lock);
    return clients[count - 1].get();
}

namespace {

SOCKET ConnectLoopback(int port, const char* host = "127.0.0.1")
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr(host);
    address.sin_port = htons((u_short)port);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

// Bytes one way until either side closes; then both ends are shut so the other pump ends too.
void Pump(SOCKET from, SOCKET to, const std::atomic<bool>& dropped)
{
    char buffer[4096];
    while (WaitReadable(from, dropped)) {
        int count = recv(from, buffer, sizeof buffer, 0);
        if (count <= 0 || send(to, buffer, count, 0) != count)
            break;
    }
    shutdown(from, SD_BOTH);
    shutdown(to, SD_BOTH);
}

} // namespace

TServerRelay::TServerRelay(int target) : targetPort(target)
{
    listener = ListenOn(0, port);
    if (listener != INVALID_SOCKET)
        thread = std::thread([this] { AcceptLoop(); });
}

TServerRelay::~TServerRelay()
{
    stopping = true;
    if (thread.joinable())
        thread.join();
    if (listener != INVALID_SOCKET)
        closesocket(listener);
    DropAll();
}

void TServerRelay::AcceptLoop()
{
    while (WaitReadable(listener, stopping)) {
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        SOCKET server = ConnectLoopback(targetPort);
        if (server == INVALID_SOCKET) {
            closesocket(client);
            continue;
        }
        auto pair = std::make_unique<TPair>();
        pair->client = client;
        pair->server = server;
        TPair* started = pair.get();
        pair->up = std::thread([started] { Pump(started->client, started->server, started->dropped); });
        pair->down = std::thread([started] { Pump(started->server, started->client, started->dropped); });
        std::lock_guard<std::mutex> guard(lock);
        pairs.push_back(std::move(pair));
    }
}

void TServerRelay::DropAll()
{
    std::lock_guard<std::mutex> guard(lock);
    for (auto& pair : pairs) {
        pair->dropped = true;
        shutdown(pair->client, SD_BOTH);
        shutdown(pair->server, SD_BOTH);
        pair->up.join();
        pair->down.join();
        closesocket(pair->client);
        closesocket(pair->server);
    }
    pairs.clear();
}

std::unique_ptr<TLineSocket> ConnectLineSocket(int port, const char* host)
{
    SOCKET s = ConnectLoopback(port, host);
    return s == INVALID_SOCKET ? nullptr : std::make_unique<TLineSocket>(s);
}

std::unique_ptr<TLineSocket> ConnectIrcClient(int port, const std::string& nick, const char* host)
{
    std::unique_ptr<TLineSocket> client = ConnectLineSocket(port, host);
    if (!client)
        return nullptr;
    client->Send("NICK " + nick + "\r\nUSER " + nick + " 0 * :second client\r\n");
    if (!client->WaitFor(" 001 " + nick))
        return nullptr;
    return client;
}
