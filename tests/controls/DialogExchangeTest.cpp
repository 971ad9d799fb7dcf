// The exchange's row kinds that map what a control shows onto a stored value other than itself:
// an inverted check box, radio buttons standing for stored values, a range of two numbers whose
// end never stays below its start, and a drop-down list whose entry index is the field. Each
// table gives what the field holds or the user left in the controls, and what the other side
// must hold afterwards; a check pass writes no field.

#include "controls/DialogExchange.h"
#include "classlib/Wnd.h"
#include "controls/UpdateDialog.h"
#include "tests/common/StringPrinter.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

enum : int {
    kBox = 101,
    kRadioA = 111,
    kRadioB = 112,
    kRadioC = 113,
    kFirst = 121,
    kLast = 122,
    kList = 131,
};

using Direction = TDialogExchange::Direction;

class DialogExchangeRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
        Child(L"BUTTON", BS_AUTOCHECKBOX, kBox);
        for (int id : {kRadioA, kRadioB, kRadioC})
            Child(L"BUTTON", BS_AUTORADIOBUTTON, id);
        for (int id : {kFirst, kLast}) {
            HWND edit = Child(L"EDIT", ES_AUTOHSCROLL, id);
            HWND spin = Child(UPDOWN_CLASSW, 0, id + 100);
            ::SendMessageW(spin, UDM_SETBUDDY, (WPARAM)edit, 0);
        }
        HWND list = Child(L"COMBOBOX", CBS_DROPDOWNLIST, kList);
        for (const wchar_t* text : {L"ゼロ", L"one", L"two"})
            ::SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)text);
    }
    void TearDown() override { parent.DestroyWindow(); }

    HWND Child(const wchar_t* cls, DWORD style, int id)
    {
        HWND child = ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 80, 20, parent.m_hWnd,
                                       (HMENU)(INT_PTR)id, nullptr, nullptr);
        EXPECT_TRUE(child) << "control " << id;
        return child;
    }
    HWND Item(int id) const { return ::GetDlgItem(parent.m_hWnd, id); }
    bool Checked(int id) const { return ::IsDlgButtonChecked(parent.m_hWnd, id) == BST_CHECKED; }
    void SetChecked(int id, bool on) { ::CheckDlgButton(parent.m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }
    TDialogExchange Pass(Direction direction) const { return TDialogExchange(parent.m_hWnd, direction); }

    CWnd parent;
};

const std::initializer_list<TDialogRadio> kRadios = {{kRadioA, 0}, {kRadioB, 2}, {kRadioC, 1}};

} // namespace

TEST_F(DialogExchangeRows, InvertedCheckShowsAndStoresTheOpposite)
{
    for (bool field : {false, true}) {
        bool value = field;
        Pass(Direction::Load).InvertedCheck(kBox, value);
        EXPECT_EQ(!field, Checked(kBox)) << "loaded " << field;
    }
    for (bool shown : {false, true}) {
        SetChecked(kBox, shown);
        bool field = shown;
        Pass(Direction::Check).InvertedCheck(kBox, field);
        EXPECT_EQ(shown, field) << "a check pass leaves the field";
        Pass(Direction::Store).InvertedCheck(kBox, field);
        EXPECT_EQ(!shown, field) << "stored from " << shown;
    }
}

TEST_F(DialogExchangeRows, RadioButtonsStandForTheirStoredValues)
{
    // The buttons stand for 0, 2, 1 in their order; a value none stands for checks the first.
    const struct {
        int field;
        int checked;
    } kLoads[] = {{0, kRadioA}, {2, kRadioB}, {1, kRadioC}, {7, kRadioA}, {-1, kRadioA}};
    for (const auto& c : kLoads) {
        SetChecked(kRadioB, true);
        int field = c.field;
        Pass(Direction::Load).RadioValues(kRadios, field);
        for (int id : {kRadioA, kRadioB, kRadioC})
            EXPECT_EQ(id == c.checked, Checked(id)) << "value " << c.field << ", button " << id;
        EXPECT_EQ(c.field, field) << "loading keeps the field";
    }
    // 0 checks none; the stored value is that of the checked button, else the first's.
    const struct {
        int checked;
        int stored;
    } kStores[] = {{kRadioA, 0}, {kRadioB, 2}, {kRadioC, 1}, {0, 0}};
    for (const auto& c : kStores) {
        for (int id : {kRadioA, kRadioB, kRadioC})
            SetChecked(id, id == c.checked);
        int field = 99;
        Pass(Direction::Check).RadioValues(kRadios, field);
        EXPECT_EQ(99, field) << "a check pass leaves the field";
        Pass(Direction::Store).RadioValues(kRadios, field);
        EXPECT_EQ(c.stored, field) << "button " << c.checked;
    }
}

