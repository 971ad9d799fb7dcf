#pragma once
// What the received side of a unit needs of the world and its windows: the member lists, the
// mask-list windows, the tree items of new and renamed nodes, the selection and balloons.
// Without it (tests, start-up) the unit runs with no windows at all.

#include "irc/MaskList.h"
#include "irc/MemberView.h"
#include "ircproto/InviteRequest.h"

class TIRCChannel;
class TIRCUnit;

class IChannelWindows {
public:
    virtual IMemberListView* CreateMemberView(TIRCUnit* unit, TIRCChannel* channel) = 0;
    virtual void DestroyMemberView(TIRCUnit* unit, TIRCChannel* channel) = 0;
    virtual IMaskList* CreateMaskList(TIRCUnit* unit, TIRCChannel* channel, const CString& title) = 0;
    // A node was added to the unit: its tree item and the sort.
    virtual void OnChannelAdded(TIRCUnit* unit, TIRCChannel* channel) = 0;
    // "tree.ini" after an own JOIN, once the channel it made is joined.
    virtual void SaveServerTree() = 0;
    // A talk took a new name: tree item text, title, sort and the unit's last shown node follow.
    virtual void OnChannelRenamed(TIRCUnit* unit, TIRCChannel* channel, const CString& oldName) = 0;
    // The node is about to be deleted: its tree item and views go first.
    virtual void OnChannelDeleting(TIRCUnit* unit, TIRCChannel* channel) = 0;
    virtual void Select(TIRCUnit* unit, TIRCChannel* channel) = 0;
    virtual void ShowBalloon(const CString& title, const CString& text) = 0;
    // An invitation window, shown (to the front when activate is set); null when the world's
    // limit refuses one more. The unit owns and deletes it.
    virtual IInviteRequest* ShowInvitation(IInviteDialogListener* listener, const CString& nick, const CString& channel,
                                           bool activate) = 0;
    // One of those windows has gone; the count of open ones falls.
    virtual void OnInviteDialogClosed() = 0;

protected:
    ~IChannelWindows() = default;
};
