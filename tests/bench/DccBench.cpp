// File transfer over loopback: a 64 MB file from one DCC manager to another in the same message
// loop, no speed cap, with the default 4 KB send block and with larger ones.

#include "dccmanager/DCCManager.h"
#include "settings/Preference.h"
#include "tests/bench/BenchClock.h"
#include "tests/common/MessagePump.h"
#include "tests/common/TempFolder.h"

#include <string>

namespace {

const long long kFileSize = 64LL * 1024 * 1024;

bool WriteTestFile(const CString& path)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string block(1024 * 1024, '\0');
    unsigned seed = 1;
    for (char& c : block) {
        seed = seed * 1103515245u + 12345u;
        c = (char)(seed >> 16);
    }
    bool ok = true;
    for (long long written = 0; ok && written < kFileSize; written += (long long)block.size()) {
        DWORD count = 0;
        ok = WriteFile(file, block.data(), (DWORD)block.size(), &count, nullptr) && count == block.size();
    }
    CloseHandle(file);
    return ok;
}

bool SameFiles(const CString& a, const CString& b)
{
    HANDLE first = CreateFileW(a, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE second = CreateFileW(b, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    bool same = first != INVALID_HANDLE_VALUE && second != INVALID_HANDLE_VALUE;
    std::string x(1 << 20, '\0'), y(1 << 20, '\0');
    while (same) {
        DWORD n = 0, m = 0;
        same = ReadFile(first, x.data(), (DWORD)x.size(), &n, nullptr) &&
               ReadFile(second, y.data(), (DWORD)y.size(), &m, nullptr) && n == m && memcmp(x.data(), y.data(), n) == 0;
        if (n == 0)
            break;
    }
    if (first != INVALID_HANDLE_VALUE)
        CloseHandle(first);
    if (second != INVALID_HANDLE_VALUE)
        CloseHandle(second);
    return same;
}

void RunTransfer(const CString& source, int blockKB)
{
    TTempFolder downloads;
    TPreference preference;
    preference.DCCRootDir = downloads.path;
    preference.InstantSend = true;
    preference.EnableMaxOutgoingBandwidth = false;
    preference.EnableSendBufferSize = blockKB != 4;
    preference.SendBufferSize = blockKB;
    preference.HideFileInReceiving = false;
    TDCCManager sender, receiver;
    sender.SetPreference(&preference);
    receiver.SetPreference(&preference);

    sender.AddSendItem(nullptr, L"bob", source);
    TDCCSendItem* send = sender.GetSendItems().back();
    if (!PumpMessagesUntil([&] { return send->GetState() == DCC_STATE_RESUMING; }, 5000)) {
        printf("send did not listen: %ls\n", send->GetErrorMessage().GetString());
        return;
    }
    TBenchClock clock;
    receiver.AddReceiveItem(nullptr, 0, true, L"alice", L"file.bin", send->GetPort(), send->GetSize(),
                            TInetAddress(htonl(INADDR_LOOPBACK)));
    TDCCReceiveItem* receive = receiver.GetReceiveItems().back();
    bool done = PumpMessagesUntil(
        [&] { return receive->GetState() == DCC_STATE_COMPLETE || receive->GetState() == DCC_STATE_ERROR; }, 300000);
    double seconds = clock.Seconds();
    char what[96];
    snprintf(what, sizeof what, "DCC loopback 64 MB, %d KB send block", blockKB);
    ReportRate(what, (double)receive->GetPosition() / (1024.0 * 1024.0), "MB", seconds);
    if (!done || receive->GetState() != DCC_STATE_COMPLETE)
        printf("  transfer did not complete: %ls\n", receive->GetErrorMessage().GetString());
    else if (!SameFiles(source, receive->GetFullPath()))
        printf("  received file differs from the source\n");
}

} // namespace

int main()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    TTempFolder folder;
    CString source = folder.File(L"source.bin");
    if (!WriteTestFile(source)) {
        printf("cannot write the source file\n");
        return 1;
    }
    for (int blockKB : {4, 64, 1024})
        RunTransfer(source, blockKB);
    WSACleanup();
    return 0;
}