TEST_F(DialogExchangeRows, RadioButtonsOfASwitchStandForTrueAndFalse)
{
    // The first button stands for false, so a lost mapping shows as the wrong button.
    const std::initializer_list<TDialogRadio> kSwitch = {{kRadioA, false}, {kRadioB, true}};
    for (bool field : {false, true}) {
        bool value = field;
        Pass(Direction::Load).RadioValues(kSwitch, value);
        EXPECT_EQ(!field, Checked(kRadioA)) << "loaded " << field;
        EXPECT_EQ(field, Checked(kRadioB)) << "loaded " << field;
    }
    const struct {
        int checked;
        bool stored;
    } kStores[] = {{kRadioA, false}, {kRadioB, true}, {0, false}};
    for (const auto& c : kStores) {
        for (int id : {kRadioA, kRadioB})
            SetChecked(id, id == c.checked);
        bool field = !c.stored;
        Pass(Direction::Check).RadioValues(kSwitch, field);
        EXPECT_EQ(!c.stored, field) << "a check pass leaves the field";
        Pass(Direction::Store).RadioValues(kSwitch, field);
        EXPECT_EQ(c.stored, field) << "button " << c.checked;
    }
}

TEST_F(DialogExchangeRows, ARangeEndTypedBelowItsStartIsTheStart)
{
    const struct {
        const wchar_t* first;
        const wchar_t* last;
        int storedFirst, storedLast;
    } kCases[] = {
        {L"10", L"20", 10, 20},     {L"20", L"10", 20, 20}, {L"7", L"7", 7, 7},      {L"70000", L"5", 65535, 65535},
        {L"5", L"99999", 5, 65535}, {L"-1", L"x", 0, 0},    {L"300", L"", 300, 300},
    };
    for (const auto& c : kCases) {
        ::SetWindowTextW(Item(kFirst), c.first);
        ::SetWindowTextW(Item(kLast), c.last);
        int first = -5, last = -5;
        Pass(Direction::Check).Range(kFirst, kLast, first, last, 0, 65535);
        EXPECT_EQ(-5, first);
        EXPECT_EQ(-5, last);
        Pass(Direction::Store).Range(kFirst, kLast, first, last, 0, 65535);
        EXPECT_EQ(c.storedFirst, first) << "typed " << Narrow(c.first) << "-" << Narrow(c.last);
        EXPECT_EQ(c.storedLast, last) << "typed " << Narrow(c.first) << "-" << Narrow(c.last);
    }

    // Loading shows both numbers as stored and gives both up-downs the range.
    int first = 3, last = 9;
    Pass(Direction::Load).Range(kFirst, kLast, first, last, 0, 65535);
    EXPECT_EQ(CString(L"3"), GetControlText(Item(kFirst)));
    EXPECT_EQ(CString(L"9"), GetControlText(Item(kLast)));
    for (int id : {kFirst, kLast}) {
        int low = -1, high = -1;
        ::SendMessageW(FindSpinOf(Item(id)), UDM_GETRANGE32, (WPARAM)&low, (LPARAM)&high);
        EXPECT_EQ(0, low) << id;
        EXPECT_EQ(65535, high) << id;
    }
}

TEST_F(DialogExchangeRows, AListIndexOutsideTheListIsTheFirstEntry)
{
    const struct {
        int field;
        int selected;
    } kLoads[] = {{0, 0}, {2, 2}, {3, 0}, {-1, 0}};
    for (const auto& c : kLoads) {
        ::SendMessageW(Item(kList), CB_SETCURSEL, 1, 0);
        int field = c.field;
        Pass(Direction::Load).ListIndex(kList, field);
        EXPECT_EQ(c.selected, (int)::SendMessageW(Item(kList), CB_GETCURSEL, 0, 0)) << "value " << c.field;
    }
    const struct {
        int selected;
        int stored;
    } kStores[] = {{1, 1}, {2, 2}, {-1, 0}};
    for (const auto& c : kStores) {
        ::SendMessageW(Item(kList), CB_SETCURSEL, c.selected, 0);
        int field = 99;
        Pass(Direction::Check).ListIndex(kList, field);
        EXPECT_EQ(99, field) << "a check pass leaves the field";
        Pass(Direction::Store).ListIndex(kList, field);
        EXPECT_EQ(c.stored, field) << "entry " << c.selected;
    }
}
