#include "dcc/DCCSendItem.h"

#include "foundation/ResourceString.h"
#include "res/strings/dcc.h"

#include <algorithm>

namespace {

CString NamePart(const CString& path)
{
    int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    return path.Mid(slash + 1);
}

} // namespace

TDCCSendItem::TDCCSendItem(IDCCSendItemListener* listener, TIRCUnit* unit, const CString& nick, const CString& path)
    : listener(listener), unit(unit), nick(nick), path(path), fileName(NamePart(path))
{
    server.listener = this;
    server.reuseAddress = true;
    timer.SetListener(this);
}

TDCCSendItem::~TDCCSendItem()
{
    server.listener = nullptr;
    CloseAll();
    timer.Stop();
}

void TDCCSendItem::CloseAll()
{
    server.Close();
    while (!server.clients.empty())
        server.DeleteClient((int)server.clients.size() - 1);
    connectionIndex = -1;
    file.Close();
}

TTCPClient* TDCCSendItem::GetConnection() const
{
    if (connectionIndex < 0 || connectionIndex >= (int)server.clients.size())
        return nullptr;
    return server.clients[connectionIndex];
}

void TDCCSendItem::Start()
{
    if (state != DCC_STATE_WAITING && state != DCC_STATE_ERROR && state != DCC_STATE_ABORTED &&
        state != DCC_STATE_QUEUED)
        return;
    CloseAll();
    address = TInetAddress();
    size = position = sentBytes = secondBytes = 0;
    if (!file.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL)) {
        FailAndReport(LoadResourceString(IDS_DCC_CANNOT_OPEN_FILE));
        return;
    }
    LARGE_INTEGER length = {};
    if (!GetFileSizeEx(file.handle, &length) || length.QuadPart < 0) {
        FailAndReport(LoadResourceString(IDS_DCC_CANNOT_OPEN_FILE));
        return;
    }
    size = length.QuadPart;
    state = DCC_STATE_CONNECTING;
    firstPort = -1;
    int port = listener->GetSendPort(this);
    if (port < 0) {
        FailAndReport(LoadResourceString(IDS_DCC_NO_FREE_PORT));
        return;
    }
    firstPort = port;
    OpenServer(port);
}

void TDCCSendItem::OpenServer(int port)
{
    nextPort = port;
    if (opening)
        return;
    opening = true;
    while (nextPort >= 0) {
        if (!server.listening)
            server.port = nextPort;
        nextPort = -1;
        server.Open();
    }
    opening = false;
}

void TDCCSendItem::Stop()
{
    if (state != DCC_STATE_QUEUED && !IsDCCStateActive(state))
        return;
    state = DCC_STATE_ABORTED;
    CloseAll();
}

void TDCCSendItem::Queue()
{
    if (state == DCC_STATE_WAITING || state == DCC_STATE_ERROR || state == DCC_STATE_ABORTED)
        state = DCC_STATE_QUEUED;
}

bool TDCCSendItem::SetResumePosition(long long newPosition)
{
    if (state != DCC_STATE_RESUMING || !file.IsOpen() || !IsDCCResumePosition(newPosition, size))
        return false;
    LARGE_INTEGER distance = {};
    distance.QuadPart = newPosition;
    if (!SetFilePointerEx(file.handle, distance, nullptr, FILE_BEGIN))
        return false;
    position = newPosition;
    return true;
}

void TDCCSendItem::SetFilePath(const CString& newPath)
{
    if (state != DCC_STATE_WAITING && state != DCC_STATE_ERROR && state != DCC_STATE_ABORTED &&
        state != DCC_STATE_QUEUED)
        return;
    path = newPath;
    fileName = NamePart(newPath);
    listener->OnSendItemChanged(this);
}

void TDCCSendItem::SetNick(const CString& newNick)
{
    if (state != DCC_STATE_COMPLETE)
        nick = newNick;
}

int TDCCSendItem::GetRemainingSeconds() const
{
    return TDCCSpeedSamples::GetRemainingSeconds(size - position, GetSpeed());
}

CString TDCCSendItem::GetStateText(int state)
{
    static const UINT texts[] = {IDS_DCC_SEND_WAITING, IDS_DCC_SEND_ERROR,     IDS_DCC_SEND_ABORTED,
                                 IDS_DCC_SEND_QUEUED,  IDS_DCC_SEND_PREPARING, IDS_DCC_SEND_LISTENING,
                                 IDS_DCC_SEND_SENDING, IDS_DCC_SEND_COMPLETE};
    if (state < 0 || state > DCC_STATE_COMPLETE)
        return LoadResourceString(IDS_DCC_SEND_WAITING);
    return LoadResourceString(texts[state]);
}

void TDCCSendItem::Fail(const CString& text)
{
    state = DCC_STATE_ERROR;
    errorText = text;
    // A failure may come from inside a connection's own event: closed here, deleted at the next
    // start, stop or destruction, never under its own feet.
    server.Close();
    for (TTCPClient* client : server.clients)
        client->Close();
    file.Close();
}

void TDCCSendItem::FailAndReport(const CString& text)
{
    Fail(text);
    listener->OnSendFailed(this);
}

