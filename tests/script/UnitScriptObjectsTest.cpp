// A real server unit's channels as its scripts see them.

#include "../common/FreedMemory.h"
#include "../irc/ReceiveTestSupport.h"
#include "ScriptFakes.h"
#include "script/UnitScriptServer.h"

namespace {

// A logged-in unit's channel as its scripts see it through the unit's own server object.
class UnitScriptObjectsTest : public TReceiveTest {
protected:
    void SetUp() override
    {
        LogIn({"#a"}, "@bob");
        frame.scriptFolder = frame.filesFolder = folder.path;
        server = std::make_unique<TUnitScriptServer>(unit.get());
        manager = std::make_unique<TScriptManager>(server.get(), &frame);
    }
    void TearDown() override
    {
        manager.reset();
        unit.reset();
    }
    // What the script logged, without the server and script names.
    std::vector<CString> Run(const char* script)
    {
        EXPECT_TRUE(WriteFileBytes(folder.File(L"objects.js"), script));
        manager->LoadScripts({L"objects.js"});
        return Logged();
    }
    std::vector<CString> Logged()
    {
        EXPECT_TRUE(frame.errors.empty()) << (frame.errors.empty() ? "" : Narrow(frame.errors[0]));
        std::vector<CString> texts;
        for (const CString& line : frame.logs)
            texts.push_back(line.Mid(line.Find(L": ") + 2));
        return texts;
    }
    const TLogLine& LastLine(TIRCChannel* channel)
    {
        TLogLineStore& view = *recorder.views[channel];
        return view.GetLine(view.GetCount() - 1);
    }

    TComApartment apartment;
    TFakeScriptFrame frame;
    std::unique_ptr<TUnitScriptServer> server;
    std::unique_ptr<TScriptManager> manager;
};

} // namespace

TEST_F(UnitScriptObjectsTest, AChannelOfTwoShowsItsMembersAndTakesMarksAndLines)
{
    TIRCChannel* channel = unit->FindChannel(L"#a");
    ASSERT_NE(channel, nullptr);
    Feed(":irc.example MODE #a +mlk 5 pass");
    std::vector<CString> logged = Run("var c = findChannel('#a');\r\n"
                                      "log(c.mode.toString()); log(c.members.length); log(c.members);\r\n"
                                      "var bob = c.findMember('BOB');\r\n"
                                      "log(bob ? [bob.nick, bob.op, bob.mode.toString()].join(' ') : 'none');\r\n"
                                      "log(c.findMember('nobody') === null);\r\n"
                                      "log([c.highlighted, c.newTalk, c.unread].join(' '));\r\n"
                                      "c.unread = true; c.highlighted = true;\r\n"
                                      "log([c.highlighted, c.newTalk, c.unread].join(' '));\r\n"
                                      "c.print('to the channel'); print('to the server');\r\n");
    EXPECT_EQ(logged, (std::vector<CString>{
                          L"[ChannelMode +m+l+k 5 pass]", L"2", L"[KetroArray [User kvnick, , ], [User @bob, , ]]",
                          L"bob true [MemberMode @]", L"true", L"false false false", L"true false true"}));
    EXPECT_TRUE(channel->keywordMark && channel->updateMark && !channel->newTalkMark);

    // Script lines, not status lines, in the channel's and the server's logs.
    const TLogLine& channelLine = LastLine(channel);
    EXPECT_NE(channelLine.GetText().Find(L"to the channel"), -1) << Narrow(channelLine.GetText());
    EXPECT_EQ(channelLine.model.lineType, GetLineTypeOfEvent(EVENT_SCRIPT));
    const TLogLine& serverLine = LastLine(nullptr);
    EXPECT_NE(serverLine.GetText().Find(L"to the server"), -1) << Narrow(serverLine.GetText());
    EXPECT_EQ(serverLine.model.lineType, GetLineTypeOfEvent(EVENT_SCRIPT));
}

// The heap may hand a closed talk's memory to the next talk opened: the object kept from the old
// one does not answer for, print into or mark the new one.
TEST_F(UnitScriptObjectsTest, ATalkObjectKeptPastItsTalkLeavesANewTalkInItsMemoryAlone)
{
    TIRCChannel* talk = unit->OpenTalk(TIRCMember(L"bob", L"b", L"h.example"));
    ASSERT_NE(talk, nullptr);
    Run("var t = findChannel('bob');\r\n"
        "function event::onConnect() {\r\n"
        "  log([t.toString(), t.name, t.active, t.talk].join('|')); t.print('nothing'); t.unread = true; }\r\n");
    TFreedMemoryTrap trap(talk);
    unit->DeleteChannel(talk);
    TIRCChannel* later = unit->OpenTalk(TIRCMember(L"dan", L"d", L"h.example"));
    ASSERT_EQ((void*)later, (void*)talk) << "the talk in the freed memory";
    frame.logs.clear();
    recorder.views.clear();
    manager->FireOnConnect();
    EXPECT_EQ(Logged(), std::vector<CString>{L"[Channel]||false|false"});
    EXPECT_FALSE(later->updateMark);
    EXPECT_EQ(recorder.ViewTexts(later), std::vector<std::string>{});
}
