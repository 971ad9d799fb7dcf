#pragma once
// TResizableDialog: a dialog the user can resize above a minimum size. It remembers its window
// size once initialised (to be stored when it closes) and keeps its controls anchored.

#include "controls/LayoutManager.h"
#include "controls/UpdateDialog.h"

class TResizableDialog : public TUpdateDialog {
public:
    BEGIN_MSG_MAP(TResizableDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

protected:
    TResizableDialog(UINT templateId, SIZE minimum) : TUpdateDialog(templateId), minimum(minimum) {}

    // The stored size (the fallback where none is stored, never below the minimum), centred on
    // the owner or, without one, on the screen.
    void SizeAndCentre(int storedWidth, int storedHeight, SIZE fallback);

    TLayoutManager layout;
    // Set once the controls are in the layout: size changes are remembered from then on.
    bool initialised = false;
    int width = 0;
    int height = 0;
    SIZE minimum;

private:
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
};
