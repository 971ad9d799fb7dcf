// Files dropped on the main window are offered by DCC to members of the current channel: the
// selected members, else the member under the drop point.

#include "controls/ListView.h"
#include "dccmanager/DCCManager.h"
#include "dialogs/InputPrompts.h"
#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "mainframe/DroppedFiles.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

#include <commctrl.h>

namespace {

CString GetListItemText(HWND list, int item)
{
    wchar_t text[512] = L"";
    LVITEMW column = {};
    column.iSubItem = 0;
    column.pszText = text;
    column.cchTextMax = 512;
    ::SendMessageW(list, LVM_GETITEMTEXTW, (WPARAM)item, (LPARAM)&column);
    return text;
}

// The nick of the row under a screen point, or empty.
CString GetNickAt(HWND list, POINT screen)
{
    POINT client = screen;
    ::ScreenToClient(list, &client);
    RECT area;
    ::GetClientRect(list, &area);
    if (!::PtInRect(&area, client))
        return CString();
    LVHITTESTINFO hit = {};
    hit.pt = client;
    int item = (int)::SendMessageW(list, LVM_HITTEST, 0, (LPARAM)&hit);
    return item >= 0 && (hit.flags & LVHT_ONITEM) ? GetListItemText(list, item) : CString();
}

} // namespace

// The nicks of the selected rows, first column, in list order.
std::vector<CString> GetSelectedListNicks(HWND list)
{
    std::vector<CString> nicks;
    int item = -1;
    while ((item = (int)::SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)item, LVNI_SELECTED)) >= 0)
        nicks.push_back(GetListItemText(list, item));
    return nicks;
}

LRESULT CMainFrame::OnDropFilesMessage(WPARAM wParam, LPARAM)
{
    HDROP drop = (HDROP)wParam;
    POINT point = {};
    bool inside = ::DragQueryPoint(drop, &point) != FALSE;
    if (inside)
        ClientToScreen(&point);
    std::vector<CString> files = ReadDroppedFiles(drop);
    ::DragFinish(drop);
    OfferDroppedFiles(files, inside, point);
    return 0;
}

void CMainFrame::OfferDroppedFiles(const std::vector<CString>& files, bool inside, POINT screen)
{
    if (files.empty())
        return;
    auto [unit, channel] = GetSelectedNode();
    // A channel not joined, or a talk whose connection was lost, has nobody to send to; the
    // world's empty stand-in list must not lead to the nick prompt.
    if (!unit || !channel || !channel->memberView)
        return;
    HWND list = GetMemberList();
    if (!list)
        return;
    std::vector<CString> nicks = GetSelectedListNicks(list);
    if (nicks.empty() && inside) {
        CString nick = GetNickAt(list, screen);
        if (!nick.IsEmpty())
            nicks.push_back(nick);
    }
    if (nicks.empty()) {
        ForceSetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
        TInputNickDialog dialog;
        dialog.SetTitle(LoadResourceString(IDS_DROP_SEND_TITLE));
        dialog.SetPrompt(LoadResourceString(IDS_DROP_SEND_PROMPT));
        // The prompt is modal: the server may have gone meanwhile.
        const TNodeSerials asked = TIRCWorld::NoteNode(unit, nullptr);
        if (dialog.DoModal() != IDOK || !FindNodeAgain(asked, unit, channel))
            return;
        nicks.push_back(dialog.GetText());
    }
    for (const CString& nick : nicks)
        for (const CString& file : files)
            SendFileByDcc(unit, nick, file);
    if (settings->preference.ViewDialogOnSend)
        ShowDCCDialog(false);
}

void CMainFrame::SendFileByDcc(TIRCUnit* unit, const CString& nick, const CString& path)
{
    if (dccSender)
        dccSender->AddSendItem(unit, nick, path);
    else if (TDCCManager* manager = GetDCCManager())
        manager->AddSendItem(unit, nick, path);
}

// The member list the panel shows for the current channel; an empty one for talks and servers.
HWND CMainFrame::GetMemberList()
{
    TListView* list = world ? world->GetCurrentMemberList() : nullptr;
    return list ? list->m_hWnd : nullptr;
}
