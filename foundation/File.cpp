#include "foundation/File.h"

#include "foundation/CodePage.h"

namespace {

const DWORD ChunkSize = 4096;
const DWORD ReadAheadSize = 65536;

long long writeBudget = -1;
long long readBudget = -1;
IFileBytesSource* bytesSource = nullptr;

bool WriteAll(HANDLE handle, const void* data, DWORD count)
{
    DWORD written = 0;
    return WriteFile(handle, data, count, &written, nullptr) && written == count;
}

// Windows' limit for one step of a path.
const int kMaxNameLength = 255;

// The copy beside the file is its name + ".tmp"; a name too long for that is cut and told apart
// from other cut names by a hash of the whole.
CString TempPathBeside(const CString& path)
{
    int start = path.ReverseFind(L'\\') + 1;
    if (path.GetLength() - start + 4 <= kMaxNameLength)
        return path + L".tmp";
    unsigned hash = 2166136261u;
    for (int i = start; i < path.GetLength(); i++)
        hash = (hash ^ path[i]) * 16777619u;
    CString tail;
    tail.Format(L"~%08x.tmp", hash);
    CString head = path.Left(start + kMaxNameLength - tail.GetLength());
    if (IS_HIGH_SURROGATE(head[head.GetLength() - 1]))
        head.Delete(head.GetLength() - 1);
    return head + tail;
}

// The copy's path may pass what the system takes without the long-path prefix although the
// file's own does not.
CString SystemPath(const CString& path)
{
    if (path.GetLength() < MAX_PATH || path.Left(4) == L"\\\\?\\")
        return path;
    DWORD needed = GetFullPathNameW(path, 0, nullptr, nullptr);
    CString full;
    DWORD length = needed ? GetFullPathNameW(path, needed, full.GetBuffer((int)needed), nullptr) : 0;
    full.ReleaseBuffer(length > 0 && length < needed ? (int)length : 0);
    if (full.IsEmpty())
        return path;
    if (full.Left(2) == L"\\\\")
        return L"\\\\?\\UNC\\" + full.Mid(2);
    return L"\\\\?\\" + full;
}

} // namespace

void SimulateWriteFailureAfter(long long bytes) { writeBudget = bytes; }

void SimulateReadFailureAfter(long long bytes) { readBudget = bytes; }

void SetFileBytesSource(IFileBytesSource* source) { bytesSource = source; }

IFileBytesSource* GetFileBytesSource() { return bytesSource; }

TFile::~TFile() { Close(); }

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

bool TFile::Read(void* data, DWORD count, DWORD& got)
{
    got = 0;
    if (readBudget >= 0 && count > readBudget) {
        if (readBudget == 0) {
            SetLastError(ERROR_READ_FAULT);
            return false;
        }
        count = (DWORD)readBudget;
    }
    if (!ReadFile(handle, data, count, &got, nullptr))
        return false;
    if (readBudget >= 0)
        readBudget -= got;
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

void TTextFile::OpenBytes(const CStringA& bytes)
{
    Close();
    ahead = bytes;
    inMemory = true;
}

void TTextFile::Close()
{
    ahead.Empty();
    aheadTaken = 0;
    inMemory = false;
    readFailed = false;
    TFile::Close();
}

long long TTextFile::Seek(long long distance)
{
    long long back = ahead.GetLength() - aheadTaken;
    ahead.Empty();
    aheadTaken = 0;
    return TFile::Seek(distance - back);
}

bool TTextFile::SeekToEnd()
{
    ahead.Empty();
    aheadTaken = 0;
    LARGE_INTEGER zero = {};
    return TFile::IsOpen() && SetFilePointerEx(handle, zero, nullptr, FILE_END);
}

bool TTextFile::Truncate()
{
    if (!TFile::IsOpen())
        return false;
    GiveBackAhead();
    return SetEndOfFile(handle) != FALSE;
}

void TTextFile::GiveBackAhead()
{
    if (aheadTaken < ahead.GetLength())
        Seek(0);
    ahead.Empty();
    aheadTaken = 0;
}

bool TTextFile::FillAhead()
{
    ahead.Empty();
    aheadTaken = 0;
    if (inMemory)
        return false;
    DWORD got = 0;
    char* block = ahead.GetBuffer(ReadAheadSize);
    bool read = Read(block, ReadAheadSize, got);
    readFailed = readFailed || !read;
    ahead.ReleaseBuffer(read ? (int)got : 0);
    return read && got > 0;
}

bool TTextFile::ReadAll(CStringA& bytes)
{
    if (!IsOpen())
        return false;
    bytes = ahead.Mid(aheadTaken);
    ahead.Empty();
    aheadTaken = 0;
    if (inMemory)
        return true;
    char chunk[ChunkSize];
    DWORD got = 0;
    bool read;
    while ((read = Read(chunk, ChunkSize, got)) && got > 0)
        bytes.Append(chunk, (int)got);
    readFailed = readFailed || !read;
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

bool TTextFile::ReadRawLine(CStringA& bytes)
{
    if (!IsOpen())
        return false;
    bytes.Empty();
    bool readAny = false;
    for (;;) {
        if (aheadTaken == ahead.GetLength() && !FillAhead())
            return readAny;
        readAny = true;
        const char* block = ahead.GetString();
        int length = ahead.GetLength();
        int end = aheadTaken;
        while (end < length && block[end] != '\r' && block[end] != '\n')
            end++;
        bytes.Append(block + aheadTaken, end - aheadTaken);
        aheadTaken = end;
        if (end == length)
            continue;
        char terminator = block[aheadTaken++];
        if (!dropTerminator)
            bytes.AppendChar(terminator);
        // A CR may be followed by the LF of the same line end, possibly in the next block.
        if (terminator == '\r' && (aheadTaken < ahead.GetLength() || FillAhead()) && ahead[aheadTaken] == '\n') {
            aheadTaken++;
            if (!dropTerminator)
                bytes.AppendChar('\n');
        }
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
    GiveBackAhead();
    return WriteBytes(ConvertToCodePage(text, codePage));
}

bool TTextFile::WriteRawLine(const CStringA& bytes)
{
    if (!IsOpen())
        return false;
    GiveBackAhead();
    return WriteBytes(bytes + "\r\n");
}

bool TTextFile::WriteLine(const CString& text) { return WriteRawLine(ConvertToCodePage(text, codePage)); }

TSafeFileWriter::~TSafeFileWriter() { Abandon(); }

bool TSafeFileWriter::Open(const CString& path)
{
    if (IsOpen() || path.IsEmpty())
        return false;
    targetPath = SystemPath(path);
    tempPath = SystemPath(TempPathBeside(path));
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

CString GetSystemErrorText(DWORD error)
{
    wchar_t* buffer = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, (LPWSTR)&buffer, 0, nullptr);
    CString text;
    if (length > 0 && buffer)
        text = CString(buffer, (int)length);
    if (buffer)
        LocalFree(buffer);
    text.TrimRight();
    if (text.IsEmpty())
        text.Format(L"%lu", (unsigned long)error);
    return text;
}
