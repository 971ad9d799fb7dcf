// Tab completion in the input line as the user meets it: the text after each key, cycling, the
// suffixes by position and ranking by activity.

#include "tests/common/StringPrinter.h"

#include "irc/Member.h"
#include "irc/NickCompletion.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class NickCompletionTest : public ::testing::Test {
protected:
    TIRCMember* Add(const wchar_t* nick, float activity = 0)
    {
        owned.push_back(std::make_unique<TIRCMember>(nick, L"u", L"h"));
        owned.back()->activity = activity;
        owned.back()->lastDecayTime = 0x7fffffffffffll; // no decay during the test
        members.push_back(owned.back().get());
        return owned.back().get();
    }
    // Presses Tab (or Shift+Tab) with the caret at the end; returns the new text.
    CString Press(bool forward = true)
    {
        TNickCompletionEdit edit;
        if (completer.Complete(text, caret, caret, members, L"kvnick", forward, edit)) {
            text = text.Left(edit.from) + edit.insert + text.Mid(edit.to);
            caret = edit.from + edit.insert.GetLength();
        }
        return text;
    }
    void Type(const wchar_t* typed)
    {
        text = typed;
        caret = text.GetLength();
    }

    std::vector<std::unique_ptr<TIRCMember>> owned;
    std::vector<TIRCMember*> members;
    TNickCompleter completer;
    CString text;
    int caret = 0;
};

TEST_F(NickCompletionTest, TabCyclesEqualNicksByNameAndShiftTabGoesBack)
{
    Add(L"nick"), Add(L"Nina"), Add(L"nils"), Add(L"kvnick"), Add(L"other");
    Type(L"ni");
    for (const wchar_t* expected : {L"nick: ", L"nils: ", L"Nina: ", L"nick: "})
        EXPECT_EQ(Press(), expected);
    for (const wchar_t* expected : {L"Nina: ", L"nils: ", L"nick: "})
        EXPECT_EQ(Press(false), expected);
}

TEST_F(NickCompletionTest, SuffixDependsOnWhereTheWordStands)
{
    Add(L"nick"), Add(L"nils");
    const struct {
        const wchar_t* typed;
        const wchar_t* completed;
    } cases[] = {
        {L"hello ni", L"hello nick"}, {L"@ni", L"@nick "}, {L"(ni", L"(nick"}, {L"hello @ni", L"hello @nick"},
        {L"NI", L"nick: "},           {L"xyz", L"xyz"},    {L"", L""},         {L"hello ", L"hello "},
    };
    for (const auto& c : cases) {
        completer.Reset();
        Type(c.typed);
        EXPECT_EQ(Press(), c.completed) << c.typed;
    }
}

TEST_F(NickCompletionTest, SingleCandidateEndsTheCycle)
{
    Add(L"nick"), Add(L"other");
    Type(L"ni");
    EXPECT_EQ(Press(), L"nick: ");
    EXPECT_EQ(Press(), L"nick: ");
}

TEST_F(NickCompletionTest, OwnNickIsNeverOffered)
{
    Add(L"kvnick");
    Type(L"kv");
    EXPECT_EQ(Press(), L"kv");
}

TEST_F(NickCompletionTest, RecentlyAddressedMemberComesFirst)
{
    Add(L"aaron", 0), Add(L"abby", 100);
    Type(L"a");
    EXPECT_EQ(Press(), L"abby: ");
    EXPECT_EQ(Press(), L"aaron: ");
}

TEST_F(NickCompletionTest, EditedTextStartsAfresh)
{
    Add(L"nick"), Add(L"nils");
    Type(L"ni");
    EXPECT_EQ(Press(), L"nick: ");
    Type(L"nick: ni");
    EXPECT_EQ(Press(), L"nick: nick");
}

} // namespace
