// The user's own popup-menu items: each runs its action through the selected server's macro
// engine.

#include "irc/IRCUnit.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/Config.h"
#include "settings/PopupFile.h"

void CMainFrame::OnUserPopupCommand()
{
    auto [unit, channel] = GetSelectedNode();
    if (!unit)
        return;
    const std::vector<TPopupItem*>& items = settings->popup.items;
    size_t index = runningCommand - ID_USER_POPUP_FIRST;
    if (runningCommand >= ID_USER_POPUP_FIRST && index < items.size())
        unit->RunPopupMenuCommand(*items[index]);
}

void CMainFrame::AssignPopupCommandIds()
{
    std::vector<TPopupItem*>& items = settings->popup.items;
    for (size_t i = 0; i < items.size(); i++)
        items[i]->commandId = i <= ID_USER_POPUP_LAST - ID_USER_POPUP_FIRST ? ID_USER_POPUP_FIRST + (int)i : 0;
}
