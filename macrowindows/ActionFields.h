#pragma once
// What the macro item and popup item dialogs share about an action: the names they offer, which
// actions take a target or a browse button, and the browse itself.

#include "classlib/String.h"

#include <windows.h>

class CWnd;

#include <vector>

// The action names offered in the action box; the engine knows more, and those can be typed.
const std::vector<CString>& ActionSuggestions();
// The main window's command names offered for the "Menu" action, in menu order.
const std::vector<CString>& MenuCommandSuggestions();

// Both compare the action in lower case; an empty action takes neither.
bool ActionTakesTarget(const CString& action);
bool ActionCanBrowse(const CString& action);

// Helps to fill the argument (the pickers are owned by owner) of the action: a program, a sound of the sound folder, a
// window operation, a channel mark or a command name. False when nothing was chosen (Cancel, or an action without a
// browse), the argument then as it was.
bool BrowseActionArgument(CWnd* owner, const CString& action, const CString& soundsFolder, CString& argument);

// Fills a combo box's list, in the order given.
void FillComboList(HWND combo, const std::vector<CString>& texts);
