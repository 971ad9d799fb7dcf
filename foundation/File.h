#pragma once
// A Win32 file handle with 64-bit positions, text files read and written line by line, and the
// safe rewrite of a whole file through a temporary one.

#include "classlib/String.h"

class TFile {
public:
    TFile() = default;
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;
    virtual ~TFile();

    // Arguments as CreateFileW takes them, but the creation disposition before the share mode.
    // Fails without touching the file when this object is open already.
    bool Open(const CString& path, DWORD access, DWORD creation, DWORD share, DWORD flags);
    void Close();
    bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }
    bool GetLastWriteTime(FILETIME& time) const;
    // Moves relative to the current position and returns the new one; -1 when closed or refused.
    long long Seek(long long distance);
    // ReadFile, or the failure a test asked for.
    bool Read(void* data, DWORD count, DWORD& got);

    HANDLE handle = INVALID_HANDLE_VALUE;
};

// Lines are read from a read-ahead block; Seek, the writers and ReadAll count from the end of the
// last line taken, as if the file had been read byte by byte.
class TTextFile : public TFile {
public:
    TTextFile(UINT codePage, bool dropTerminator) : codePage(codePage), dropTerminator(dropTerminator) {}

    // Reads the given bytes as if they were the file's content; writes and seeks then fail.
    void OpenBytes(const CStringA& bytes);
    bool IsOpen() const { return inMemory || TFile::IsOpen(); }
    void Close();
    long long Seek(long long distance);
    // The position moves to the end; lines read ahead are dropped, not given back.
    bool SeekToEnd();
    // The file ends where the last line taken ended.
    bool Truncate();

    // False only when the file is not open: a failed read ends the bytes where it came.
    bool ReadAll(CStringA& bytes);
    bool ReadAllText(CString& text);
    // CR LF, a lone LF and a lone CR each end a line; a last line without terminator counts.
    // False at the end of the file and when a read fails; ReadFailed tells the two apart.
    bool ReadRawLine(CStringA& bytes);
    bool ReadLine(CString& text);
    // True only when at least one byte was written: empty text gives false.
    bool Write(const CString& text);
    bool WriteRawLine(const CStringA& bytes);
    bool WriteLine(const CString& text);
    // A read of the file was refused since it was opened: what was read so far is not all of it.
    bool ReadFailed() const { return readFailed; }

    UINT codePage;
    bool dropTerminator;

private:
    bool WriteBytes(const CStringA& bytes);
    bool FillAhead();
    // Moves the file position back to the end of what was taken, and forgets the rest.
    void GiveBackAhead();

    CStringA ahead;
    int aheadTaken = 0;
    bool inMemory = false;
    bool readFailed = false;
};

// Writes a new version of a file beside it and puts it in place only when every write
// succeeded, so a full disk or a crash never leaves a half-written settings file behind.
class TSafeFileWriter {
public:
    TSafeFileWriter() = default;
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;
    // Abandons an uncommitted file: the old one stays as it was.
    virtual ~TSafeFileWriter();

    bool Open(const CString& path);
    bool IsOpen() const { return file.IsOpen(); }
    // A short or failed write marks the whole file failed; later writes are skipped.
    bool Write(const void* data, int count);
    bool Write(const CStringA& bytes) { return Write(bytes.GetString(), bytes.GetLength()); }
    // Replaces the target with what was written; false, with the target untouched, on any failure.
    bool Commit();
    void Abandon();

private:
    TFile file;
    CString targetPath;
    CString tempPath;
    bool failed = false;
};

// The system's own words for an error code (GetLastError), without the line end; the number when
// the system has none.
CString GetSystemErrorText(DWORD error);

// For tests: the safe writer's writes fail once this many more bytes went out (negative: never).
void SimulateWriteFailureAfter(long long bytes);
// For tests: TFile::Read fails once this many more bytes came in (negative: never).
void SimulateReadFailureAfter(long long bytes);

// For tests and fuzzing: whole-file line reads (TStringList, TStringAList and every settings
// reader above them) of a path the source knows take its bytes instead of the disk's. Null,
// the default, reads the disk.
class IFileBytesSource {
public:
    virtual bool GetFileBytes(const CString& path, CStringA& bytes) = 0;

protected:
    ~IFileBytesSource() = default;
};
void SetFileBytesSource(IFileBytesSource* source);
IFileBytesSource* GetFileBytesSource();
