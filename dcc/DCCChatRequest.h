#pragma once
// A window that asks the user whether to take an offered DCC chat, as its owner sees it.

#include "classlib/String.h"
#include "foundation/ModelessWindow.h"

class IDCCChatRequest : public IModelessWindow {
public:
    virtual ~IDCCChatRequest() = default;
    virtual CString GetNick() const = 0;
    // The offerer's address as dotted text.
    virtual CString GetAddress() const = 0;
    virtual int GetPort() const = 0;
};

class IDCCChatDialogListener {
public:
    virtual void OnDCCChatAccepted(IDCCChatRequest* dialog) = 0;
    // The owner deletes the dialog here.
    virtual void OnDCCChatDialogClosed(IDCCChatRequest* dialog) = 0;

protected:
    ~IDCCChatDialogListener() = default;
};
