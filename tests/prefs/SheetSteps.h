#pragma once
// Steps the sheet and window tests of this folder share.

#include "tests/common/ControlText.h"
#include "tests/common/SheetInput.h"

#include <commctrl.h>

#include <utility>
#include <vector>

// The steps of a case that only edits fields and confirms: each control retyped with its text (a
// null text clicks it instead), in order, then OK.
inline auto EditThenOk(std::vector<std::pair<int, const wchar_t*>> edits)
{
    return [edits](TSheetInput& run) {
        for (const auto& [control, text] : edits)
            text ? run.Retype(control, text) : run.Click(control);
        run.ClickOk();
    };
}
