#pragma once
// The main window's commands as data: each row gives its command id (or id range), the action
// names by which macros, scripts and popup items run it, its handler and its enable handler.
// The frame's command routing and the action-name table both read this one list, so every
// command is spelled once.

#include <windows.h>

#include <cstddef>

class CCmdUI;
class CMainFrame;

struct TMainCommand {
    UINT first;
    UINT last;
    // Up to three lower-case names; unused slots are null.
    const wchar_t* names[3];
    void (CMainFrame::*run)();
    // Null: always enabled.
    void (CMainFrame::*update)(CCmdUI* ui);
};

const TMainCommand* GetMainCommands(size_t& count);
// The row that carries the id, or null.
const TMainCommand* FindMainCommand(UINT id);
