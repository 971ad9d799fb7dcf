#pragma once
// The line layer of a server session: cuts received bytes into parsed lines and writes queued
// commands in priority order under flood control (a penalty sum and a window of recent bytes).

#include "classlib/IdleWork.h"
#include "foundation/Timer.h"
#include "ircproto/ReceiveMessage.h"
#include "ircproto/SendMessage.h"
#include "net/SocksClient.h"

#include <deque>

class TIRCConnection;

class IIRCConnectionListener {
public:
    virtual void OnConnect(TIRCConnection* connection) = 0;
    // Called before the timer stops.
    virtual void OnClose(TIRCConnection* connection) = 0;
    virtual void OnResolve(TIRCConnection* connection) = 0;
    // The message lives only during the call.
    virtual void OnReceive(TIRCConnection* connection, TIRCReceiveMessageA* message) = 0;
    // The message was written completely.
    virtual void OnSend(TIRCConnection* connection, TIRCSendMessage* message) = 0;
    virtual void OnError(TIRCConnection* connection, CString message) = 0;

protected:
    ~IIRCConnectionListener() = default;
};

class TIRCConnection : public ISocksClientListener,
                       public ITimerListener,
                       public IMultiTimerListener,
                       public IIdleWork {
public:
    static const int kPenaltyLimit = 10;
    static const int kWindowLimit = 600;
    static const UINT kTickMs = 1000;
    // Received lines are taken for this long at most while the user, a paint or a timer waits.
    static const DWORD kSliceMs = 50;

    TIRCConnection();
    TIRCConnection(const TIRCConnection&) = delete;
    TIRCConnection& operator=(const TIRCConnection&) = delete;
    virtual ~TIRCConnection();

    // Appends to the queue the priority selects (above 0 high, 0 normal, below 0 low) and sends.
    void Enqueue(const TIRCSendMessage& message, int priority);
    void SendQueued();
    void Close();
    // Empty queues and full budgets for the next connect; the transport is left as it is.
    void ResetFloodControl();
    void ClearQueues();
    bool CanSend() const { return penaltySum <= kPenaltyLimit && windowBytes <= kWindowLimit; }
    bool IsActive() const { return transport.active; }
    size_t QueuedCount() const { return high.size() + normal.size() + low.size(); }
    // A received line's handler is running; one that waits in a message loop may take long.
    bool IsTakingLines() const { return takingLines > 0; }

    void OnConnect(TSocksClient* socks) override;
    void OnClose(TSocksClient* socks) override;
    void OnResolve(TSocksClient* socks) override;
    void OnReceive(TSocksClient* socks) override;
    void OnSend(TSocksClient* socks) override;
    void OnError(TSocksClient* socks, int kind, CString message) override;
    void OnTimer(TTimer* timer) override;
    void OnTimer(TMultiTimer* timer, UINT_PTR id) override;
    void OnIdleWork() override;

    IIRCConnectionListener* listener = nullptr;
    bool writing = false;
    int written = 0;
    TIRCSendMessage current;
    std::deque<TIRCSendMessage> history;
    std::deque<TIRCSendMessage> high;
    std::deque<TIRCSendMessage> normal;
    std::deque<TIRCSendMessage> low;
    int penaltySum = 0;
    int windowBytes = 0;
    // The owner sets host, port, TLS and proxy here and connects it.
    TSocksClient transport;
    TTimer timer;

private:
    bool InHandshake() const { return transport.useProxy && transport.state != SOCKS_STATE_NONE; }
    void WriteCurrent();
    // Serves one queue; false when the loop must stop.
    bool SendFrom(std::deque<TIRCSendMessage>& queue);
    void AgeHistory();
    void StopTimer();
    void TakeLines();
    bool IsOthersTurn(DWORD sliceStart) const;
    // Input, a paint, a timer or another thread's message waits in the queue.
    bool IsOthersWaiting() const;
    // The lines left wait until the queue runs dry, or a short timer in loops without idle time.
    void YieldTurn();
    void EndYield();

    // Counts closes, so a listener call that closed the connection is noticed afterwards.
    unsigned closeCount = 0;
    int takingLines = 0;
    bool yielding = false;
    TMultiTimer resumeTimer;
    UINT_PTR resumeId = 0;
};
