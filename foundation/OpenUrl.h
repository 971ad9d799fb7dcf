#pragma once
// Opens a URL the way the user chose: by the shell, by a configured browser program, or in a
// new window of the system's default browser. Building a command line is kept apart from
// starting it.

#include "classlib/String.h"

// Stored in the preferences by these numbers.
enum TUrlOpenMethod {
    URL_OPEN_SHELL = 0,
    URL_OPEN_PROGRAM = 1,
    URL_OPEN_NEW_BROWSER_WINDOW = 2,
};

// isUrl: whether the application's URL finder takes text for a URL; anything else (a file,
// a folder) always goes to the shell. mode and programPath come from the preferences.
void OpenUrl(const CString& programPath, const CString& text, int mode, bool isUrl);
// The way OpenUrl takes: text that is not a URL, and a mode this program does not know (a value
// written by another version), go to the shell.
int ChooseUrlOpenMode(int mode, bool isUrl);
void OpenWithShell(const CString& text);
void OpenWithProgram(const CString& programPath, const CString& url);
void OpenInNewBrowserWindow(const CString& url);

// One command-line word that CommandLineToArgvW and the C runtime read back as arg exactly.
CString QuoteCommandLineArgument(const CString& arg);
// The program path in double quotes (unless already quoted), a blank and the quoted URL.
CString BuildProgramCommandLine(const CString& programPath, const CString& url);
// The program part of a registered browser command, quoted; its arguments are dropped.
CString ExtractBrowserProgram(const CString& registeredCommand);
