#pragma once
// The small script objects: a message's sender, the handled flag of onSendingCommand, the
// clipboard and the main window.

#include "script/DispatchObject.h"
#include "script/ScriptServer.h"

class TScriptPrefix : public TDispatchObject {
public:
    // From a parsed prefix: a raw text without "!" and "@" whose nick holds a dot names a server.
    TScriptPrefix(const CString& raw, const CString& nick, const CString& username, const CString& address);

    const TDispatchTable& GetDispatchTable() const override;

    HRESULT Nick(TDispatchCall& call) { return AccessTextField(call, nick); }
    HRESULT Username(TDispatchCall& call) { return AccessTextField(call, username); }
    HRESULT Address(TDispatchCall& call) { return AccessTextField(call, address); }
    HRESULT Server(TDispatchCall& call) { return AccessTextField(call, server); }
    HRESULT ToString(TDispatchCall& call);

private:
    static HRESULT AccessTextField(TDispatchCall& call, CString& field);

    CString nick, username, address, server;
};

class TScriptEventContext : public TDispatchObject {
public:
    const TDispatchTable& GetDispatchTable() const override;
    bool IsHandled() const { return handled; }

    HRESULT Handled(TDispatchCall& call);

private:
    bool handled = false;
};

class TScriptClipboard : public TDispatchObject {
public:
    const TDispatchTable& GetDispatchTable() const override;

    HRESULT Text(TDispatchCall& call);
    HRESULT SetText(TDispatchCall& call);

    // False when the clipboard holds no Unicode text.
    static bool ReadText(CString& text);
    static bool WriteText(const CString& text);
};

class TScriptWindow : public TDispatchObject {
public:
    TScriptWindow(IScriptServer* server, IScriptFrame* frame) : server(server), frame(frame) {}

    const TDispatchTable& GetDispatchTable() const override;

    HRESULT Minimized(TDispatchCall& call);
    HRESULT Maximized(TDispatchCall& call);
    HRESULT Show(TDispatchCall&) { return Post(SC_RESTORE); }
    HRESULT Minimize(TDispatchCall&) { return Post(SC_MINIMIZE); }
    HRESULT Maximize(TDispatchCall&) { return Post(SC_MAXIMIZE); }
    HRESULT FlashTitle(TDispatchCall& call);
    HRESULT BlinkTitle(TDispatchCall& call);
    HRESULT RestoreTitle(TDispatchCall& call);

private:
    UINT GetShowState() const;
    HRESULT Post(WPARAM command);

    IScriptServer* server;
    IScriptFrame* frame;
};
