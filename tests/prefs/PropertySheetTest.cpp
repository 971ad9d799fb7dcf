// The tab sheet and the page contract as a user meets them: two pages of one record, typed into
// with real keys and clicks, confirmed with Enter, OK or Esc; what the record holds afterwards.

#include "prefs/PropertyPage.h"
#include "prefs/PropertyTabSheet.h"
#include "res/resource.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SheetInput.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TestDialogIds.h"
#include "tests/prefs/SheetSteps.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct TSample {
    CString name = L"alpha";
    int port = 6667;
    bool flag = false;
    std::vector<CString> lines = {L"one", L"two"};
    int level = 9;
    int version = 0;
    int code = 50221;
    CString nick = L"kv";
};

const TDialogChoice kCodes[] = {{L"UTF-8", 65001}, {L"ISO-2022-JP", 50221}, {L"CP1252", 1252}};

// A page of the one record both pages edit.
class TSamplePage : public TPropertyPage {
public:
    explicit TSamplePage(UINT templateId) : TPropertyPage(templateId) {}
    TSample* sample = nullptr;

protected:
    bool HasRecord() const override { return sample != nullptr; }
};

class TFirstPage : public TSamplePage {
public:
    TFirstPage() : TSamplePage(IDD_TEST_PAGE_FIRST) {}

protected:
    void Exchange(TDialogExchange& io) override
    {
        io.Edit(IDC_P_NAME, sample->name, 20).Required(IDS_FIELD_REQUIRED);
        io.Spin(IDC_P_PORT, sample->port, 1, 65535).InRange(IDS_NUMBER_OUT_OF_RANGE);
        io.Check(IDC_P_FLAG, sample->flag);
        io.Lines(IDC_P_LINES, sample->lines);
    }
};

class TSecondPage : public TSamplePage {
public:
    TSecondPage() : TSamplePage(IDD_TEST_PAGE_SECOND) {}

protected:
    void Exchange(TDialogExchange& io) override
    {
        io.Spin(IDC_P_LEVEL, sample->level, 9, 500);
        io.Radio({IDC_P_FOUR, IDC_P_FIVE}, sample->version);
        io.Choice(IDC_P_CODE, sample->code, kCodes);
        io.Edit(IDC_P_NICK, sample->nick, 30).Rule(HasNoBlankOrControl, IDS_BLANK_OR_CONTROL_CHARACTER);
    }
};

class TTestSheet : public TPropertyTabSheet {
public:
    explicit TTestSheet(TSample* sample)
    {
        first.sample = sample;
        second.sample = sample;
    }
    BOOL OnInitDialog() override
    {
        TPropertyTabSheet::OnInitDialog();
        AddPage(&first, L"一番目");
        AddPage(&second, L"二番目");
        PostMessage(WM_SHOW_PROPERTY_PAGE, 0);
        return TRUE;
    }

    TFirstPage first;
    TSecondPage second;
};

// The sheet shown modeless at a fixed place for real input; OK and Cancel then only hide it.
class SheetRun : public TSheetInput {
public:
    explicit SheetRun(const TSample& start) : sample(start), form(&sample)
    {
        EXPECT_TRUE(form.Create());
        sheet = form.m_hWnd;
        form.SetWindowPos(HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        WaitUntil([&] { return ::IsWindowVisible(sheet) != FALSE; }, "the sheet shown");
        PumpPendingMessages();
    }

    TSample sample;
    TTestSheet form;
};

struct TSheetCase {
    const char* what;
    std::function<void(SheetRun&)> act;
    // The record expected afterwards, made from the one loaded.
    std::function<void(TSample&)> expect;
    // The control focused on the sheet that stays open, or 0 when the sheet closes.
    int refused;
    const wchar_t* boxWords = L"";
};

// What the second page stores once shown: its fields, and the first listed code for one not listed.
std::function<void(TSample&)> SecondPageStores(int level, int version, const wchar_t* nick)
{
    return [=](TSample& s) {
        s.level = level;
        s.version = version;
        s.code = 65001;
        s.nick = nick;
    };
}

} // namespace

