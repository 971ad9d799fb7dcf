#include "controls/IconImageList.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// What one image of a list puts on screen: drawn over two backgrounds, so both the colours and
// the transparency show, and its mask alone (used for selected and cut items).
std::vector<DWORD> DrawnPixels(HIMAGELIST list, int index)
{
    std::vector<DWORD> all;
    const struct {
        COLORREF back;
        UINT style;
    } draws[] = {{RGB(255, 255, 255), ILD_NORMAL}, {RGB(20, 90, 160), ILD_NORMAL}, {RGB(20, 90, 160), ILD_MASK}};
    for (const auto& draw : draws) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 16;
        info.bmiHeader.biHeight = -16;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC dc = ::CreateCompatibleDC(nullptr);
        HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        HBRUSH brush = ::CreateSolidBrush(draw.back);
        RECT all16 = {0, 0, 16, 16};
        ::FillRect(dc, &all16, brush);
        ::DeleteObject(brush);
        ImageList_Draw(list, index, dc, 0, 0, draw.style);
        ::GdiFlush();
        all.insert(all.end(), (DWORD*)bits, (DWORD*)bits + 16 * 16);
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    return all;
}

// The list as icons added one by one would make it.
HIMAGELIST ListFromIcons(const std::vector<UINT>& ids)
{
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, (int)ids.size(), 1);
    for (UINT id : ids) {
        HICON icon = (HICON)::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0);
        ImageList_AddIcon(list, icon);
        ::DestroyIcon(icon);
    }
    return list;
}

} // namespace

TEST(IconImageListTest, ListsLookAsIfEachIconWereAddedOnItsOwn)
{
    const struct {
        const char* name;
        std::vector<UINT> ids;
    } sets[] = {
        {"server tree", {253, 254, 142, 143, 144, 255, 256, 229}},
        {"members", {147, 148, 349, 149, 348, 347}},
        {"search bar", {IDI_FIND_PREVIOUS, IDI_FIND_NEXT, IDI_CLOSE_SEARCH}},
        {"one", {IDI_TRAY_NORMAL}},
    };
    HIMAGELIST empty = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    const std::vector<DWORD> bare = DrawnPixels(empty, 0);
    ImageList_Destroy(empty);
    for (const auto& set : sets) {
        CImageList built;
        ASSERT_TRUE(BuildIconImageList(built, set.ids.data(), (int)set.ids.size(), ::GetModuleHandleW(nullptr)));
        HIMAGELIST expected = ListFromIcons(set.ids);
        ASSERT_EQ((int)set.ids.size(), built.GetImageCount()) << set.name;
        for (int i = 0; i < (int)set.ids.size(); i++) {
            std::vector<DWORD> want = DrawnPixels(expected, i);
            EXPECT_EQ(want, DrawnPixels(built, i)) << set.name << " image " << i;
            // Two lists that both drew nothing would pass the comparison above.
            EXPECT_NE(bare, want) << set.name << " image " << i;
        }
        ImageList_Destroy(expected);
    }
}

TEST(IconImageListTest, AnIconThatIsMissingKeepsItsSlotAndTheOthersTheirIndexes)
{
    const UINT ids[] = {IDI_FIND_NEXT, 59999, IDI_CLOSE_SEARCH};
    CImageList built;
    ASSERT_TRUE(BuildIconImageList(built, ids, 3, ::GetModuleHandleW(nullptr)));
    ASSERT_EQ(3, built.GetImageCount());
    HIMAGELIST expected = ListFromIcons({IDI_FIND_NEXT, IDI_CLOSE_SEARCH});
    EXPECT_EQ(DrawnPixels(expected, 0), DrawnPixels(built, 0));
    EXPECT_EQ(DrawnPixels(expected, 1), DrawnPixels(built, 2));
    // The missing one shows the system's application picture, not an empty or foreign slot.
    HIMAGELIST fallback = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddIcon(fallback, (HICON)::LoadImageW(nullptr, (LPCWSTR)IDI_APPLICATION, IMAGE_ICON, 16, 16, LR_SHARED));
    EXPECT_EQ(DrawnPixels(fallback, 0), DrawnPixels(built, 1));
    ImageList_Destroy(fallback);
    ImageList_Destroy(expected);
}
