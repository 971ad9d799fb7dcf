#pragma once
// Shared by the received-side sources of the unit: numbers and times in server replies.

#include "classlib/String.h"
#include "log/LogFormatter.h"
#include "log/LogLineData.h"

// Digits of a server reply as a number of at most 64 bits; the value saturates instead of
// wrapping, and text without digits gives 0.
unsigned long long ReadUnsignedReply(const CString& text);
// Seconds since 1970 from a server as local "%Y/%m/%d %H:%M"; a value the run-time cannot
// convert shows as the server wrote it.
CString FormatServerTime(long long seconds, const CString& asSent);
// The same for a reply parameter read as an unsigned number.
CString FormatServerTime(const CString& asSent);
