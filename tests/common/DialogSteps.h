#pragma once
// A test's steps in a dialog as a user takes them: real clicks and keys, then the dialog's enable
// rules, which its own loop would run once idle while the steps run inside that loop; and what
// the user reads back from its controls.

#include "classlib/String.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>

class CDialog;

HWND Control(HWND dialog, int id);
void KickIdle(HWND dialog);
void Click(HWND dialog, int id);
// Selects all of the edit's text (a drop-down box's inner edit) and types the new text over it.
void Retype(HWND edit, const wchar_t* text);
void Retype(HWND dialog, int id, const wchar_t* text);
// Empties the edit and pastes the text with Ctrl+V: what keys cannot type, such as decoration
// codes, reaches a field the way a user brings it in.
void Repaste(HWND dialog, int id, const wchar_t* text);
// Clicks a list box's item, scrolled into view first.
void ClickListItem(HWND list, int index);
// Drags the divider at the right of a list view's column with the mouse until the column is
// the width wide; past its left edge shuts the column.
void DragColumnTo(HWND list, int column, int width);
// Drags the column shut; the list of the window closed and opened again (by reopen) shows it
// shut still, and the other columns as wide as they were.
void ExpectColumnStaysShut(HWND list, int column, const std::function<HWND()>& reopen);
// Drops a combo box's list (F4) and clicks the entry in it.
void ChooseComboEntry(HWND combo, int index);
// In the system's colour chooser: opens the custom colour part, types the colour's red, green
// and blue, and presses OK.
void AnswerColorChooser(HWND box, COLORREF color);
// Presses the dialog's OK and answers the warning it brings, if any, with OK (kept as the
// screenshot when named): what the warning said, empty when none came.
CString PressOkAndReadWarning(HWND dialog, const wchar_t* screenshot = nullptr);
CString Text(HWND dialog, int id);
// What a message box says: the texts of its labels, one after another.
CString MessageBoxText(HWND box);
bool Checked(HWND dialog, int id);
// After the enable rules have run.
bool Enabled(HWND dialog, int id);
// Pixels of the window's client rectangle, as shown, that differ from the colour: what is drawn
// on a background of that colour.
int CountPixelsOtherThan(HWND window, const RECT& rect, COLORREF color);
// The screen point at the middle of a tree item's text.
POINT ItemPoint(HWND tree, HTREEITEM item);
// Runs the dialog modally; the steps run inside its loop once it is up. A dialog the steps left
// open is ended after a while as a failure, so the test does not wait for ever.
INT_PTR RunDialog(CDialog& dialog, std::function<void(HWND)> steps);
