#include "classlib/App.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int cmdShow)
{
    return AfxWinMain(instance, cmdLine, cmdShow);
}
