#pragma once
// Finding the windows a command shows, and answering a modal one from inside its own loop.

#include <windows.h>

#include <functional>

// The first shown top-level window of this thread that matches, or null.
HWND FindShownWindow(const std::function<bool(HWND)>& match);
std::function<bool(HWND)> HasControl(int id);
std::function<bool(HWND)> HasCaption(const wchar_t* caption);
// The system colour chooser, known by its red field.
std::function<bool(HWND)> IsColorChooser();
// A timer of its own watches for the window, so menus and other loops may run meanwhile; the
// step runs once, inside whatever modal loop shows the window. One watch at a time.
void WhenShown(std::function<bool(HWND)> match, std::function<void(HWND)> step);
void StopWatching();
// How many watched windows have shown so far.
int ShownWindowCount();
// Matches a shown and enabled dialog (a modal dialog, a message box, a system chooser) that was
// not shown yet when the match was made: the one the user's next step opens.
std::function<bool(HWND)> IsNewDialog();
// Runs the step once the next dialog is up, inside its own loop: waits for the dialog to show
// rather than for a time. A dialog that the step leaves open stays a few seconds at most and is
// then cancelled as a failure, so the test never waits for ever.
void WhenDialogShown(std::function<void(HWND)> step);
// Clicks the button and runs the answer inside the window it opens, in that window's own loop;
// false when no such window showed.
bool ClickAndAnswer(HWND button, std::function<bool(HWND)> match, std::function<void(HWND)> answer);
