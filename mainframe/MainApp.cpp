#include "mainframe/MainApp.h"

#include "foundation/CommandLine.h"
#include "foundation/File.h"
#include "foundation/MD5.h"
#include "foundation/ResourceString.h"
#include "foundation/WindowHelpers.h"
#include "mainframe/FirstStartWizard.h"
#include "mainframe/MainAppServices.h"
#include "mainframe/MainFrame.h"
#include "res/resource.h"
#include "settings/IniExchange.h"
#include "world/IRCWorld.h"

#include <commctrl.h>
#include <ole2.h>
#include <winsock2.h>

#include <cstdlib>
#include <ctime>

UINT g_taskbarCreatedMessage = 0;
UINT g_activateMessage = 0;

CString BuildMainWindowClassName(const CString& windowsUserName, const CString& programFolder)
{
    CString folder = programFolder;
    // Only A to Z: the same folder typed in another case is the same installation.
    for (int i = 0; i < folder.GetLength(); i++)
        if (folder[i] >= L'A' && folder[i] <= L'Z')
            folder.SetAt(i, (wchar_t)(folder[i] - L'A' + L'a'));
    TMD5 md5;
    md5.Update(folder.GetString(), (size_t)folder.GetLength() * sizeof(wchar_t));
    CStringA hex = md5.GetHexDigest();
    CString digest;
    for (int i = 0; i < hex.GetLength(); i++)
        digest += (wchar_t)hex[i];
    return L"Ketroval2MainWindow " + windowsUserName + L" " + digest;
}

bool ClaimSingleInstance(const CString& className, HANDLE& mutex)
{
    HANDLE handle = ::CreateMutexW(nullptr, TRUE, className);
    if (handle && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        mutex = handle;
        return true;
    }
    // The other instance may still be starting and have no window yet; this one ends anyway.
    if (HWND running = ::FindWindowExW(nullptr, nullptr, className, nullptr)) {
        ::PostMessageW(running, g_activateMessage, SC_RESTORE, 0);
        ForceToFront(running);
    }
    if (handle)
        ::CloseHandle(handle);
    return false;
}

CMainApp::CMainApp() = default;

CMainApp::~CMainApp()
{
    ReleaseInstanceMutex();
    if (instanceMutex)
        ::CloseHandle(instanceMutex);
}

void CMainApp::ReleaseInstanceMutex()
{
    if (instanceMutex && mutexOwned)
        ::ReleaseMutex(instanceMutex);
    mutexOwned = false;
}

void CMainApp::ApplySingleInstance(bool on)
{
    if (on && !instanceMutex) {
        HANDLE mutex = ::CreateMutexW(nullptr, TRUE, mainWindowClassName);
        if (mutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
            ::CloseHandle(mutex);
            return;
        }
        instanceMutex = mutex;
        mutexOwned = mutex != nullptr;
    } else if (!on && instanceMutex) {
        ReleaseInstanceMutex();
        ::CloseHandle(instanceMutex);
        instanceMutex = nullptr;
    }
}

bool CMainApp::StartLibraries()
{
    g_taskbarCreatedMessage = ::RegisterWindowMessageW(L"TaskbarCreated");
    g_activateMessage = ::RegisterWindowMessageW(L"Ketroval2Activate");
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0xFF};
    ::InitCommonControlsEx(&controls);
    WSADATA data = {};
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        ::MessageBoxW(nullptr, LoadResourceString(IDS_SOCKETS_INIT_FAILED), L"Ketroval2", MB_OK | MB_ICONSTOP);
        return false;
    }
    socketsStarted = true;
    if (FAILED(::OleInitialize(nullptr))) {
        ::MessageBoxW(nullptr, LoadResourceString(IDS_OLE_INIT_FAILED), L"Ketroval2", MB_OK | MB_ICONSTOP);
        return false;
    }
    oleStarted = true;
    return true;
}

void CMainApp::LoadSettings(const CString& user)
{
    settings.InitFolders(user);
    settings.LoadWindowSettings();
    settings.LoadServerTree();
    settings.preference.Load(settings.GetSettingsFolder());
    settings.view.Load(settings);
    settings.LoadPopupMenu();
}

