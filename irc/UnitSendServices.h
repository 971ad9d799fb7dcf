#pragma once
// What the sending side of a server unit (typed text, commands, CTCP and DCC offers) needs of
// the script host, the DCC manager and the main window. Each is implemented by its subsystem;
// the null versions keep the unit whole in tests and until those subsystems exist.

#include "classlib/String.h"
#include "dcc/DCCChatRequest.h"
#include "net/InetAddress.h"

class TIRCUnit;
class TDCCSendItem;
class TDCCReceiveItem;
class TIRCChannel;
class TIRCReceiveMessage;

// Script events; prefix is the message whose sender the script's prefix object shows.
class IUnitSendScripts {
public:
    virtual void FireOnChannelText(const TIRCReceiveMessage& prefix, const CString& channel, const CString& text) = 0;
    virtual void FireOnChannelNotice(const TIRCReceiveMessage& prefix, const CString& channel, const CString& text) = 0;
    virtual void FireOnChannelAction(const TIRCReceiveMessage& prefix, const CString& channel, const CString& text) = 0;
    virtual void FireOnTalkText(const TIRCReceiveMessage& prefix, const CString& target, const CString& text) = 0;
    virtual void FireOnTalkNotice(const TIRCReceiveMessage& prefix, const CString& target, const CString& text) = 0;
    virtual void FireOnTalkAction(const TIRCReceiveMessage& prefix, const CString& target, const CString& text) = 0;
    virtual void FireOnDccChatText(const CString& talk, const CString& nick, const CString& text) = 0;
    // True when a script took the command over.
    virtual bool FireOnSendingCommand(const CString& command, const CString& text) = 0;
    virtual void FireOnCtcp(const TIRCReceiveMessage& prefix, const CString& target, const CString& command,
                            const CString& argument) = 0;
    virtual void FireOnCtcpReply(const TIRCReceiveMessage& prefix, const CString& target, const CString& command,
                                 const CString& argument) = 0;
    virtual void FireOnDccSend(const TIRCReceiveMessage& prefix, const CString& target, const CString& file,
                               unsigned long long size, const CString& address, int port) = 0;
    virtual void FireOnDccChat(const TIRCReceiveMessage& prefix, const CString& target, const CString& address,
                               int port) = 0;

protected:
    ~IUnitSendScripts() = default;
};

// The DCC side. Only checked offers reach it: valid ports and addresses, safe file names,
// sizes, and accepted positions within the file; a send item checks a RESUME's position itself.
class IUnitDccManager {
public:
    virtual void AddReceiveItem(TIRCUnit* unit, int variant, bool automatic, const CString& nick,
                                const CString& fileName, int port, long long size, const TInetAddress& address) = 0;
    // The size of the file of the receive item waiting for ACCEPT on that port; false when there
    // is none.
    virtual bool FindReceiveFileSize(TIRCUnit* unit, const CString& nick, int port, long long& size) = 0;
    // True when a send item waiting for its peer takes the position.
    virtual bool HandleResumeRequest(TIRCUnit* unit, const CString& nick, int port, long long position) = 0;
    virtual void HandleResumeAccept(TIRCUnit* unit, const CString& nick, int port, long long position) = 0;
    // Offers the file to the nick; the path is used whole.
    virtual void AddSendItem(TIRCUnit* unit, const CString& nick, const CString& path) = 0;
    // The unit saw the peer change nick; unfinished items follow. Nothing for a side without items.
    virtual void RenameNick(TIRCUnit*, const CString&, const CString&) {}
    // The unit has logged in: sends queued while it could not offer may start now.
    virtual void OnUnitLoggedIn(TIRCUnit*) {}

protected:
    ~IUnitDccManager() = default;
};

