#pragma once
// The font and colour choosers the view pages' buttons open, answered as a user answers them.

#include "res/windows/dialogs.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/UserInput.h"

// Clicks the button; the font chooser it opens takes the typed size and OK, or else the colour
// chooser the colour. False when no chooser showed.
inline bool ClickAndChoose(HWND button, COLORREF color, const wchar_t* fontSize = nullptr)
{
    if (fontSize)
        return ClickAndAnswer(button, HasControl(IDC_FONT_SAMPLE), [fontSize](HWND box) {
            Retype(box, IDC_FONT_SIZE, fontSize);
            ClickAt(ScreenPointOf(Control(box, IDOK)));
        });
    return ClickAndAnswer(button, IsColorChooser(), [color](HWND box) { AnswerColorChooser(box, color); });
}
