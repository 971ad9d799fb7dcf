#pragma once
// CTCP inside PRIVMSG and NOTICE: the framing both ways, the answers to the usual queries, and
// the rule that keeps a stream of queries from turning into a stream of answers.

#include "classlib/String.h"

#include <windows.h>

class TPreference;

const wchar_t kCtcpMark = 1;
// At most one query is answered in this many milliseconds.
const DWORD kCtcpQueryInterval = 5000;

// True when text opens with U+0001; body is then what follows, up to the next U+0001.
bool GetCtcpBody(const CString& text, CString& body);
// The command is the first word upper-cased; the argument keeps its inner and trailing blanks.
void SplitCtcpBody(const CString& body, CString& command, CString& argument);
// ":" + U+0001 + body + U+0001, the trailing parameter of a query or a reply.
CString MakeCtcpParam(const CString& body);

// Whether a query other than ACTION and DCC is answered; an answered one moves lastAccepted
// to now. lastAccepted 0 means none was answered yet.
bool AcceptCtcpQuery(const TPreference& preference, DWORD now, unsigned& lastAccepted);
// Moves lastAccepted to now for a query taken without the checks (our own address query).
void MarkCtcpAccepted(DWORD now, unsigned& lastAccepted);

// Local time as "Mon Dec 07 08:05:36 2026".
CString FormatCtcpTime(const SYSTEMTIME& time);
// The round trip of a PING reply whose argument is the tick count the query carried.
CString FormatPingElapsed(DWORD now, const CString& argument);
