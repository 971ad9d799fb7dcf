#pragma once
// TTrayIcon: the program's icon in the notification area, with its tooltip, balloons, the tray
// menu, and the main window restored by a click on it. The main frame owns and drives it.

#include "classlib/String.h"
#include "foundation/MessageWindow.h"

#include <shellapi.h>

// The shell's callback message on the icon's hidden window.
#define WM_TRAYICON (WM_APP + 100)

// Copies text into a fixed field of the shell's record: at most limit UTF-16 units and never
// more than the field holds with its NUL; a cut never leaves half a surrogate pair behind.
void CopyCutText(wchar_t* field, size_t fieldSize, const CString& text, int limit);

class TTrayIcon : public IMessageWindowListener {
public:
    TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;
    virtual ~TTrayIcon();

    // Loads the icons and makes the hidden window; the icon is not added yet.
    void Create(HWND owner);
    void AddIcon();
    // Takes the icon out of the notification area; it stays enabled.
    void RemoveIcon();
    void SetEnabled(bool on);
    void SetShowOnlyWhenMinimized(bool on);
    void SetToolTip(const CString& text);
    void ShowBalloon(const CString& title, const CString& text);
    // The main frame's balloon: none while the screen saver runs, IRC control codes removed.
    void ShowNotice(const CString& title, const CString& text);
    // Shows the image the alert flags ask for.
    void UpdateIcon();
    // A new task bar ("TaskbarCreated") holds no icons: ours is put there again.
    void OnTaskbarCreated();

    void OnMessage(TWindowMessage& msg) override;

    bool IsPresent() const { return present; }
    bool IsEnabled() const { return enabled; }
    bool IsShownOnlyWhenMinimized() const { return onlyWhenMinimized; }
    HICON GetCurrentIcon() const;
    HWND GetWindow() const { return window.m_hWnd; }

    // Kept by the main frame: its window state and the title alerts.
    bool ownerMinimized = false;
    bool newMessageAlert = false;
    bool highlightAlert = false;
    bool restoreOnSingleClick = false;

protected:
    // Every call to the shell goes through here.
    virtual BOOL Notify(DWORD message, NOTIFYICONDATAW& data);

private:
    void OnLeftButtonUp();
    void ShowMenu();
    void BringOwnerToFront();
    void PostRestore();

    TMessageWindow window;
    NOTIFYICONDATAW data = {};
    bool present = false;
    DWORD lastClickTime = 0;
    bool newerIconSet = false;
    HICON icons[3] = {}; // normal, new message, highlight
    HWND owner = nullptr;
    CString toolTip;
    CString balloonTitle;
    CString balloonText;
    bool enabled = false;
    bool onlyWhenMinimized = false;
};