// The world and the main window as the sending side and the macro actions reach them.
class IUnitFrame {
public:
    // The selected channel or talk when it belongs to the unit; null otherwise.
    virtual TIRCChannel* GetSelectedChannel(TIRCUnit* unit) = 0;
    // The unit's channel selected last, whichever server is selected now; empty after its server
    // node was selected.
    virtual CString GetCurrentChannelName(TIRCUnit* unit) = 0;
    // channel null selects the unit's server node.
    virtual void Select(TIRCUnit* unit, TIRCChannel* channel) = 0;
    virtual void OpenUrl(const CString& url) = 0;
    virtual CString GetSelectedText() = 0;
    virtual void RedrawTree() = 0;
    // "show", "minimize", "maximize", "flashtitle", "blinktitle", "restoretitle", "quit".
    virtual void WindowAction(const CString& word) = 0;
    virtual bool ExecuteAction(const CString& name) = 0;
    virtual void ShowBalloon(const CString& title, const CString& text) = 0;
    virtual void RunProgram(const CString& program, const CString& arguments, const CString& folder,
                            bool minimized) = 0;
    virtual CString GetSoundsFolder() = 0;
    // The DCC window on a file offer.
    virtual void ShowDCCDialog(bool minimized) = 0;
    virtual void BringDCCDialogToFront() = 0;
    virtual void BlinkDCCDialog() = 0;
    // The request dialog of an offered chat, shown modeless (to the front when activate is
    // set); null when the limit on open ones refuses one more. The unit owns and deletes it.
    virtual IDCCChatRequest* OpenDCCChatDialog(IDCCChatDialogListener* listener, const CString& nick,
                                               const CString& address, int port, bool activate) = 0;
    // One of those dialogs has gone; the count of open ones falls.
    virtual void OnDCCChatDialogClosed() = 0;
    // The ignore list, opened or brought forward, with the mask in its mask box.
    virtual void ShowIgnoreList(const CString& mask) = 0;
    // Asks for a file to offer to the nick; false when none was chosen.
    virtual bool ChooseFileToSend(const CString& nick, CString& path) = 0;

protected:
    ~IUnitFrame() = default;
};

class TNullSendScripts : public IUnitSendScripts {
public:
    void FireOnChannelText(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnChannelNotice(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnChannelAction(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnTalkText(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnTalkNotice(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnTalkAction(const TIRCReceiveMessage&, const CString&, const CString&) override {}
    void FireOnDccChatText(const CString&, const CString&, const CString&) override {}
    bool FireOnSendingCommand(const CString&, const CString&) override { return false; }
    void FireOnCtcp(const TIRCReceiveMessage&, const CString&, const CString&, const CString&) override {}
    void FireOnCtcpReply(const TIRCReceiveMessage&, const CString&, const CString&, const CString&) override {}
    void FireOnDccSend(const TIRCReceiveMessage&, const CString&, const CString&, unsigned long long, const CString&,
                       int) override
    {
    }
    void FireOnDccChat(const TIRCReceiveMessage&, const CString&, const CString&, int) override {}
};

class TNullDccManager : public IUnitDccManager {
public:
    void AddReceiveItem(TIRCUnit*, int, bool, const CString&, const CString&, int, long long,
                        const TInetAddress&) override
    {
    }
    bool FindReceiveFileSize(TIRCUnit*, const CString&, int, long long&) override { return false; }
    bool HandleResumeRequest(TIRCUnit*, const CString&, int, long long) override { return false; }
    void HandleResumeAccept(TIRCUnit*, const CString&, int, long long) override {}
    void AddSendItem(TIRCUnit*, const CString&, const CString&) override {}
};

class TNullUnitFrame : public IUnitFrame {
public:
    TIRCChannel* GetSelectedChannel(TIRCUnit*) override { return nullptr; }
    CString GetCurrentChannelName(TIRCUnit*) override { return CString(); }
    void Select(TIRCUnit*, TIRCChannel*) override {}
    void OpenUrl(const CString&) override {}
    CString GetSelectedText() override { return CString(); }
    void RedrawTree() override {}
    void WindowAction(const CString&) override {}
    bool ExecuteAction(const CString&) override { return false; }
    void ShowBalloon(const CString&, const CString&) override {}
    void RunProgram(const CString&, const CString&, const CString&, bool) override {}
    CString GetSoundsFolder() override { return CString(); }
    void ShowDCCDialog(bool) override {}
    void BringDCCDialogToFront() override {}
    void BlinkDCCDialog() override {}
    IDCCChatRequest* OpenDCCChatDialog(IDCCChatDialogListener*, const CString&, const CString&, int, bool) override
    {
        return nullptr;
    }
    void OnDCCChatDialogClosed() override {}
    void ShowIgnoreList(const CString&) override {}
    bool ChooseFileToSend(const CString&, CString&) override { return false; }
};
