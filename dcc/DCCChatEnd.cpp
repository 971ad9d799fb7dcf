#include "dcc/DCCChatEnd.h"

#include <windows.h>

#include <vector>

namespace {

std::vector<TDCCChatEnd*> discarded;
UINT_PTR sweepTimer = 0;

} // namespace

// Runs from a message loop: a read loop still counted here waits in one (a script's box).
class TDCCChatEndSweep {
public:
    static void CALLBACK Sweep(HWND, UINT, UINT_PTR, DWORD)
    {
        std::vector<TDCCChatEnd*> waiting;
        waiting.swap(discarded);
        for (TDCCChatEnd* end : waiting) {
            if (end->reading > 0)
                discarded.push_back(end);
            else
                delete end;
        }
        if (discarded.empty() && sweepTimer) {
            ::KillTimer(nullptr, sweepTimer);
            sweepTimer = 0;
        }
    }
};

void TDCCChatEnd::Discard(TDCCChatEnd* end)
{
    if (!end)
        return;
    if (end->reading == 0) {
        delete end;
        return;
    }
    end->Stop();
    discarded.push_back(end);
    if (!sweepTimer)
        sweepTimer = ::SetTimer(nullptr, 0, 100, TDCCChatEndSweep::Sweep);
}
