#pragma once
// The frame's modeless windows in one list. Each is a TOwnedWindow<T> member of the frame that
// enters the list as it is constructed, with the command that shows it; the frame's idle pass,
// its hiding with the tray, its top-most switch, its close and its destructor all go through
// the list, so no window is forgotten by one of them.

#include "classlib/Wnd.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class TOwnedWindows;

// How a window follows the frame beyond what Windows does for the windows a frame owns.
enum TOwnedWindowTraits : unsigned {
    OwnedByFrame = 0,
    // Made without an owner window, so it may stand in front of the frame: the frame hides it
    // and shows it again itself.
    OwnedFollowsFrame = 1,
    // A frame window of its own, whose idle update is WM_IDLEUPDATECMDUI rather than WM_KICKIDLE.
    OwnedFrameIdle = 2,
    // Kept, hidden, while the servers say goodbye, because lines still reach it; destroyed last.
    OwnedOutlivesQuit = 4,
    // The program's settings rather than the frame's work: neither hidden nor made top-most
    // with the frame.
    OwnedStandsApart = 8,
};

// One entry of the list; the frame declares TOwnedWindow<T> below.
class TOwnedWindowSlot {
public:
    TOwnedWindowSlot(TOwnedWindows& list, UINT command, unsigned traits);
    TOwnedWindowSlot(const TOwnedWindowSlot&) = delete;
    TOwnedWindowSlot& operator=(const TOwnedWindowSlot&) = delete;
    virtual ~TOwnedWindowSlot();

    // The frame command that shows the window.
    UINT GetCommand() const { return command; }
    unsigned GetTraits() const { return traits; }
    CWnd* GetWindow() const { return window.get(); }
    // Whether the window reporting is this one.
    bool Holds(const CWnd* reporting) const { return reporting && reporting == window.get(); }
    // Made and its window still there.
    bool IsOpen() const;
    bool IsVisible() const;
    // Brings a made window back: restored when minimised, shown, to the top and focused. False
    // when none is made, so the caller makes one.
    bool ShowOrBringForward();
    // Runs beforeDestroy, then destroys the window and frees it; nothing when none is made. A
    // window whose own handler is still running below (its OK waits on a box while the program
    // closes) is freed once that handler has returned.
    void Destroy();

    // Sees the window just before it goes, on every path: to keep its size or detach it.
    std::function<void()> beforeDestroy;
    // The window's own top-most switch, for a window that passes the state on to what it opened;
    // without one the window is moved.
    std::function<void(bool)> setTopMost;
    // A window that stands in for this one while it hides (an editor it opened), or null.
    std::function<CWnd*()> standIn;
    // For a window that only hides when the user closes it: whether it is still meant to be
    // seen. The frame's restore brings back only such a window, not one closed meanwhile.
    std::function<bool()> markedShown;

    // What the list does to every window.
    void KickIdle(WPARAM wParam, LPARAM lParam);
    void FollowFrameHidden(bool hide);
    void FollowFrameTopMost(bool on);
    void Enable(bool on);

protected:
    // Keeps a window whose creation succeeded; frees it and answers false otherwise.
    bool Take(std::unique_ptr<CWnd> made, bool created);

private:
    // The window on screen for this one: its stand-in when there is one, else itself.
    HWND ShownWindow() const;

    TOwnedWindows& list;
    UINT command;
    unsigned traits;
    std::unique_ptr<CWnd> window;
    // The window the frame's hiding took away, to show again.
    HWND windowHiddenWithFrame = nullptr;
};

template <class T> class TOwnedWindow : public TOwnedWindowSlot {
public:
    TOwnedWindow(TOwnedWindows& list, UINT command, unsigned traits = OwnedByFrame)
        : TOwnedWindowSlot(list, command, traits)
    {
    }
    T* Get() const { return static_cast<T*>(GetWindow()); }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return GetWindow() != nullptr; }
    // The window made ready by the caller is created by `create` and kept when that succeeds;
    // null when it did not.
    T* Open(std::unique_ptr<T> made, const std::function<bool(T&)>& create)
    {
        T& created = *made;
        return Take(std::move(made), create(created)) ? Get() : nullptr;
    }
};

class TOwnedWindows {
public:
    TOwnedWindows() = default;
    TOwnedWindows(const TOwnedWindows&) = delete;
    TOwnedWindows& operator=(const TOwnedWindows&) = delete;

    const std::vector<TOwnedWindowSlot*>& GetSlots() const { return slots; }
    void KickIdle(WPARAM wParam, LPARAM lParam);
    // Hides the windows that follow the frame, and shows again those it hid.
    void HideWithFrame(bool hide);
    // Each window moved goes in front of those moved before: the windows of the commands in
    // `first` go first, in that order, then the others in the list's order.
    void SetTopMost(bool on, std::initializer_list<UINT> first);
    void EnableAll(bool on);
    // At the start of the close: every window goes but those that outlive the quit, which hide.
    void CloseForQuit();
    void DestroyAll();

private:
    friend class TOwnedWindowSlot;
    // A window destroyed under a handler of its own, kept until that handler has returned.
    struct TLeftWindow {
        std::unique_ptr<CWnd> window;
        TRunningHandler handler;
    };
    void FreeLeftWindows();

    std::vector<TOwnedWindowSlot*> slots;
    std::vector<TLeftWindow> leftWindows;
};
