#pragma once
// Steps the sheet and window tests of this folder share.

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

// The first column of every row of a list view.
inline std::vector<CString> ListTexts(HWND list)
{
    std::vector<CString> texts;
    for (int row = 0; row < ListView_GetItemCount(list); row++) {
        wchar_t text[128] = L"";
        ListView_GetItemText(list, row, 0, text, 128);
        texts.push_back(text);
    }
    return texts;
}
