// Channels, members, arrays, modes and the other script objects as scripts see them.

#include "script/ScriptObjects.h"
#include "ScriptFakes.h"
#include "foundation/ScriptValueText.h"
#include "script/ScriptArray.h"

namespace {
TScriptMemberRecord MakeMember(const wchar_t* nick, bool o, bool v)
{
    TScriptMemberRecord member;
    member.nick = nick;
    member.username = L"u" + CString(nick);
    member.address = L"h.example";
    member.o = o;
    member.v = v;
    member.groupKind = 1;
    member.groupIndex = 4;
    return member;
}
} // namespace

class ScriptObjectsTest : public ScriptFixture {
protected:
    ScriptObjectsTest()
    {
        channel = server.AddChannel(L"#a");
        channel->record.active = true;
        TChannelMode& mode = channel->record.mode;
        mode.secret = mode.noOutsideMessages = mode.topicByOperators = true;
        mode.limit = 10;
        mode.key = L"key";
        channel->members = {MakeMember(L"bob", true, true), MakeMember(L"carol", false, false)};
        channel->memberNicks = {L"bob", L"carol"};
        server.AddChannel(L"bob", 1);
        server.AddChannel(L"=dcc", 2);
    }

    TFakeChannel* channel;
};

TEST_F(ScriptObjectsTest, ChannelsMembersAndModesShowThemselves)
{
    Run("var c = findChannel('#A'), u = c.findMember('BOB');\r\n"
        "log([c.toString(), c.name, c.active, c.channel, c.talk, c.dccChat, c.mode.toString(), c.mode.l, "
        "c.mode.k].join('|'));\r\n"
        "log([u.toString(), u.mode.toString(), u.op, u.group, c.findMember('carol').op, "
        "c.findMember('nobody')].join('|'));\r\n"
        "log([channels.toString(), channels.length, channels[1].talk, channels[2].dccChat].join('|'));\r\n"
        "log(c.members.toString() + '|' + findChannel('#none'));\r\n"
        "log(c); log(null); log(channels);\r\n");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ((std::vector<CString>{
                  L"[Channel #a]|#a|true|true|false|false|[ChannelMode +snt+l+k 10 key]|10|key",
                  L"[User @+bob, ubob, h.example]|[MemberMode @+]|true|5|false|",
                  L"[KetroArray [Channel #a], [Channel bob], [Channel =dcc]]|3|true|true",
                  L"[KetroArray [User @+bob, ubob, h.example], [User carol, ucarol, h.example]]|null",
                  L"[Channel #a]",
                  L"null",
                  L"[KetroArray [Channel #a], [Channel bob], [Channel =dcc]]",
              }),
              Logged());
}

TEST_F(ScriptObjectsTest, ObjectsKeptPastTheirChannelAnswerAsGone)
{
    Run("var c = findChannel('#a'), m = c.members, kept;\r\n"
        "function event::onJoin(p, ch) { kept = p; }\r\n"
        "function event::onConnect() {\r\n"
        "  log([c.toString(), c.name, c.active, c.mode, c.members, c.findMember('bob'), c.channel, "
        "m.length].join('|'));\r\n"
        "  c.print('nothing'); c.highlighted = true;\r\n"
        "  try { m[0]; log('item'); } catch (e) { log('no item'); }\r\n"
        "  log(kept.toString() + ' ' + kept.nick); }\r\n");
    manager.FireOnJoin({L"dan!du@dh", L"dan", L"du", L"dh"}, L"#a");
    server.RemoveChannel(channel);
    frame.logs.clear();
    manager.FireOnConnect();
    EXPECT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ((std::vector<CString>{L"[Channel]||false||||true|2", L"no item", L"[Prefix dan, du, dh] dan"}), Logged());
    EXPECT_TRUE(server.printed.empty());
}

// The heap may hand a closed channel's memory to the next channel made: the object kept from the
// old one does not answer for, print into or mark the new one.
TEST_F(ScriptObjectsTest, ObjectsKeptPastTheirChannelLeaveANewChannelInItsMemoryAlone)
{
    Run("var c = findChannel('#a'), m = c.members;\r\n"
        "function event::onConnect() {\r\n"
        "  log([c.toString(), c.name, c.active, c.mode, c.members, c.findMember('bob'), c.talk].join('|'));\r\n"
        "  c.print('nothing'); c.unread = true;\r\n"
        "  try { m[0]; log('item'); } catch (e) { log('no item'); }\r\n"
        "  var n = findChannel('#new'); log([n.toString(), n.active, n.members.length].join('|')); }\r\n");
    server.ReplaceChannel(channel, L"#new");
    channel->record.active = true;
    channel->record.kind = 1;
    channel->members = {MakeMember(L"bob", true, true)};
    channel->memberNicks = {L"bob"};
    frame.logs.clear();
    manager.FireOnConnect();
    EXPECT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ((std::vector<CString>{L"[Channel]||false||||false", L"no item", L"[Channel #new]|true|1"}), Logged());
    EXPECT_TRUE(server.printed.empty());
    EXPECT_FALSE(channel->record.marks[MarkUnread]);
}

