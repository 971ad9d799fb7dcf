#pragma once
// A window that tells of an invitation to a channel, and its owner's side.

#include "classlib/String.h"
#include "foundation/ModelessWindow.h"

class IInviteRequest : public IModelessWindow {
public:
    virtual ~IInviteRequest() = default;
    virtual CString GetNick() const = 0;
    virtual CString GetChannel() const = 0;
};

class IInviteDialogListener {
public:
    // The user chose to join.
    virtual void OnInviteDialogOK(IInviteRequest* dialog) = 0;
    // The owner deletes the dialog here.
    virtual void OnInviteDialogClose(IInviteRequest* dialog) = 0;

protected:
    ~IInviteDialogListener() = default;
};
