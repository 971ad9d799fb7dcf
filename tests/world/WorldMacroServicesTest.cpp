// What the macro actions and the scripts reach through the world: the channel a server showed
// last, programs started for a macro, URLs opened by the configured way, and sounds.

#include "tests/common/ImportPatch.h"
#include "tests/common/StringPrinter.h"
#include "tests/world/common/WorldWindowTest.h"

#include "foundation/OpenUrl.h"
#include "log/AddressFinder.h"

#include <mmsystem.h>

namespace {

class WorldMacroServicesTest : public TTwoServersTest {
protected:
    void SetUp() override
    {
        TTwoServersTest::SetUp();
        Prepare(&finder);
    }
    // The macro variable as a rule of the server expands it.
    CString CurrentChannel(TIRCUnit* unit)
    {
        CString text = L"%a";
        unit->GetMacroManager().ExpandPercentVariables(text);
        return text;
    }
    IMacroManagerListener& Macros(TIRCUnit* unit) { return *unit; }

    TLogAddressFinder finder;
};

} // namespace

TEST_F(WorldMacroServicesTest, TheCurrentChannelIsTheOneTheServerShowedLast)
{
    const struct {
        TIRCUnit* unit;
        const wchar_t* channel;
        const wchar_t *net, *home;
    } clicks[] = {
        {net, L"#alpha", L"#alpha", L""},
        // Another server's node leaves the first server's channel as it was.
        {home, nullptr, L"#alpha", L""},
        {home, L"#gamma", L"#alpha", L"#gamma"},
        {net, L"#beta", L"#beta", L"#gamma"},
        {net, nullptr, L"", L"#gamma"},
    };
    for (const auto& click : clicks) {
        TIRCChannel* channel = click.channel ? click.unit->FindChannel(click.channel) : nullptr;
        ClickItem(Item(click.unit, channel));
        ASSERT_EQ(Selected(), TNode(click.unit, channel));
        EXPECT_EQ(CurrentChannel(net), CString(click.net)) << Narrow(click.unit->GetName());
        EXPECT_EQ(CurrentChannel(home), CString(click.home)) << Narrow(click.unit->GetName());
    }
}

TEST_F(WorldMacroServicesTest, ProgramsStartWithoutAnOwnerByTheOpenVerb)
{
    TShellCallRecorder shell;
    ASSERT_TRUE(shell.IsHooked()) << "the program does not start programs through the system's shell";
    Macros(net).Execute(L"\"D:\\Tools\\app.exe\" -x file", false);
    Macros(net).Execute(L"\"D:\\Tools\\app.exe\" -x file", true);
    Macros(net).Execute(L"notepad.exe file.txt", true);
    EXPECT_EQ(shell.TakeCalls(), (std::vector<CString>{L"shell - open [D:\\Tools\\app.exe] [-x file] [D:\\Tools] 1",
                                                       L"shell - open [D:\\Tools\\app.exe] [-x file] [D:\\Tools] 6",
                                                       L"shell - open [notepad.exe file.txt] [] [-] 6"}));
}

TEST_F(WorldMacroServicesTest, TextThatBeginsWithAUrlGoesToTheConfiguredBrowser)
{
    config.preference.URLOpenMethod = URL_OPEN_PROGRAM;
    config.preference.URLOpenApplication = L"D:\\Web\\web.exe";
    TShellCallRecorder shell;
    ASSERT_TRUE(shell.IsHooked()) << "the program does not open URLs through the system";
    const struct {
        const wchar_t* text;
        const wchar_t* call;
    } rows[] = {
        {L"http://a.example/ more text", L"start \"D:\\Web\\web.exe\" \"http://a.example/ more text\""},
        {L"ttp://a.example/x", L"start \"D:\\Web\\web.exe\" \"http://a.example/x\""},
        {L"C:\\Shared\\notes", L"shell - open [C:\\Shared\\notes] [-] [-] 5"},
        {L"see http://a.example/", L"shell - open [see http://a.example/] [-] [-] 5"},
    };
    for (const auto& row : rows) {
        Macros(net).OpenUrl(row.text, L"unused");
        EXPECT_EQ(shell.TakeCalls(), std::vector<CString>{row.call}) << Narrow(row.text);
    }
    world->OpenUrl(CString(), false);
    EXPECT_EQ(shell.TakeCalls(), std::vector<CString>{}) << "an empty text opens nothing";
}

// An event sound is played as the settings name it: a ticked event without a file still goes to
// the system, which plays its default sound.
TEST_F(WorldMacroServicesTest, EventSoundsArePlayedAsNamedAnEmptyNameToo)
{
    TSoundRecorder recorder;
    ASSERT_TRUE(recorder.IsHooked()) << "the program does not play through the system's PlaySoundW";
    LogInOffline(L"net");
    config.preference.EnableInviteSound = true;
    config.preference.InviteAction = InviteDoNothing;
    for (const wchar_t* file : {L"", L"C:\\Sounds\\ring.wav"}) {
        config.preference.InviteSoundFile = file;
        recorder.sounds.clear();
        FeedLine(*net, ":bob!b@host INVITE kvself #room");
        ASSERT_EQ(1u, recorder.sounds.size()) << Narrow(file);
        EXPECT_EQ(CString(file), recorder.sounds[0].path);
        EXPECT_EQ(DWORD(SND_FILENAME | SND_ASYNC), recorder.sounds[0].flags);
    }
}
