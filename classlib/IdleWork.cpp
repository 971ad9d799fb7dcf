#include "classlib/IdleWork.h"

#include <algorithm>
#include <vector>

namespace {

// The UI thread's work: what waits, and the round being run.
std::vector<IIdleWork*> queued;
std::vector<IIdleWork*>* running = nullptr;

} // namespace

void QueueIdleWork(IIdleWork* work)
{
    if (std::find(queued.begin(), queued.end(), work) == queued.end())
        queued.push_back(work);
}

void CancelIdleWork(IIdleWork* work)
{
    queued.erase(std::remove(queued.begin(), queued.end(), work), queued.end());
    // Work earlier in the round may cancel later work (deleting its owner, say).
    if (running)
        std::replace(running->begin(), running->end(), work, (IIdleWork*)nullptr);
}

bool RunIdleWork()
{
    if (running)
        return false;
    std::vector<IIdleWork*> due;
    due.swap(queued);
    running = &due;
    for (IIdleWork*& work : due)
        if (IIdleWork* now = work) {
            work = nullptr;
            now->OnIdleWork();
        }
    running = nullptr;
    return !queued.empty();
}
