#include "controls/Clipboard.h"

#include <cstring>
#include <cwchar>

void CopyTextToClipboard(const CString& text)
{
    if (!::OpenClipboard(nullptr))
        return;
    ::EmptyClipboard();
    size_t bytes = ((size_t)text.GetLength() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* data = memory ? ::GlobalLock(memory) : nullptr;
    if (data) {
        memcpy(data, text.GetString(), bytes);
        ::GlobalUnlock(memory);
        // The clipboard owns the memory once it is set; it stays ours only when that fails.
        if (!::SetClipboardData(CF_UNICODETEXT, memory))
            ::GlobalFree(memory);
    } else if (memory) {
        ::GlobalFree(memory);
    }
    ::CloseClipboard();
}

CString GetClipboardText()
{
    CString text;
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !::OpenClipboard(nullptr))
        return text;
    HANDLE memory = ::GetClipboardData(CF_UNICODETEXT);
    const wchar_t* data = memory ? (const wchar_t*)::GlobalLock(memory) : nullptr;
    if (data) {
        // Bounded by the block's size, in case the text lacks its terminating zero.
        size_t room = ::GlobalSize(memory) / sizeof(wchar_t);
        text = CString(data, (int)wcsnlen(data, room));
        ::GlobalUnlock(memory);
    }
    ::CloseClipboard();
    return text;
}