void TDCCSendItem::FailQueued(const CString& text)
{
    if (state == DCC_STATE_QUEUED)
        FailAndReport(text);
}

void TDCCSendItem::OnOpen(TTCPServer*)
{
    if (state != DCC_STATE_CONNECTING)
        return;
    state = DCC_STATE_RESUMING;
    listener->OnSendListening(this);
}

void TDCCSendItem::OnClose(TTCPServer*)
{
    if (state == DCC_STATE_CONNECTING || state == DCC_STATE_RESUMING)
        FailAndReport(LoadResourceString(IDS_DCC_SERVER_STOPPED));
}

void TDCCSendItem::OnError(TTCPServer*, int kind, CString message)
{
    if (state != DCC_STATE_CONNECTING && state != DCC_STATE_RESUMING)
        return;
    if (kind != SOCKET_ERROR_BIND) {
        FailAndReport(message);
        return;
    }
    int port = listener->GetSendPort(this);
    if (port < 0 || port == firstPort)
        FailAndReport(LoadResourceString(IDS_DCC_NO_FREE_PORT));
    else
        OpenServer(port);
}

void TDCCSendItem::OnAccept(TTCPServer*, int index)
{
    if (connectionIndex >= 0 || state != DCC_STATE_RESUMING) {
        // Only the first peer is served; anyone else who got in is dropped at once.
        if (index != connectionIndex)
            server.DeleteClient(index);
        return;
    }
    server.Close();
    connectionIndex = index;
    state = DCC_STATE_TRANSFERRING;
    speed.Clear();
    secondBytes = 0;
    timer.Start(1000);
}

void TDCCSendItem::SendBlocks()
{
    if (state == DCC_STATE_COMPLETE)
        return;
    TTCPClient* connection = GetConnection();
    if (!connection)
        return;
    if (!file.IsOpen()) {
        timer.Stop();
        FailAndReport(LoadResourceString(IDS_DCC_CANNOT_OPEN_FILE));
        return;
    }
    long long cap = (long long)listener->GetSendSpeedLimit(this) * 1024;
    long long blockSize = (long long)listener->GetSendBufferSize(this) * 1024;
    blockSize = std::clamp(blockSize, 4096LL, (long long)MaxBlockSize);
    if ((long long)block.size() < blockSize)
        block.resize((size_t)blockSize);
    long long left = size - position;
    for (;;) {
        long long n = std::min(blockSize, left);
        if (cap > 0)
            n = std::min(n, cap - secondBytes);
        if (n <= 0 || !file.IsOpen())
            break;
        // A removed drive, a lost share or a file cut short would leave the item sending for
        // ever and holding a send slot.
        DWORD read = 0;
        DWORD error = file.Read(block.data(), (DWORD)n, read) ? ERROR_SUCCESS : ::GetLastError();
        if (error != ERROR_SUCCESS || read == 0) {
            timer.Stop();
            FailAndReport(error != ERROR_SUCCESS ? GetSystemErrorText(error)
                                                 : LoadResourceString(IDS_DCC_CANNOT_OPEN_FILE));
            return;
        }
        int sent = connection->Send(block.data(), (int)read);
        if (sent < 0)
            sent = 0;
        // What the socket did not take is read again next time rather than kept.
        if ((DWORD)sent < read)
            file.Seek(-(long long)(read - (DWORD)sent));
        if (sent == 0)
            break;
        position += sent;
        sentBytes += sent;
        secondBytes += sent;
        left -= sent;
    }
    if (position >= size) {
        state = DCC_STATE_COMPLETE;
        file.Close();
        server.Close();
        linger = 0;
        listener->OnSendComplete(this);
    }
}

void TDCCSendItem::OnClientReceive(TTCPServer*, int index)
{
    TTCPClient* connection = GetConnection();
    if (index != connectionIndex || !connection || state == DCC_STATE_COMPLETE)
        return;
    // Acknowledgements tell nothing the sender needs.
    while (connection->GetReceivedSize() > 0)
        connection->DiscardReceived(std::min(connection->GetReceivedSize(), 1024));
}

void TDCCSendItem::OnClientSend(TTCPServer*, int index)
{
    if (index == connectionIndex && state == DCC_STATE_TRANSFERRING)
        SendBlocks();
}

void TDCCSendItem::OnClientClose(TTCPServer*, int index)
{
    if (index != connectionIndex || state != DCC_STATE_TRANSFERRING)
        return;
    FailAndReport(LoadResourceString(IDS_DCC_DISCONNECTED));
}

void TDCCSendItem::OnClientError(TTCPServer*, int index, CString message)
{
    if (index != connectionIndex || state != DCC_STATE_TRANSFERRING)
        return;
    FailAndReport(message);
}

void TDCCSendItem::OnTimer(TTimer*)
{
    if (state == DCC_STATE_COMPLETE) {
        linger += 1000;
        if (linger > 10000) {
            timer.Stop();
            CloseAll();
        }
        return;
    }
    if (state != DCC_STATE_TRANSFERRING) {
        timer.Stop();
        return;
    }
    SendBlocks();
    if (speed.Any() || secondBytes != 0) {
        speed.Add(secondBytes);
        secondBytes = 0;
    }
}
