#include "irc/IRCConnection.h"

#include <cstring>

TIRCConnection::TIRCConnection()
{
    transport.listener = this;
    timer.SetListener(this);
    resumeTimer.SetListener(this);
}

TIRCConnection::~TIRCConnection()
{
    // Nothing may reach a half-destroyed object.
    transport.listener = nullptr;
    timer.SetListener(nullptr);
    resumeTimer.SetListener(nullptr);
    CancelIdleWork(this);
}

void TIRCConnection::Enqueue(const TIRCSendMessage& message, int priority)
{
    if (priority > 0)
        high.push_back(message);
    else if (priority == 0)
        normal.push_back(message);
    else
        low.push_back(message);
    SendQueued();
}

void TIRCConnection::ClearQueues()
{
    high.clear();
    normal.clear();
    low.clear();
}

void TIRCConnection::ResetFloodControl()
{
    penaltySum = 0;
    windowBytes = 0;
    writing = false;
    written = 0;
    history.clear();
    ClearQueues();
}

void TIRCConnection::Close()
{
    EndYield();
    closeCount++;
    transport.Close();
    StopTimer();
    ResetFloodControl();
}

void TIRCConnection::StopTimer() { timer.Stop(); }

void TIRCConnection::WriteCurrent()
{
    if (!writing) {
        writing = true;
        written = 0;
        current.Build();
    }
    int length = current.line.GetLength();
    int remaining = length - written;
    if (InHandshake() || remaining <= 0)
        return;
    written += transport.client.Send(current.line.GetString() + written, remaining);
    if (written < length)
        return;
    penaltySum += current.penalty;
    writing = false;
    windowBytes += length;
    history.push_back(current);
    if (listener)
        listener->OnSend(this, &current);
}

bool TIRCConnection::SendFrom(std::deque<TIRCSendMessage>& queue)
{
    while (!queue.empty()) {
        if (writing)
            return false;
        current = queue.front();
        queue.pop_front();
        unsigned closes = closeCount;
        WriteCurrent();
        if (closes != closeCount || !CanSend())
            return false;
    }
    return true;
}

void TIRCConnection::SendQueued()
{
    if (!CanSend())
        return;
    if (writing) {
        unsigned closes = closeCount;
        WriteCurrent();
        if (writing || closes != closeCount || !CanSend())
            return;
    }
    // A lower queue is served only once every higher one is empty.
    if (SendFrom(high) && SendFrom(normal))
        SendFrom(low);
}

void TIRCConnection::AgeHistory()
{
    if (penaltySum > 0)
        penaltySum--;
    if (history.empty())
        return;
    // Only the oldest message ages, so each stays in the window for its own penalty in ticks.
    TIRCSendMessage& oldest = history.front();
    if (--oldest.penalty > 0)
        return;
    windowBytes -= oldest.line.GetLength();
    history.pop_front();
    if (windowBytes < 0)
        windowBytes = 0;
}

void TIRCConnection::OnTimer(TTimer*)
{
    AgeHistory();
    SendQueued();
}

void TIRCConnection::OnConnect(TSocksClient*)
{
    timer.Start(kTickMs);
    if (listener)
        listener->OnConnect(this);
}

void TIRCConnection::OnClose(TSocksClient*)
{
    if (listener)
        listener->OnClose(this);
    StopTimer();
}

void TIRCConnection::OnResolve(TSocksClient*)
{
    if (listener)
        listener->OnResolve(this);
}

void TIRCConnection::OnReceive(TSocksClient*)
{
    // While the user has the turn the lines wait, unless the peer closed behind them; more data
    // after the user's messages were handled ends the turn at once.
    if (yielding && !transport.client.IsPeerClosing() && IsOthersWaiting())
        return;
    TakeLines();
}

// A handler that runs a message loop (a script's message box) sees later data arrive here again:
// those lines are taken at once, or the server's PING would wait for the box.
void TIRCConnection::TakeLines()
{
    EndYield();
    takingLines++;
    TTCPClient& client = transport.client;
    unsigned closes = closeCount;
    DWORD sliceStart = ::GetTickCount();
    for (int taken = 1; !InHandshake(); taken++) {
        if (taken % 64 == 0 && IsOthersTurn(sliceStart)) {
            YieldTurn();
            break;
        }
        // An empty result is an empty line only when the queue gave something up.
        int buffered = client.GetReceivedSize();
        CStringA line = transport.ReadLine();
        if (client.GetReceivedSize() == buffered)
            break;
        if (line.IsEmpty())
            continue;
        TIRCReceiveMessageA message;
        message.rawLine = line;
        message.Parse();
        if (listener)
            listener->OnReceive(this, &message);
        // Closing freed the buffer and dropped the lines still in it.
        if (closes != closeCount || !transport.active)
            break;
    }
    takingLines--;
}

// A flood must not keep the user's keys, clicks and close from the program.
bool TIRCConnection::IsOthersTurn(DWORD sliceStart) const
{
    if (::GetTickCount() - sliceStart < kSliceMs || transport.client.IsPeerClosing())
        return false;
    return IsOthersWaiting();
}

bool TIRCConnection::IsOthersWaiting() const
{
    return HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER | QS_SENDMESSAGE)) != 0;
}

void TIRCConnection::YieldTurn()
{
    yielding = true;
    QueueIdleWork(this);
    if (!resumeId)
        resumeId = resumeTimer.StartTimer(10);
}

void TIRCConnection::EndYield()
{
    yielding = false;
    CancelIdleWork(this);
    if (resumeId)
        resumeTimer.StopTimer(resumeId);
    resumeId = 0;
}

void TIRCConnection::OnIdleWork()
{
    if (yielding)
        TakeLines();
}

void TIRCConnection::OnTimer(TMultiTimer*, UINT_PTR)
{
    if (yielding)
        TakeLines();
}

void TIRCConnection::OnSend(TSocksClient*) { SendQueued(); }

void TIRCConnection::OnError(TSocksClient*, int, CString message)
{
    // The transport is closed already; its sums wait for the owner's Close or reset.
    StopTimer();
    if (listener)
        listener->OnError(this, message);
}
