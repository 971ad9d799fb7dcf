#pragma once
// The main window of MainFrameFixture with its world's DCC manager, received files going to a
// folder of their own, and helpers that drive the transfer window as a user does.

#include "tests/mainframe/MainFrameFixture.h"

#include "dccwindows/DCCDialog.h"
#include "res/resource.h"
#include "tests/common/ControlText.h"
#include "tests/common/InputHandled.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"
#include "tests/net/NetTestSupport.h"

#include <algorithm>
#include <commctrl.h>

#include <utility>
#include <vector>

class DCCWindowFixture : public MainFrameFixture {
protected:
    void ConfigureUnit(TUnitConfig&) override
    {
        TPreference& preference = settings.preference;
        preference.DCCRootDir = downloads.path;
        preference.ReceiveInNickFolder = false;
        preference.AutoResume = false;
        preference.InstantSend = false;
        preference.CloseDialogOnEndTransfer = false;
        preference.ViewDialogOnSend = false;
        preference.DCCReceivePortStart = TPeer::UnusedPort();
        preference.DCCReceivePortEnd = preference.DCCReceivePortStart + 20;
        // Items stay in the states a test gives them unless it starts them itself.
        preference.EnableMaxDCCReceiveConnection = true;
        preference.MaxDCCReceiveConnection = 0;
        preference.EnableMaxDCCSendConnection = true;
        preference.MaxDCCSendConnection = 0;
    }
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        frame->SetWindowPos(nullptr, 20, 20, 700, 420, SWP_NOZORDER);
        settings.geometry.dccRect = RECT{60, 120, 980, 520};
        settings.geometry.dccSplitter = 160;
    }

    TDCCManager& Manager() { return world->GetDCCManager(); }
    TDCCDialog* Window() { return frame->GetDCCDialog(); }
    HWND ReceiveList() { return Window()->GetReceiveList()->m_hWnd; }
    HWND SendList() { return Window()->GetSendList()->m_hWnd; }

    // F10 and the access keys of a popup and its item, typed ahead in one go: the menu's own loop
    // reads them once F10 has opened the menu bar.
    static void ChooseMenuItem(HWND window, WORD popupKey, WORD itemKey)
    {
        FocusForInput(window);
        std::vector<INPUT> inputs;
        for (WORD key : {(WORD)VK_F10, popupKey, itemKey})
            for (DWORD flags : {0ul, (DWORD)KEYEVENTF_KEYUP}) {
                INPUT input = {};
                input.type = INPUT_KEYBOARD;
                input.ki.wVk = key;
                input.ki.dwFlags = flags;
                inputs.push_back(input);
            }
        ::SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
        WaitForInputHandled();
    }
    // "表示(&V)" then "DCCファイル送受信(&D)..." of the main menu.
    void OpenFromMenu()
    {
        ChooseMenuItem(frame->m_hWnd, 'V', 'D');
        WaitUntil([&] { return Window() && ::IsWindowVisible(Window()->m_hWnd); }, "the transfer window shown");
        PumpPendingMessages();
    }

    // An offer waiting in the window, put into the state given.
    TDCCReceiveItem* AddReceive(const wchar_t* nick, const wchar_t* file, long long size, int state, int port = 1096)
    {
        Manager().AddReceiveItem(nullptr, 0, false, nick, file, port, size, TInetAddress(htonl(0xC0000201)));
        TDCCReceiveItem* item = Manager().GetReceiveItems().back();
        item->SetState(state);
        return item;
    }
    // A send through the server given: none stands for one removed since.
    TDCCSendItem* AddSend(const wchar_t* nick, const CString& path, int state, TIRCUnit* unit = nullptr)
    {
        Manager().AddSendItem(unit, nick, path);
        TDCCSendItem* item = Manager().GetSendItems().back();
        item->SetState(state);
        return item;
    }
    // A file of the size in the test's folder, filled with a known pattern.
    CString MakeFile(const wchar_t* name, int size)
    {
        CString path = folder.File(name);
        HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        std::vector<char> bytes(size);
        for (int i = 0; i < size; i++)
            bytes[i] = (char)(i * 7 + i / 251);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), (DWORD)size, &written, nullptr);
        ::CloseHandle(file);
        return path;
    }

    // "net" logged in or not, without a server: only a start from the window asks.
    void SetLoggedIn(bool loggedIn)
    {
        net->GetSession().state = loggedIn ? TIRCUnit::StateLoggedIn : TIRCUnit::StateDisconnected;
    }

    static int RowCount(HWND list) { return (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); }
    static int Image(HWND list, int row)
    {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ::SendMessageW(list, LVM_GETITEMW, 0, (LPARAM)&item);
        return item.iImage;
    }
    static int RowOf(HWND list, const void* item)
    {
        LVFINDINFOW find = {};
        find.flags = LVFI_PARAM;
        find.lParam = (LPARAM)item;
        return (int)::SendMessageW(list, LVM_FINDITEMW, (WPARAM)-1, (LPARAM)&find);
    }
    static POINT RowPoint(HWND list, int row)
    {
        RECT rect = {};
        ListView_GetItemRect(list, row, &rect, LVIR_LABEL);
        return ScreenPointOf(list, rect.left + 8, (rect.top + rect.bottom) / 2);
    }
    // Clicks the first row and Ctrl+clicks the others.
    void SelectRows(HWND list, std::initializer_list<int> rows)
    {
        bool first = true;
        for (int row : rows) {
            // The window leaves the input with the main window, which may cover the row where they
            // overlap: a user brings it to the front first.
            FocusForInput(list);
            INPUT control = {};
            control.type = INPUT_KEYBOARD;
            control.ki.wVk = VK_CONTROL;
            if (!first)
                ::SendInput(1, &control, sizeof control);
            ClickAt(RowPoint(list, row));
            control.ki.dwFlags = KEYEVENTF_KEYUP;
            if (!first)
                ::SendInput(1, &control, sizeof control);
            first = false;
        }
        // The clicks land later on a loaded machine.
        std::vector<int> wanted(rows);
        std::sort(wanted.begin(), wanted.end());
        WaitUntil([&] { return SelectedRows(list) == wanted; }, "the clicked rows selected");
    }
    static std::vector<int> SelectedRows(HWND list)
    {
        std::vector<int> rows;
        for (int row = -1; (row = ListView_GetNextItem(list, row, LVNI_SELECTED)) >= 0;)
            rows.push_back(row);
        return rows;
    }
    // The list's context menu opened on the row, as it shows.
    TShownMenu ContextMenuOn(HWND list, int row, const wchar_t* screenshot = nullptr)
    {
        FocusForInput(list);
        return ReadOpenedPopup([&] { ClickAt(RowPoint(list, row), true); }, screenshot);
    }
    bool ChooseOnRow(HWND list, int row, WORD key)
    {
        FocusForInput(list);
        bool chosen = ChooseFromOpenedPopup([&] { ClickAt(RowPoint(list, row), true); }, {key});
        return chosen;
    }

    TTempFolder downloads;
    // Folders and files the window asked the shell to explore or open.
    std::vector<std::pair<CString, CString>> shellCalls;
    void RecordShellCalls()
    {
        Window()->openWithShell = [this](const CString& verb, const CString& path) {
            shellCalls.emplace_back(verb, path);
        };
    }
};
