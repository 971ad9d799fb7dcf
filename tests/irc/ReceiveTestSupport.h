#pragma once
// A logged-in unit with recording windows, for the received-side tests.

#include "tests/irc/ChannelFakes.h"
#include "tests/irc/IrcTestSupport.h"

class TFakeChannelWindows : public IChannelWindows {
public:
    IMemberListView* CreateMemberView(TIRCUnit*, TIRCChannel*) override { return &view; }
    void DestroyMemberView(TIRCUnit*, TIRCChannel*) override {}
    IMaskList* CreateMaskList(TIRCUnit*, TIRCChannel*, const CString&) override
    {
        // The channel owns and deletes it.
        lists.push_back(new TFakeMaskList(&deleted));
        return lists.back();
    }
    void OnChannelAdded(TIRCUnit*, TIRCChannel* channel, bool storeTree) override
    {
        added.push_back(channel);
        treeStores += storeTree;
    }
    void OnChannelRenamed(TIRCUnit*, TIRCChannel* channel) override { renamed.push_back(channel); }
    void Select(TIRCUnit*, TIRCChannel* channel) override { selected.push_back(channel); }
    void ShowBalloon(const CString& title, const CString& text) override { balloons.push_back(title + L"|" + text); }
    void ShowInvitation(TIRCUnit*, const CString& nick, const CString& channel) override
    {
        invitations.push_back(nick + L" " + channel);
    }

    TFakeMemberView view;
    std::vector<TFakeMaskList*> lists;
    std::vector<TFakeMaskList*> deleted;
    std::vector<TIRCChannel*> added, renamed, selected;
    int treeStores = 0;
    std::vector<CString> balloons, invitations;
};

class TReceiveTest : public TUnitTest {
protected:
    using Lines = std::vector<std::string>;

    // Logged in as kvnick; each channel joined with the given members besides the user.
    void LogIn(std::initializer_list<const char*> channels = {}, const char* members = "")
    {
        MakeUnit();
        unit->SetChannelWindows(&windows);
        unit->SetWorldSetting(&worldSetting);
        StartOffline();
        Feed(":irc.example 001 kvnick :Welcome");
        for (const char* name : channels) {
            Feed(std::string(":kvnick!kvuser@my.host JOIN :") + name);
            Feed(std::string(":irc.example 353 kvnick = ") + name + " :kvnick " + members);
            Feed(std::string(":irc.example 366 kvnick ") + name + " :End");
        }
        TakeQueued();
    }
    TIRCChannel* Channel(const wchar_t* name) { return unit->FindChannelByIRCName(name); }
    std::vector<CString> Nicks(const wchar_t* name)
    {
        TIRCChannel* channel = Channel(name);
        return channel ? channel->GetMembers().GetNicks() : std::vector<CString>{};
    }
    TIRCMember* Member(const wchar_t* channel, const wchar_t* nick)
    {
        TIRCChannel* c = Channel(channel);
        return c ? c->FindMember(nick) : nullptr;
    }

    TFakeChannelWindows windows;
    TWorldSetting worldSetting;
};
