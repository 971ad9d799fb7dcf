#pragma once
// The real program's main window as a user works it from outside: its input line, the log view
// in sight and the text copied out of a log view.

#include <windows.h>

#include <string>

// The input line: the chat panel's edit that holds no windows of its own.
HWND InputLine(HWND mainWindow);
// The log view the chat panel shows: the visible one among its cards.
HWND ShownChannelLog(HWND mainWindow);
// The window's program answering a message: what it was doing when asked has run. The program
// not answering within seconds fails the test.
void WaitAnswer(HWND window);
// The first server's first channel picked in the tree as a user picks it, a click on the server
// and Down; true once the channel is selected.
bool PickFirstChannel(HWND mainWindow);
// The main menu through the keyboard, as a user without a mouse opens it: F10, then the
// access keys of the popup and of the item.
void ChooseMenuItem(HWND mainWindow, char popupKey, char itemKey);
// The text of a log view as a user copies it: a click, Ctrl+A, Ctrl+C.
std::string CopyLogText(HWND view);
// tree.ini of one server "testnet" on the local test server, connecting at start and joining
// the channel; UTF-8 on the wire.
std::string OneServerTree(int port, const std::string& nick, const std::string& realName, const std::string& channel);
