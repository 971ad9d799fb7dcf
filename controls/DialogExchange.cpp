#include "controls/DialogExchange.h"

#include "controls/UpdateDialog.h"
#include "foundation/ResourceString.h"

#include <commctrl.h>

#include <cwchar>

namespace {

bool IsBlankOrControl(wchar_t c) { return c < 0x20 || c == L' ' || c == 0x7F || c == 0x3000 || c == 0xA0; }

// A whole number, blanks around it allowed; false for anything else or one out of int's range.
bool ReadWholeNumber(CString text, long long& value)
{
    text.Trim();
    if (text.IsEmpty() || text.GetLength() > 12)
        return false;
    const wchar_t* begin = text;
    wchar_t* end = nullptr;
    value = std::wcstoll(begin, &end, 10);
    return end != begin && *end == 0;
}

} // namespace

HWND FindSpinOf(HWND edit)
{
    HWND parent = ::GetParent(edit);
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = L"";
        ::GetClassNameW(child, name, 32);
        if (_wcsicmp(name, UPDOWN_CLASSW) == 0 && (HWND)::SendMessageW(child, UDM_GETBUDDY, 0, 0) == edit)
            return child;
    }
    return nullptr;
}

bool HasNoBlankOrControl(const CString& text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (IsBlankOrControl(text[i]))
            return false;
    return true;
}

void TDialogExchange::Note(int id, int min, int max)
{
    lastId = id;
    lastMin = min;
    lastMax = max;
}

void TDialogExchange::Fail(int control, const CString& text)
{
    if (Passed()) {
        problem.control = control;
        problem.text = text;
    }
}

TDialogExchange& TDialogExchange::Edit(int id, CString& field, int limit)
{
    Note(id);
    if (direction == Direction::Load)
        SetEditText(Item(id), field, limit);
    else if (direction == Direction::Store)
        field = GetControlText(Item(id));
    return *this;
}

TDialogExchange& TDialogExchange::ComboText(int id, CString& field, int limit)
{
    Note(id);
    if (direction == Direction::Load)
        SetComboText(Item(id), field, limit);
    else if (direction == Direction::Store)
        field = GetControlText(Item(id));
    return *this;
}

TDialogExchange& TDialogExchange::Check(int id, bool& field)
{
    Note(id);
    if (direction == Direction::Load)
        ::CheckDlgButton(dialog, id, field ? BST_CHECKED : BST_UNCHECKED);
    else if (direction == Direction::Store)
        field = ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
    return *this;
}

TDialogExchange& TDialogExchange::InvertedCheck(int id, bool& field)
{
    bool shown = !field;
    Check(id, shown);
    if (direction == Direction::Store)
        field = !shown;
    return *this;
}

TDialogExchange& TDialogExchange::Spin(int id, int& field, int min, int max)
{
    Note(id, min, max);
    HWND edit = Item(id);
    if (direction == Direction::Load) {
        // The range first: an up-down that sets its buddy's text may clamp what it finds there.
        if (HWND spin = FindSpinOf(edit))
            ::SendMessageW(spin, UDM_SETRANGE32, (WPARAM)min, (LPARAM)max);
        CString text;
        text.Format(L"%d", field);
        ::SetWindowTextW(edit, text);
    } else if (direction == Direction::Store) {
        // wcstol saturates, so an overlong number still clamps to the nearer end.
        long value = std::wcstol(GetControlText(edit), nullptr, 10);
        field = value < min ? min : (value > max ? max : (int)value);
    }
    return *this;
}

TDialogExchange& TDialogExchange::Radio(std::initializer_list<int> ids, int& index)
{
    Note(ids.size() ? *ids.begin() : 0);
    int i = 0;
    if (direction == Direction::Load) {
        for (int id : ids)
            ::CheckDlgButton(dialog, id, i++ == index ? BST_CHECKED : BST_UNCHECKED);
    } else if (direction == Direction::Store) {
        index = 0;
        for (int id : ids) {
            if (::IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
                index = i;
                break;
            }
            i++;
        }
    }
    return *this;
}

