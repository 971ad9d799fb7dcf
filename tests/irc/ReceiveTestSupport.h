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
    void OnChannelAdded(TIRCUnit*, TIRCChannel* channel) override { added.push_back(channel); }
    void SaveServerTree() override { treeStores++; }
    void OnChannelRenamed(TIRCUnit*, TIRCChannel* channel, const CString&) override { renamed.push_back(channel); }
    void OnChannelDeleting(TIRCUnit*, TIRCChannel*) override {}
    void Select(TIRCUnit*, TIRCChannel* channel) override { selected.push_back(channel); }
    void ShowBalloon(const CString& title, const CString& text) override { balloons.push_back(title + L"|" + text); }
    IInviteRequest* ShowInvitation(IInviteDialogListener*, const CString& nick, const CString& channel, bool) override
    {
        invitations.push_back(nick + L" " + channel);
        return nullptr;
    }
    void OnInviteDialogClosed() override {}

    TFakeMemberView view;
    std::vector<TFakeMaskList*> lists;
    std::vector<TFakeMaskList*> deleted;
    std::vector<TIRCChannel*> added, renamed, selected;
    int treeStores = 0;
    std::vector<CString> balloons, invitations;
};

// Each script event as "name arg arg".
class TScriptEventRecorder : public IReceivedScriptEvents {
public:
    void FireOnNick(const TIRCReceiveMessage&, const CString& nick) override { Add(L"Nick", {nick}); }
    void FireOnQuit(const TIRCReceiveMessage&, const CString& comment) override { Add(L"Quit", {comment}); }
    void FireOnJoin(const TIRCReceiveMessage&, const CString& channel) override { Add(L"Join", {channel}); }
    void FireOnPart(const TIRCReceiveMessage&, const CString& channel, const CString& comment) override
    {
        Add(L"Part", {channel, comment});
    }
    void FireOnMode(const TIRCReceiveMessage&, const CString& target, const CString& modes) override
    {
        Add(L"Mode", {target, modes});
    }
    void FireOnModeChange(const TIRCReceiveMessage&, const CString& target, const CString& sign,
                          const CString& param) override
    {
        Add(L"ModeChange", {target, sign, param});
    }
    void FireOnTopic(const TIRCReceiveMessage&, const CString& channel, const CString& topic) override
    {
        Add(L"Topic", {channel, topic});
    }
    void FireOnInvite(const TIRCReceiveMessage&, const CString& channel) override { Add(L"Invite", {channel}); }
    void FireOnKick(const TIRCReceiveMessage&, const CString& channel, const CString& target,
                    const CString& comment) override
    {
        Add(L"Kick", {channel, target, comment});
    }
    void FireOnMessage(const wchar_t* event, const TIRCReceiveMessage&, const CString& target,
                       const CString& text) override
    {
        Add(event, {target, text});
    }
    void FireOnNewTalk(const TIRCReceiveMessage&, const CString& command, const CString& text) override
    {
        Add(L"NewTalk", {command, text});
    }
    void FireOnHighlight(const TIRCReceiveMessage&, const CString& command, const CString& target,
                         const CString& text) override
    {
        Add(L"Highlight", {command, target, text});
    }
    void FireOnError(const CString& text) override { Add(L"Error", {text}); }
    void FireOnNumericReply(int number, const CString& text) override
    {
        Add(L"NumericReply", {CString(std::to_wstring(number).c_str()), text});
    }

    std::vector<std::string> events;

private:
    void Add(const wchar_t* name, std::initializer_list<CString> args)
    {
        std::string event = Narrow(name);
        for (const CString& arg : args)
            event += " " + Narrow(arg);
        events.push_back(event);
    }
};

class TReceiveTest : public TUnitTest {
protected:
    using Lines = std::vector<std::string>;
    using NickList = std::vector<CString>;

    // Logged in as kvnick; each channel joined with the given members besides the user.
    void LogIn(std::initializer_list<const char*> channels = {}, const char* members = "")
    {
        MakeUnit();
        unit->SetChannelWindows(&windows);
        unit->SetWorldSetting(&worldSetting);
        unit->SetReceivedScriptEvents(&scriptEvents);
        StartOffline();
        Feed(":irc.example 001 kvnick :Welcome");
        for (const char* name : channels) {
            Feed(std::string(":kvnick!kvuser@my.host JOIN :") + name);
            Feed(std::string(":irc.example 353 kvnick = ") + name + " :kvnick " + members);
            Feed(std::string(":irc.example 366 kvnick ") + name + " :End");
        }
        TakeQueued();
        scriptEvents.events.clear();
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
    // The texts from the given one on, without their time stamps.
    static Lines WithoutTimes(const Lines& texts, size_t from)
    {
        Lines out;
        for (size_t i = from; i < texts.size(); i++)
            out.push_back(texts[i].substr(texts[i].find(' ') + 1));
        return out;
    }

    TFakeChannelWindows windows;
    TWorldSetting worldSetting;
    TScriptEventRecorder scriptEvents;
};
