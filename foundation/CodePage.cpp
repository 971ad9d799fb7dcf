#include "foundation/CodePage.h"

#include <cstdlib>
#include <cstring>

namespace {

CStringA WideToBytes(const CString& text, UINT codePage, const char* defaultChar)
{
    BOOL usedDefault = FALSE;
    LPBOOL used = defaultChar ? &usedDefault : nullptr;
    int count = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, defaultChar, used);
    if (count == 0)
        return CStringA();
    CStringA result;
    char* out = result.GetBuffer(count + 1);
    if (WideCharToMultiByte(codePage, 0, text, -1, out, count + 1, defaultChar, used) == 0) {
        result.ReleaseBuffer(0);
        return CStringA();
    }
    out[count] = 0;
    result.ReleaseBuffer(); // ends at the first NUL: the terminator is not part of the text
    return result;
}

CString BytesToWide(const CStringA& bytes, UINT codePage)
{
    int count = MultiByteToWideChar(codePage, 0, bytes, -1, nullptr, 0);
    if (count == 0)
        return CString();
    wchar_t* buffer = static_cast<wchar_t*>(malloc((count + 1) * sizeof(wchar_t)));
    if (!buffer)
        return CString();
    int converted = MultiByteToWideChar(codePage, 0, bytes, -1, buffer, count + 1);
    if (converted == 0) {
        free(buffer);
        return CString();
    }
    buffer[converted] = 0;
    CString result(buffer);
    free(buffer);
    return result;
}

UINT ShiftJisCodePage() { return IsValidCodePage(CP_SHIFT_JIS) ? CP_SHIFT_JIS : CP_ACP; }

} // namespace

CStringA ConvertToCodePage(CString text, UINT codePage) { return WideToBytes(text, codePage, nullptr); }

CString ConvertFromCodePage(CStringA bytes, UINT codePage) { return BytesToWide(bytes, codePage); }

CString ConvertWholeFromCodePage(const CStringA& bytes, UINT codePage)
{
    int count = bytes.IsEmpty() ? 0 : MultiByteToWideChar(codePage, 0, bytes, bytes.GetLength(), nullptr, 0);
    if (count == 0)
        return CString();
    CString result;
    int converted = MultiByteToWideChar(codePage, 0, bytes, bytes.GetLength(), result.GetBuffer(count), count);
    result.ReleaseBuffer(converted > 0 ? converted : 0);
    return result;
}

CStringA ConvertToUtf8(CString text) { return ConvertToCodePage(text, CP_UTF8); }

CString ConvertFromUtf8(CStringA bytes) { return ConvertFromCodePage(bytes, CP_UTF8); }

CStringA ConvertToShiftJis(CString text)
{
    static const char geta[] = "\x81\xAC";
    return WideToBytes(text, ShiftJisCodePage(), geta);
}

CString ConvertFromShiftJis(CStringA bytes) { return BytesToWide(bytes, ShiftJisCodePage()); }

bool IsEncodingMarkerLine(const CStringA& line, const char* marker)
{
    static const char byteOrderMark[] = "\xEF\xBB\xBF";
    CStringA rest = line.Left(3) == byteOrderMark ? line.Mid(3) : line;
    return rest.GetLength() == (int)strlen(marker) && rest.CompareNoCase(marker) == 0;
}
