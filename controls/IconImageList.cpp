#include "controls/IconImageList.h"

#include "classlib/App.h"

#include <cstring>
#include <vector>

namespace {

const int kSize = 16;

// The 16 x 16 picture of an icon resource as stored: a 32-bit bottom-up colour image with its
// alpha, followed by the 1-bit AND mask, rows padded to four bytes.
struct TIconBits {
    const BYTE* colour = nullptr;
    const BYTE* mask = nullptr;
};

bool FindIconBits(HINSTANCE module, UINT id, TIconBits& bits)
{
    HRSRC group = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    BYTE* directory = group ? (BYTE*)::LockResource(::LoadResource(module, group)) : nullptr;
    if (!directory)
        return false;
    int imageId = ::LookupIconIdFromDirectoryEx(directory, TRUE, kSize, kSize, LR_DEFAULTCOLOR);
    HRSRC image = imageId ? ::FindResourceW(module, MAKEINTRESOURCEW(imageId), RT_ICON) : nullptr;
    const BYTE* data = image ? (const BYTE*)::LockResource(::LoadResource(module, image)) : nullptr;
    if (!data)
        return false;
    const DWORD maskStride = 4;
    const DWORD colourBytes = kSize * kSize * 4;
    BITMAPINFOHEADER header;
    if (::SizeofResource(module, image) < sizeof(header) + colourBytes + maskStride * kSize)
        return false;
    memcpy(&header, data, sizeof(header));
    // Any other form (a PNG image, fewer colours, another size) goes the slow way.
    if (header.biSize != sizeof(header) || header.biWidth != kSize || header.biHeight != 2 * kSize ||
        header.biBitCount != 32 || header.biCompression != BI_RGB)
        return false;
    bits.colour = data + sizeof(header);
    bits.mask = bits.colour + colourBytes;
    return true;
}

void AddIconAt(CImageList& list, int index, HINSTANCE module, UINT id)
{
    HICON icon = (HICON)::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, kSize, kSize, 0);
    bool shared = !icon;
    if (shared)
        icon = (HICON)::LoadImageW(nullptr, (LPCWSTR)IDI_APPLICATION, IMAGE_ICON, kSize, kSize, LR_SHARED);
    if (list.GetImageCount() > index)
        ImageList_ReplaceIcon(list, index, icon);
    else
        list.Add(icon);
    if (!shared)
        ::DestroyIcon(icon);
}

// Lays the icons' pictures side by side; slots whose icon could not be read stay empty and are
// returned in `missing`.
bool AddStrip(CImageList& list, HINSTANCE module, const UINT* iconIds, int count, std::vector<int>& missing)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kSize * count;
    info.bmiHeader.biHeight = kSize; // bottom-up, as the icons store their rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP colour = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!colour)
        return false;
    // A monochrome bitmap's rows are padded to two bytes; each icon gives two bytes of a row.
    const int maskStride = ((kSize * count + 15) / 16) * 2;
    std::vector<BYTE> maskRows((size_t)maskStride * kSize, 0xFF);
    DWORD* strip = (DWORD*)pixels;
    for (int i = 0; i < count; i++) {
        TIconBits bits;
        if (!FindIconBits(module, iconIds[i], bits)) {
            missing.push_back(i);
            continue;
        }
        for (int row = 0; row < kSize; row++) {
            memcpy(strip + row * kSize * count + i * kSize, bits.colour + row * kSize * 4, kSize * 4);
            // CreateBitmap takes top-down rows; the icon's mask is bottom-up.
            BYTE* to = &maskRows[(size_t)(kSize - 1 - row) * maskStride + i * 2];
            memcpy(to, bits.mask + row * 4, 2);
        }
    }
    HBITMAP mask = ::CreateBitmap(kSize * count, kSize, 1, 1, maskRows.data());
    bool added = mask && ImageList_Add(list, colour, mask) == 0;
    ::DeleteObject(colour);
    if (mask)
        ::DeleteObject(mask);
    return added;
}

} // namespace

bool BuildIconImageList(CImageList& list, const UINT* iconIds, int count, HINSTANCE module)
{
    if (!module)
        module = AfxGetResourceHandle();
    if (!list.Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, count, count))
        return false;
    std::vector<int> missing;
    if (count > 0 && !AddStrip(list, module, iconIds, count, missing)) {
        ImageList_RemoveAll(list);
        missing.clear();
        for (int i = 0; i < count; i++)
            missing.push_back(i);
    }
    for (int i : missing)
        AddIconAt(list, i, module, iconIds[i]);
    return true;
}
