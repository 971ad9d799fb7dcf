#include "mainframe/MainApp.h"

// The one application object; it lives in the program, not in the library tests link.
CMainApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int cmdShow)
{
    return AfxWinMain(instance, cmdLine, cmdShow);
}
