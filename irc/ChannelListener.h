#pragma once
// What a channel asks of its server unit and, through it, of the world and its windows.

#include "irc/MemberView.h"

#include <vector>

class TIRCChannel;
class TPreference;

// One of a channel's ban, exception, invite and reop list windows.
class IMaskList {
public:
    virtual ~IMaskList() = default;
    virtual void AddMask(const CString& mask) = 0;
    virtual void RemoveMask(const CString& mask) = 0;
    virtual void ClearMasks() = 0;
    virtual int GetMaskCount() = 0;
    // The masks shown now, and those it showed when the server had filled it.
    virtual void GetMasks(std::vector<CString>& now, std::vector<CString>& filled) = 0;
    virtual void Show() = 0;
};

class IIRCChannelListener : public IMemberManagerListener {
public:
    virtual const TPreference& GetPreference() = 0;
    virtual CString GetUnitName() = 0;
    virtual void SendChannelMode(TIRCChannel* channel, const CString& text) = 0;
    virtual void SendModeChanges(TIRCChannel* channel, wchar_t letter, const std::vector<CString>& removals,
                                 const std::vector<CString>& additions) = 0;
    // A client status line in the channel's log.
    virtual void PrintSystemText(TIRCChannel* channel, const CString& text) = 0;
    virtual bool IsSelected(TIRCChannel* channel) = 0;
    virtual IMemberListView* CreateMemberView(TIRCChannel* channel) = 0;
    virtual void DestroyMemberView(TIRCChannel* channel) = 0;
    virtual IMaskList* CreateMaskList(TIRCChannel* channel, const CString& title) = 0;

protected:
    ~IIRCChannelListener() = default;
};
