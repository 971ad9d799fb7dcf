#pragma once
// The controls dialog shown modeless at a fixed place, ready for real input.

#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"
#include "tests/controls/ControlsDialog.h"

#include <gtest/gtest.h>

class ControlsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create());
        // Topmost: windows of other test programs on the desktop must not catch the clicks.
        dialog.SetWindowPos(HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        PumpPendingMessages();
    }
    void TearDown() override
    {
        // Let go of anything a failed step left pressed.
        PumpPendingMessages();
    }
    // Focuses the control, clears the record and presses the key.
    void PressIn(HWND control, WORD key, std::initializer_list<WORD> modifiers = {})
    {
        FocusForInput(control);
        dialog.listener.Clear();
        PressKey(key, modifiers);
    }

    TControlsDialog dialog;
};
