#pragma once
// TResizableDialog: a dialog the user can resize above a minimum size. It remembers its window
// size once initialised (to be stored when it closes) and keeps its controls anchored.

#include "controls/LayoutManager.h"
#include "controls/UpdateDialog.h"

class TResizableDialog : public TUpdateDialog {
public:
    // The outer size: the one to open at, and from initialisation on the one the user left.
    void SetSize(int newWidth, int newHeight)
    {
        width = newWidth;
        height = newHeight;
    }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }

    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(TResizableDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

protected:
    TResizableDialog(UINT templateId, SIZE minimum, CWnd* parent = nullptr)
        : TUpdateDialog(templateId, parent), minimum(minimum)
    {
    }

    // The stored size (the fallback where none is stored, never below the minimum), centred on
    // `on`, else on the owner or, without one, on the screen.
    void SizeAndCentre(int storedWidth, int storedHeight, SIZE fallback, HWND on = nullptr);
    // Shown at the stored normal rectangle; an empty one keeps the place the system chose.
    void ShowAtStoredPlace(const RECT& stored);
    // The normal rectangle into `place`, to be stored; false (and `place` as it was) when the
    // window has none.
    bool GetStoredPlace(RECT& place) const;
    // After the controls have followed a size change.
    virtual void OnResized() {}

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
