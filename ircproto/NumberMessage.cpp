#include "ircproto/NumberMessage.h"

#include "foundation/ResourceString.h"

CString FormatNumberMessage(UINT id, int number) { return FormatStringResourceWithNumber(id, number); }