TDialogExchange& TDialogExchange::RadioValues(std::initializer_list<TDialogRadio> buttons, int& field)
{
    Note(buttons.size() ? buttons.begin()->id : 0);
    if (!buttons.size())
        return *this;
    const TDialogRadio* chosen = buttons.begin();
    if (direction == Direction::Load) {
        for (const TDialogRadio& button : buttons)
            if (button.value == field) {
                chosen = &button;
                break;
            }
        for (const TDialogRadio& button : buttons)
            ::CheckDlgButton(dialog, button.id, &button == chosen ? BST_CHECKED : BST_UNCHECKED);
    } else if (direction == Direction::Store) {
        for (const TDialogRadio& button : buttons)
            if (::IsDlgButtonChecked(dialog, button.id) == BST_CHECKED) {
                chosen = &button;
                break;
            }
        field = chosen->value;
    }
    return *this;
}

TDialogExchange& TDialogExchange::RadioValues(std::initializer_list<TDialogRadio> buttons, bool& field)
{
    int value = field ? 1 : 0;
    RadioValues(buttons, value);
    if (direction == Direction::Store)
        field = value != 0;
    return *this;
}

TDialogExchange& TDialogExchange::Range(int firstId, int lastId, int& first, int& last, int min, int max)
{
    Spin(firstId, first, min, max);
    Spin(lastId, last, min, max);
    if (direction == Direction::Store && last < first)
        last = first;
    return *this;
}

TDialogExchange& TDialogExchange::ListIndex(int id, int& field)
{
    Note(id);
    HWND list = Item(id);
    int count = (int)::SendMessageW(list, CB_GETCOUNT, 0, 0);
    if (direction == Direction::Load) {
        ::SendMessageW(list, CB_SETCURSEL, field >= 0 && field < count ? field : 0, 0);
    } else if (direction == Direction::Store) {
        int row = (int)::SendMessageW(list, CB_GETCURSEL, 0, 0);
        field = row >= 0 && row < count ? row : 0;
    }
    return *this;
}

TDialogExchange& TDialogExchange::Choice(int id, int& field, std::span<const TDialogChoice> choices)
{
    Note(id);
    HWND list = Item(id);
    if (direction == Direction::Load) {
        ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
        int selected = -1;
        for (size_t i = 0; i < choices.size(); i++) {
            int row = (int)::SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)choices[i].text);
            ::SendMessageW(list, CB_SETITEMDATA, row, (LPARAM)choices[i].value);
            if (selected < 0 && choices[i].value == field)
                selected = row;
        }
        ::SendMessageW(list, CB_SETCURSEL, selected < 0 ? 0 : selected, 0);
    } else if (direction == Direction::Store) {
        int row = (int)::SendMessageW(list, CB_GETCURSEL, 0, 0);
        int count = (int)::SendMessageW(list, CB_GETCOUNT, 0, 0);
        if (count > 0)
            field = (int)::SendMessageW(list, CB_GETITEMDATA, row >= 0 && row < count ? row : 0, 0);
    }
    return *this;
}

TDialogExchange& TDialogExchange::Lines(int id, std::vector<CString>& items)
{
    Note(id);
    if (direction == Direction::Load) {
        SetEditLines(items, Item(id));
    } else if (direction == Direction::Store) {
        std::vector<CString> lines;
        GetEditLines(Item(id), lines);
        items.clear();
        for (const CString& line : lines)
            if (!line.IsEmpty())
                items.push_back(line);
    }
    return *this;
}

TDialogExchange& TDialogExchange::Required(UINT textId)
{
    if (Checking()) {
        CString text = GetControlText(Item(lastId));
        if (text.Trim().IsEmpty())
            Fail(lastId, LoadResourceString(textId));
    }
    return *this;
}

TDialogExchange& TDialogExchange::Rule(bool (*accept)(const CString& text), UINT textId)
{
    if (Checking() && !accept(GetControlText(Item(lastId))))
        Fail(lastId, LoadResourceString(textId));
    return *this;
}

TDialogExchange& TDialogExchange::InRange(UINT textId)
{
    long long value = 0;
    if (Checking() && (!ReadWholeNumber(GetControlText(Item(lastId)), value) || value < lastMin || value > lastMax)) {
        CString text;
        text.Format((const wchar_t*)LoadResourceString(textId), lastMin, lastMax);
        Fail(lastId, text);
    }
    return *this;
}
