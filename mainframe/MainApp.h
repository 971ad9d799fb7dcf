#pragma once
// CMainApp: the application object. It brings the program up in a fixed order (messages,
// controls, sockets, OLE, command line, settings, single instance, main window, the world and
// its connections) and owns the settings, the world and the address finder for the whole run.

#include "classlib/App.h"
#include "classlib/String.h"
#include "log/AddressFinder.h"
#include "settings/Config.h"

#include <memory>
#include <vector>

class CMainFrame;
class TFrameScripts;
class TIRCWorld;

// "Ketroval2MainWindow " + user + " " + MD5 of the program folder with A-Z lowered: one name
// per installation and Windows user, for the window class, the mutex and the activation search.
CString BuildMainWindowClassName(const CString& windowsUserName, const CString& programFolder);

// Takes the named mutex; false when another instance holds it, after restoring and raising that
// instance's window when there is one.
bool ClaimSingleInstance(const CString& className, HANDLE& mutex);

class CMainApp : public CWinApp {
public:
    CMainApp();
    ~CMainApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    TConfig& GetSettings() { return settings; }
    TIRCWorld* GetWorld() const { return world.get(); }
    const TLogAddressFinder& GetAddressFinder() const { return addressFinder; }
    CMainFrame* GetMainFrame() const { return frame; }
    // The frame lets go of the mutex while it waits for the servers to quit; it stays open.
    void ReleaseInstanceMutex();
    // Takes the single-instance mutex when on and none is held (one another instance holds is
    // not kept), lets go of it when off.
    void ApplySingleInstance(bool on);
    // The about box, modal over the main window.
    void OnAppAbout();
    // One message for the settings files that are there but could not be read.
    void WarnOfUnreadableSettings();
    // Runs the first-start flow; true when settings of the previous version were taken over.
    bool RunFirstStartWizard();
    // The main frame under that class name; when it cannot be made the user is told and the
    // program has no main window.
    bool CreateMainFrame(const CString& className);

private:
    bool StartLibraries();
    void LoadSettings(const CString& user);
    void StartWorld(bool imported);
    void CreateScriptManagers();

    TConfig settings;
    TLogAddressFinder addressFinder;
    HANDLE instanceMutex = nullptr;
    bool mutexOwned = false;
    CString mainWindowClassName;
    std::vector<CString> startupServers;
    CMainFrame* frame = nullptr;
    std::unique_ptr<TFrameScripts> scriptFrame;
    std::unique_ptr<TIRCWorld> world;
    bool socketsStarted = false;
    bool oleStarted = false;
};
