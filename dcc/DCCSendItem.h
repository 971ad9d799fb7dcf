#pragma once
// One outgoing DCC file: listens on a port its listener picks, lets the listener offer the file,
// takes the first peer that connects and pushes the file to it, capped in bytes per second.
// What the peer sends back is read and thrown away.

#include "dcc/DCCItem.h"
#include "foundation/File.h"
#include "foundation/Timer.h"
#include "net/TCPServer.h"

#include <vector>

class TIRCUnit;
class TDCCSendItem;

class IDCCSendItemListener {
public:
    // Listening: the offer can go out with the item's port.
    virtual void OnSendListening(TDCCSendItem* item) = 0;
    // The next port to try; negative when there is none.
    virtual int GetSendPort(TDCCSendItem* item) = 0;
    // KB per second; 0 or less is no cap.
    virtual int GetSendSpeedLimit(TDCCSendItem* item) = 0;
    // KB read from the file and handed to the socket at a time.
    virtual int GetSendBufferSize(TDCCSendItem* item) = 0;
    virtual void OnSendItemChanged(TDCCSendItem* item) = 0;
    virtual void OnSendComplete(TDCCSendItem* item) = 0;
    virtual void OnSendFailed(TDCCSendItem* item) = 0;

protected:
    ~IDCCSendItemListener() = default;
};

class TDCCSendItem : public ITCPServerListener, public ITimerListener {
public:
    // Blocks bigger than this are not taken, whatever the preference says.
    static constexpr int MaxBlockSize = 1024 * 1024;

    TDCCSendItem(IDCCSendItemListener* listener, TIRCUnit* unit, const CString& nick, const CString& path);
    TDCCSendItem(const TDCCSendItem&) = delete;
    TDCCSendItem& operator=(const TDCCSendItem&) = delete;
    virtual ~TDCCSendItem();

    // In states 0 to 3: opens the file and starts listening.
    void Start();
    // The window's stop command, in states 3 to 6.
    void Stop();
    // The window's queue command, in states 0 to 2.
    void Queue();
    // Only while listening with the file open and the position inside it.
    bool SetResumePosition(long long newPosition);
    // In states 0 to 3.
    void SetFilePath(const CString& newPath);
    void SetNick(const CString& newNick);
    // The own address that went out in the offer.
    void SetAddress(const TInetAddress& newAddress) { address = newAddress; }

    TIRCUnit* GetUnit() const { return unit; }
    // The item's server is being deleted.
    void ForgetUnit()
    {
        unit = nullptr;
        unitDeleted = true;
    }
    bool IsUnitDeleted() const { return unitDeleted; }
    CString GetNick() const { return nick; }
    CString GetFileName() const { return fileName; }
    CString GetFilePath() const { return path; }
    CString GetErrorMessage() const { return errorText; }
    TInetAddress GetAddress() const { return address; }
    int GetState() const { return state; }
    long long GetSize() const { return size; }
    long long GetPosition() const { return position; }
    long long GetSentBytes() const { return sentBytes; }
    // The listening port; 0 before the first start.
    int GetPort() const { return server.port; }
    // Waiting for the peer on the port.
    bool IsListening() const { return server.listening; }
    float GetSpeed() const { return speed.GetSpeed(); }
    int GetRemainingSeconds() const;
    static CString GetStateText(int state);

    // Server events.
    void OnOpen(TTCPServer* server) override;
    void OnClose(TTCPServer* server) override;
    void OnError(TTCPServer* server, int kind, CString message) override;
    void OnAccept(TTCPServer* server, int index) override;
    void OnClientClose(TTCPServer* server, int index) override;
    void OnClientReceive(TTCPServer* server, int index) override;
    void OnClientSend(TTCPServer* server, int index) override;
    void OnClientError(TTCPServer* server, int index, CString message) override;
    void OnTimer(TTimer* timer) override;

    // The state as the manager's queue sets it.
    void SetState(int newState) { state = newState; }
    // A queued item that cannot start fails with the text, told to the listener.
    void FailQueued(const CString& text);

private:
    void SendBlocks();
    void OpenServer(int port);
    void Fail(const CString& text);
    // Fail and tell the listener: the failure line, the sound and the window's refresh.
    void FailAndReport(const CString& text);
    void CloseAll();
    TTCPClient* GetConnection() const;

    IDCCSendItemListener* listener;
    TIRCUnit* unit;
    bool unitDeleted = false;
    CString nick;
    CString path;
    TInetAddress address;
    int state = DCC_STATE_WAITING;
    CString errorText;
    CString fileName;
    long long size = 0;
    long long position = 0;
    long long sentBytes = 0;
    long long secondBytes = 0;
    int connectionIndex = -1;
    int linger = 0;
    int firstPort = -1;
    TDCCSpeedSamples speed;
    TFile file;
    TTCPServer server;
    TTimer timer;
    std::vector<char> block;
    // A failed bind reports inside Open; the next port is opened by the loop, not by recursion.
    bool opening = false;
    int nextPort = -1;
};
