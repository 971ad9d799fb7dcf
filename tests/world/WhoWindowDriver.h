#pragma once
// A user at a WHO window: reads its rows, clicks headings and rows, and answers the file dialog
// and the overwrite question of a save.

#include "world/WhoDialog.h"

#include <vector>

struct TFileDialogAnswer {
    CString defaultName; // as the file dialog offered it
    bool confirmShown = false;
    // Modal windows counted while the file dialog and the question were open.
    int modalCountInDialog = -1;
    int modalCountAtConfirm = -1;
};

class TWhoWindowDriver {
public:
    explicit TWhoWindowDriver(TWhoDialog* window) : window(window) {}

    // Columns 1 to 5 of each row, joined by blanks.
    std::vector<CString> Rows();
    std::vector<CString> Nicks();
    void ClickHeading(int column);
    void DoubleClickRow(int row);
    // Clicks Save, enters the path in the file dialog and answers an overwrite question.
    TFileDialogAnswer SaveThroughDialog(const CString& path, bool agree);

private:
    TWhoDialog* window;
};
