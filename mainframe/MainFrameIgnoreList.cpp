// The ignore list: one modeless mask window owned by the frame, filled from the world's ignore
// masks, whose OK replaces them and writes the server tree; and the member command that puts
// the picked members' masks into it.

#include "foundation/ResourceString.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "irc/Member.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

void CMainFrame::ShowIgnoreListDialog()
{
    if (ignoreList.ShowOrBringForward())
        return;
    auto made = std::make_unique<TMaskDialog>();
    made->SetListener(this);
    made->SetTitle(LoadResourceString(IDS_IGNORE_LIST_TITLE));
    TMaskDialog* dialog =
        ignoreList.Open(std::move(made), [this](TMaskDialog& d) { return d.Create(IDD_MASK_DIALOG, this); });
    if (!dialog)
        return;
    CentreWindowOn(dialog->m_hWnd, m_hWnd);
    // Its changes take effect on OK only: there is nothing to apply early.
    ::ShowWindow(::GetDlgItem(dialog->m_hWnd, IDC_MASK_UPDATE), SW_HIDE);
    dialog->ShowWindow(SW_SHOWNORMAL);
    for (const CString& mask : settings->world.IgnoreMasks)
        dialog->AddMask(mask);
}

// For the user to look at and add: nothing is listed yet.
void CMainFrame::ShowIgnoreList(const CString& mask)
{
    ShowIgnoreListDialog();
    if (ignoreList.IsOpen())
        ignoreList->SetMaskText(mask);
}

void CMainFrame::OnMaskDialogOK(TMaskDialog* dialog)
{
    if (!ignoreList.Holds(dialog))
        return;
    settings->world.IgnoreMasks = dialog->GetMasks();
    if (world)
        world->SaveServerTree();
}

void CMainFrame::OnMaskDialogClose(TMaskDialog* dialog)
{
    if (ignoreList.Holds(dialog))
        ignoreList.Destroy();
}

void CMainFrame::OnRegisterIgnore()
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunMemberCommand(unit, channel))
        return;
    std::vector<CString> nicks = GetTargetNicks();
    ShowIgnoreListDialog();
    if (ignoreList)
        PrefillMasks(ignoreList.Get(), channel, nicks);
}
