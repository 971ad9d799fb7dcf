#include "log/LogLineData.h"

namespace {

// Line type (font) of each event kind.
const int kLineTypeOfEvent[LOG_EVENT_KIND_COUNT] = {
    0,  1,  2,  3,  4, 8,  5,  6,  9,  9,  5,  15, 7,  10, 11, 11, 12, 15,
    15, 13, 14, 15, 9, 10, 15, 15, 14, 16, 17, 15, 14, 15, 14, 18, 19,
};

} // namespace

int GetLineTypeOfEvent(int eventKind)
{
    if (eventKind < 0 || eventKind >= LOG_EVENT_KIND_COUNT)
        return 15;
    return kLineTypeOfEvent[eventKind];
}

bool IsMessageLineType(int lineType)
{
    return lineType == LINE_MESSAGE || lineType == LINE_NOTICE || lineType == LINE_ACTION;
}
