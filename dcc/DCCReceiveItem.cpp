#include "dcc/DCCReceiveItem.h"

#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "foundation/SafeFileName.h"
#include "res/strings/dcc.h"

#include <algorithm>

namespace {

const wchar_t kIncomplete[] = L"_incomplete_";

// T and E of a name: the part before the last dot, and the last dot with what follows.
void SplitName(const CString& name, CString& title, CString& extension)
{
    int dot = name.ReverseFind(L'.');
    if (dot < 0) {
        title = name;
        extension.Empty();
    } else {
        title = name.Left(dot);
        extension = name.Mid(dot);
    }
}

bool IsDigits(const CString& text)
{
    if (text.IsEmpty())
        return false;
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] < L'0' || text[i] > L'9')
            return false;
    return true;
}

} // namespace

CString MakeSafeReceiveFileName(const CString& name)
{
    CString safe = MakeSafeFileNamePart(name);
    return safe.IsEmpty() ? CString(L"_") : safe;
}

CString MakeReceiveFolder(const CString& folder)
{
    CString result = folder;
    ReplaceInvalidPathChars(result);
    if (result.IsEmpty() || result[result.GetLength() - 1] != L'\\')
        result += L'\\';
    return result;
}

TDCCReceiveItem::TDCCReceiveItem(IDCCReceiveItemListener* listener, TIRCUnit* unit, int protocolMode,
                                 const CString& nick, const CString& folder, const CString& fileName,
                                 const TInetAddress& address, int port, long long size)
    : listener(listener), unit(unit), protocolMode(protocolMode), nick(nick),
      folder(MakeReceiveFolder(folder.IsEmpty() ? GetDesktopFolder() : folder)),
      fileName(MakeSafeReceiveFileName(fileName)), diskFileName(this->fileName), address(address), port(port),
      size(size)
{
    connection.listener = this;
    timer.SetListener(this);
}

TDCCReceiveItem::~TDCCReceiveItem()
{
    connection.listener = nullptr;
    connection.Close();
    CloseFile();
    timer.Stop();
}

void TDCCReceiveItem::StartReceive()
{
    if (state != DCC_STATE_WAITING && state != DCC_STATE_ERROR && state != DCC_STATE_QUEUED &&
        state != DCC_STATE_RESUMING)
        return;
    timer.Stop();
    resuming = false;
    state = DCC_STATE_CONNECTING;
    Connect();
    listener->OnReceiveStarted(this);
}

