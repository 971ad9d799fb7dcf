#pragma once
// UTF-16 <-> byte text in a code page. Every conversion but the whole one stops at the first NUL;
// all are lenient on invalid input and give an empty result on failure.

#include "classlib/String.h"

const UINT CP_SHIFT_JIS = 932;
// Stored as a server's code page; routed to the own ISO-2022-JP codec, never to the platform.
const UINT CP_ISO2022JP = 50221;

CStringA ConvertToCodePage(CString text, UINT codePage);
CString ConvertFromCodePage(CStringA bytes, UINT codePage);
// The same over every byte: a NUL becomes U+0000 and the text after it is kept, for output of
// programs that is not text throughout.
CString ConvertWholeFromCodePage(const CStringA& bytes, UINT codePage);
CStringA ConvertToUtf8(CString text);
CString ConvertFromUtf8(CStringA bytes);
// Unmappable characters become the geta mark 0x81 0xAC.
CStringA ConvertToShiftJis(CString text);
CString ConvertFromShiftJis(CStringA bytes);

// Whether a file's first line is the marker, compared without regard to ASCII case. An editor
// may have put a UTF-8 byte-order mark before it, which then belongs to nothing.
bool IsEncodingMarkerLine(const CStringA& line, const char* marker);
