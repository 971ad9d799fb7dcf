// The main window's add-channel, channel-properties and mode commands as a user meets them: the
// dialog opened from the menu or an action name, filled with real keys and clicks, and what the
// server tree, tree.ini and the scripted server get after OK or Cancel.

#include "tests/mainframe/ServedFrameFixture.h"

#include "controls/UpdateDialog.h"
#include "dialogs/AutoOpDialog.h"
#include "dialogs/ChannelDialog.h"
#include "dialogs/ModeDialog.h"
#include "res/resource.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/PopupMenu.h"
#include "tests/common/Screenshot.h"
#include "tests/common/ShownWindow.h"

#include <functional>
#include <optional>
#include <string>

namespace {

class ChannelDialogCommands : public ServedFrameFixture {
protected:
    // The channel's entry as tree.ini holds it now, if any.
    std::optional<TChannelConfig> StoredChannel(const wchar_t* name)
    {
        for (const TUnitConfig& unit : StoredUnits())
            for (const TChannelConfig& channel : unit.Channels)
                if (unit.Name == L"net" && channel.Name == name)
                    return channel;
        return std::nullopt;
    }
    // Runs the command with the step answering its dialog; false when no dialog came.
    bool RunWithDialog(int controlId, const std::function<void()>& open, std::function<void(HWND)> step)
    {
        int shown = ShownWindowCount();
        WhenShown(HasControl(controlId), step);
        open();
        PumpPendingMessages();
        // A step's own watches count as well.
        return ShownWindowCount() > shown;
    }
    std::function<void()> Action(const wchar_t* name)
    {
        return [this, name] { EXPECT_TRUE(frame->ExecuteAction(name)); };
    }
};

} // namespace

TEST_F(ChannelDialogCommands, AddChannelMakesTheNodeStoresTheTreeAndJoinUsesTheKey)
{
    TIRCChannel* beta = Channel(L"#beta");
    beta->GetConfig().Keyword = false;
    beta->GetConfig().AutoOpMasks = {L"*!*@friend.example"};
    world->Select(net, beta);
    PumpPendingMessages();
    // Cancel adds nothing and writes nothing.
    ASSERT_TRUE(RunWithDialog(IDC_CHANNEL_MODE_BUTTON, Action(L"addchannel"), [&](HWND dialog) {
        EXPECT_EQ(CString(L"チャンネルを追加 - net"), GetControlText(dialog));
        Retype(dialog, IDC_CHANNEL_NAME, L"#gamma");
        PressKey(VK_ESCAPE);
    }));
    EXPECT_EQ(nullptr, Channel(L"#gamma"));
    EXPECT_FALSE(StoredChannel(L"#gamma"));

    ASSERT_TRUE(RunWithDialog(IDC_CHANNEL_MODE_BUTTON, Action(L"addchannel"), [&](HWND dialog) {
        // The new entry starts from the selected channel's switches with an empty name.
        EXPECT_EQ(CString(), Text(dialog, IDC_CHANNEL_NAME));
        EXPECT_FALSE(Checked(dialog, IDC_CHANNEL_KEYWORD));
        EXPECT_EQ(::GetDlgItem(dialog, IDC_CHANNEL_NAME), ::GetFocus());
        Retype(dialog, IDC_CHANNEL_NAME, L"#gamma");
        Retype(dialog, IDC_CHANNEL_PASSWORD, L"key1");
        SaveWindowPng(dialog, ScreenshotPath(L"mainframe-add-channel.png"));
        PressKey(VK_RETURN);
    }));
    TIRCChannel* gamma = Channel(L"#gamma");
    ASSERT_TRUE(gamma);
    EXPECT_TRUE(gamma->GetConfig().AutoOpMasks.empty());
    EXPECT_FALSE(gamma->GetConfig().Keyword);
    EXPECT_TRUE(world->FindChannelTreeItem(world->FindUnitTreeItem(net), gamma));
    std::optional<TChannelConfig> record = StoredChannel(L"#gamma");
    ASSERT_TRUE(record);
    EXPECT_EQ(CString(L"key1"), record->Password);
    EXPECT_TRUE(record->AutoOpMasks.empty());
    EXPECT_TRUE(StoredChannel(L"#alpha"));

    // Adding changes no membership: the join is the user's next step.
    RoundTrip();
    EXPECT_EQ(0, CountStarting("JOIN #gamma"));
    world->Select(net, gamma);
    PumpPendingMessages();
    EXPECT_TRUE(frame->ExecuteAction(L"join"));
    ASSERT_TRUE(peer->WaitFor("JOIN #gamma key1", kWaitBoundMs)) << peer->Received();
}

