#include "world/ChannelMaskList.h"

#include "classlib/MsgMap.h"
#include "foundation/WindowHelpers.h"
#include "irc/IRCChannel.h"

TChannelMaskList::TChannelMaskList(TIRCChannel* channel, const CString& title) : channel(channel)
{
    dialog.SetListener(this);
    dialog.SetTitle(title);
}

bool TChannelMaskList::Create() { return dialog.CreateAndShow(); }

void TChannelMaskList::GetMasks(std::vector<CString>& now, std::vector<CString>& filled)
{
    now = dialog.GetMasks();
    filled = dialog.GetFilledMasks();
}

void TChannelMaskList::Show()
{
    if (!dialog.m_hWnd)
        return;
    dialog.ShowWindow(::IsIconic(dialog.m_hWnd) ? SW_RESTORE : SW_SHOW);
    ForceToFront(dialog.m_hWnd);
    dialog.SetFocus();
}

void TChannelMaskList::KickIdle()
{
    if (dialog.m_hWnd)
        dialog.SendMessage(WM_KICKIDLE, 0, 0);
}

// The channel deletes this object, and the dialog with it, in its close slot.
void TChannelMaskList::OnMaskDialogOK(TMaskDialog*) { channel->OnMaskDialogOK(this); }

void TChannelMaskList::OnMaskDialogUpdate(TMaskDialog*) { channel->OnMaskDialogUpdate(this); }

void TChannelMaskList::OnMaskDialogClose(TMaskDialog*) { channel->OnMaskDialogClose(this); }
