// A mask-list window filled by a long list reply: 10,000 masks (the engine's bound) added one
// by one as the replies arrive, then 1,000 removed by MODE changes.

#include "dialogs/MaskDialog.h"
#include "tests/bench/BenchClock.h"

#include <windows.h>

#include <commctrl.h>

namespace {

// What the window has waiting, its drawing included, as a user would wait for it.
void DrawNow(TMaskDialog& dialog)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    RedrawWindow(dialog.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

} // namespace

int main()
{
    InitCommonControls();
    TMaskDialog dialog;
    dialog.SetTitle(L"bench");
    if (!dialog.CreateAndShow()) {
        printf("the window could not be made\n");
        return 1;
    }
    const int count = 10000;
    std::vector<CString> masks;
    for (int i = 0; i < count; i++) {
        CString mask;
        mask.Format(L"user%05d!~ident%d@host-%d.example.net", (i * 7919) % count, i % 97, i);
        masks.push_back(mask);
    }
    TBenchClock fill;
    for (const CString& mask : masks)
        dialog.AddMask(mask);
    DrawNow(dialog);
    ReportRate("masks added to the open list", count, "masks", fill.Seconds());
    TBenchClock remove;
    for (int i = 0; i < count; i += 10)
        dialog.RemoveMask(masks[(size_t)i]);
    DrawNow(dialog);
    ReportRate("masks removed from it", count / 10, "masks", remove.Seconds());
    printf("%d masks listed\n", dialog.GetCount());
    return 0;
}
