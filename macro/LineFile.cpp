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

void AppendLastLine(const CString& path, const CStringA& line)
{
    // The file is read through a handle of its own while the writer holds it, so nothing else
    // writes between the look and the append.
    TFile file, reader;
    if (!file.Open(path, GENERIC_WRITE, OPEN_ALWAYS, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL) ||
        !reader.Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_ATTRIBUTE_NORMAL))
        return;
    char last = 0;
    TLineEnds ends = ScanLineEnds(reader, last);
    reader.Close();
    if (ends == TLineEnds::Unread)
        return;
    if (ends == TLineEnds::Other) {
        file.Close();
        return Rewrite(path, nullptr, &line, -1);
    }
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.handle, &size) || !::SetFilePointerEx(file.handle, size, nullptr, FILE_BEGIN))
        return;
    CStringA out = size.QuadPart > 0 && last != '\n' ? "\r\n" : "";
    out += line + "\r\n";
    DWORD written = 0;
    if (::WriteFile(file.handle, out.GetString(), out.GetLength(), &written, nullptr) &&
        written == (DWORD)out.GetLength())
        return;
    // A short write is taken back, so the file never ends in half a line.
    if (::SetFilePointerEx(file.handle, size, nullptr, FILE_BEGIN))
        ::SetEndOfFile(file.handle);
}
