#pragma once
// Every DCC file transfer of the program, for all servers: the incoming and outgoing items, the
// limits on how many run at once, the queues they wait in, and the one-second tick that starts
// queued items and refreshes the transfer window. Chats do not pass through here.

#include "dcc/DCCReceiveItem.h"
#include "dcc/DCCSendItem.h"
#include "irc/UnitSendServices.h"

#include <vector>

class TPreference;

class IDCCManagerListener {
public:
    // An item was added, removed, changed state, nick, file name or folder, or finished.
    virtual void OnDCCItemChanged() = 0;
    // A transfer completed and, with "close on end" set, every item of both lists is complete.
    virtual void OnDCCAllFinished() = 0;
    // Once a second while the manager's timer runs.
    virtual void OnDCCTimer() = 0;

protected:
    ~IDCCManagerListener() = default;
};

// Whether a server unit still exists; the world answers.
class IDCCUnitRegistry {
public:
    virtual bool HasUnit(const TIRCUnit* unit) const = 0;

protected:
    ~IDCCUnitRegistry() = default;
};

class TDCCManager : public IDCCSendItemListener,
                    public IDCCReceiveItemListener,
                    public ITimerListener,
                    public IUnitDccManager {
public:
    // Offers waiting or running beyond this count are refused, with a line in the server log, so
    // a flood of offers cannot grow the list without end; finished items do not count. Sends are
    // only made by the user and are not limited.
    static constexpr int MaxReceiveItems = 256;
    // Offers that fail at once (taken by auto-accept) finish without the user: the received list
    // keeps at most this many items in all until the user clears some.
    static constexpr int MaxKeptReceiveItems = 16 * MaxReceiveItems;

    TDCCManager();
    TDCCManager(const TDCCManager&) = delete;
    TDCCManager& operator=(const TDCCManager&) = delete;
    virtual ~TDCCManager();

    void SetListener(IDCCManagerListener* newListener) { listener = newListener; }
    IDCCManagerListener* GetListener() const { return listener; }
    void SetWorld(IDCCUnitRegistry* newWorld) { world = newWorld; }
    // Read at every decision, so a change in the preference dialog applies at once.
    void SetPreference(const TPreference* newPreference) { preference = newPreference; }
    // Base of a relative receive folder; the program's folder unless set.
    void SetProgramFolder(const CString& folder) { programFolder = folder; }
    // Where received files go, ending in a backslash. A relative setting is taken from the
    // program's folder: every file chooser moves the current one.
    CString GetReceiveRootFolder() const;

    // From the server units.
    void AddReceiveItem(TIRCUnit* unit, int protocolMode, bool autoAccept, const CString& nick, const CString& fileName,
                        int port, long long size, const TInetAddress& address) override;
    void AddSendItem(TIRCUnit* unit, const CString& nick, const CString& path) override;
    bool HandleResumeRequest(TIRCUnit* unit, const CString& nick, int port, long long position) override;
    void HandleResumeAccept(TIRCUnit* unit, const CString& nick, int port, long long position) override;
    void RenameNick(TIRCUnit* unit, const CString& oldNick, const CString& newNick) override;
    bool FindReceiveFileSize(TIRCUnit* unit, const CString& nick, int port, long long& size) override;
    void OnUnitLoggedIn(TIRCUnit* unit) override;
    // The unit is being deleted: its items run on without it, so that a later unit made at the
    // same address cannot take them over.
    void ForgetUnit(const TIRCUnit* unit);

    // For the transfer window: read the lists, check stored pointers before use.
    const std::vector<TDCCReceiveItem*>& GetReceiveItems() const { return receiveItems; }
    const std::vector<TDCCSendItem*>& GetSendItems() const { return sendItems; }
    int FindReceiveItem(const TDCCReceiveItem* item) const;
    // Items connecting or transferring now.
    int CountActiveReceives() const;
    int CountActiveSends() const;
    // Items waiting for the user, queued, connecting or transferring.
    int CountPendingReceives() const;
    int FindSendItem(const TDCCSendItem* item) const;
    // Whether the item's offer can go out now: its server is still there and logged in.
    bool CanOffer(const TDCCSendItem* item) const;
    // The item's server was deleted, so its offer can never go out.
    bool IsServerGone(const TDCCSendItem* item) const;
    // The same for a receive's resume request.
    bool IsServerGone(const TDCCReceiveItem* item) const;
    void RemoveReceiveItem(TDCCReceiveItem* item);
    void RemoveSendItem(TDCCSendItem* item);
    // The window's queue commands: the item shows as queued and waits for the next tick, which
    // starts it when a slot is free; the tick runs again if nothing else kept it going.
    void QueueReceive(TDCCReceiveItem* item);
    void QueueSend(TDCCSendItem* item);
    void StartQueuedReceives();
    void StartQueuedSends();
    bool IsTimerRunning() const { return timer.IsRunning(); }

    // IDCCSendItemListener
    void OnSendListening(TDCCSendItem* item) override;
    int GetSendPort(TDCCSendItem* item) override;
    int GetSendSpeedLimit(TDCCSendItem* item) override;
    int GetSendBufferSize(TDCCSendItem* item) override;
    void OnSendItemChanged(TDCCSendItem* item) override;
    void OnSendComplete(TDCCSendItem* item) override;
    void OnSendFailed(TDCCSendItem* item) override;

    // IDCCReceiveItemListener
    void OnReceiveStarted(TDCCReceiveItem* item) override;
    void OnReceiveItemChanged(TDCCReceiveItem* item) override;
    void RequestResume(TDCCReceiveItem* item, long long position) override;
    int GetResumeTimeout(TDCCReceiveItem* item) override;
    bool GetHideIncompleteFiles(TDCCReceiveItem* item) override;
    void OnReceiveComplete(TDCCReceiveItem* item) override;
    void OnReceiveFailed(TDCCReceiveItem* item) override;

    void OnTimer(TTimer* timer) override;

    // The last send port handed out, shared by every send of the program; -1 after start-up.
    static int GetLastSendPort();
    static void SetLastSendPort(int port);

private:
    const TPreference& Preference() const;
    void StartTimer();
    bool IsUnitValid(TIRCUnit* unit) const;
    bool IsLoggedIn(TIRCUnit* unit) const;
    bool IsUnitGone(bool deleted, TIRCUnit* unit) const;
    // Whether a queued receive would send its resume request through a server not logged in yet.
    bool MustWaitToResume(const TDCCReceiveItem* item) const;
    bool IsEverythingComplete() const;
    bool IsSendPortListened(int port, const TDCCSendItem* asking) const;
    void NotifyChanged();

    // A pass over a queue whose start fails calls back for another pass; it runs after this one
    // instead of inside it, so the limit holds and the stack stays flat.
    struct TQueuePass {
        bool running = false;
        bool again = false;
    };
    template <typename Start> void RunQueuePass(TQueuePass& pass, Start start);
    void StartQueuedReceivesOnce();
    void StartQueuedSendsOnce();

    TQueuePass receivePass;
    TQueuePass sendPass;
    std::vector<TDCCReceiveItem*> receiveItems; // owned
    std::vector<TDCCSendItem*> sendItems;       // owned
    IDCCManagerListener* listener = nullptr;
    IDCCUnitRegistry* world = nullptr;
    const TPreference* preference = nullptr;
    CString programFolder;
    TTimer timer;
};
