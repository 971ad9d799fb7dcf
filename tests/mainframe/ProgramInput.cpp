#include "tests/mainframe/ProgramInput.h"

#include "controls/Clipboard.h"
#include "foundation/CodePage.h"
#include "tests/common/InputHandled.h"
#include "tests/common/UserInput.h"
#include "tests/mainframe/ProgramRun.h"

#include <commctrl.h>
#include <gtest/gtest.h>

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

void WaitAnswer(HWND window)
{
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer)) << "the program answers";
}

bool PickFirstChannel(HWND mainWindow)
{
    HWND tree = FindChildren(mainWindow, L"SysTreeView32").at(0);
    ClickAt(ScreenPointOf(tree, 40, 8));
    PressKey(VK_DOWN);
    return WaitUntil(
        [&] {
            HTREEITEM server = TreeView_GetRoot(tree);
            return server && TreeView_GetSelection(tree) == TreeView_GetChild(tree, server);
        },
        "the channel selected in the tree");
}

void ChooseMenuItem(HWND mainWindow, char popupKey, char itemKey)
{
    FocusForInput(mainWindow);
    PressKey(VK_F10);
    PressKey((WORD)popupKey);
    PressKey((WORD)itemKey);
}

std::string CopyLogText(HWND view)
{
    RECT r;
    ::GetClientRect(view, &r);
    ClickAt(ScreenPointOf(view, r.right / 2, r.bottom - 3));
    PressKey('A', {VK_CONTROL});
    DWORD before = ::GetClipboardSequenceNumber();
    PressKey('C', {VK_CONTROL});
    // The program empties the clipboard before it puts the text there.
    CString copied;
    WaitUntil([&] { return ::GetClipboardSequenceNumber() != before && !(copied = GetClipboardText()).IsEmpty(); },
              "the log's text on the clipboard");
    CStringA text = ConvertToUtf8(copied);
    return std::string(text.GetString(), (size_t)text.GetLength());
}

std::string OneServerTree(int port, const std::string& nick, const std::string& realName, const std::string& channel)
{
    return "[World]\r\nUnit.Count=1\r\n[Unit.00]\r\nName=testnet\r\nHostname=127.0.0.1\r\nPort=" +
           std::to_string(port) + "\r\nNick=" + nick + "\r\nUsername=" + nick + "\r\nRealname=" + realName +
           "\r\nAutoConnect=1\r\nCodepage=65001\r\nChannel.Count=1\r\nChannel.00.Name=" + channel +
           "\r\nChannel.00.AutoJoin=1\r\n";
}
