#pragma once
// What send and receive items share: the state numbers and the speed over the last ten seconds.

#include <climits>
#include <cstring>

// The same numbers for both kinds; 4 and 5 read differently for each (see the items).
enum TDCCItemState {
    DCC_STATE_WAITING = 0,
    DCC_STATE_ERROR = 1,
    DCC_STATE_ABORTED = 2,
    DCC_STATE_QUEUED = 3,
    DCC_STATE_CONNECTING = 4, // receive: connecting; send: preparing
    DCC_STATE_RESUMING = 5,   // receive: waiting for ACCEPT; send: waiting for the peer
    DCC_STATE_TRANSFERRING = 6,
    DCC_STATE_COMPLETE = 7,
};

inline bool IsDCCStateActive(int state)
{
    return state == DCC_STATE_CONNECTING || state == DCC_STATE_RESUMING || state == DCC_STATE_TRANSFERRING;
}

// Where a resume may start, for the sender and the receiver alike: inside the file. At its size
// nothing is left to send, and past it the receiver would cut the file beyond what it holds.
inline bool IsDCCResumePosition(long long position, long long size) { return position >= 0 && position < size; }

// Waiting for the user, queued or running: not yet done with, whatever its outcome will be.
inline bool IsDCCStatePending(int state)
{
    return state == DCC_STATE_WAITING || state == DCC_STATE_QUEUED || IsDCCStateActive(state);
}

// The integer part of done x 100 / size, exact for any 64-bit sizes (floating point rounds 53%
// of some sizes down to 52); 0 for an empty file.
inline int GetDCCPercent(long long done, long long size)
{
    if (size <= 0 || done <= 0)
        return 0;
    const unsigned long long divisor = (unsigned long long)size;
    const unsigned long long whole = (unsigned long long)done / divisor, rest = (unsigned long long)done % divisor;
    // More than the peer offered: the count still has to fit an int.
    if (whole > (unsigned long long)(INT_MAX / 100 - 1))
        return INT_MAX;
    // rest x 100 / size, a bit of 100 at a time: nothing held grows past twice the size.
    unsigned long long quotient = 0, remainder = 0;
    for (int bit = 6; bit >= 0; bit--) {
        quotient <<= 1;
        remainder <<= 1;
        if (remainder >= divisor) {
            remainder -= divisor;
            quotient++;
        }
        if ((100 >> bit) & 1) {
            remainder += rest;
            if (remainder >= divisor) {
                remainder -= divisor;
                quotient++;
            }
        }
    }
    return (int)(whole * 100 + quotient);
}

// Bytes per second of the last ten one-second ticks.
class TDCCSpeedSamples {
public:
    static const int Count = 10;

    void Clear()
    {
        std::memset(samples, 0, sizeof(samples));
        index = 0;
        taken = 0;
    }
    void Add(long long bytes)
    {
        samples[index] = bytes;
        index = (index + 1) % Count;
        taken++;
    }
    bool Any() const { return taken > 0; }
    // 0 before the first sample; the mean of the samples taken, of all ten once full.
    float GetSpeed() const
    {
        if (taken <= 0)
            return 0.0f;
        long long sum = 0;
        for (int i = 0; i < Count; i++)
            sum += samples[i];
        return (float)sum / (float)(taken >= Count ? Count : taken);
    }
    // -1 when nothing is left or the speed is too low to tell.
    static int GetRemainingSeconds(long long left, float speed)
    {
        if (left <= 0 || speed < 0.00001f)
            return -1;
        double seconds = (double)left / speed;
        return seconds > 2147483647.0 ? 2147483647 : (int)seconds;
    }

private:
    long long samples[Count] = {};
    int index = 0;
    int taken = 0;
};