TEST(TPropertyTabSheet, EachShownPageStoresItsControlsOnlyWhenEveryPageAccepts)
{
    TSample start;
    start.code = 12345;        // not in the list
    start.nick = L"has blank"; // never checked while its page is not shown
    const TSheetCase cases[] = {
        {"untouched, Enter in a single-line edit stores what was loaded",
         [](SheetRun& r) { r.PressEnterIn(IDC_P_NAME); }, [](TSample&) {}, 0},
        {"a typed name and a ticked box land in the record", EditThenOk({{IDC_P_NAME, L"beta"}, {IDC_P_FLAG, nullptr}}),
         [](TSample& s) {
             s.name = L"beta";
             s.flag = true;
         },
         0},
        {"Enter in the multi-line edit adds a line, empty lines are dropped",
         [](SheetRun& r) {
             ClickAt(ScreenPointOf(r.Control(IDC_P_LINES)));
             PressKey(VK_END, {VK_CONTROL});
             PressKey(VK_RETURN);
             PressKey(VK_RETURN);
             TypeText(L"three");
             EXPECT_FALSE(r.Closed());
             r.ClickOk();
         },
         [](TSample& s) { s.lines.push_back(L"three"); }, 0},
        {"a blank name is refused with the name focused", EditThenOk({{IDC_P_NAME, L"  "}}), [](TSample&) {},
         IDC_P_NAME, L"空"},
        {"port 0 is refused, not clamped", EditThenOk({{IDC_P_PORT, L"0"}}), [](TSample&) {}, IDC_P_PORT, L"65535"},
        {"port 70000 is refused, and the other page's edit is not stored either",
         [](SheetRun& r) {
             r.ShowTab(1);
             r.Retype(IDC_P_LEVEL, L"100");
             r.ShowTab(0);
             r.Retype(IDC_P_PORT, L"70000");
             r.ShowTab(1);
             r.ClickOk();
             EXPECT_EQ(0, r.CurrentTab()) << "the refusing page comes to the front";
         },
         [](TSample&) {}, IDC_P_PORT, L"1 から 65535"},
        {"a page never shown is neither checked nor stored", [](SheetRun& r) { r.ClickOk(); }, [](TSample&) {}, 0},
        {"shown, the second page stores clamped numbers, its radio and the first listed code",
         [](SheetRun& r) {
             r.ShowTab(1);
             r.Retype(IDC_P_LEVEL, L"800");
             r.Click(IDC_P_FIVE);
             r.Retype(IDC_P_NICK, L"kv2");
             SaveWindowPng(r.sheet, ScreenshotPath(L"prefs-test-sheet.png"));
             r.PressEnterIn(IDC_P_NICK);
         },
         SecondPageStores(500, 1, L"kv2"), 0},
        {"a level below the range is stored as its lower end",
         [](SheetRun& r) {
             r.ShowTab(1);
             r.Retype(IDC_P_LEVEL, L"5");
             r.Retype(IDC_P_NICK, L"kv");
             r.ClickOk();
         },
         SecondPageStores(9, 0, L"kv"), 0},
        {"Tab from a page's last field reaches the sheet's OK button",
         [](SheetRun& r) {
             r.ShowTab(1);
             r.Retype(IDC_P_NICK, L"kv");
             PressKey(VK_TAB);
             EXPECT_EQ(IDOK, r.FocusedId());
             r.Confirm([] { PressKey(VK_SPACE); });
         },
         SecondPageStores(9, 0, L"kv"), 0},
        {"a nick with a blank is refused",
         [](SheetRun& r) {
             r.ShowTab(1);
             r.ClickOk();
         },
         [](TSample&) {}, IDC_P_NICK, L"空白"},
        {"a pasted nick with a control character is refused",
         [](SheetRun& r) {
             r.ShowTab(1);
             r.Paste(IDC_P_NICK, L"ab\x01"
                                 L"c");
             r.ClickOk();
         },
         [](TSample&) {}, IDC_P_NICK, L"制御文字"},
        {"Esc on a page cancels and stores nothing",
         [](SheetRun& r) {
             r.Retype(IDC_P_NAME, L"gamma");
             r.ShowTab(1);
             r.Retype(IDC_P_NICK, L"kv3");
             PressKey(VK_ESCAPE);
             WaitUntil([&] { return r.Closed(); }, "Esc closes the sheet");
         },
         [](TSample&) {}, 0},
    };
    for (const TSheetCase& c : cases) {
        SCOPED_TRACE(c.what);
        SheetRun run(start);
        c.act(run);
        TSample expected = start;
        c.expect(expected);
        EXPECT_EQ(c.refused == 0, run.Closed());
        if (c.refused) {
            EXPECT_EQ(c.refused, run.FocusedId());
            EXPECT_NE(-1, run.boxText.Find(c.boxWords)) << testing::PrintToString(run.boxText);
        }
        EXPECT_EQ(expected.name, run.sample.name);
        EXPECT_EQ(expected.port, run.sample.port);
        EXPECT_EQ(expected.flag, run.sample.flag);
        EXPECT_EQ(expected.lines, run.sample.lines);
        EXPECT_EQ(expected.level, run.sample.level);
        EXPECT_EQ(expected.version, run.sample.version);
        EXPECT_EQ(expected.code, run.sample.code);
        EXPECT_EQ(expected.nick, run.sample.nick);
    }
}