// The largest unfinished file of this name below the offered size, or empty.
CString TDCCReceiveItem::FindResumeFile(long long& bestSize) const
{
    CString title, extension;
    SplitName(fileName, title, extension);
    const CString prefix = kIncomplete + title;
    CString best;
    bestSize = 0;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW(folder + prefix + L"*" + extension, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            CString name = found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            if (name.GetLength() < prefix.GetLength() + extension.GetLength() ||
                name.Left(prefix.GetLength()).CompareNoCase(prefix) != 0 ||
                name.Right(extension.GetLength()).CompareNoCase(extension) != 0)
                continue;
            CString suffix =
                name.Mid(prefix.GetLength(), name.GetLength() - prefix.GetLength() - extension.GetLength());
            if (!suffix.IsEmpty() && !(suffix[0] == L'_' && IsDigits(suffix.Mid(1))))
                continue;
            TFile candidate;
            if (!candidate.Open(folder + name, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, 0, FILE_ATTRIBUTE_NORMAL))
                continue;
            LARGE_INTEGER length = {};
            if (!GetFileSizeEx(candidate.handle, &length))
                continue;
            if (length.QuadPart < size && length.QuadPart > bestSize) {
                best = name;
                bestSize = length.QuadPart;
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return best;
}

bool TDCCReceiveItem::HasResumeFile() const
{
    long long found;
    return !FindResumeFile(found).IsEmpty();
}

bool TDCCReceiveItem::TryResume()
{
    if (state != DCC_STATE_WAITING && state != DCC_STATE_ERROR && state != DCC_STATE_QUEUED)
        return false;
    resuming = false;
    state = DCC_STATE_RESUMING;
    resumeWait = 0;

    long long bestSize = 0;
    CString best = FindResumeFile(bestSize);
    if (best.IsEmpty()) {
        Fail(LoadResourceString(IDS_DCC_NO_RESUME_FILE));
        return false;
    }
    diskFileName = best;
    listener->RequestResume(this, bestSize);
    timer.Start(1000);
    return true;
}

void TDCCReceiveItem::AcceptResume(long long newPosition)
{
    // The unit checked the position by the same rule; an item keeps its own guard.
    if (state != DCC_STATE_RESUMING || !IsDCCResumePosition(newPosition, size))
        return;
    timer.Stop();
    resuming = true;
    state = DCC_STATE_CONNECTING;
    position = newPosition;
    Connect();
}

void TDCCReceiveItem::Connect()
{
    connection.SetHostName(address.ToString());
    connection.SetPort(port);
    connection.Connect();
}

void TDCCReceiveItem::Abort()
{
    if (state != DCC_STATE_QUEUED && !IsDCCStateActive(state))
        return;
    state = DCC_STATE_ABORTED;
    connection.Close();
    CloseFile();
    timer.Stop();
}

void TDCCReceiveItem::Queue()
{
    if (state == DCC_STATE_WAITING || state == DCC_STATE_ERROR)
        state = DCC_STATE_QUEUED;
}

void TDCCReceiveItem::SetFolder(const CString& newFolder)
{
    if (state != DCC_STATE_WAITING && state != DCC_STATE_ERROR && state != DCC_STATE_QUEUED)
        return;
    folder = MakeReceiveFolder(newFolder.IsEmpty() ? GetDesktopFolder() : newFolder);
    listener->OnReceiveItemChanged(this);
}

void TDCCReceiveItem::SetFileName(const CString& name)
{
    if (state != DCC_STATE_WAITING && state != DCC_STATE_ERROR && state != DCC_STATE_QUEUED)
        return;
    fileName = MakeSafeReceiveFileName(name);
    diskFileName = fileName;
    listener->OnReceiveItemChanged(this);
}

void TDCCReceiveItem::SetNick(const CString& newNick)
{
    if (state != DCC_STATE_COMPLETE && state != DCC_STATE_ABORTED)
        nick = newNick;
}

int TDCCReceiveItem::GetRemainingSeconds() const
{
    return TDCCSpeedSamples::GetRemainingSeconds(size - position, GetSpeed());
}

CString TDCCReceiveItem::GetStateText(int state)
{
    static const UINT texts[] = {IDS_DCC_RECEIVE_WAITING,   IDS_DCC_RECEIVE_ERROR,      IDS_DCC_RECEIVE_ABORTED,
                                 IDS_DCC_RECEIVE_QUEUED,    IDS_DCC_RECEIVE_CONNECTING, IDS_DCC_RECEIVE_RESUMING,
                                 IDS_DCC_RECEIVE_RECEIVING, IDS_DCC_RECEIVE_COMPLETE};
    if (state < 0 || state > DCC_STATE_COMPLETE)
        return LoadResourceString(IDS_DCC_RECEIVE_WAITING);
    return LoadResourceString(texts[state]);
}

CString TDCCReceiveItem::GetRemainingText() { return LoadResourceString(IDS_DCC_REMAINING_SECONDS); }

bool TDCCReceiveItem::CreateTemporaryFile()
{
    CreateFolderTree(folder);
    CString title, extension;
    SplitName(fileName, title, extension);
    DWORD attributes = listener->GetHideIncompleteFiles(this) ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
    for (int attempt = -1; attempt < 100; attempt++) {
        CString name;
        if (attempt < 0)
            name = kIncomplete + fileName;
        else
            name.Format(L"%s%s_%02d%s", kIncomplete, title.GetString(), attempt, extension.GetString());
        if (file.Open(folder + name, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, 0, attributes)) {
            diskFileName = name;
            return true;
        }
    }
    return false;
}

void TDCCReceiveItem::CloseFile()
{
    if (!file.IsOpen())
        return;
    SetEndOfFile(file.handle);
    bool empty = file.Seek(0) == 0;
    file.Close();
    const CString path = folder + diskFileName;
    if (empty) {
        DeleteFileW(path);
        return;
    }
    if (state != DCC_STATE_COMPLETE) {
        if (!listener->GetHideIncompleteFiles(this))
            SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
        return;
    }
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    CString title, extension;
    SplitName(fileName, title, extension);
    for (int number = -1; number < 10000; number++) {
        CString name = fileName;
        if (number >= 0)
            name.Format(L"%s_%02d%s", title.GetString(), number, extension.GetString());
        if (PathExists(folder + name))
            continue;
        if (MoveFileW(path, folder + name)) {
            fileName = diskFileName = name;
            return;
        }
    }
}

void TDCCReceiveItem::Fail(const CString& text)
{
    state = DCC_STATE_ERROR;
    errorText = text;
    connection.Close();
    CloseFile();
    timer.Stop();
}

void TDCCReceiveItem::FailAndReport(const CString& text)
{
    Fail(text);
    listener->OnReceiveFailed(this);
}

void TDCCReceiveItem::OnConnect(TTCPClient*)
{
    if (state != DCC_STATE_CONNECTING)
        return;
    bool opened;
    if (resuming) {
        opened = file.Open(folder + diskFileName, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, 0, 0);
        LARGE_INTEGER distance = {};
        distance.QuadPart = position;
        if (opened && !SetFilePointerEx(file.handle, distance, nullptr, FILE_BEGIN)) {
            file.Close();
            opened = false;
        }
    } else {
        opened = CreateTemporaryFile();
        position = 0;
    }
    if (!opened) {
        FailAndReport(LoadResourceString(IDS_DCC_CANNOT_OPEN_FILE));
        return;
    }
    state = DCC_STATE_TRANSFERRING;
    secondBytes = 0;
    speed.Clear();
    timer.Start(1000);
}

void TDCCReceiveItem::OnReceive(TTCPClient*)
{
    if (state != DCC_STATE_TRANSFERRING)
        return;
    char block[BlockSize];
    long long remaining = size - position;
    bool wrote = false;
    for (;;) {
        int n = (int)std::min<long long>(remaining, BlockSize);
        n = std::min(n, connection.GetReceivedSize());
        if (n <= 0)
            break;
        connection.PeekReceived(block, n);
        connection.DiscardReceived(n);
        DWORD written = 0;
        if (!WriteFile(file.handle, block, (DWORD)n, &written, nullptr) || written != (DWORD)n) {
            FailAndReport(LoadResourceString(IDS_DCC_CANNOT_WRITE_FILE));
            return;
        }
        position += n;
        secondBytes += n;
        remaining -= n;
        wrote = true;
    }
    // Every byte is on disk before the last acknowledgement goes: a send that fails then must not
    // turn the finished file into a failure as well.
    const bool complete = position >= size;
    if (complete)
        state = DCC_STATE_COMPLETE;
    if (wrote && protocolMode < 2) {
        // Only the low 32 bits go back; files over 4 GB wrap.
        unsigned long acknowledged = htonl((unsigned long)(position & 0xFFFFFFFFLL));
        connection.Send(&acknowledged, 4);
    }
    if (complete) {
        connection.Close();
        CloseFile();
        timer.Stop();
        listener->OnReceiveComplete(this);
    }
}

void TDCCReceiveItem::OnClose(TTCPClient*)
{
    if (state != DCC_STATE_CONNECTING && state != DCC_STATE_TRANSFERRING)
        return;
    FailAndReport(LoadResourceString(IDS_DCC_DISCONNECTED));
}

void TDCCReceiveItem::OnError(TTCPClient*, int, CString message)
{
    if (state != DCC_STATE_CONNECTING && state != DCC_STATE_TRANSFERRING)
        return;
    FailAndReport(message);
}

void TDCCReceiveItem::OnTimer(TTimer*)
{
    if (state == DCC_STATE_TRANSFERRING) {
        if (speed.Any() || secondBytes != 0) {
            speed.Add(secondBytes);
            secondBytes = 0;
        }
    } else if (state == DCC_STATE_RESUMING) {
        int timeout = listener->GetResumeTimeout(this);
        if (timeout > 0 && ++resumeWait >= timeout)
            StartReceive();
    }
}
