#pragma once
// The world's maker of WHO and WHOIS windows: each takes the main window's stay-on-top setting,
// the member icons and row drawing, and the stored place of the WHO window; WHOIS windows count
// against the world's limit.

#include "controls/ListView.h"
#include "irc/UserInfoWindows.h"
#include "world/WhoDialog.h"

class IWorldFrame;
class TIRCWorld;
class TPreference;
struct TWindowGeometry;

// The main window's part in the dialogs, taken from the world's view of it.
class TWorldFrameUserInfo : public IUserInfoFrame {
public:
    explicit TWorldFrameUserInfo(IWorldFrame* frame) : frame(frame) {}
    HWND GetFrameWindow() override;
    bool IsTopMost() override;
    void OnUserInfo() override;

private:
    IWorldFrame* frame;
};

class TUserInfoDialogs : public IUserInfoWindows {
public:
    // world null: no limit and no check that a unit still exists.
    TUserInfoDialogs(TIRCWorld* world, const TPreference* preference, TWindowGeometry* geometry, IUserInfoFrame* frame);

    void SetMemberLook(HIMAGELIST images, IListViewListener* rowPainter, HFONT font, COLORREF backColor);

    IWhoWindow* CreateWhoWindow(TIRCUnit* unit, TIRCChannel* channel, IWhoDialogListener* listener) override;
    IWhoisWindow* CreateWhoisWindow(TIRCUnit* unit, const CString& nick, IWhoisDialogListener* listener) override;
    void OnWhoisWindowClosed() override;

private:
    TIRCWorld* world;
    const TPreference* preference;
    TWindowGeometry* geometry;
    IUserInfoFrame* frame;
    HIMAGELIST images = nullptr;
    IListViewListener* rowPainter = nullptr;
    HFONT font = nullptr;
    COLORREF backColor = CLR_NONE;
};
