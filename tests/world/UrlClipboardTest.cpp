// URLs in received messages go to the clipboard one a second when the preference asks for it; a
// channel that floods URLs leaves only the newest few waiting.

#include "tests/world/common/WorldWindowTest.h"

#include "log/AddressFinder.h"

#include <string>
#include <vector>

namespace {

class UrlClipboardTest : public TWorldWindowTest {
protected:
    // Logged in without a socket and joined to #c.
    TIRCUnit* JoinChannel()
    {
        config.preference.AutoClipUrl = true;
        AddServer(L"net", {L"#c"});
        Build(&finder);
        TIRCUnit* unit = LogInOffline(L"net");
        FeedLine(*unit, ":kvself!u@h JOIN :#c");
        return unit;
    }

    TLogAddressFinder finder;
};

TEST_F(UrlClipboardTest, AFloodOfUrlsLeavesOnlyTheNewestForTheClipboard)
{
    TIRCUnit* unit = JoinChannel();
    FeedLine(*unit, ":friend!u@h PRIVMSG #c :see http://example.com/one and http://example.com/two");
    world->Tick();
    world->Tick();
    EXPECT_EQ(frame.copied, (std::vector<CString>{L"http://example.com/one", L"http://example.com/two"}));

    frame.copied.clear();
    const int flood = 5000;
    for (int i = 0; i < flood; i++)
        FeedLine(*unit, ":flooder!u@h PRIVMSG #c :http://example.com/" + std::to_string(i));
    const size_t kept = TIRCWorld::kMaxQueuedClipboardTexts;
    // A few ticks more than the queue may hold: the ones past it must copy nothing.
    for (size_t i = 0; i < kept + 3; i++)
        world->Tick();
    std::vector<CString> newest;
    for (int i = flood - (int)kept; i < flood; i++)
        newest.push_back(CString(L"http://example.com/") + std::to_wstring(i).c_str());
    EXPECT_EQ(frame.copied, newest);
}

} // namespace
