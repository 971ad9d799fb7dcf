#include "foundation/File.h"

#include "foundation/CodePage.h"

namespace {

const DWORD ChunkSize = 4096;

long long writeBudget = -1;

bool WriteAll(HANDLE handle, const void* data, DWORD count)
{
    DWORD written = 0;
    return WriteFile(handle, data, count, &written, nullptr) && written == count;
}

} // namespace

void SimulateWriteFailureAfter(long long bytes)
{
    writeBudget = bytes;
}

TFile::~TFile()
{
    Close();
}

bool TFile::Open(const CString& path, DWORD access, DWORD creation, DWORD share, DWORD flags)
{
    if (IsOpen())
        return false;
    handle = CreateFileW(path, access, share, nullptr, creation, flags, nullptr);
    return IsOpen();
}

void TFile::Close()
{
    if (!IsOpen())
        return;
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
}

bool TFile::GetLastWriteTime(FILETIME& time) const
{
    FILETIME written;
    if (!IsOpen() || !GetFileTime(handle, nullptr, nullptr, &written))
        return false;
    time = written;
    return true;
}

long long TFile::Seek(long long distance)
{
    if (!IsOpen())
        return -1;
    LARGE_INTEGER move, position;
    move.QuadPart = distance;
    if (!SetFilePointerEx(handle, move, &position, FILE_CURRENT))
        return -1;
    return position.QuadPart;
}

bool TTextFile::ReadAll(CStringA& bytes)
{
    if (!IsOpen())
        return false;
    bytes.Empty();
    char chunk[ChunkSize];
    DWORD got = 0;
    while (ReadFile(handle, chunk, ChunkSize, &got, nullptr) && got > 0)
        bytes.Append(chunk, (int)got);
    return true;
}

bool TTextFile::ReadAllText(CString& text)
{
    CStringA bytes;
    if (!ReadAll(bytes))
        return false;
    text = ConvertFromCodePage(bytes, codePage);
    return true;
}

// Reads a chunk at a time and seeks back over what belongs to the next line, so the file
// position ends where a byte-by-byte reader would have left it.
bool TTextFile::ReadRawLine(CStringA& bytes)
{
    if (!IsOpen())
        return false;
    bytes.Empty();
    bool readAny = false;
    char chunk[ChunkSize];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handle, chunk, ChunkSize, &got, nullptr) || got == 0)
            return readAny;
        readAny = true;
        DWORD end = 0;
        while (end < got && chunk[end] != '\r' && chunk[end] != '\n')
            end++;
        bytes.Append(chunk, (int)end);
        if (end == got)
            continue;
        char terminator = chunk[end];
        if (!dropTerminator)
            bytes.AppendChar(terminator);
        DWORD used = end + 1;
        if (terminator == '\r') {
            if (used < got) {
                if (chunk[used] == '\n') {
                    if (!dropTerminator)
                        bytes.AppendChar('\n');
                    used++;
                }
            } else {
                char next = 0;
                DWORD one = 0;
                if (ReadFile(handle, &next, 1, &one, nullptr) && one == 1) {
                    if (next == '\n') {
                        if (!dropTerminator)
                            bytes.AppendChar('\n');
                    } else {
                        Seek(-1);
                    }
                }
            }
        }
        if (used < got)
            Seek(-(long long)(got - used));
        return true;
    }
}

bool TTextFile::ReadLine(CString& text)
{
    CStringA bytes;
    bool result = ReadRawLine(bytes);
    if (IsOpen())
        text = ConvertFromCodePage(bytes, codePage);
    return result;
}

bool TTextFile::WriteBytes(const CStringA& bytes)
{
    DWORD written = 0;
    return WriteFile(handle, bytes.GetString(), (DWORD)bytes.GetLength(), &written, nullptr) && written > 0;
}

bool TTextFile::Write(const CString& text)
{
    if (!IsOpen())
        return false;
    return WriteBytes(ConvertToCodePage(text, codePage));
}

bool TTextFile::WriteRawLine(const CStringA& bytes)
{
    if (!IsOpen())
        return false;
    return WriteBytes(bytes + "\r\n");
}

bool TTextFile::WriteLine(const CString& text)
{
    return WriteRawLine(ConvertToCodePage(text, codePage));
}

TSafeFileWriter::~TSafeFileWriter()
{
    Abandon();
}

bool TSafeFileWriter::Open(const CString& path)
{
    if (IsOpen() || path.IsEmpty())
        return false;
    targetPath = path;
    tempPath = path + L".tmp";
    failed = false;
    return file.Open(tempPath, GENERIC_WRITE, CREATE_ALWAYS, 0, FILE_ATTRIBUTE_NORMAL);
}

bool TSafeFileWriter::Write(const void* data, int count)
{
    if (!IsOpen() || failed)
        return false;
    if (count <= 0)
        return true;
    if (writeBudget >= 0 && count > writeBudget) {
        WriteAll(file.handle, data, (DWORD)writeBudget);
        writeBudget = 0;
        failed = true;
        return false;
    }
    if (writeBudget >= 0)
        writeBudget -= count;
    if (!WriteAll(file.handle, data, (DWORD)count))
        failed = true;
    return !failed;
}

bool TSafeFileWriter::Commit()
{
    if (!IsOpen())
        return false;
    if (failed || !FlushFileBuffers(file.handle)) {
        Abandon();
        return false;
    }
    file.Close();
    if (!MoveFileExW(tempPath, targetPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(tempPath);
        return false;
    }
    return true;
}

void TSafeFileWriter::Abandon()
{
    if (!IsOpen())
        return;
    file.Close();
    DeleteFileW(tempPath);
}
