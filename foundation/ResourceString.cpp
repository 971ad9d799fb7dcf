#include "foundation/ResourceString.h"

#include "foundation/StringUtils.h"
#include "res/resource.h"

CString LoadResourceString(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

CString LoadFilterString(UINT id) { return MakeDoubleNullTerminated(LoadResourceString(id)); }

CString FormatStringResourceWithText(UINT id, const CString& text)
{
    CString out;
    out.Format(LoadResourceString(id), text.GetString());
    return out;
}

CString FormatStringResourceWithTwo(UINT id, const CString& first, const CString& second)
{
    CString out;
    out.Format(LoadResourceString(id), first.GetString(), second.GetString());
    return out;
}

CString FormatStringResourceWithNumber(UINT id, int number)
{
    CString out;
    out.Format(LoadResourceString(id), number);
    return out;
}

CString FormatConnectingMessage(const CString& host, int port)
{
    CString out;
    out.Format(LoadResourceString(IDS_CONNECTING), host.GetString(), port);
    return out;
}

CString FormatReconnectingMessage(const CString& host, int port, int attempt)
{
    CString out;
    out.Format(LoadResourceString(IDS_RECONNECTING), host.GetString(), port, attempt);
    return out;
}

CString FormatTransferCounts(int receiveCount, int sendCount)
{
    CString out;
    out.Format(LoadResourceString(IDS_DCC_TRANSFER_COUNTS), receiveCount, sendCount);
    return out;
}
