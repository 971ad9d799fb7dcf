#include "foundation/HtmlHelp.h"

#include "foundation/Path.h"

namespace {
typedef HWND(WINAPI* HtmlHelpWProc)(HWND, LPCWSTR, UINT, DWORD_PTR);
const UINT kDisplayTopic = 0x0000; // HH_DISPLAY_TOPIC

HtmlHelpWProc GetHtmlHelpW()
{
    // One attempt per process; the library stays loaded.
    static bool tried = false;
    static HtmlHelpWProc proc = nullptr;
    if (!tried) {
        tried = true;
        if (HMODULE lib = LoadLibraryW(L"hhctrl.ocx"))
            proc = reinterpret_cast<HtmlHelpWProc>(reinterpret_cast<void (*)()>(GetProcAddress(lib, "HtmlHelpW")));
    }
    return proc;
}
} // namespace

bool THtmlHelp::ShowTopic(const CString& topic)
{
    if (helpFile.IsEmpty() || !PathExists(helpFile))
        return false;
    HtmlHelpWProc htmlHelp = GetHtmlHelpW();
    if (!htmlHelp)
        return false;
    htmlHelp(GetDesktopWindow(), helpFile, kDisplayTopic, reinterpret_cast<DWORD_PTR>(topic.GetString()));
    return true;
}
