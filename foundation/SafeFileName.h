#pragma once
// One rule for text that becomes one part of a file path: a name a peer offers, a channel or
// server name in a log path, a nick folder, a typed macro file name. Names are mended where a
// file must be made anyway, and checked where the caller must refuse instead.

#include "classlib/String.h"

// Windows' own limit for one part of a path.
const int kMaxFileNamePart = 255;

// Control characters below the blank and what Windows refuses in a name: separators and :<>*?|".
// DEL is a name character like any other.
bool IsReservedFileNameChar(wchar_t c);
// A name Windows opens as a device in any folder: "CON", "con.txt", "COM1 .log", "LPT9".
bool IsDeviceFileName(const CString& name);

// What becomes of trailing dots and blanks, which Windows drops: dropping them gives the name
// Windows would use; replacing them keeps "a." and "a" apart.
enum class TTrailingDots { Dropped, Replaced };

// Reserved characters become '_', long names are cut (an extension kept), trailing dots and
// blanks go by `trailing`, and a device name gets a leading '_'. Empty when nothing is left.
CString MakeSafeFileNamePart(const CString& name, TTrailingDots trailing = TTrailingDots::Dropped,
                             int maxLength = kMaxFileNamePart);
// The same mending for a name that is only a piece of a file name, as a channel in
// "20260304-aux-net.txt": Windows reserves device names only as a whole name before the
// extension, so none is guarded here; the finished path goes through GuardDevicePathSteps.
CString MakeSafeFileNamePiece(const CString& name, TTrailingDots trailing = TTrailingDots::Dropped,
                              int maxLength = kMaxFileNamePart);
// A leading '_' on every step of a relative path that Windows would open as a device
// ("aux\\0304.txt", "logs\\con.txt"); other steps stay as they are.
CString GuardDevicePathSteps(const CString& path);
// For names that must be refused rather than mended: true only for a name the mending would
// leave as it is, so never for "", "..", "con", "a." or "a\\b".
bool IsSafeFileNamePart(const CString& name, int maxLength = kMaxFileNamePart);
// A typed name that the extension follows: "" and "a." are fine then (".kmf", "a..kmf"); what
// leaves the folder or opens a device is not, nor ".." on its own.
bool IsSafeFileNameBeforeExtension(const CString& name, const CString& extension);
