#include "dccwindows/DCCDialogRows.h"

#include "dcc/DCCItem.h"
#include "foundation/StringUtils.h"

CString FormatDCCCount(long long position, long long size)
{
    return FormatWithThousandsSeparators(position) + L" / " + FormatWithThousandsSeparators(size);
}

CString FormatDCCProgress(long long position, long long size)
{
    CString text;
    text.Format(L"%d%%", GetDCCPercent(position, size));
    return text;
}

CString FormatDCCTimeLeft(int seconds)
{
    CString text;
    if (seconds < 0)
        return text;
    int hours = seconds / 3600;
    int minutes = (seconds % 3600) / 60;
    int rest = (seconds % 3600) % 60;
    if (seconds < 3600)
        text.Format(L"%d:%02d", minutes, rest);
    else
        text.Format(L"%d:%02d:%02d", hours, minutes, rest);
    return text;
}

CString FormatDCCSpeed(float bytesPerSecond)
{
    CString text;
    text.Format(L"%1.1f", bytesPerSecond * 0.0009765625);
    return text;
}

CString FormatDCCAddress(const CString& address, int port)
{
    CString text;
    text.Format(L"%s:%d", address.GetString(), port);
    return text;
}

int GetDCCReceiveImage(int state)
{
    static const int images[] = {0, 3, 2, 1, 4, 6, 4, 7};
    return state >= 0 && state < 8 ? images[state] : 0;
}

int GetDCCSendImage(int state)
{
    static const int images[] = {0, 3, 2, 1, 6, 6, 5, 7};
    return state >= 0 && state < 8 ? images[state] : 0;
}

CString FormatDCCReceiveTask(const TDCCReceiveTask& task)
{
    if (task.state == DCC_STATE_ERROR)
        return task.errorText;
    if (task.state != DCC_STATE_RESUMING || !task.timerRunning || task.resumeTimeout < 1)
        return task.stateText;
    int left = task.resumeTimeout - task.resumeWait;
    if (left < 0)
        return task.stateText;
    CString remaining;
    remaining.Format(task.remainingTemplate, left);
    return task.stateText + remaining;
}
