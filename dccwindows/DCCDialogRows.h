#pragma once
// The cell texts and row images of the transfer window's lists, apart from the window so that
// they can be read and checked without one.

#include "classlib/String.h"

// Bytes done and the size, "1,234,567 / 2,000,000".
CString FormatDCCCount(long long position, long long size);
// Whole percent, truncated; 0 for an empty file.
CString FormatDCCProgress(long long position, long long size);
// "m:ss" below an hour, "h:mm:ss" from there; empty for a negative time.
CString FormatDCCTimeLeft(int seconds);
// KB per second with one decimal, no unit.
CString FormatDCCSpeed(float bytesPerSecond);
// "address:port".
CString FormatDCCAddress(const CString& address, int port);

// Image index of a row in the state image list; the two lists differ in states 4 to 6.
int GetDCCReceiveImage(int state);
int GetDCCSendImage(int state);

// What the task column of a receive row needs to know.
struct TDCCReceiveTask {
    int state = 0;
    CString stateText;
    CString errorText;
    bool timerRunning = false;
    int resumeTimeout = -1;    // seconds; below 1 means no count-down
    int resumeWait = 0;        // seconds already waited for the answer
    CString remainingTemplate; // "(残り%d秒)"
};
CString FormatDCCReceiveTask(const TDCCReceiveTask& task);
