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

// The hidden window of a notifier that is not a window itself: made on first use, destroyed by
// Destroy or with its owner. Destroying it drops its queued messages and kills its timers; the
// listener hears nothing after that.
class THiddenWindow {
public:
    explicit THiddenWindow(IMessageWindowListener* listener) : listener(listener) {}
    THiddenWindow(const THiddenWindow&) = delete;
    THiddenWindow& operator=(const THiddenWindow&) = delete;
    ~THiddenWindow() { Destroy(); }

    // The window, made now when there is none; null when the system refuses it.
    HWND Create();
    void Destroy();
    // Null while there is no window.
    HWND GetHandle() const { return window ? window->m_hWnd : nullptr; }
    // The system's own answer, for messages the owner leaves alone.
    LRESULT Default(const TWindowMessage& msg) const;

private:
    IMessageWindowListener* const listener;
    TMessageWindow* window = nullptr;
};