TEST_F(ChannelDialogCommands, PropertiesEditTheEntryButNeverItsName)
{
    TIRCChannel* beta = Channel(L"#beta");
    world->Select(net, beta);
    PumpPendingMessages();
    for (bool accept : {false, true}) {
        // The auto-op window stays usable beside the dialog: a mask confirmed there meanwhile stays.
        if (accept) {
            EXPECT_TRUE(frame->ExecuteAction(L"channeloperatorlist"));
        }
        ASSERT_TRUE(RunWithDialog(IDC_CHANNEL_MODE_BUTTON, Action(L"channelproperty"), [&](HWND dialog) {
            if (TAutoOpDialog* autoOp = accept ? frame->GetAutoOpDialog() : nullptr) {
                autoOp->AddMask(L"late!*@*");
                ::PostMessageW(autoOp->m_hWnd, WM_COMMAND, IDOK, 0);
                WaitUntil([&] { return frame->GetAutoOpDialog() == nullptr; }, "the auto-op window confirmed");
            }
            EXPECT_EQ(CString(L"チャンネルのプロパティ - net"), GetControlText(dialog));
            EXPECT_EQ(::GetDlgItem(dialog, IDC_CHANNEL_PASSWORD), ::GetFocus());
            Retype(dialog, IDC_CHANNEL_NAME, L"#renamed");
            EXPECT_EQ(CString(L"#beta"), Text(dialog, IDC_CHANNEL_NAME));
            Retype(dialog, IDC_CHANNEL_PASSWORD, L"pw");
            Retype(dialog, IDC_CHANNEL_TOPIC, L"about beta");
            Click(dialog, IDC_CHANNEL_AUTO_JOIN);
            Click(dialog, accept ? IDOK : IDCANCEL);
        }));
        std::optional<TChannelConfig> record = StoredChannel(L"#beta");
        if (!accept) {
            EXPECT_EQ(CString(), beta->GetConfig().Password);
            EXPECT_TRUE(beta->GetConfig().AutoJoin);
            EXPECT_FALSE(record && record->Password == L"pw");
            continue;
        }
        EXPECT_EQ(beta, Channel(L"#beta"));
        EXPECT_EQ(CString(L"pw"), beta->GetConfig().Password);
        EXPECT_EQ(CString(L"about beta"), beta->GetConfig().Topic);
        EXPECT_FALSE(beta->GetConfig().AutoJoin);
        EXPECT_EQ(std::vector<CString>{L"late!*@*"}, beta->GetConfig().AutoOpMasks);
        ASSERT_TRUE(record);
        EXPECT_EQ(CString(L"pw"), record->Password);
        EXPECT_FALSE(record->AutoJoin);
        EXPECT_EQ(std::vector<CString>{L"late!*@*"}, record->AutoOpMasks);
    }
}

// The input line turns markup into decoration codes, so a channel can be joined, and stored,
// with one in its name; its properties can still be changed.
TEST_F(ChannelDialogCommands, AChannelJoinedWithABoldNameKeepsItsPropertiesEditable)
{
    FocusForInput(frame->GetInputLine()->m_hWnd);
    TypeText(L"/join #<bold>test");
    PressKey(VK_RETURN);
    ASSERT_TRUE(peer->WaitFor("JOIN #\x02test", kWaitBoundMs)) << peer->Received();
    peer->Send(":kvme!me@my.host JOIN :#\x02test\r\n");
    TIRCChannel* bold = nullptr;
    ASSERT_TRUE(PumpMessagesUntil([&] { return (bold = Channel(L"#\x02test")) && bold->IsJoined(); }, kWaitBoundMs));
    world->Select(net, bold);
    PumpPendingMessages();
    bool confirmable = false;
    ASSERT_TRUE(RunWithDialog(
        IDC_CHANNEL_MODE_BUTTON,
        [&] {
            FocusForInput(frame->GetInputLine()->m_hWnd);
            PressKey('X', {VK_MENU});
        },
        [&](HWND dialog) {
            EXPECT_EQ(CString(L"#\x02test"), Text(dialog, IDC_CHANNEL_NAME));
            Retype(dialog, IDC_CHANNEL_PASSWORD, L"pw");
            confirmable = ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE;
            PressKey(confirmable ? VK_RETURN : VK_ESCAPE);
        }));
    EXPECT_TRUE(confirmable);
    EXPECT_EQ(CString(L"pw"), bold->GetConfig().Password);
    std::optional<TChannelConfig> record = StoredChannel(L"#\x02test");
    ASSERT_TRUE(record);
    EXPECT_EQ(CString(L"pw"), record->Password);
}

