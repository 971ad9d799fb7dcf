#pragma once
// The user's text files of byte lines as the macros use them: read one line at a time, so a file
// of any size is never held at once, and changed through a copy that replaces the file only when
// every old line reached it. What is written ends every line with CR LF.

#include "classlib/String.h"

#include <functional>

// Gives visit each line without its end, in file order, until it returns false. False when the
// file cannot be opened or a read fails on the way.
bool VisitLines(const CString& path, const std::function<bool(const CStringA& line)>& visit);
// The line first, then the old lines; a missing file becomes the one line.
void InsertFirstLine(const CString& path, const CStringA& line);
// The line last. A file whose line ends are all CR LF takes it in place, without being rewritten.
void AppendLastLine(const CString& path, const CStringA& line);
// Every line but the one at index (counted from 0).
void RemoveLine(const CString& path, long long index);
