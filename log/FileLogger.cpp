#include "log/FileLogger.h"

#include "foundation/CodePage.h"
#include "foundation/IrcMarkup.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "foundation/SafeFileName.h"
#include "log/Formatter.h"
#include "log/TimeText.h"
#include "res/resource.h"
#include "settings/Preference.h"

namespace {

const int kOpenAttempts = 100;

// ERROR_SUCCESS, or why the bytes did not all reach the file.
DWORD WriteAll(HANDLE handle, const char* bytes, int count)
{
    DWORD written = 0;
    if (!WriteFile(handle, bytes, (DWORD)count, &written, nullptr))
        return GetLastError();
    // A short write to a disk file leaves no other cause than the space.
    return written == (DWORD)count ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

DWORD WriteAll(HANDLE handle, const CStringA& bytes) { return WriteAll(handle, bytes.GetString(), bytes.GetLength()); }

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Skips the code at s[i] (a colour's numbers with it) as StripControlCodes does; false when
// s[i] is no code.
bool SkipCode(const wchar_t* s, int length, int& i)
{
    wchar_t c = s[i];
    if (c == CODE_COLOR) {
        // One or two digits, then a comma only when a digit follows it, then one or two more.
        if (i + 1 < length && IsDigit(s[i + 1])) {
            i += i + 2 < length && IsDigit(s[i + 2]) ? 2 : 1;
            if (i + 2 < length && s[i + 1] == L',' && IsDigit(s[i + 2]))
                i += i + 3 < length && IsDigit(s[i + 3]) ? 3 : 2;
        }
        return true;
    }
    return c == CODE_BOLD || c == CODE_STOP || c == CODE_REVERSE || c == CODE_UNDERLINE;
}

// UTF-16 up to the first NUL to UTF-8 as WideCharToMultiByte writes it, without the call; -1 at
// an unpaired surrogate, whose replacement is left to the system. With skipCodes the codes are
// left out on the way, as StripControlCodes would; a surrogate is then taken as paired only with
// the unit right after it, and -1 leaves pairs split by codes to the caller too.
int EncodeUtf8(const wchar_t* s, int length, char* out, bool skipCodes)
{
    unsigned char* o = (unsigned char*)out;
    for (int i = 0; i < length; i++) {
        unsigned c = s[i];
        if (c < 0x80) {
            if (c < 0x20) {
                if (c == 0)
                    break;
                if (skipCodes && SkipCode(s, length, i))
                    continue;
            }
            *o++ = (unsigned char)c;
        } else if (c < 0x800) {
            *o++ = (unsigned char)(0xC0 | c >> 6);
            *o++ = (unsigned char)(0x80 | (c & 0x3F));
        } else if (c < 0xD800 || c > 0xDFFF) {
            *o++ = (unsigned char)(0xE0 | c >> 12);
            *o++ = (unsigned char)(0x80 | ((c >> 6) & 0x3F));
            *o++ = (unsigned char)(0x80 | (c & 0x3F));
        } else if (c <= 0xDBFF && i + 1 < length && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
            *o++ = (unsigned char)(0xF0 | c >> 18);
            *o++ = (unsigned char)(0x80 | ((c >> 12) & 0x3F));
            *o++ = (unsigned char)(0x80 | ((c >> 6) & 0x3F));
            *o++ = (unsigned char)(0x80 | (c & 0x3F));
        } else {
            return -1;
        }
    }
    return (int)((char*)o - out);
}

} // namespace

namespace {

// Trailing dots are replaced, not dropped, so "#a." and "#a" keep files of their own. Device
// names are guarded only where the template makes a whole step of them (MakeFileName). Only
// what no file name can hold is cut: a path the system still refuses fails to open and is told.
CString MakeSafeLogNamePart(const CString& name) { return MakeSafeFileNamePiece(name, TTrailingDots::Replaced); }

} // namespace

TFileLogger::TFileLogger() : file(CP_UTF8, true) {}

TFileLogger::~TFileLogger() { Close(); }

void TFileLogger::SetServerName(const CString& name) { serverName = MakeSafeLogNamePart(name); }

void TFileLogger::SetChannelName(const CString& name) { channelName = MakeSafeLogNamePart(name); }

CString TFileLogger::MakeFileName() const
{
    if (!preferences)
        return CString();
    CString root = preferences->LogRootDir.IsEmpty() ? GetDefaultLogFolder() : preferences->LogRootDir;
    if (!IsAbsolutePath(root))
        root = (programFolder.IsEmpty() ? GetProgramFolder() : programFolder) + root;
    ReplaceInvalidPathChars(root);
    if (root.IsEmpty() || root[root.GetLength() - 1] != L'\\')
        root += L'\\';
    const CString* templates[] = {&preferences->UnitLogFile, &preferences->ChannelLogFile, &preferences->TalkLogFile,
                                  &preferences->DCCChatLogFile, &preferences->URLLogFile};
    const CString& pattern = kind >= 0 && kind <= LOGFILE_URL ? *templates[kind] : preferences->ChannelLogFile;
    tm local = {};
    BreakDownLocalTime(clock(nullptr), local);
    CString year, month, day;
    year.Format(L"%04d", local.tm_year + 1900);
    month.Format(L"%02d", local.tm_mon + 1);
    day.Format(L"%02d", local.tm_mday);
    CString name = GuardDevicePathSteps(ExpandTemplate(
        pattern, {{'s', serverName}, {'p', serverName}, {'c', channelName}, {'y', year}, {'m', month}, {'d', day}}));
    CString path = root + name;
    ReplaceDoubleDots(path);
    return path;
}

CStringA TFileLogger::MakeStamp(UINT textId, const wchar_t* separator) const
{
    tm local = {};
    BreakDownLocalTime(clock(nullptr), local);
    CString line =
        L"--------" + FormatTimePattern(L"%Y/%m/%d %H:%M:%S", local) + separator + LoadResourceString(textId);
    return ConvertToCodePage(line, preferences ? preferences->LogCodepage : CP_UTF8);
}

bool TFileLogger::Open()
{
    if (IsOpen())
        return true;
    CString name = MakeFileName();
    if (name.IsEmpty())
        return false;
    CString folder = ExtractFolder(name);
    if (!PathExists(folder))
        CreateFolderTree(folder);
    CString extension = ExtractFileExtension(name);
    CString base = name.Left(name.GetLength() - extension.GetLength());
    CString path = name;
    DWORD error = ERROR_SUCCESS;
    for (int i = 0; i < kOpenAttempts; i++) {
        if (file.Open(path, GENERIC_WRITE, OPEN_ALWAYS, FILE_SHARE_READ,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN))
            break;
        error = GetLastError();
        // Without the folder no other name in it opens either.
        if (error == ERROR_PATH_NOT_FOUND)
            break;
        path.Format(L"%s_%02d%s", base.GetString(), i, extension.GetString());
    }
    if (!IsOpen()) {
        openFailed = true;
        openFailedAt = clock(nullptr);
        Fail(name, error);
        return false;
    }
    openFailed = false;
    LARGE_INTEGER zero = {};
    SetFilePointerEx(file.handle, zero, nullptr, FILE_END);
    currentPath = path;
    openedName = name;
    // A stamp that fails is one line lost; the file stays for the lines after it.
    error = WriteAll(file.handle, MakeStamp(IDS_LOG_FILE_STARTED, L" ") + "\r\n");
    if (error != ERROR_SUCCESS)
        Fail(path, error);
    return true;
}

void TFileLogger::Close()
{
    if (IsOpen()) {
        WriteAll(file.handle, MakeStamp(IDS_LOG_FILE_ENDED, L"") + "\r\n");
        file.Close();
    }
}

void TFileLogger::Enable(bool on)
{
    if (!on)
        Close();
    else if (!enabled)
        openFailed = false;
    enabled = on;
}

void TFileLogger::Fail(const CString& path, DWORD error)
{
    if (failing)
        return;
    // Set first: the listener may write the report into this very log.
    failing = true;
    if (listener)
        listener->OnLogFileFailed(this, path, error);
}

bool TFileLogger::WriteLine(const CString& text)
{
    if (!enabled || !preferences)
        return false;
    if (!IsOpen() && ((openFailed && clock(nullptr) == openFailedAt) || !Open()))
        return false;
    return WriteText(text, true);
}

bool TFileLogger::WriteRawLine(const CString& text)
{
    if (!IsOpen())
        return false;
    return WriteText(text, false);
}

bool TFileLogger::WriteText(const CString& text, bool stripCodes)
{
    UINT codePage = preferences ? preferences->LogCodepage : CP_UTF8;
    DWORD error;
    if (codePage == CP_UTF8) {
        // The usual case: encoded into a buffer kept between lines, then one write.
        int length = text.GetLength();
        char* out = lineBytes.GetBuffer(length * 3 + 2);
        int count = EncodeUtf8(text.GetString(), length, out, stripCodes);
        if (count < 0) {
            const CString* plain = &text;
            if (stripCodes) {
                StripControlCodes(text, plainText);
                plain = &plainText;
                count = EncodeUtf8(plain->GetString(), plain->GetLength(), out, false);
            }
            if (count < 0) {
                length = (int)wcslen(plain->GetString());
                count = WideCharToMultiByte(CP_UTF8, 0, plain->GetString(), length, out, length * 3, nullptr, nullptr);
            }
        }
        out[count] = '\r';
        out[count + 1] = '\n';
        error = WriteAll(file.handle, out, count + 2);
    } else if (stripCodes) {
        StripControlCodes(text, plainText);
        error = WriteAll(file.handle, ConvertToCodePage(plainText, codePage) + "\r\n");
    } else {
        error = WriteAll(file.handle, ConvertToCodePage(text, codePage) + "\r\n");
    }
    if (error == ERROR_SUCCESS) {
        failing = false;
        return true;
    }
    Fail(currentPath, error);
    return false;
}

void TFileLogger::ReopenIfNameChanged()
{
    // A closed file opens under the new name with its next line; a logger switched off stays closed.
    if (!IsOpen())
        return;
    // Compared with the name asked for, not the numbered one a locked file made us take.
    if (MakeFileName() == openedName)
        return;
    Close();
    Open();
}

void TFileLogger::FlushTick()
{
    if (!IsOpen() || !preferences || !preferences->ForceFlushLog)
        return;
    if (++flushCount > preferences->FlushLogTime) {
        FlushFileBuffers(file.handle);
        flushCount = 0;
    }
}
