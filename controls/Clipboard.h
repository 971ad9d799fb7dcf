#pragma once
// Plain text on the clipboard, as CF_UNICODETEXT.

#include "classlib/String.h"

void CopyTextToClipboard(const CString& text);
// Empty when the clipboard holds no text.
CString GetClipboardText();
