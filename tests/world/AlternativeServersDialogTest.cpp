// The alternative servers dialog as a user meets it: rows picked with clicks, hosts and ports
// typed, the buttons pressed, and the server entry read back after OK or Cancel; and the host
// box's "servers.txt", made when missing and never rewritten when present.

#include "dialogs/AlternativeServersDialog.h"

#include "foundation/Path.h"
#include "settings/ServerConfig.h"
#include "settings/ServerList.h"
#include "settings/WindowGeometry.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/TempFolder.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <vector>

namespace {

HWND Control(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

bool Enabled(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_KICKIDLE, 0, 0);
    return ::IsWindowEnabled(Control(dialog, id)) != FALSE;
}

// The steps run inside a timer of the dialog's loop, which goes idle only between them: the
// idle pass a user's click always follows is run first.
void Click(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_KICKIDLE, 0, 0);
    ClickAt(ScreenPointOf(Control(dialog, id)));
}

void ClickRow(HWND dialog, int row)
{
    RECT rect = {LVIR_LABEL, 0, 0, 0};
    ::SendMessageW(Control(dialog, IDC_ALT_LIST), LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&rect);
    ClickAt(ScreenPointOf(Control(dialog, IDC_ALT_LIST), rect.left + 20, (rect.top + rect.bottom) / 2));
}

void TypeInto(HWND dialog, int id, const wchar_t* text)
{
    ClickAt(ScreenPointOf(Control(dialog, id), 8, 6));
    PressKey('A', {VK_CONTROL});
    PressKey(VK_DELETE);
    TypeText(text);
}

int Rows(HWND dialog) { return ListView_GetItemCount(Control(dialog, IDC_ALT_LIST)); }

int SelectedRow(HWND dialog) { return ListView_GetNextItem(Control(dialog, IDC_ALT_LIST), -1, LVNI_SELECTED); }

CString Text(HWND dialog, int id) { return GetControlText(Control(dialog, id)); }

struct TServer {
    const wchar_t* host;
    int port;
};

TUnitSetting MakeUnit(const std::vector<TServer>& servers)
{
    TUnitSetting unit;
    unit.Hostname = servers[0].host;
    unit.Port = servers[0].port;
    for (size_t i = 1; i < servers.size(); i++)
        unit.AltServers.push_back({servers[i].host, servers[i].port});
    return unit;
}

std::vector<CString> Described(const TUnitSetting& unit)
{
    std::vector<CString> rows;
    CString row;
    row.Format(L"%s:%d", unit.Hostname.GetString(), unit.Port);
    rows.push_back(row);
    for (const TAltServer& server : unit.AltServers) {
        row.Format(L"%s:%d", server.Hostname.GetString(), server.Port);
        rows.push_back(row);
    }
    return rows;
}

class AlternativeServersDialogTest : public ::testing::Test {
protected:
    INT_PTR Run(TUnitSetting& unit, std::function<void(HWND)> steps)
    {
        TAlternativeServersDialog dialog(&unit, temp.path, &geometry);
        WhenDialogShown([&](HWND window) {
            FocusForInput(Control(window, IDC_ALT_LIST));
            steps(window);
        });
        INT_PTR result = dialog.DoModal();
        StopWatching();
        return result;
    }

    TTempFolder temp;
    TWindowGeometry geometry;
};

} // namespace