// Only members copies the member list; a handler reading a property per line in a channel of
// 100,000 must not copy and sort them each time.
TEST_F(ScriptObjectsTest, OnlyTheMembersArrayReadsTheMemberList)
{
    Run("var c = findChannel('#a');\r\n"
        "log([c.name, c.active, c.mode.s, c.highlighted, c.channel, c.toString(), "
        "c.findMember('bob').nick].join('|'));\r\n"
        "c.unread = true; c.print('x');\r\n");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ(L"#a|true|true|false|true|[Channel #a]|bob", LastLog());
    EXPECT_EQ(0, server.nickListReads);
    Run("log(findChannel('#a').members.length);");
    EXPECT_EQ(L"2", LastLog());
    EXPECT_EQ(1, server.nickListReads);
}

TEST_F(ScriptObjectsTest, MarkSettersApplyTheValueGiven)
{
    Run("var c = findChannel('#a');\r\n"
        "c.highlighted = true; log(c.highlighted);\r\n"
        "c.unread = true; c.newTalk = true; log([c.highlighted, c.newTalk, c.unread].join('|'));\r\n"
        "c.highlighted = false; c.unread = false; log([c.highlighted, c.newTalk, c.unread].join('|'));\r\n");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ((std::vector<CString>{L"true", L"true|true|true", L"false|true|false"}), Logged());
    // Highlight repaints; the lower marks under it do not; clearing the highlight does, the
    // unread mark under the new-talk mark again does not.
    EXPECT_EQ(2, server.repaints);
}

TEST_F(ScriptObjectsTest, DataPropertiesKeepAssignmentsReadOnlyOnesIgnoreThem)
{
    Run("var c = findChannel('#a'), u = c.findMember('bob'), m = c.mode;\r\n"
        "u.nick = 'robert'; u.group = 7; m.l = 3; m.k = 'new'; m.s = false; c.name = 'x'; u.op = false;\r\n"
        "log([u.nick, u.group, m.l, m.k, m.s, c.name, u.op, m.toString()].join('|'));\r\n"
        "var x = clipboard; x.text = 'copied 日本'; log(clipboard.text); x.setText('again'); log(x.text);\r\n"
        "x.text = 123; log(x.text); x.setText(''); x.setText(456); log(x.text);\r\n");
    ASSERT_TRUE(frame.errors.empty()) << frame.errors[0].GetString();
    EXPECT_EQ((std::vector<CString>{L"robert|7|3|new|true|#a|true|[ChannelMode +snt+l+k 3 new]", L"copied 日本",
                                    L"again", L"123", L"456"}),
              Logged());
}

TEST(ScriptPrefixTest, ServerNamesFillOnlyTheServer)
{
    const struct {
        TScriptSender sender;
        const wchar_t* text;
    } cases[] = {
        {{L"irc.example.net", L"irc.example.net", L"", L""}, L"[Prefix irc.example.net]"},
        {{L"bob!u@h.example", L"bob", L"u", L"h.example"}, L"[Prefix bob, u, h.example]"},
        {{L"bob", L"bob", L"", L""}, L"[Prefix bob, , ]"},
        {{L"a.b@c", L"a.b", L"", L"c"}, L"[Prefix a.b, , c]"},
    };
    for (const auto& c : cases) {
        TScriptPrefix* prefix = new TScriptPrefix(c.sender.raw, c.sender.nick, c.sender.username, c.sender.address);
        VARIANT result;
        VariantInit(&result);
        ASSERT_EQ(S_OK, InvokeMethodByName(prefix, L"toString", &result, 0, nullptr));
        EXPECT_EQ(CString(c.text), CString(V_BSTR(&result)));
        VariantClear(&result);
        prefix->Release();
    }
}

TEST_F(ScriptObjectsTest, ArraysEnumerateTheirElementsOnly)
{
    TScriptChannelArray* array = new TScriptChannelArray(&server);
    std::vector<DISPID> ids;
    DISPID id = DISPID_STARTENUM;
    while (array->GetNextDispID(fdexEnumAll, id, &id) == S_OK)
        ids.push_back(id);
    EXPECT_EQ((std::vector<DISPID>{10, 11, 12}), ids);
    BSTR name = nullptr;
    ASSERT_EQ(S_OK, array->GetMemberName(12, &name));
    EXPECT_EQ(CString(L"2"), CString(name));
    SysFreeString(name);
    const struct {
        const wchar_t* name;
        HRESULT status;
        DISPID id;
    } names[] = {{L"LENGTH", S_OK, 1},
                 {L"toString", S_OK, 2},
                 {L"2", S_OK, 12},
                 {L"3", DISP_E_MEMBERNOTFOUND, -1},
                 {L"-1", DISP_E_MEMBERNOTFOUND, -1},
                 {L"1x", DISP_E_MEMBERNOTFOUND, -1}};
    for (const auto& n : names) {
        BSTR text = SysAllocString(n.name);
        EXPECT_EQ(n.status, array->GetDispID(text, 0, &id)) << n.name;
        EXPECT_EQ(n.id, id) << n.name;
        SysFreeString(text);
    }
    array->Release();

    std::vector<TFakeChannel*> kept;
    kept.swap(server.channels);
    TScriptChannelArray* empty = new TScriptChannelArray(&server);
    EXPECT_EQ(S_FALSE, empty->GetNextDispID(fdexEnumAll, DISPID_STARTENUM, &id));
    EXPECT_EQ(CString(L"[KetroArray]"), empty->ToText());
    empty->Release();
    kept.swap(server.channels);
}
