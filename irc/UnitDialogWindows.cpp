// The unit's modeless windows as a whole: they follow the main window while a modal dialog
// disables it, while it is minimised and hidden, and while it stays on top. Invitations and DCC
// chat offers stand apart: they are there to be answered while the main window is away.

#include "irc/IRCUnit.h"

void TIRCUnit::GetDialogWindows(std::vector<HWND>& windows) const
{
    for (const auto& entry : whoisWindows)
        windows.push_back(entry.second->GetWindowHandle());
    if (channelList)
        windows.push_back(channelList->GetWindowHandle());
    for (TIRCChannel* channel : channels) {
        if (IWhoWindow* who = channel->GetWhoDialog())
            windows.push_back(who->GetWindowHandle());
        for (int i = 0; i < TIRCChannel::MaskListCount; i++)
            if (IMaskList* list = channel->GetMaskList(i))
                windows.push_back(list->GetWindowHandle());
    }
}

void TIRCUnit::EnableDialogs(bool enable)
{
    std::vector<HWND> windows;
    GetDialogWindows(windows);
    EnableModelessWindows(windows, enable);
}

void TIRCUnit::HideDialogs(bool hide)
{
    std::vector<HWND> windows;
    GetDialogWindows(windows);
    HideModelessWindows(windows, hide);
}

void TIRCUnit::SetDialogsTopMost(bool topMost)
{
    std::vector<HWND> windows;
    GetDialogWindows(windows);
    SetModelessWindowsTopMost(windows, topMost);
}
