#include "log/TimeText.h"

#include "foundation/StringUtils.h"
#include "log/Formatter.h"

#include <cwchar>

namespace {

// The conversions msvcrt's wcsftime knows; any other one makes it end the process.
bool IsKnownConversion(wchar_t c) { return c != 0 && wcschr(L"aAbBcdHIjmMpSUwWxXyYzZ%", c) != nullptr; }

// Escapes every '%' that does not start a known conversion, so it prints as text.
CString MakeSafePattern(const CString& run)
{
    CString safe;
    int n = run.GetLength();
    for (int i = 0; i < n; i++) {
        wchar_t c = run[i];
        if (c != L'%') {
            safe += c;
            continue;
        }
        int next = i + 1;
        if (next < n && run[next] == L'#')
            next++;
        if (next < n && IsKnownConversion(run[next])) {
            safe += run.Mid(i, next - i + 1);
            i = next;
        } else {
            safe += L"%%";
        }
    }
    return safe;
}

// One stretch of ASCII through wcsftime; it adds nothing when its expansion does not fit the
// 128 characters one stretch may take.
void ExpandRun(const CString& run, const tm& when, CString& out)
{
    // Larger than allowed, since some run-times cut a long expansion short instead of failing.
    const size_t kLimit = 128, kRoom = 2048;
    wchar_t buffer[kRoom];
    CString safe = MakeSafePattern(run);
    size_t n = wcsftime(buffer, kRoom, safe, &when);
    if (n >= kLimit || (n == 0 && safe.GetLength() >= (int)kLimit))
        return;
    AppendWithin(out, buffer, (int)n);
}

} // namespace

CString FormatTimePattern(const CString& pattern, const tm& when)
{
    // Runs between other characters are each bounded, but not their number; the whole stamp is.
    CString out, run;
    for (int i = 0; i < pattern.GetLength() && out.GetLength() < kMaxFormattedLength; i++) {
        wchar_t c = pattern[i];
        if (c < 0x80) {
            run += c;
            continue;
        }
        if (!run.IsEmpty())
            ExpandRun(run, when, out);
        run.Empty();
        AppendWithin(out, &c, 1);
    }
    if (!run.IsEmpty() && out.GetLength() < kMaxFormattedLength)
        ExpandRun(run, when, out);
    EndCutText(out, kMaxFormattedLength);
    return out;
}

bool BreakDownLocalTime(time_t now, tm& out)
{
    const tm* local = localtime(&now);
    if (!local)
        return false;
    out = *local;
    return true;
}
