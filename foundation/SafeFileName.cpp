#include "foundation/SafeFileName.h"

#include <wchar.h>

namespace {

// An extension longer than this is no extension worth keeping when a name is cut.
const int kMaxKeptExtension = 16;

bool IsTrailingDot(wchar_t c) { return c == L'.' || c == L' '; }

bool IsDigitOrSuperscript(wchar_t c) { return (c >= L'0' && c <= L'9') || c == 0xB9 || c == 0xB2 || c == 0xB3; }

// Cuts to maxLength, keeping a short extension, and never between the halves of a pair.
CString Shorten(const CString& name, int maxLength)
{
    if (name.GetLength() <= maxLength)
        return name;
    int dot = name.ReverseFind(L'.');
    int extension = dot > 0 ? name.GetLength() - dot : 0;
    if (extension == 0 || extension > kMaxKeptExtension || extension >= maxLength)
        extension = 0;
    CString title = name.Left(maxLength - extension);
    if (!title.IsEmpty() && IS_HIGH_SURROGATE(title[title.GetLength() - 1]))
        title = title.Left(title.GetLength() - 1);
    return title + name.Right(extension);
}

void MendTrailingDots(CString& name, TTrailingDots trailing)
{
    int end = name.GetLength();
    while (end > 0 && IsTrailingDot(name[end - 1]))
        end--;
    if (trailing == TTrailingDots::Dropped)
        name = name.Left(end);
    else
        for (int i = end; i < name.GetLength(); i++)
            name.SetAt(i, L'_');
}

} // namespace

bool IsReservedFileNameChar(wchar_t c) { return c < 0x20 || wcschr(L"\\/:<>*?|\"", c) != nullptr; }

bool IsDeviceFileName(const CString& name)
{
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"};
    // The device answers to its name before the first dot, blanks after it ignored.
    CString base = name;
    int dot = base.Find(L'.');
    if (dot >= 0)
        base = base.Left(dot);
    base.TrimRight(L' ');
    for (const wchar_t* device : kDevices)
        if (base.CompareNoCase(device) == 0)
            return true;
    CString port = base.Left(3);
    return base.GetLength() == 4 && (port.CompareNoCase(L"COM") == 0 || port.CompareNoCase(L"LPT") == 0) &&
           IsDigitOrSuperscript(base[3]);
}

CString MakeSafeFileNamePiece(const CString& name, TTrailingDots trailing, int maxLength)
{
    CString safe = name;
    for (int i = 0; i < safe.GetLength(); i++)
        if (IsReservedFileNameChar(safe[i]))
            safe.SetAt(i, L'_');
    safe = Shorten(safe, maxLength);
    MendTrailingDots(safe, trailing);
    return safe;
}

CString MakeSafeFileNamePart(const CString& name, TTrailingDots trailing, int maxLength)
{
    CString safe = MakeSafeFileNamePiece(name, trailing, maxLength);
    if (IsDeviceFileName(safe)) {
        safe = Shorten(safe, maxLength - 1);
        MendTrailingDots(safe, trailing);
        safe.Insert(0, L'_');
    }
    return safe;
}

CString GuardDevicePathSteps(const CString& path)
{
    CString guarded;
    int start = 0;
    while (start <= path.GetLength()) {
        int end = start;
        while (end < path.GetLength() && path[end] != L'\\' && path[end] != L'/')
            end++;
        CString step = path.Mid(start, end - start);
        if (IsDeviceFileName(step))
            step = L"_" + Shorten(step, kMaxFileNamePart - 1);
        guarded += step;
        if (end < path.GetLength())
            guarded += path[end];
        start = end + 1;
    }
    return guarded;
}

bool IsSafeFileNamePart(const CString& name, int maxLength)
{
    return !name.IsEmpty() && MakeSafeFileNamePart(name, TTrailingDots::Dropped, maxLength) == name;
}

bool IsSafeFileNameBeforeExtension(const CString& name, const CString& extension)
{
    return name != L".." && IsSafeFileNamePart(name + extension);
}
