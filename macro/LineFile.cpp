#include "macro/LineFile.h"

#include "foundation/File.h"

#include <vector>

namespace {

bool OpenLines(TTextFile& in, const CString& path)
{
    return in.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL);
}

// The old lines are copied one at a time, with the new line before them, after them, or one of
// them left out (skip). A file that is there but cannot be read stays untouched.
void Rewrite(const CString& path, const CStringA* first, const CStringA* last, long long skip)
{
    TTextFile in(CP_UTF8, true);
    bool exists = OpenLines(in, path);
    if (!exists && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        return;
    TSafeFileWriter out;
    if (!out.Open(path) || (first && !out.Write(*first + "\r\n")))
        return;
    long long index = 0;
    for (CStringA line; exists && in.ReadRawLine(line); index++) {
        if (index != skip && !out.Write(line + "\r\n"))
            return;
    }
    if (in.ReadFailed() || (last && !out.Write(*last + "\r\n")))
        return;
    in.Close();
    out.Commit();
}

enum class TLineEnds { CrLf, Other, Unread };

// Reads the open file to its end: whether every line end in it is CR LF, and its last byte (0
// for an empty file).
TLineEnds ScanLineEnds(TFile& file, char& last)
{
    std::vector<char> block(65536);
    last = 0;
    for (;;) {
        DWORD got = 0;
        if (!file.Read(block.data(), (DWORD)block.size(), got))
            return TLineEnds::Unread;
        if (got == 0)
            return last == '\r' ? TLineEnds::Other : TLineEnds::CrLf;
        for (DWORD i = 0; i < got; i++) {
            char c = block[i];
            if ((c == '\n') != (last == '\r'))
                return TLineEnds::Other;
            last = c;
        }
    }
}

} // namespace

bool VisitLines(const CString& path, const std::function<bool(const CStringA& line)>& visit)
{
    TTextFile in(CP_UTF8, true);
    if (path.IsEmpty() || !OpenLines(in, path))
        return false;
    for (CStringA line; in.ReadRawLine(line);) {
        if (!visit(line))
            return true;
    }
    return !in.ReadFailed();
}

void InsertFirstLine(const CString& path, const CStringA& line) { Rewrite(path, &line, nullptr, -1); }

void RemoveLine(const CString& path, long long index) { Rewrite(path, nullptr, nullptr, index); }

namespace {

bool StampOf(const TFile& file, TCrLfFiles::TStamp& stamp)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file.handle, &info))
        return false;
    stamp.size = (unsigned long long)info.nFileSizeHigh << 32 | info.nFileSizeLow;
    stamp.written = (unsigned long long)info.ftLastWriteTime.dwHighDateTime << 32 | info.ftLastWriteTime.dwLowDateTime;
    stamp.id = (unsigned long long)info.nFileIndexHigh << 32 | info.nFileIndexLow;
    return true;
}

// A few logs are kept at a time; past this many the oldest knowledge is dropped, which costs
// only a read.
const size_t kMaxKnownFiles = 64;

} // namespace

bool TCrLfFiles::Holds(const CString& path, const TStamp& stamp) const
{
    auto found = stamps.find(path.GetString());
    return found != stamps.end() && found->second == stamp;
}

void TCrLfFiles::Note(const CString& path, const TStamp& stamp)
{
    if (stamps.size() >= kMaxKnownFiles && !stamps.count(path.GetString()))
        stamps.clear();
    stamps[path.GetString()] = stamp;
}

void TCrLfFiles::Forget(const CString& path) { stamps.erase(path.GetString()); }

void AppendLastLine(const CString& path, const CStringA& line, TCrLfFiles* files)
{
    // The file is read through a handle of its own while the writer holds it, so nothing else
    // writes between the look and the append.
    TFile file;
    if (!file.Open(path, GENERIC_WRITE, OPEN_ALWAYS, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL))
        return;
    TCrLfFiles::TStamp stamp;
    bool stamped = StampOf(file, stamp);
    // A file known to end in CR LF, or empty, has nothing to look at.
    char last = stamp.size > 0 ? '\n' : 0;
    if (!stamped || !files || !files->Holds(path, stamp)) {
        if (files)
            files->Forget(path);
        TFile reader;
        if (!reader.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_ATTRIBUTE_NORMAL))
            return;
        TLineEnds ends = ScanLineEnds(reader, last);
        reader.Close();
        if (ends == TLineEnds::Unread)
            return;
        if (ends == TLineEnds::Other) {
            file.Close();
            return Rewrite(path, nullptr, &line, -1);
        }
    }
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.handle, &size) || !::SetFilePointerEx(file.handle, size, nullptr, FILE_BEGIN))
        return;
    CStringA out = size.QuadPart > 0 && last != '\n' ? "\r\n" : "";
    out += line + "\r\n";
    DWORD written = 0;
    if (::WriteFile(file.handle, out.GetString(), out.GetLength(), &written, nullptr) &&
        written == (DWORD)out.GetLength()) {
        // Taken once the file is closed: the system may set the time of the last write only then.
        file.Close();
        TFile closed;
        // A line with a CR or LF of its own leaves the file with other line ends.
        if (files && line.FindOneOf("\r\n") >= 0)
            files->Forget(path);
        else if (files &&
                 closed.Open(path, 0, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_ATTRIBUTE_NORMAL) &&
                 StampOf(closed, stamp))
            files->Note(path, stamp);
        return;
    }
    // A short write is taken back, so the file never ends in half a line.
    if (::SetFilePointerEx(file.handle, size, nullptr, FILE_BEGIN))
        ::SetEndOfFile(file.handle);
}
