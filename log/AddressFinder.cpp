#include "log/AddressFinder.h"

#include <oniguruma.h>

const wchar_t* const kUrlPattern = L"(h?ttps?|ftp|mms)://[^\\s/,'\"`?<>\u3000]+"
                                   L"(/([^\\s'\"<>\u3000\u2026]*"
                                   L"[^\\s.,'\"?<>\u3000\u3001\uFF0C\u3002\uFF0E\u2026])?)?";

TLogAddressFinder::TLogAddressFinder()
{
    urlExpression.Compile(kUrlPattern, ONIG_OPTION_IGNORECASE | ONIG_OPTION_DONT_CAPTURE_GROUP);
}

bool TLogAddressFinder::IsUrl(const CString& text) const
{
    TRegexMatchResult match;
    if (!urlExpression.Search(match, text, 0, -1))
        return false;
    return match.region->beg[0] == 0 && match.region->end[0] > 0;
}