TEST_F(ChannelDialogCommands, ModeDialogSendsTheDifferenceAndCancelSendsNothing)
{
    peer->Send(":kvme!me@my.host MODE #alpha +ntk oldkey\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return alpha->mode.key == L"oldkey"; }, kWaitBoundMs));
    int modes = CountStarting("MODE");
    ASSERT_TRUE(RunWithDialog(
        IDC_MODE_LIMIT_SPIN, [&] { ChooseFromMenuBar(2, {'M'}); },
        [&](HWND dialog) {
            EXPECT_EQ(CString(L"#alpha のモード設定 - net"), GetControlText(dialog));
            EXPECT_TRUE(Checked(dialog, IDC_MODE_N));
            EXPECT_TRUE(Checked(dialog, IDC_MODE_T));
            Click(dialog, IDC_MODE_S);
            PressKey(VK_ESCAPE);
        }));
    RoundTrip();
    EXPECT_EQ(modes, CountStarting("MODE")) << "cancelled";

    // Modes that change while the dialog is open stay: only the user's own change goes out.
    auto meanwhile = [this](std::string modes, const wchar_t* key, int box) {
        return [this, modes, key, box](HWND dialog) {
            peer->Send(modes + "\r\n");
            WaitUntil([&] { return alpha->mode.key == key; }, "the modes meanwhile");
            Click(dialog, box);
        };
    };
    struct {
        const char* name;
        std::function<void(HWND)> edit;
        std::string line;
    } rows[] = {
        {"flags and limit",
         [](HWND dialog) {
             Click(dialog, IDC_MODE_N);
             Click(dialog, IDC_MODE_S);
             Click(dialog, IDC_MODE_L);
             Retype(dialog, IDC_MODE_LIMIT, L"50");
         },
         "MODE #alpha -n+s+l 50"},
        {"limit out of range", [](HWND dialog) { Retype(dialog, IDC_MODE_LIMIT, L"99999999999"); },
         "MODE #alpha +l 2147483647"},
        {"key dropped", [](HWND dialog) { Click(dialog, IDC_MODE_K); }, "MODE #alpha -k oldkey"},
        {"another operator's key and limit meanwhile",
         meanwhile(":alice!a@alice.example MODE #alpha +k-l secret", L"secret", IDC_MODE_M), "MODE #alpha +m"},
        {"the server's report of the modes meanwhile",
         meanwhile(":irc.test 324 kvme #alpha +nst+k newkey", L"newkey", IDC_MODE_I), "MODE #alpha +i"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(RunWithDialog(IDC_MODE_LIMIT_SPIN, Action(L"mode"), [&](HWND dialog) {
            row.edit(dialog);
            Click(dialog, IDOK);
        }));
        // Rows in quick succession meet the flood control, which holds a line back for seconds.
        ASSERT_TRUE(peer->WaitFor(row.line, 10000)) << peer->Received();
        EXPECT_EQ(row.line, LastStarting("MODE #alpha"));
        // The server's echo makes it the channel's mode for the next row.
        CString before = alpha->mode.ToString();
        peer->Send(":kvme!me@my.host " + row.line + "\r\n");
        WaitUntil([&] { return alpha->mode.ToString() != before; }, "the echo taken as the mode");
    }
}

TEST_F(ChannelDialogCommands, BlankKeysAreRefusedAndNoOperatorSendsNothing)
{
    ASSERT_TRUE(RunWithDialog(IDC_MODE_LIMIT_SPIN, Action(L"mode"), [&](HWND dialog) {
        Click(dialog, IDC_MODE_K);
        Retype(dialog, IDC_MODE_KEY, L"two words");
        // Refused with a warning (its words are the dialog's test's), and the dialog stays.
        EXPECT_FALSE(PressOkAndReadWarning(dialog).IsEmpty());
        EXPECT_TRUE(::IsWindowVisible(dialog));
        Retype(dialog, IDC_MODE_KEY, L"one");
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDOK)));
        SaveWindowPng(dialog, ScreenshotPath(L"mainframe-mode-dialog.png"));
        PressKey(VK_RETURN);
    }));
    ASSERT_TRUE(peer->WaitFor("MODE #alpha +k one", kWaitBoundMs)) << peer->Received();
    EXPECT_EQ(0, CountStarting("MODE #alpha +k two"));

    peer->Send(":alice!a@alice.example MODE #alpha -o kvme\r\n");
    ASSERT_TRUE(PumpMessagesUntil([&] { return !alpha->op; }, kWaitBoundMs));
    int modes = CountStarting("MODE");
    ASSERT_TRUE(RunWithDialog(IDC_MODE_LIMIT_SPIN, Action(L"mode"), [&](HWND dialog) {
        Click(dialog, IDC_MODE_M);
        Click(dialog, IDOK);
    }));
    RoundTrip();
    EXPECT_EQ(modes, CountStarting("MODE"));
}
