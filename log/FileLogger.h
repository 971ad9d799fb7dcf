#pragma once
// One dated log file of a server, channel, talk, DCC chat or the URL history: named from the
// preference templates, opened on the first line, marked with stamp lines at open and close,
// and reopened under the new name when the date (or channel name) changes.

#include "classlib/String.h"
#include "foundation/File.h"

#include <ctime>

class TFileLogger;
class TPreference;

enum TLogFileKind {
    LOGFILE_SERVER = 0,
    LOGFILE_CHANNEL = 1,
    LOGFILE_TALK = 2,
    LOGFILE_DCCCHAT = 3,
    LOGFILE_URL = 4,
};

class IFileLoggerListener {
public:
    // Once per run of failed lines, with the system's error code: a line written again ends the
    // run, so the next failure is told again.
    virtual void OnLogFileFailed(TFileLogger* logger, const CString& path, DWORD error) = 0;

protected:
    ~IFileLoggerListener() = default;
};

class TFileLogger {
public:
    TFileLogger();
    TFileLogger(const TFileLogger&) = delete;
    TFileLogger& operator=(const TFileLogger&) = delete;
    virtual ~TFileLogger();

    // Names a server chooses: always one file name part inside the log folder.
    void SetServerName(const CString& name);
    void SetChannelName(const CString& name);
    CString MakeFileName() const;
    bool Open();
    void Close();
    // Off closes the file and keeps it closed until switched on again.
    void Enable(bool on);
    // False when the line did not reach the file (disabled, or the file failed). Only the lines
    // that fail are lost: a failed write keeps the file for the next line, and a file that could
    // not be opened is tried again by the first line of a later second.
    bool WriteLine(const CString& text);
    bool WriteRawLine(const CString& text);
    void ReopenIfNameChanged();
    // The one-second tick: flushes to disk every "FlushLogTime" ticks when "ForceFlushLog" is on.
    void FlushTick();

    bool IsOpen() const { return file.IsOpen(); }
    // A failure was told and no line has been written since.
    bool HasFailed() const { return failing; }
    HANDLE GetHandle() const { return file.handle; }
    const CString& GetCurrentPath() const { return currentPath; }

    const TPreference* preferences = nullptr;
    IFileLoggerListener* listener = nullptr;
    int kind = LOGFILE_CHANNEL;
    bool enabled = false;
    int flushCount = 0;
    // Base of a relative log root; the program's folder unless set.
    CString programFolder;
    // Tests move the clock; the run-time's time() otherwise.
    time_t (*clock)(time_t*) = time;

private:
    void Fail(const CString& path, DWORD error);
    // Without codes when stripCodes, in the log's code page, with the line end, in one write.
    bool WriteText(const CString& text, bool stripCodes);
    CStringA MakeStamp(UINT textId, const wchar_t* separator) const;

    TTextFile file;
    CString currentPath;
    CString serverName;
    CString channelName;
    // The name the templates gave when the file opened (the file may carry a number after it).
    CString openedName;
    bool failing = false;
    // When opening last failed: lines of the same second are not tried again, so a folder that
    // stays out of reach costs one round of attempts a second, not one a line.
    bool openFailed = false;
    time_t openFailedAt = 0;
    // The line being written, without codes and as bytes; kept to reuse their buffers.
    CString plainText;
    CStringA lineBytes;
};
