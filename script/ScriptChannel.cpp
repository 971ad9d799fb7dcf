#include "script/ScriptChannel.h"

#include "script/ScriptArray.h"
#include "script/ScriptGuids.h"

HRESULT AccessTextField(TDispatchCall& call, CString& field)
{
    if (!call.IsPut())
        return call.ReturnString(field);
    VARIANT text;
    if (ConvertVariant(call.GetPutValue(), VT_BSTR, text))
        field = BstrToString(V_BSTR(&text));
    VariantClear(&text);
    return S_OK;
}

HRESULT AccessBoolField(TDispatchCall& call, bool& field)
{
    if (!call.IsPut())
        return call.ReturnBool(field);
    VARIANT flag;
    if (ConvertVariant(call.GetPutValue(), VT_BOOL, flag))
        field = V_BOOL(&flag) != VARIANT_FALSE;
    return S_OK;
}

HRESULT AccessLongField(TDispatchCall& call, long& field)
{
    if (!call.IsPut())
        return call.ReturnLong(field);
    VARIANT number;
    if (ConvertVariant(call.GetPutValue(), VT_I4, number))
        field = V_I4(&number);
    return S_OK;
}

const TDispatchTable& TScriptChannel::GetDispatchTable() const
{
    using Self = TScriptChannel;
    static const TDispatchMember members[] = {
        KV_PROPERTY(Self, "name", Name),
        KV_PROPERTY(Self, "active", Active),
        KV_PROPERTY(Self, "mode", Mode),
        KV_PROPERTY(Self, "members", Members),
        KV_PROPERTY(Self, "highlighted", Highlighted),
        KV_PROPERTY(Self, "newTalk", NewTalk),
        KV_PROPERTY(Self, "unread", Unread),
        KV_PROPERTY(Self, "channel", IsChannel),
        KV_PROPERTY(Self, "talk", IsTalk),
        KV_PROPERTY(Self, "dccChat", IsDccChat),
        KV_METHOD(Self, "toString", ToString),
        KV_METHOD(Self, "findMember", FindMember),
        KV_METHOD(Self, "print", Print),
    };
    static const TDispatchTable table = {members, (int)std::size(members), &DIID_IScriptChannel};
    return table;
}

HRESULT TScriptChannel::Name(TDispatchCall& call)
{
    if (call.IsPut())
        return S_OK;
    TIRCChannel* channel = Live();
    return call.ReturnString(channel ? server->GetChannelRecord(channel).name : CString());
}

HRESULT TScriptChannel::Active(TDispatchCall& call)
{
    if (call.IsPut())
        return S_OK;
    TIRCChannel* channel = Live();
    return call.ReturnBool(channel && server->GetChannelRecord(channel).active);
}

HRESULT TScriptChannel::Mode(TDispatchCall& call)
{
    if (call.IsPut())
        return S_OK;
    TIRCChannel* channel = Live();
    if (!channel)
        return call.ReturnObject(nullptr);
    return call.ReturnObject(new TScriptChannelMode(server->GetChannelRecord(channel).mode));
}

HRESULT TScriptChannel::Members(TDispatchCall& call)
{
    if (call.IsPut())
        return S_OK;
    TIRCChannel* channel = Live();
    if (!channel)
        return call.ReturnObject(nullptr);
    return call.ReturnObject(new TScriptUserArray(server, serial, server->GetMemberNicks(channel)));
}

HRESULT TScriptChannel::Mark(TDispatchCall& call, TScriptChannelMark mark)
{
    TIRCChannel* channel = Live();
    if (!channel)
        return call.IsPut() ? S_OK : call.ReturnBool(false);
    TScriptChannelRecord record = server->GetChannelRecord(channel);
    if (!call.IsPut())
        return call.ReturnBool(record.marks[mark]);
    VARIANT flag;
    if (!ConvertVariant(call.GetPutValue(), VT_BOOL, flag))
        return S_OK;
    bool set = V_BOOL(&flag) != VARIANT_FALSE;
    if (set == record.marks[mark])
        return S_OK;
    // The tree shows only the highest-ranked mark: highlight, then new talk, then unread.
    bool higherSet = false;
    for (int higher = 0; higher < mark; higher++)
        higherSet = higherSet || record.marks[higher];
    server->SetChannelMark(channel, mark, set, !higherSet);
    return S_OK;
}

HRESULT TScriptChannel::Kind(TDispatchCall& call, int kind)
{
    if (call.IsPut())
        return S_OK;
    TIRCChannel* channel = Live();
    // A channel that is gone still says it was a channel.
    return call.ReturnBool(channel ? server->GetChannelRecord(channel).kind == kind : kind == 0);
}

HRESULT TScriptChannel::ToString(TDispatchCall& call)
{
    TIRCChannel* channel = Live();
    if (!channel)
        return call.ReturnString(L"[Channel]");
    CString text;
    text.Format(L"[Channel %s]", server->GetChannelRecord(channel).name.GetString());
    return call.ReturnString(text);
}

