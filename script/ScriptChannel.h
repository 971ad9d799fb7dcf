#pragma once
// Channels, their modes and their members as scripts see them. A channel object holds the
// channel's serial number and looks the channel up again before every use.

#include "script/DispatchObject.h"
#include "script/ScriptServer.h"

class TScriptChannel : public TDispatchObject {
public:
    // channel may be null: the object then answers as for a channel that is gone.
    TScriptChannel(IScriptServer* server, TIRCChannel* channel)
        : server(server), serial(channel ? server->GetChannelSerial(channel) : 0)
    {
    }

    const TDispatchTable& GetDispatchTable() const override;

    HRESULT Name(TDispatchCall& call);
    HRESULT Active(TDispatchCall& call);
    HRESULT Mode(TDispatchCall& call);
    HRESULT Members(TDispatchCall& call);
    HRESULT Highlighted(TDispatchCall& call) { return Mark(call, MarkHighlighted); }
    HRESULT NewTalk(TDispatchCall& call) { return Mark(call, MarkNewTalk); }
    HRESULT Unread(TDispatchCall& call) { return Mark(call, MarkUnread); }
    HRESULT IsChannel(TDispatchCall& call) { return Kind(call, 0); }
    HRESULT IsTalk(TDispatchCall& call) { return Kind(call, 1); }
    HRESULT IsDccChat(TDispatchCall& call) { return Kind(call, 2); }
    HRESULT ToString(TDispatchCall& call);
    HRESULT FindMember(TDispatchCall& call);
    HRESULT Print(TDispatchCall& call);

private:
    // Null once the channel is gone, even when another now stands at its address.
    TIRCChannel* Live() const { return serial ? server->FindChannelBySerial(serial) : nullptr; }
    HRESULT Mark(TDispatchCall& call, TScriptChannelMark mark);
    HRESULT Kind(TDispatchCall& call, int kind);

    IScriptServer* server;
    unsigned serial;
};

class TScriptChannelMode : public TDispatchObject {
public:
    explicit TScriptChannelMode(const TChannelMode& mode) : mode(mode) {}

    const TDispatchTable& GetDispatchTable() const override;

    HRESULT Flag(TDispatchCall& call, bool value) { return call.IsPut() ? S_OK : call.ReturnBool(value); }
    HRESULT A(TDispatchCall& call) { return Flag(call, mode.anonymous); }
    HRESULT I(TDispatchCall& call) { return Flag(call, mode.inviteOnly); }
    HRESULT M(TDispatchCall& call) { return Flag(call, mode.moderated); }
    HRESULT N(TDispatchCall& call) { return Flag(call, mode.noOutsideMessages); }
    HRESULT P(TDispatchCall& call) { return Flag(call, mode.privateChannel); }
    HRESULT Q(TDispatchCall& call) { return Flag(call, mode.quiet); }
    HRESULT R(TDispatchCall& call) { return Flag(call, mode.reop); }
    HRESULT S(TDispatchCall& call) { return Flag(call, mode.secret); }
    HRESULT T(TDispatchCall& call) { return Flag(call, mode.topicByOperators); }
    HRESULT Limit(TDispatchCall& call);
    HRESULT Key(TDispatchCall& call);
    HRESULT ToString(TDispatchCall& call);

private:
    TChannelMode mode;
};

struct TScriptMemberFlags {
    bool q = false, a = false, o = false, h = false, v = false;
};

class TScriptChannelMemberMode : public TDispatchObject {
public:
    explicit TScriptChannelMemberMode(const TScriptMemberFlags& flags) : flags(flags) {}

    const TDispatchTable& GetDispatchTable() const override;
    // "~&@%+" marks of the set flags, in that order.
    static CString FormatMarks(const TScriptMemberFlags& flags);

    HRESULT Q(TDispatchCall& call) { return Flag(call, flags.q); }
    HRESULT A(TDispatchCall& call) { return Flag(call, flags.a); }
    HRESULT O(TDispatchCall& call) { return Flag(call, flags.o); }
    HRESULT H(TDispatchCall& call) { return Flag(call, flags.h); }
    HRESULT V(TDispatchCall& call) { return Flag(call, flags.v); }
    HRESULT ToString(TDispatchCall& call);

private:
    HRESULT Flag(TDispatchCall& call, bool& flag);

    TScriptMemberFlags flags;
};

class TScriptUser : public TDispatchObject {
public:
    explicit TScriptUser(const TScriptMemberRecord& member);

    const TDispatchTable& GetDispatchTable() const override;

    HRESULT Nick(TDispatchCall& call) { return Text(call, nick); }
    HRESULT Username(TDispatchCall& call) { return Text(call, username); }
    HRESULT Address(TDispatchCall& call) { return Text(call, address); }
    HRESULT Mode(TDispatchCall& call);
    HRESULT Group(TDispatchCall& call);
    HRESULT Op(TDispatchCall& call);
    HRESULT ToString(TDispatchCall& call);

private:
    HRESULT Text(TDispatchCall& call, CString& field);

    CString nick, username, address;
    TScriptMemberFlags flags;
    long group;
};

// A data property: reading gives the field, assigning changes it in the object.
HRESULT AccessTextField(TDispatchCall& call, CString& field);
HRESULT AccessBoolField(TDispatchCall& call, bool& field);
HRESULT AccessLongField(TDispatchCall& call, long& field);
