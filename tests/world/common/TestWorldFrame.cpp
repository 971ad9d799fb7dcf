#include "tests/world/common/TestWorldFrame.h"

#include "controls/ChildId.h"

namespace {

// Plain coloured squares stand in for the program's icons: each image tells its index apart.
void FillImages(CImageList& list, int count)
{
    list.Create(16, 16, ILC_COLOR32 | ILC_MASK, count, count);
    HDC screen = ::GetDC(nullptr);
    for (int i = 0; i < count; i++) {
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
        HDC dc = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        RECT all = {0, 0, 16, 16}, inner = {3, 3, 13, 13};
        HBRUSH white = ::CreateSolidBrush(RGB(255, 255, 255));
        HBRUSH colour = ::CreateSolidBrush(RGB(40 * i, 200 - 25 * i, 120 + 15 * i));
        ::FillRect(dc, &all, white);
        ::FillRect(dc, &inner, colour);
        ::DeleteObject(white);
        ::DeleteObject(colour);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ImageList_AddMasked(list, bitmap, RGB(255, 255, 255));
        ::DeleteObject(bitmap);
    }
    ::ReleaseDC(nullptr, screen);
}

} // namespace

void PrepareConfig(TConfig& config, const CString& folder)
{
    config.settingsFolder = folder;
    config.userImageFolder = folder;
    config.programImageFolder = folder;
    config.preference.Load(folder);
    config.view.Load(config);
    config.view.UpdateTheme(config);
}

bool TTestWorldFrame::Create(TConfig& config, int width, int height)
{
    if (!CreateEx(0, AfxRegisterWndClass(0, nullptr, (HBRUSH)(COLOR_BTNFACE + 1)), L"world", WS_POPUP | WS_VISIBLE, 10,
                  10, width, height, nullptr, nullptr))
        return false;
    FillImages(treeImages, 8);
    FillImages(memberImages, 6);
    int left = 200, right = 160, bottom = 150, middle = width - left - right, top = height - bottom;
    tree.CreateEx(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                  WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_SHOWSELALWAYS, 0, 0, left, top, m_hWnd,
                  (HMENU)(UINT_PTR)GetNextChildId());
    tree.SetImageList(treeImages, TVSIL_NORMAL);
    chat.Create(m_hWnd, GetNextChildId());
    chat.MoveWindow(left, 0, middle, top);
    members.Create(m_hWnd, GetNextChildId());
    members.MoveWindow(left + middle, 0, right, top);
    TLogTheme& theme = config.view.logTheme;
    allLog.Create(&theme.text, &theme.allLogBack, m_hWnd, GetNextChildId(), &config.preference.keyword, nullptr, false);
    allLog.MoveWindow(0, top, width, bottom);
    allLog.ShowWindow(SW_SHOW);
    return true;
}

CString TTestWorldFrame::GetTitle() const
{
    wchar_t text[512] = {};
    ::GetWindowTextW(m_hWnd, text, 512);
    return text;
}
