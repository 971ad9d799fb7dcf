// The unit's channel list window: LIST replies fill it, and its requests come back here.

#include "foundation/Decimal.h"
#include "foundation/ResourceString.h"
#include "irc/IRCUnit.h"
#include "res/strings/lists.h"

IChannelListWindow* TIRCUnit::ShowChannelListDialog()
{
    if (channelList) {
        channelList->Activate();
        return channelList;
    }
    if (!channelListWindows || session.shutdown)
        return nullptr;
    channelList = channelListWindows->CreateChannelListWindow(
        this, this, FormatStringResourceWithText(IDS_CHANNEL_LIST_TITLE, GetName()));
    return channelList;
}

void TIRCUnit::CloseChannelListDialog()
{
    IChannelListWindow* dialog = channelList;
    channelList = nullptr;
    delete dialog;
}

void TIRCUnit::OnListReply(const TIRCReceiveMessage& message)
{
    if (!session.replyFlags[kChannelListing]) {
        session.replyFlags[kChannelListing] = true;
        if (channelList)
            channelList->ClearItems();
    }
    if (channelList) {
        channelList->AddChannel(message.GetParam(1), ReadDecimal(message.GetParam(2)), message.GetParam(3));
        return;
    }
    CString line;
    line.Format(L"*list %s (%s) : %s", message.GetParam(1).GetString(), message.GetParam(2).GetString(),
                message.GetParam(3).GetString());
    PrintReply(line);
}

void TIRCUnit::OnListEndReply()
{
    session.replyFlags[kChannelListing] = false;
    if (channelList)
        channelList->SortItems();
}

void TIRCUnit::OnUpdateList(IChannelListWindow*)
{
    if (GetState() == StateLoggedIn)
        RequestChannelList(CString());
}

void TIRCUnit::OnListDialogClose(IChannelListWindow* dialog)
{
    if (dialog == channelList)
        CloseChannelListDialog();
}

void TIRCUnit::OnJoinChannel(IChannelListWindow*, const CString& channel)
{
    if (GetState() == StateLoggedIn)
        JoinChannelByName(channel, CString());
}

void TIRCUnit::OnGetMemberInfo(IChannelListWindow*, const CString& channel)
{
    if (GetState() == StateLoggedIn)
        SendNames(channel);
}

void TIRCUnit::OnGetDetailedMemberInfo(IChannelListWindow*, const CString& channel)
{
    if (GetState() == StateLoggedIn)
        SendWho(channel);
}
