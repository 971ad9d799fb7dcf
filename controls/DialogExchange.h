#pragma once
// One list of a dialog's controls serves every direction: a line such as
// io.Edit(IDC_NAME, config.Name, 512) puts the field into its control when the dialog opens, checks
// the control's rules when the user confirms, and takes the control back into the field on OK. So a
// control, its field and its rules are written once per dialog.
//
//   io.Edit(IDC_HOST, unit.Hostname, 256).Required(IDS_HOST_REQUIRED);
//   io.Spin(IDC_PORT, unit.Port, 1, 65535).InRange(IDS_PORT_RANGE);
//   io.Check(IDC_AUTO_JOIN, channel.AutoJoin);
//
// A check pass writes no field; a dialog stores only after every check has passed.

#include "classlib/String.h"

#include <windows.h>

#include <initializer_list>
#include <span>
#include <vector>

// Where a dialog's content cannot be taken: the control to focus and the text to show.
struct TDialogProblem {
    int control = 0;
    CString text;
};

// One entry of a drop-down list: its text and the value it stands for.
struct TDialogChoice {
    const wchar_t* text;
    int value;
};

// One radio button and the stored value it stands for.
struct TDialogRadio {
    int id;
    int value;
};

class TDialogExchange {
public:
    enum class Direction { Load, Check, Store };

    TDialogExchange(HWND dialog, Direction direction) : dialog(dialog), direction(direction) {}

    bool IsLoading() const { return direction == Direction::Load; }
    bool IsStoring() const { return direction == Direction::Store; }

    // A text limit of 0 or less keeps the control's own.
    TDialogExchange& Edit(int id, CString& field, int limit);
    // The text of an editable combo box.
    TDialogExchange& ComboText(int id, CString& field, int limit);
    TDialogExchange& Check(int id, bool& field);
    // A check box that shows the opposite of the field (the box says "answer", the field "ignore").
    TDialogExchange& InvertedCheck(int id, bool& field);
    // A number edit with its up-down control (found by its buddy): the range goes to the
    // up-down, and what is typed is stored clamped into it.
    TDialogExchange& Spin(int id, int& field, int min, int max);
    // Radio buttons in the order of their index; storing takes the checked one's index, 0 when
    // none is checked.
    TDialogExchange& Radio(std::initializer_list<int> ids, int& index);
    // Radio buttons each standing for a stored value. A value none stands for checks the first;
    // storing with none checked stores the first one's value.
    TDialogExchange& RadioValues(std::initializer_list<TDialogRadio> buttons, int& field);
    // The same for a switch, its buttons standing for true (1) and false (0).
    TDialogExchange& RadioValues(std::initializer_list<TDialogRadio> buttons, bool& field);
    // Two Spin lines for a range: storing takes an end typed below the start as the start.
    TDialogExchange& Range(int firstId, int lastId, int& first, int& last, int min, int max);
    // A drop-down list the dialog has filled, whose entry index is the field; an index it does
    // not hold selects, and stores as, the first entry.
    TDialogExchange& ListIndex(int id, int& field);
    // A drop-down list holding the choices in order; the field is the chosen entry's value. A
    // value not among them selects the first entry.
    TDialogExchange& Choice(int id, int& field, std::span<const TDialogChoice> choices);
    // A multi-line edit, an item per line; empty lines are not stored.
    TDialogExchange& Lines(int id, std::vector<CString>& items);

    // Rules about the control of the line before; only a check pass looks at them, and the first
    // rule that fails is the answer. Texts are string-table ids.
    // Refuses an empty or blank text.
    TDialogExchange& Required(UINT textId);
    // Refuses a text that accept() turns down.
    TDialogExchange& Rule(bool (*accept)(const CString& text), UINT textId);
    // After Spin: refuses a text that is not a number within the range instead of clamping it.
    // The message is formatted with the range's two ends.
    TDialogExchange& InRange(UINT textId);

    bool Passed() const { return problem.control == 0; }
    const TDialogProblem& GetProblem() const { return problem; }
    // For a dialog's own checks beyond the rules: the first failure is kept.
    void Fail(int control, const CString& text);

private:
    HWND Item(int id) const { return ::GetDlgItem(dialog, id); }
    void Note(int id, int min = 0, int max = 0);
    bool Checking() const { return direction == Direction::Check && Passed(); }

    HWND dialog;
    Direction direction;
    TDialogProblem problem;
    int lastId = 0;
    int lastMin = 0, lastMax = 0;
};

// The up-down control whose buddy is the window, or null.
HWND FindSpinOf(HWND edit);
// True when the text has no blank (space, tab, ideographic space) and no control character.
bool HasNoBlankOrControl(const CString& text);
