// The ignore list: one modeless mask window owned by the frame, filled from the world's ignore
// masks, whose OK replaces them and writes the server tree; and the member command that puts
// the picked members' masks into it.

#include "mainframe/MainFrame.h"
#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "world/IRCWorld.h"
#include "irc/Member.h"
#include "res/resource.h"
#include "settings/Config.h"

void CMainFrame::ShowIgnoreListDialog()
{
    if (ignoreList) {
        BringBackWindow(ignoreList->m_hWnd);
        return;
    }
    ignoreList = new TMaskDialog;
    ignoreList->SetListener(this);
    ignoreList->SetTitle(LoadResourceString(IDS_IGNORE_LIST_TITLE));
    if (!ignoreList->Create(IDD_MASK_DIALOG, this)) {
        delete ignoreList;
        ignoreList = nullptr;
        return;
    }
    CentreWindowOn(ignoreList->m_hWnd, m_hWnd);
    // Its changes take effect on OK only: there is nothing to apply early.
    ::ShowWindow(::GetDlgItem(ignoreList->m_hWnd, IDC_MASK_UPDATE), SW_HIDE);
    ignoreList->ShowWindow(SW_SHOWNORMAL);
    for (const CString& mask : settings->world.IgnoreMasks)
        ignoreList->AddMask(mask);
}

void CMainFrame::OnMaskDialogOK(TMaskDialog* dialog)
{
    if (dialog != ignoreList)
        return;
    settings->world.IgnoreMasks = dialog->GetMasks();
    if (world)
        world->SaveServerTree();
}

void CMainFrame::OnMaskDialogClose(TMaskDialog* dialog)
{
    if (dialog != ignoreList)
        return;
    ignoreList = nullptr;
    delete dialog;
}

void CMainFrame::DestroyIgnoreList()
{
    delete ignoreList;
    ignoreList = nullptr;
}

void CMainFrame::OnRegisterIgnore()
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunMemberCommand(unit, channel))
        return;
    std::vector<CString> nicks = GetTargetNicks();
    ShowIgnoreListDialog();
    if (ignoreList)
        PrefillMasks(ignoreList, channel, nicks);
}
