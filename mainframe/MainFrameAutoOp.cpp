// The auto-op and user group windows: one of each, made on first use, filled with copies of the
// settings and handing them back on OK; and the member commands that prefill them with the
// picked members' masks.

#include "dialogs/MaskDialog.h"
#include "irc/IRCChannel.h"
#include "irc/IRCUnit.h"
#include "irc/Member.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "world/IRCWorld.h"

void CMainFrame::ShowAutoOpDialog()
{
    if (autoOpDialog.ShowOrBringForward())
        return;
    TWorldConfig copy;
    if (world)
        world->StoreServerTree(copy);
    else
        static_cast<TWorldSetting&>(copy) = settings->world;
    auto made = std::make_unique<TAutoOpDialog>();
    made->SetWorldConfig(copy);
    made->SetListener(&settingsDialogEvents);
    made->SetImageList(contentPanel.GetTreeImageList()->m_hImageList);
    TAutoOpDialog* dialog =
        autoOpDialog.Open(std::move(made), [this](TAutoOpDialog& d) { return d.Create(IDD_AUTO_OP_DIALOG, this); });
    if (!dialog)
        return;
    CentreWindowOn(dialog->m_hWnd, m_hWnd);
    dialog->ShowWindow(SW_SHOWNORMAL);
}

void CMainFrame::OnChannelAutoOp()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit || !channel || channel->GetKind() != TIRCChannel::KindChannel)
        return;
    ShowAutoOpDialog();
    if (autoOpDialog)
        autoOpDialog->SelectNode(unit->GetName(), channel->GetConfig().Name);
}

void CMainFrame::OnServerAutoOp()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit)
        return;
    ShowAutoOpDialog();
    if (autoOpDialog)
        autoOpDialog->SelectNode(unit->GetName(), CString());
}

// One member: the mask waits in the edit for the user to confirm; several: added at once, unless
// the window holds no level of the node, where they would land in whichever it shows.
template <class TDialog>
void CMainFrame::PrefillMasks(TDialog* dialog, TIRCChannel* channel, const std::vector<CString>& nicks, bool addSeveral)
{
    const TPreference& preference = settings->preference;
    if (nicks.size() == 1) {
        if (const TIRCMember* member = channel->FindMember(nicks[0]))
            dialog->SetMaskText(preference.MakeMask(nicks[0], member->user, member->host));
        return;
    }
    if (!addSeveral)
        return;
    for (const CString& nick : nicks)
        if (const TIRCMember* member = channel->FindMember(nick))
            dialog->AddMask(preference.MakeMask(nick, member->user, member->host));
}

// The ignore list fills the same way.
template void CMainFrame::PrefillMasks(TMaskDialog* dialog, TIRCChannel* channel, const std::vector<CString>& nicks,
                                       bool addSeveral);

void CMainFrame::RegisterMembersToAutoOp()
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunMemberCommand(unit, channel))
        return;
    std::vector<CString> nicks = GetTargetNicks();
    ShowAutoOpDialog();
    if (!autoOpDialog)
        return;
    bool levelShown = autoOpDialog->SelectNode(unit->GetName(), channel->GetConfig().Name);
    PrefillMasks(autoOpDialog.Get(), channel, nicks, levelShown);
}

void CMainFrame::ShowUserGroupDialog()
{
    if (userGroupDialog.ShowOrBringForward())
        return;
    auto made = std::make_unique<TUserGroupDialog>();
    made->SetGroups(settings->preference.userGroups);
    made->SetListener(&settingsDialogEvents);
    TUserGroupDialog* dialog = userGroupDialog.Open(
        std::move(made), [this](TUserGroupDialog& d) { return d.Create(IDD_USER_GROUP_DIALOG, this); });
    if (!dialog)
        return;
    CentreWindowOn(dialog->m_hWnd, m_hWnd);
    dialog->ShowWindow(SW_SHOWNORMAL);
}

void CMainFrame::OnRegisterToGroup() { RegisterMembersToUserGroup((int)runningCommand - (int)ID_REGISTER_SELF - 1); }

void CMainFrame::RegisterMembersToUserGroup(int index)
{
    auto [unit, channel] = GetActiveNode();
    if (!CanRunMemberCommand(unit, channel))
        return;
    std::vector<CString> nicks = GetTargetNicks();
    ShowUserGroupDialog();
    if (!userGroupDialog)
        return;
    if (index < 0)
        userGroupDialog->SelectSpecialGroupItem();
    else
        userGroupDialog->SelectGroupItem(index);
    PrefillMasks(userGroupDialog.Get(), channel, nicks);
}

void CMainFrame::OnAutoOpDialogOK(TAutoOpDialog* dialog)
{
    if (!autoOpDialog.Holds(dialog) || !world)
        return;
    world->ApplyAutoOpSettings(dialog->GetWorldConfig());
    world->SaveServerTree();
}

void CMainFrame::OnServerTreeStored(const TWorldConfig& stored)
{
    if (autoOpDialog)
        autoOpDialog->FollowTree(stored);
}

void CMainFrame::OnUserGroupDialogOK(TUserGroupDialog* dialog)
{
    if (!userGroupDialog.Holds(dialog))
        return;
    settings->preference.userGroups = dialog->GetGroups();
    if (world)
        world->RefreshAllMemberLists();
    settings->preference.Save(settings->GetSettingsFolder());
}

void CMainFrame::OnSettingsDialogClose(TMaskTreeDialog* dialog)
{
    if (autoOpDialog.Holds(dialog))
        autoOpDialog.Destroy();
    else if (userGroupDialog.Holds(dialog))
        userGroupDialog.Destroy();
}
