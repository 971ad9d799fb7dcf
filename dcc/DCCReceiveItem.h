#pragma once
// One incoming DCC file: connects to the sender, writes into a temporary "_incomplete_" file in
// the download folder, acknowledges what arrived and gives the file its final name at the end.
// It can resume the largest unfinished file of the same name.

#include "dcc/DCCItem.h"
#include "foundation/File.h"
#include "foundation/Timer.h"
#include "net/TCPClient.h"

class TIRCUnit;
class TDCCReceiveItem;

class IDCCReceiveItemListener {
public:
    virtual void OnReceiveStarted(TDCCReceiveItem* item) = 0;
    virtual void OnReceiveItemChanged(TDCCReceiveItem* item) = 0;
    // Asks the sender to start at the position ("DCC RESUME").
    virtual void RequestResume(TDCCReceiveItem* item, long long position) = 0;
    // Seconds to wait for "DCC ACCEPT"; -1 waits for ever.
    virtual int GetResumeTimeout(TDCCReceiveItem* item) = 0;
    virtual bool GetHideIncompleteFiles(TDCCReceiveItem* item) = 0;
    virtual void OnReceiveComplete(TDCCReceiveItem* item) = 0;
    virtual void OnReceiveFailed(TDCCReceiveItem* item) = 0;

protected:
    ~IDCCReceiveItemListener() = default;
};

// The name the receive item writes under: no folder parts, no reserved or control characters,
// no trailing dots or blanks, no device names, never empty, "." or "..".
CString MakeSafeReceiveFileName(const CString& name);
// The folder with reserved characters replaced (a drive prefix kept) and a closing backslash.
CString MakeReceiveFolder(const CString& folder);

class TDCCReceiveItem : public ITCPClientListener, public ITimerListener {
public:
    static constexpr int BlockSize = 65536;

    TDCCReceiveItem(IDCCReceiveItemListener* listener, TIRCUnit* unit, int protocolMode, const CString& nick,
                    const CString& folder, const CString& fileName, const TInetAddress& address, int port,
                    long long size);
    TDCCReceiveItem(const TDCCReceiveItem&) = delete;
    TDCCReceiveItem& operator=(const TDCCReceiveItem&) = delete;
    virtual ~TDCCReceiveItem();

    // In states 0, 1, 3 and 5: a whole-file receive into a new temporary file.
    void StartReceive();
    // In states 0, 1 and 3: asks to continue the largest unfinished file; false when none.
    bool TryResume();
    // Whether an unfinished file is there for TryResume to continue.
    bool HasResumeFile() const;
    // In state 5: continue from the position the sender accepted.
    void AcceptResume(long long newPosition);
    void Connect();
    // The window's stop command, in states 3 to 6; the partial file stays.
    void Abort();
    // The window's queue command, in states 0 and 1.
    void Queue();
    void SetFolder(const CString& newFolder);
    void SetFileName(const CString& name);
    void SetNick(const CString& newNick);

    TIRCUnit* GetUnit() const { return unit; }
    // The item's server is being deleted.
    void ForgetUnit()
    {
        unit = nullptr;
        unitDeleted = true;
    }
    bool IsUnitDeleted() const { return unitDeleted; }
    CString GetNick() const { return nick; }
    CString GetFolder() const { return folder; }
    CString GetFileName() const { return fileName; }
    CString GetDiskFileName() const { return diskFileName; }
    CString GetFullPath() const { return folder + diskFileName; }
    TInetAddress GetAddress() const { return address; }
    CString GetErrorMessage() const { return errorText; }
    int GetState() const { return state; }
    long long GetSize() const { return size; }
    long long GetPosition() const { return position; }
    int GetPort() const { return port; }
    bool IsResuming() const { return resuming; }
    // Seconds waited so far for "DCC ACCEPT"; the window counts down from the time-out.
    int GetResumeWait() const { return resumeWait; }
    bool IsTimerRunning() const { return timer.IsRunning(); }
    float GetSpeed() const { return speed.GetSpeed(); }
    int GetRemainingSeconds() const;
    static CString GetStateText(int state);
    // "(残り%d秒)".
    static CString GetRemainingText();

    void OnConnect(TTCPClient* client) override;
    void OnClose(TTCPClient* client) override;
    void OnResolve(TTCPClient*) override {}
    void OnReceive(TTCPClient* client) override;
    void OnSend(TTCPClient*) override {}
    void OnError(TTCPClient* client, int kind, CString message) override;
    void OnTimer(TTimer* timer) override;

    // The state as the manager's queue sets it.
    void SetState(int newState) { state = newState; }

private:
    CString FindResumeFile(long long& bestSize) const;
    bool CreateTemporaryFile();
    void CloseFile();
    void Fail(const CString& text);
    // Fail and tell the listener, for every failure no later step reports.
    void FailAndReport(const CString& text);

    IDCCReceiveItemListener* listener;
    TIRCUnit* unit;
    bool unitDeleted = false;
    int protocolMode;
    CString nick;
    CString folder;
    CString fileName;
    CString diskFileName;
    TInetAddress address;
    int port;
    long long size;
    int state = DCC_STATE_WAITING;
    CString errorText;
    long long position = 0;
    long long secondBytes = 0;
    int resumeWait = 0;
    bool resuming = false;
    TDCCSpeedSamples speed;
    TFile file;
    TTCPClient connection;
    TTimer timer;
};
