#pragma once
// IRC names: the command table, IRC case folding, channel and nick rules, prefix splitting,
// and the short forms of safe channels and of channels under the server mask.

#include "classlib/String.h"

// Channels whose names end in this server mask have a '%' alias form.
extern const wchar_t kServerMaskSuffix[];

bool IsIRCCommand(const CString& word);

// IRC folding: 'a' (0x61) to '}' (0x7D) lose 32; '~' and everything else stay.
void IRCMakeUpper(CString& text);
void IRCMakeUpperA(CStringA& text);
CString IRCToUpper(const CString& text);
int IRCCompareNoCase(const CString& a, const CString& b);
int IRCCompareNoCaseA(const CStringA& a, const CStringA& b);

bool IsModeChannelName(const CString& name);
// What a channel name may begin with; also the channel types a server is taken to have until it
// says otherwise.
extern const wchar_t kChannelPrefixes[];
bool IsChannelName(const CString& name);
bool IsChannelNameOrAlias(const CString& name);
// A channel name that a JOIN takes as one channel: no comma or blank to make it a list or a
// second parameter, no line break to end the line.
bool IsSingleChannelName(const CString& name);

// Parts the prefix has not are left as they were.
void SplitNickUserHost(const CStringA& prefix, CStringA& nick, CStringA& user, CStringA& host);

bool IsValidNick(const CString& nick);
void MakeValidNick(CString& nick);
void MakeValidUserName(CString& userName);
// Only what would break the USER line goes: blanks, control characters and leading colons;
// "user" when nothing remains. Everything else is sent as stored.
void MakeUserNameSendable(CString& userName);

bool IsSafeChannelName(const CString& name);
bool IsSafeChannelCreateName(const CString& name);
CString GetSafeChannelShortName(const CString& name);

bool IsChannelAlias(const CString& name);
bool IsMaskedChannelName(const CString& name);
CString ExpandChannelAlias(const CString& name);
CString MakeChannelAlias(const CString& name);
