#pragma once
// User-visible texts from the string table, by id; a missing id gives "".

#include "classlib/String.h"

CString LoadResourceString(UINT id);
// The text followed by a second NUL, for file-dialog filters ("desc|*.ext|").
CString LoadFilterString(UINT id);

CString FormatStringResourceWithText(UINT id, const CString& text);
CString FormatStringResourceWithTwo(UINT id, const CString& first, const CString& second);
CString FormatStringResourceWithNumber(UINT id, int number);
CString FormatConnectingMessage(const CString& host, int port);
CString FormatReconnectingMessage(const CString& host, int port, int attempt);
CString FormatTransferCounts(int receiveCount, int sendCount);