HRESULT TScriptChannel::FindMember(TDispatchCall& call)
{
    TScriptMemberRecord member;
    TIRCChannel* channel = Live();
    if (!channel || !server->FindMember(channel, call.GetString(0), member))
        return call.ReturnObject(nullptr);
    return call.ReturnObject(new TScriptUser(member));
}

HRESULT TScriptChannel::Print(TDispatchCall& call)
{
    if (TIRCChannel* channel = Live())
        server->PrintScriptText(channel, call.GetString(0));
    return S_OK;
}

const TDispatchTable& TScriptChannelMode::GetDispatchTable() const
{
    using Self = TScriptChannelMode;
    static const TDispatchMember members[] = {
        KV_PROPERTY(Self, "a", A),     KV_PROPERTY(Self, "i", I),   KV_PROPERTY(Self, "m", M),
        KV_PROPERTY(Self, "n", N),     KV_PROPERTY(Self, "p", P),   KV_PROPERTY(Self, "q", Q),
        KV_PROPERTY(Self, "r", R),     KV_PROPERTY(Self, "s", S),   KV_PROPERTY(Self, "t", T),
        KV_PROPERTY(Self, "l", Limit), KV_PROPERTY(Self, "k", Key), KV_METHOD(Self, "toString", ToString),
    };
    static const TDispatchTable table = {members, (int)std::size(members), &DIID_IScriptChannelMode};
    return table;
}

HRESULT TScriptChannelMode::Limit(TDispatchCall& call)
{
    long limit = mode.limit;
    HRESULT hr = AccessLongField(call, limit);
    mode.limit = (int)limit;
    return hr;
}

HRESULT TScriptChannelMode::Key(TDispatchCall& call) { return AccessTextField(call, mode.key); }

HRESULT TScriptChannelMode::ToString(TDispatchCall& call)
{
    CString text = mode.ToString();
    return call.ReturnString(text.IsEmpty() ? CString(L"[ChannelMode]") : L"[ChannelMode " + text + L"]");
}

const TDispatchTable& TScriptChannelMemberMode::GetDispatchTable() const
{
    using Self = TScriptChannelMemberMode;
    static const TDispatchMember members[] = {
        KV_PROPERTY(Self, "q", Q), KV_PROPERTY(Self, "a", A), KV_PROPERTY(Self, "o", O),
        KV_PROPERTY(Self, "h", H), KV_PROPERTY(Self, "v", V), KV_METHOD(Self, "toString", ToString),
    };
    static const TDispatchTable table = {members, (int)std::size(members), &DIID_IScriptChannelMemberMode};
    return table;
}

CString TScriptChannelMemberMode::FormatMarks(const TScriptMemberFlags& flags)
{
    CString marks;
    if (flags.q)
        marks += L'~';
    if (flags.a)
        marks += L'&';
    if (flags.o)
        marks += L'@';
    if (flags.h)
        marks += L'%';
    if (flags.v)
        marks += L'+';
    return marks;
}

HRESULT TScriptChannelMemberMode::Flag(TDispatchCall& call, bool& flag) { return AccessBoolField(call, flag); }

HRESULT TScriptChannelMemberMode::ToString(TDispatchCall& call)
{
    CString marks = FormatMarks(flags);
    return call.ReturnString(marks.IsEmpty() ? CString(L"[MemberMode]") : L"[MemberMode " + marks + L"]");
}

TScriptUser::TScriptUser(const TScriptMemberRecord& member)
    : nick(member.nick), username(member.username),
      address(member.address), flags{member.q, member.a, member.o, member.h, member.v},
      group(member.groupKind == 2   ? 0
            : member.groupKind == 1 ? member.groupIndex + 1
                                    : -1)
{
}

const TDispatchTable& TScriptUser::GetDispatchTable() const
{
    using Self = TScriptUser;
    static const TDispatchMember members[] = {
        KV_PROPERTY(Self, "nick", Nick),       KV_PROPERTY(Self, "username", Username),
        KV_PROPERTY(Self, "address", Address), KV_PROPERTY(Self, "mode", Mode),
        KV_PROPERTY(Self, "group", Group),     KV_PROPERTY(Self, "op", Op),
        KV_METHOD(Self, "toString", ToString),
    };
    static const TDispatchTable table = {members, (int)std::size(members), &DIID_IScriptUser};
    return table;
}

HRESULT TScriptUser::Text(TDispatchCall& call, CString& field) { return AccessTextField(call, field); }

HRESULT TScriptUser::Mode(TDispatchCall& call)
{
    return call.IsPut() ? S_OK : call.ReturnObject(new TScriptChannelMemberMode(flags));
}

HRESULT TScriptUser::Group(TDispatchCall& call) { return AccessLongField(call, group); }

HRESULT TScriptUser::Op(TDispatchCall& call)
{
    return call.IsPut() ? S_OK : call.ReturnBool(flags.q || flags.a || flags.o);
}

HRESULT TScriptUser::ToString(TDispatchCall& call)
{
    CString text;
    text.Format(L"[User %s%s, %s, %s]", TScriptChannelMemberMode::FormatMarks(flags).GetString(), nick.GetString(),
                username.GetString(), address.GetString());
    return call.ReturnString(text);
}
