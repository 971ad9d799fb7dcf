#include "foundation/DirectoryWatcher.h"

#include "classlib/Thread.h"

namespace {
const UINT kChangedMessage = WM_APP + 1;
const DWORD kWatchFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE;
const DWORD kStopWaitMs = 1000;
} // namespace

TDirectoryWatcher::TDirectoryWatcher(IDirectoryWatcherListener* listener)
    : listener(listener), context(new TDirectoryWatchContext)
{
}

TDirectoryWatcher::~TDirectoryWatcher()
{
    // A worker that missed the stop time-out ends on its own and frees the context itself.
    context->stopEvent.SetEvent();
    window.Destroy();
    context->Release();
}

void TDirectoryWatcher::SetFolder(const CString& folder) { context->folder = folder; }

bool TDirectoryWatcher::Start()
{
    if (started) {
        // An earlier worker keeps its context until it ends. The new one gets events of its own:
        // a stop signal left unused or an end already taken must not answer for it.
        context->stopEvent.SetEvent();
        TDirectoryWatchContext* fresh = new TDirectoryWatchContext;
        fresh->folder = context->folder;
        context->Release();
        context = fresh;
    }
    started = false;
    stopAsked = false;
    ended = false;
    context->notifyWindow = window.Create();
    context->AddRef(); // the worker's reference
    if (!AfxBeginThread(&TDirectoryWatcher::WatchThread, context)) {
        context->Release();
        return false;
    }
    started = true;
    return true;
}

bool TDirectoryWatcher::Stop()
{
    if (!started)
        return false;
    // The worker's end event resets as a wait takes it: a second full wait would always time out.
    DWORD waitMs = stopAsked ? 0 : kStopWaitMs;
    stopAsked = true;
    context->stopEvent.SetEvent();
    if (!ended)
        ended = WaitForSingleObject(context->stoppedEvent, waitMs) == WAIT_OBJECT_0;
    return ended;
}

void TDirectoryWatcher::OnMessage(TWindowMessage& msg)
{
    if (msg.message == kChangedMessage) {
        if (listener)
            listener->OnDirectoryChanged(this);
        return;
    }
    msg.result = window.Default(msg);
}

UINT __cdecl TDirectoryWatcher::WatchThread(LPVOID param)
{
    TDirectoryWatchContext* ctx = static_cast<TDirectoryWatchContext*>(param);
    HANDLE change = FindFirstChangeNotificationW(ctx->folder, FALSE, kWatchFilter);
    if (change != INVALID_HANDLE_VALUE) {
        HANDLE handles[2] = {change, ctx->stopEvent};
        for (;;) {
            DWORD r = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
            if (r == WAIT_TIMEOUT)
                continue;
            if (r != WAIT_OBJECT_0)
                break;
            FindNextChangeNotification(change);
            PostMessageW(ctx->notifyWindow, kChangedMessage, 0, 0);
        }
        FindCloseChangeNotification(change);
    }
    ctx->stoppedEvent.SetEvent();
    ctx->Release();
    return 0;
}
