#pragma once
// A hidden message-only window that hands every message to one listener, so that objects
// which are not windows (sockets, timers, the resolver) get events on the UI thread.

#include "classlib/Wnd.h"

struct TWindowMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result; // 0 before the listener runs; returned to the system
};

class IMessageWindowListener {
public:
    virtual void OnMessage(TWindowMessage& msg) = 0;

protected:
    ~IMessageWindowListener() = default;
};

class TMessageWindow : public CWnd {
public:
    ~TMessageWindow() override;

    // Creation failure is not reported: m_hWnd then stays null.
    void Create(IMessageWindowListener* listener);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Cleared before the window goes, so late messages get the default processing.
    IMessageWindowListener* listener = nullptr;
};
