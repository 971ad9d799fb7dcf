#pragma once
// The user's text files of byte lines as the macros use them: read one line at a time, so a file
// of any size is never held at once, and changed through a copy that replaces the file only when
// every old line reached it. What is written ends every line with CR LF.

#include "classlib/String.h"

#include <functional>
#include <map>
#include <string>

// Gives visit each line without its end, in file order, until it returns false. False when the
// file cannot be opened or a read fails on the way.
bool VisitLines(const CString& path, const std::function<bool(const CStringA& line)>& visit);
// The line first, then the old lines; a missing file becomes the one line.
void InsertFirstLine(const CString& path, const CStringA& line);
// The files whose line ends were all CR LF when a line last went on their end, each with what it
// was then (size, time of the last write, the system's number for it): while they stay so, the
// next line goes on without the file being read again.
class TCrLfFiles {
public:
    struct TStamp {
        unsigned long long size = 0, written = 0, id = 0;
        bool operator==(const TStamp& other) const
        {
            return size == other.size && written == other.written && id == other.id;
        }
    };
    bool Holds(const CString& path, const TStamp& stamp) const;
    void Note(const CString& path, const TStamp& stamp);
    void Forget(const CString& path);

private:
    std::map<std::wstring, TStamp> stamps;
};

// The line last. A file whose line ends are all CR LF takes it in place, without being rewritten,
// and files is told so; one it knows unchanged is not even read.
void AppendLastLine(const CString& path, const CStringA& line, TCrLfFiles* files = nullptr);
// Every line but the one at index (counted from 0).
void RemoveLine(const CString& path, long long index);
