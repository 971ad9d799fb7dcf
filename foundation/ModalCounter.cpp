#include "foundation/ModalCounter.h"

#include "classlib/App.h"
#include "classlib/Wnd.h"

namespace {
int g_modalCount = 0;

void EnableMainWindow(bool enable)
{
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd())
        EnableWindow(main->GetSafeHwnd(), enable ? TRUE : FALSE);
}
} // namespace

TModalManager::TModalManager()
{
    if (g_modalCount == 0)
        EnableMainWindow(false);
    g_modalCount++;
}

TModalManager::~TModalManager()
{
    g_modalCount--;
    if (g_modalCount <= 0) {
        EnableMainWindow(true);
        g_modalCount = 0;
    }
}

int TModalManager::GetModalCount() { return g_modalCount; }