bool CMainApp::CreateMainFrame(const CString& className)
{
    frame = new CMainFrame(this, &settings);
    m_pMainWnd = frame;
    frame->SetClassName(className);
    if (frame->CreateFrame())
        return true;
    // Without its window the program cannot be used; say so instead of running unseen.
    m_pMainWnd = nullptr;
    delete frame;
    frame = nullptr;
    ::MessageBoxW(nullptr, LoadResourceString(IDS_MAIN_WINDOW_FAILED), L"Ketroval2", MB_OK | MB_ICONSTOP);
    return false;
}

void CMainApp::WarnOfUnreadableSettings()
{
    std::vector<TConfig::TUnreadableFile> files = settings.GetUnreadableFiles();
    if (files.empty())
        return;
    CString list;
    for (const TConfig::TUnreadableFile& file : files)
        list += L"\n" + file.path + L"\n(" + GetSystemErrorText(file.error) + L")\n";
    CString text;
    text.Format(LoadResourceString(IDS_SETTINGS_UNREADABLE), list.GetString());
    ::MessageBoxW(frame ? frame->m_hWnd : nullptr, text, L"Ketroval2", MB_OK | MB_ICONWARNING);
}

bool CMainApp::RunFirstStartWizard()
{
    // An unreadable preference file reads as a new installation, which it is not.
    if (settings.preference.Installed || IsUnreadableFileError(settings.preference.loadError))
        return false;
    TFirstStartWizard wizard(settings, frame ? frame->m_hWnd : nullptr);
    return wizard.Run();
}

void CMainApp::CreateScriptManagers()
{
    scriptFrame = std::make_unique<TFrameScripts>(frame, world.get(), &settings);
    // Each server starts with the scripts enabled for it; all are wired first, so a script's
    // start-up code finds every server ready. Servers added later get theirs as they come.
    world->SetScriptsMaker(scriptFrame.get());
    world->ReloadAllScripts();
}

void CMainApp::StartWorld(bool imported)
{
    world = std::make_unique<TIRCWorld>(&settings, frame, &addressFinder);
    frame->SetWorld(world.get());
    world->Attach(frame);
    world->CreateUnitsFromSettings();
    CreateScriptManagers();
    world->UpdateTitle();
    if (imported)
        world->ApplyPreferences();
}

BOOL CMainApp::InitInstance()
{
    std::srand((unsigned)std::time(nullptr));
    if (!StartLibraries())
        return FALSE;
    TCommandLineOptions options;
    ParseCommandLineOptions(m_lpCmdLine ? CString(m_lpCmdLine) : CString(), options);
    TStartupOptions startup = ReadStartupOptions(options);
    startupServers = startup.servers;
    LoadSettings(startup.user);
    mainWindowClassName = BuildMainWindowClassName(settings.GetWindowsUserName(), settings.GetProgramFolder());
    if (settings.preference.ForceSingleApplicationInstance && !instanceMutex) {
        if (!ClaimSingleInstance(mainWindowClassName, instanceMutex))
            return FALSE;
        mutexOwned = true;
    }
    if (!CreateMainFrame(mainWindowClassName))
        return FALSE;
    // Windows may log off while the first questions are up: the close ran, and nothing starts.
    WarnOfUnreadableSettings();
    if (frame->closing)
        return FALSE;
    bool imported = RunFirstStartWizard();
    if (frame->closing)
        return FALSE;
    StartWorld(imported);
    frame->ApplyStartupSettings(m_nCmdShow);
    frame->UpdateWindow();
    world->AutoConnect(startupServers);
    return TRUE;
}

int CMainApp::ExitInstance()
{
    int code = CWinApp::ExitInstance();
    // The frame's windows may still be there when it closed without WM_CLOSE; they must not
    // reach the world as they go. The units take their scripts with them; the scripts' frame
    // goes after them.
    if (frame)
        frame->SetWorld(nullptr);
    world.reset();
    scriptFrame.reset();
    m_pMainWnd = nullptr;
    delete frame;
    frame = nullptr;
    if (oleStarted)
        ::OleUninitialize();
    if (socketsStarted)
        ::WSACleanup();
    return code;
}
