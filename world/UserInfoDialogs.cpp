#include "world/UserInfoDialogs.h"

#include "world/IRCWorld.h"
#include "world/WhoisDialog.h"
#include "world/WorldFrame.h"

HWND TWorldFrameUserInfo::GetFrameWindow() { return frame->GetFrameWindow(); }

bool TWorldFrameUserInfo::IsTopMost() { return frame->IsTopMost(); }

void TWorldFrameUserInfo::OnUserInfo() { frame->OnUserInfo(); }

TUserInfoDialogs::TUserInfoDialogs(TIRCWorld* world, const TPreference* preference, TWindowGeometry* geometry,
                                   IUserInfoFrame* frame)
    : world(world), preference(preference), geometry(geometry), frame(frame)
{
}

void TUserInfoDialogs::SetMemberLook(HIMAGELIST imageList, IListViewListener* painter, HFONT listFont,
                                     COLORREF listBack)
{
    images = imageList;
    rowPainter = painter;
    font = listFont;
    backColor = listBack;
}

IWhoWindow* TUserInfoDialogs::CreateWhoWindow(TIRCUnit* unit, TIRCChannel* channel, IWhoDialogListener* listener)
{
    TWhoDialog* dialog = new TWhoDialog;
    dialog->SetPreference(preference);
    dialog->SetListener(listener);
    dialog->SetUnitName(unit->GetName());
    dialog->SetChannelName(channel->GetName());
    dialog->SetImageList(images);
    dialog->SetGeometry(geometry);
    dialog->SetFrame(frame);
    dialog->SetRowPainter(rowPainter);
    dialog->SetListLook(font, backColor);
    if (!dialog->CreateAndShow()) {
        delete dialog;
        return nullptr;
    }
    bool topMost = frame && frame->IsTopMost();
    ::SetWindowPos(dialog->m_hWnd, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return dialog;
}

IWhoisWindow* TUserInfoDialogs::CreateWhoisWindow(TIRCUnit* unit, const CString&, IWhoisDialogListener* listener)
{
    if (world && !world->TryOpenWhoisDialog())
        return nullptr;
    TWhoisDialog* dialog = new TWhoisDialog;
    dialog->SetListener(listener, world, unit);
    if (!dialog->CreateAndShow(frame && frame->IsTopMost())) {
        delete dialog;
        OnWhoisWindowClosed();
        return nullptr;
    }
    return dialog;
}

void TUserInfoDialogs::OnWhoisWindowClosed()
{
    if (world)
        world->OnWhoisDialogClosed();
}