TEST_F(AlternativeServersDialogTest, ButtonsEditTheOrderedListAndOKWritesItBack)
{
    const struct {
        const char* name;
        std::vector<TServer> before;
        std::function<void(HWND)> steps;
        std::vector<CString> after;
    } cases[] = {
        {"the second row moved up becomes the server's own",
         {{L"a.example", 6667}, {L"b.example", 7000}, {L"c.example", 7001}},
         [](HWND w) {
             ClickRow(w, 1);
             EXPECT_EQ(Text(w, IDC_ALT_HOST), CString(L"b.example")) << "a picked row fills the fields";
             EXPECT_EQ(Text(w, IDC_ALT_PORT), CString(L"7000"));
             Click(w, IDC_ALT_UP);
             EXPECT_EQ(SelectedRow(w), 0);
             EXPECT_FALSE(Enabled(w, IDC_ALT_UP));
         },
         {L"b.example:7000", L"a.example:6667", L"c.example:7001"}},
        {"moving down stops at the last row",
         {{L"a.example", 1}, {L"b.example", 2}},
         [](HWND w) {
             Click(w, IDC_ALT_DOWN);
             EXPECT_EQ(SelectedRow(w), 1);
             EXPECT_FALSE(Enabled(w, IDC_ALT_DOWN));
         },
         {L"b.example:2", L"a.example:1"}},
        {"added ports are clamped into 1 to 65535",
         {{L"a.example", 6667}},
         [](HWND w) {
             TypeInto(w, IDC_ALT_HOST, L"big.example");
             TypeInto(w, IDC_ALT_PORT, L"70000");
             Click(w, IDC_ALT_ADD);
             EXPECT_EQ(SelectedRow(w), 1);
             TypeInto(w, IDC_ALT_HOST, L"zero.example");
             TypeInto(w, IDC_ALT_PORT, L"0");
             Click(w, IDC_ALT_ADD);
         },
         {L"a.example:6667", L"big.example:65535", L"zero.example:1"}},
        {"overwrite replaces the picked row and shows the clamped port",
         {{L"a.example", 6667}, {L"b.example", 6668}},
         [](HWND w) {
             ClickRow(w, 1);
             TypeInto(w, IDC_ALT_HOST, L"new.example");
             TypeInto(w, IDC_ALT_PORT, L"99999");
             Click(w, IDC_ALT_OVERWRITE);
             EXPECT_EQ(Text(w, IDC_ALT_PORT), CString(L"65535"));
         },
         {L"a.example:6667", L"new.example:65535"}},
        {"delete picks the row now at that place, and the last row stays",
         {{L"a.example", 1}, {L"b.example", 2}, {L"c.example", 3}},
         [](HWND w) {
             ClickRow(w, 2);
             Click(w, IDC_ALT_DELETE);
             EXPECT_EQ(SelectedRow(w), 1);
             Click(w, IDC_ALT_DELETE);
             EXPECT_EQ(SelectedRow(w), 0);
             EXPECT_EQ(Rows(w), 1);
             EXPECT_FALSE(Enabled(w, IDC_ALT_DELETE));
             Click(w, IDC_ALT_DELETE);
         },
         {L"a.example:1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TUnitSetting unit = MakeUnit(c.before);
        INT_PTR result = Run(unit, [&](HWND w) {
            c.steps(w);
            Click(w, IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(Described(unit), c.after);
    }
}

TEST_F(AlternativeServersDialogTest, OpensWithTheServersAndCancelChangesNothing)
{
    TUnitSetting unit = MakeUnit({{L"own.example", 6669}, {L"alt.example", 6670}});
    unit.Name = L"kept";
    geometry.altServersHeader = {150, 70};
    INT_PTR result = Run(unit, [&](HWND w) {
        EXPECT_EQ(Rows(w), 2);
        EXPECT_EQ(SelectedRow(w), 0);
        EXPECT_EQ(::GetFocus(), Control(w, IDC_ALT_LIST));
        EXPECT_EQ(ListView_GetColumnWidth(Control(w, IDC_ALT_LIST), 0), 150);
        EXPECT_TRUE(Enabled(w, IDC_ALT_OVERWRITE));
        TypeInto(w, IDC_ALT_HOST, L"");
        EXPECT_FALSE(Enabled(w, IDC_ALT_ADD)) << "no host, nothing to add";
        PumpPendingMessages();
        SaveWindowPng(w, ScreenshotPath(L"alternative-servers.png"));
        TypeInto(w, IDC_ALT_HOST, L"other.example");
        Click(w, IDC_ALT_ADD);
        Click(w, IDC_ALT_UP);
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Described(unit), (std::vector<CString>{L"own.example:6669", L"alt.example:6670"}));
    EXPECT_EQ(geometry.altServersHeader.size(), 2u) << "the widths are kept on Cancel too";
}

TEST_F(AlternativeServersDialogTest, HostBoxOffersServersTxtAndWritesOnlyAMissingOne)
{
    const struct {
        const char* name;
        bool present;
        std::string bytes;
        std::vector<CString> offered; // empty: the built-in list
    } cases[] = {
        {"missing: made from the built-in list", false, "", {}},
        {"empty: used as it is", true, "", {}},
        {"own lines in file order",
         true,
         "\xEF\xBB\xBFirc.own.example (Own)\r\n-\r\nあ.example\n",
         {L"irc.own.example (Own)", L"-", L"あ.example"}},
        {"binary lines are not offered",
         true,
         std::string("good.example\r\n\x01\x02\x00\xFF junk\r\nok.example", 35),
         {L"good.example", L"ok.example"}},
        {"a TAB is offered as a blank", true, "tab.example\t(Tab)\r\n", {L"tab.example (Tab)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CString path = temp.File(L"servers.txt");
        ::DeleteFileW(path);
        if (c.present) {
            ASSERT_TRUE(WriteFileBytes(path, CStringA(c.bytes.data(), (int)c.bytes.size())));
        }
        TUnitSetting unit = MakeUnit({{L"a.example", 6667}});
        std::vector<CString> offered;
        Run(unit, [&](HWND w) {
            HWND combo = Control(w, IDC_ALT_HOST);
            int count = (int)::SendMessageW(combo, CB_GETCOUNT, 0, 0);
            for (int i = 0; i < count; i++) {
                wchar_t text[300] = L"";
                ::SendMessageW(combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
                offered.push_back(text);
            }
            PressKey(VK_ESCAPE);
        });
        if (!c.present) {
            TStringList builtIn;
            GetDefaultServerList(builtIn);
            EXPECT_EQ(offered, builtIn.items);
            TStringList written;
            ASSERT_TRUE(written.LoadFromFile(path));
            EXPECT_EQ(written.items, builtIn.items);
        } else {
            EXPECT_EQ(offered, c.offered);
            CStringA after = ReadFileBytes(path);
            EXPECT_EQ(std::string(after.GetString(), (size_t)after.GetLength()), c.bytes) << "left as it was";
        }
    }
}
