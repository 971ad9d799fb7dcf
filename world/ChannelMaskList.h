#pragma once
// A channel's mask-list window: the mask dialog, reporting its OK, Update and close to the channel.

#include "dialogs/MaskDialog.h"
#include "irc/MaskList.h"

class TIRCChannel;

class TChannelMaskList : public IMaskList, public IMaskDialogListener {
public:
    TChannelMaskList(TIRCChannel* channel, const CString& title);

    // The window, made and shown; false when it cannot be made.
    bool Create();
    TMaskDialog& GetDialog() { return dialog; }

    void AddMask(const CString& mask) override { dialog.AddMask(mask); }
    void AddShownMask(const CString& mask) override { dialog.AddShownMask(mask); }
    void SetMaskText(const CString& mask) override { dialog.SetMaskText(mask); }
    void RemoveMask(const CString& mask) override { dialog.RemoveMask(mask); }
    void ClearMasks() override { dialog.ClearMasks(); }
    int GetMaskCount() override { return dialog.GetCount(); }
    void GetMasks(std::vector<CString>& now, std::vector<CString>& filled) override;
    void Show() override;
    void KickIdle() override;
    HWND GetWindowHandle() const override { return dialog.m_hWnd; }

    void OnMaskDialogOK(TMaskDialog* dialog) override;
    void OnMaskDialogUpdate(TMaskDialog* dialog) override;
    void OnMaskDialogClose(TMaskDialog* dialog) override;

private:
    TIRCChannel* channel;
    TMaskDialog dialog;
};
