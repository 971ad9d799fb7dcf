#include "tests/mainframe/ProgramInput.h"

#include "controls/Clipboard.h"
#include "foundation/CodePage.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"
#include "tests/mainframe/ProgramRun.h"

HWND InputLine(HWND mainWindow)
{
    HWND chat = FindChildren(mainWindow, L"Ketroval2ChatPanel").at(0);
    for (HWND edit : FindChildren(chat, L"Edit"))
        if (!::GetWindow(edit, GW_CHILD))
            return edit;
    return nullptr;
}

HWND ShownChannelLog(HWND mainWindow)
{
    HWND chat = FindChildren(mainWindow, L"Ketroval2ChatPanel").at(0);
    for (HWND view : FindChildren(chat, L"Ketroval2LogView"))
        if (::IsWindowVisible(view))
            return view;
    return nullptr;
}

std::string CopyLogText(HWND view)
{
    RECT r;
    ::GetClientRect(view, &r);
    ClickAt(ScreenPointOf(view, r.right / 2, r.bottom - 3));
    PressKey('A', {VK_CONTROL});
    PressKey('C', {VK_CONTROL});
    PumpMessagesFor(100);
    CStringA text = ConvertToUtf8(GetClipboardText());
    return std::string(text.GetString(), (size_t)text.GetLength());
}

std::string OneServerTree(int port, const std::string& nick, const std::string& realName, const std::string& channel)
{
    return "[World]\r\nUnit.Count=1\r\n[Unit.00]\r\nName=testnet\r\nHostname=127.0.0.1\r\nPort=" +
           std::to_string(port) + "\r\nNick=" + nick + "\r\nUsername=" + nick + "\r\nRealname=" + realName +
           "\r\nAutoConnect=1\r\nCodepage=65001\r\nChannel.Count=1\r\nChannel.00.Name=" + channel +
           "\r\nChannel.00.AutoJoin=1\r\n";
}
