#pragma once
// Watches one folder on a worker thread and tells the listener, on the UI thread, that something
// in it changed. The listener learns only that, never what, and must rescan.

#include "classlib/String.h"
#include "classlib/Sync.h"
#include "foundation/MessageWindow.h"

class TDirectoryWatcher;

class IDirectoryWatcherListener {
public:
    virtual void OnDirectoryChanged(TDirectoryWatcher* watcher) = 0;

protected:
    ~IDirectoryWatcherListener() = default;
};

// Shared by the watcher and its worker. Reference-counted so a worker that outlives the stop
// time-out never touches freed memory; whichever side lets go last deletes it.
struct TDirectoryWatchContext {
    HWND notifyWindow = nullptr;
    CString folder;
    CEvent stopEvent;
    CEvent stoppedEvent;
    LONG references = 1;

    void AddRef() { InterlockedIncrement(&references); }
    void Release()
    {
        if (InterlockedDecrement(&references) == 0)
            delete this;
    }
};

class TDirectoryWatcher : public IMessageWindowListener {
public:
    explicit TDirectoryWatcher(IDirectoryWatcherListener* listener = nullptr);
    TDirectoryWatcher(const TDirectoryWatcher&) = delete;
    TDirectoryWatcher& operator=(const TDirectoryWatcher&) = delete;
    virtual ~TDirectoryWatcher();

    void SetListener(IDirectoryWatcherListener* newListener) { listener = newListener; }
    void SetFolder(const CString& folder);
    // Starts the worker; false when no thread could be started. Started again, it stops the
    // earlier worker and answers for the new one only.
    bool Start();
    // Returns true when the worker confirmed its end within 1000 ms. Only the first call waits;
    // later ones answer at once whether it has ended by now, and without a worker it is false.
    bool Stop();

    void OnMessage(TWindowMessage& msg) override;

private:
    static UINT __cdecl WatchThread(LPVOID param);

    IDirectoryWatcherListener* listener;
    THiddenWindow window{this};
    TDirectoryWatchContext* context;
    bool started = false;
    bool stopAsked = false;
    bool ended = false;
};
