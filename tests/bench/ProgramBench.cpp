// The whole program under load: the real Ketroval2.exe connected to a flood server of this
// benchmark on 127.0.0.1, the channel shown, the channel and server logs on. It prints lines per
// second to the answer of a PING sent after a 100,000-line flood, the working set before and
// after, NAMES bursts of 1,500 and 10,000 members and a 4,000-line JOIN/PART/QUIT storm on the
// shown 10,000-member channel, a 100,000-member channel's NAMES, WHO and 30,000 QUITs with a row
// picked, and how soon typed input, the quit command and the close act while a flood keeps coming.

#include "tests/bench/BenchClock.h"
#include "tests/common/MessagePump.h"
#include "tests/common/Screenshot.h"
#include "tests/common/UserInput.h"
#include "tests/mainframe/ProgramInput.h"
#include "tests/mainframe/ProgramRun.h"

#include "foundation/CodePage.h"

#include <commctrl.h>
#include <psapi.h>
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

const int kFloodLines = 100000;
const char kNick[] = "kvbench";

// One accepted connection: a thread collects what the program sends.
class TPeer {
public:
    explicit TPeer(SOCKET s) : socket(s)
    {
        reader = std::thread([this] { Read(); });
    }
    ~TPeer()
    {
        Close();
        if (reader.joinable())
            reader.join();
    }
    bool Send(const std::string& bytes)
    {
        for (size_t sent = 0; sent < bytes.size();) {
            int n = send(socket, bytes.data() + sent, (int)std::min<size_t>(bytes.size() - sent, 1 << 20), 0);
            if (n <= 0)
                return false;
            sent += n;
        }
        return true;
    }
    // Waits for text received after the previous wait's match.
    bool WaitFor(const std::string& text, DWORD timeoutMs)
    {
        DWORD start = GetTickCount();
        do {
            {
                std::lock_guard<std::mutex> guard(lock);
                size_t found = data.find(text, searched);
                if (found != std::string::npos) {
                    searched = found + text.size();
                    return true;
                }
            }
            Sleep(1);
        } while (GetTickCount() - start < timeoutMs);
        return false;
    }
    void Close()
    {
        if (!closed.exchange(true)) {
            shutdown(socket, SD_BOTH);
            closesocket(socket);
        }
    }

private:
    void Read()
    {
        char buffer[16384];
        for (;;) {
            int n = recv(socket, buffer, sizeof buffer, 0);
            if (n <= 0)
                return;
            std::lock_guard<std::mutex> guard(lock);
            data.append(buffer, (size_t)n);
        }
    }

    SOCKET socket;
    std::thread reader;
    std::mutex lock;
    std::string data;
    size_t searched = 0;
    std::atomic<bool> closed{false};
};

class TListener {
public:
    TListener()
    {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener, (sockaddr*)&address, sizeof address);
        listen(listener, 4);
        int length = sizeof address;
        getsockname(listener, (sockaddr*)&address, &length);
        port = ntohs(address.sin_port);
    }
    ~TListener() { closesocket(listener); }
    std::unique_ptr<TPeer> Accept(DWORD timeoutMs)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(listener, &set);
        timeval wait = {(long)(timeoutMs / 1000), 0};
        if (select(0, &set, nullptr, nullptr, &wait) <= 0)
            return nullptr;
        SOCKET s = accept(listener, nullptr, nullptr);
        return s == INVALID_SOCKET ? nullptr : std::make_unique<TPeer>(s);
    }
    int port = 0;

private:
    SOCKET listener;
};

std::string FloodLine(int i, const char* channel)
{
    char line[512];
    snprintf(line, sizeof line,
             ":user%d!~user@host%d.example.jp PRIVMSG %s :\x03%d,1colour\x03 line %d http://example.com/page?id=%d "
             "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\r\n",
             i % 50, i % 7, channel, i % 16, i, i);
    return line;
}

std::string Flood(int first, int count, const char* channel)
{
    std::string flood;
    flood.reserve((size_t)count * 110);
    for (int i = first; i < first + count; i++)
        flood += FloodLine(i, channel);
    return flood;
}

// Distinct nicks in random order, some with op, half-op and voice prefixes.
std::vector<std::string> MakeNicks(int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::string> nicks;
    const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
    for (int i = 0; i < count; i++) {
        std::string nick;
        int length = 3 + (int)(random() % 6);
        for (int j = 0; j < length; j++)
            nick += letters[random() % (sizeof letters - 1)];
        nick += std::to_string(i);
        nicks.push_back(nick);
    }
    std::shuffle(nicks.begin(), nicks.end(), random);
    return nicks;
}

std::string NamesReply(const std::string& channel, const std::vector<std::string>& nicks)
{
    std::string lines, line;
    for (size_t i = 0; i < nicks.size(); i++) {
        const char* prefix = i % 31 == 0 ? "@" : i % 13 == 0 ? "+" : i % 97 == 0 ? "%" : "";
        line += (line.empty() ? "" : " ") + std::string(prefix) + nicks[i];
        if (line.size() > 380 || i + 1 == nicks.size()) {
            lines += ":bench.local 353 " + std::string(kNick) + " = " + channel + " :" + line + "\r\n";
            line.clear();
        }
    }
    return lines + ":bench.local 366 " + kNick + " " + channel + " :End of NAMES list\r\n";
}

// Bytes of every file under the folder: the logs written.
long long FolderBytes(const CString& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW(folder + L"*", &data);
    long long bytes = 0;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &data)) {
        if (data.cFileName[0] == L'.')
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            bytes += FolderBytes(folder + data.cFileName + L"\\");
        else
            bytes += ((long long)data.nFileSizeHigh << 32) + data.nFileSizeLow;
    }
    ::FindClose(search);
    return bytes;
}

// The caption as the system keeps it; no message reaches the program.
CString TitleText(HWND window)
{
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

size_t WorkingSet(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    size_t bytes = process && GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
    if (process)
        CloseHandle(process);
    return bytes;
}

// The program started, logged in to the benchmark's server and shown the channel.
class TSession {
public:
    bool Start(const char* channel)
    {
        CStringA logRoot = ConvertToUtf8(run.LogFolder());
        run.WriteSettings(L"tree.ini", OneServerTree(listener.port, kNick, "Ketroval bench", channel));
        run.WriteSettings(
            L"preference.ini",
            "[Application]\r\nInstalled=1\r\n[Interface]\r\nPromptOnQuit=0\r\n[Event]\r\nFocusOnJoin=1\r\n"
            "[Log]\r\nEnableChannelLog=1\r\nEnableUnitLog=1\r\nLogRootDir=" +
                std::string(logRoot.GetString()) + "\r\n");
        run.WriteSettings(L"window.ini", "[Main]\r\nLeft=0\r\nTop=0\r\nWidth=1280\r\nHeight=900\r\n");
        // KV_BENCH_PROGRAM names another build of the program to measure, a saved one say.
        if (const char* other = getenv("KV_BENCH_PROGRAM")) {
            CString folder = run.SettingsFolder();
            folder = folder.Left(folder.GetLength() - (int)wcslen(L"users\\default\\settings\\"));
            ::CopyFileW(ConvertFromUtf8(other), folder + L"Ketroval2.exe", FALSE);
        }
        if (!run.Start() || !(main = run.WaitMainWindow(30000)))
            return Fail("the main window did not come");
        peer = listener.Accept(30000);
        if (!peer || !peer->WaitFor("USER ", 20000))
            return Fail("the program did not register");
        peer->Send(":bench.local 001 kvbench :Welcome kvbench\r\n"
                   ":bench.local 005 kvbench PREFIX=(qaohv)~&@%+ CHANTYPES=#& :are supported\r\n"
                   ":bench.local 422 kvbench :No MOTD\r\n");
        if (!peer->WaitFor(std::string("JOIN ") + channel, 20000))
            return Fail("the program did not join");
        Join(channel, {});
        if (!Ping("joined", 20000) || !WaitTitle(channel))
            return Fail("the channel was not shown");
        return true;
    }
    void Join(const std::string& channel, const std::vector<std::string>& nicks)
    {
        peer->Send(":kvbench!kvbench@localhost JOIN :" + channel + "\r\n" +
                   NamesReply(channel, nicks.empty() ? std::vector<std::string>{kNick} : nicks));
    }
    bool Ping(const std::string& token, DWORD timeoutMs)
    {
        peer->Send("PING :" + token + "\r\n");
        return peer->WaitFor(token, timeoutMs);
    }
    bool WaitTitle(const char* channel)
    {
        CString name = ConvertFromUtf8(channel);
        return PumpMessagesUntil([&] { return WindowText(main).Find(name) >= 0; }, 10000);
    }
    // Paints what is pending in the program's windows; returns when they are painted.
    void WaitPainted() { ::RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }
    bool Fail(const char* what)
    {
        printf("  %s\n", what);
        fflush(stdout);
        return false;
    }

    TListener listener;
    TProgramRun run;
    HWND main = nullptr;
    std::unique_ptr<TPeer> peer;
};

void MeasureFlood()
{
    TSession session;
    if (!session.Start("#flood"))
        return;
    size_t before = WorkingSet(session.run.ProcessId());
    std::string flood = Flood(0, kFloodLines, "#flood");
    TBenchClock clock;
    // The topic after the last line shows when the lines are done; the PING answer may wait
    // longer, for flood control on what the program sends.
    std::thread sender(
        [&] { session.peer->Send(flood + ":op!op@bench.local TOPIC #flood :flood-topic\r\nPING :flood-done\r\n"); });
    double shown = -1;
    bool answered = false;
    while (!(answered = session.peer->WaitFor("flood-done", 1)) && clock.Seconds() < 300)
        if (shown < 0 && TitleText(session.main).Find(L"flood-topic") >= 0)
            shown = clock.Seconds();
    double seconds = clock.Seconds();
    sender.join();
    if (!answered) {
        printf("  flood: no PING answer within 300 s\n");
        return;
    }
    if (shown < 0)
        shown = seconds;
    ReportRate("100,000-line flood to the topic in the title", kFloodLines, "lines", shown);
    session.WaitPainted();
    double painted = clock.Seconds();
    size_t after = WorkingSet(session.run.ProcessId());
    ReportRate("100,000-line flood to the PING answer", kFloodLines, "lines", seconds);
    printf("  painted after %.3f s; working set %.1f MB before, %.1f MB after (growth %.1f MB)\n", painted,
           before / 1048576.0, after / 1048576.0, ((double)after - (double)before) / 1048576.0);
    // The program writes its logs as it goes; a little may still wait in its buffers.
    printf("  logs written: %.1f MB\n", FolderBytes(session.run.LogFolder()) / 1048576.0);
    fflush(stdout);
}

struct TListSearch {
    int rows;
    HWND found;
};

BOOL CALLBACK FindMemberList(HWND child, LPARAM param)
{
    auto* search = (TListSearch*)param;
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    DWORD_PTR count = 0;
    if (wcscmp(name, WC_LISTVIEWW) == 0 && ::IsWindowVisible(child) &&
        ::SendMessageTimeoutW(child, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count) &&
        (int)count == search->rows) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// The shown member list holding the rows.
HWND MemberList(HWND main, int rows)
{
    TListSearch search = {rows, nullptr};
    ::EnumChildWindows(main, &FindMemberList, (LPARAM)&search);
    return search.found;
}

// True once the lower half of the window on the screen shows anything but the colour of its
// bottom right corner: a list of thousands of rows painted (part of them painted in the middle
// of the burst counts too), not yet one of a few.
bool LowerHalfPainted(HWND window)
{
    RECT rect;
    ::GetClientRect(window, &rect);
    int width = rect.right - 8, height = rect.bottom / 2 - 8;
    if (width <= 0 || height <= 0)
        return false;
    POINT origin = {0, rect.bottom / 2};
    ::ClientToScreen(window, &origin);
    TMemoryCanvas canvas(width, height);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(canvas.dc, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    return canvas.Count(RECT{0, 0, width, height}, canvas.Pixel(width - 1, height - 1)) < width * height;
}

// Sends the burst and a topic after it, and times it until the title shows that topic (the
// answer to a PING waits for flood control after the commands a join sends), then the paint;
// with member rows given, also until the member list shows them painted.
bool TimeBurst(TSession& session, const char* what, const std::string& channel, const std::string& burst,
               const std::string& token, DWORD limitMs, int memberRows = 0)
{
    CString shown = ConvertFromUtf8(token.c_str());
    TBenchClock clock;
    std::thread sender(
        [&] { session.peer->Send(burst + ":op!op@bench.local TOPIC " + channel + " :" + token + "\r\n"); });
    bool done = false;
    while (!(done = TitleText(session.main).Find(shown) >= 0) && clock.Seconds() * 1000 < limitMs)
        Sleep(1);
    double seconds = clock.Seconds();
    sender.join();
    if (!done) {
        printf("  %-46s not done within %.0f s\n", what, limitMs / 1000.0);
        fflush(stdout);
        return false;
    }
    session.WaitPainted();
    double painted = clock.Seconds();
    printf("  %-46s %8.0f ms to the title, %8.0f ms painted", what, seconds * 1000, painted * 1000);
    if (memberRows > 0) {
        HWND list = MemberList(session.main, memberRows);
        while (list && !LowerHalfPainted(list) && clock.Seconds() * 1000 < limitMs)
            Sleep(1);
        if (list && LowerHalfPainted(list))
            printf(", %6.0f ms member list", clock.Seconds() * 1000);
        else
            printf(", member list not shown");
    }
    printf("\n");
    fflush(stdout);
    return true;
}

void MeasureMembers()
{
    TSession session;
    if (!session.Start("#flood"))
        return;
    for (int count : {1500, 10000}) {
        std::string channel = count == 1500 ? "#mid" : "#big";
        session.peer->Send(":kvbench!kvbench@localhost JOIN :" + channel + "\r\n");
        if (!session.Ping("shown-" + channel, 20000) || !session.WaitTitle(channel.c_str())) {
            printf("  %s was not shown\n", channel.c_str());
            return;
        }
        std::vector<std::string> nicks = MakeNicks(count, (unsigned)count);
        std::string what = "NAMES burst of " + std::to_string(count) + " members, shown";
        // Our own nick joined the channel before the burst.
        if (!TimeBurst(session, what.c_str(), channel, NamesReply(channel, nicks),
                       "names-done-" + std::to_string(count), 120000, count + 1))
            return;
        if (count != 10000)
            continue;
        // A netsplit and its return on the shown channel.
        std::string storm;
        for (int i = 0; i < 1000; i++)
            storm += ":" + nicks[i] + "!u@split.example QUIT :a.example b.example\r\n";
        for (int i = 0; i < 2000; i++)
            storm += ":back" + std::to_string(i) + "!u@return.example JOIN :" + channel + "\r\n";
        for (int i = 1000; i < 2000; i++)
            storm += ":" + nicks[i] + "!u@part.example PART " + channel + " :bye\r\n";
        TimeBurst(session, "storm: 1,000 QUIT, 2,000 JOIN, 1,000 PART", channel, storm, "storm-done", 120000);
    }
}

std::string Thousands(int count) { return std::to_string(count / 1000) + ",000"; }

// A channel of the given size shown with a row picked: the NAMES burst, the WHO that follows
// and a netsplit of three in ten members, each timed until a topic sent after it shows in the
// title.
void MeasureBigChannel(TSession& session, int members)
{
    const std::string channel = "#huge" + std::to_string(members);
    session.peer->Send(":kvbench!kvbench@localhost JOIN :" + channel + "\r\n");
    if (!session.Ping("shown-" + channel, 20000) || !session.WaitTitle(channel.c_str())) {
        printf("  %s was not shown\n", channel.c_str());
        return;
    }
    // Our own nick is the last member the list takes.
    std::vector<std::string> nicks = MakeNicks(members - 1, (unsigned)members);
    std::string what = "NAMES burst of " + Thousands(members) + " members, shown";
    if (!TimeBurst(session, what.c_str(), channel, NamesReply(channel, nicks), "names-" + channel, 300000, members))
        return;
    HWND list = MemberList(session.main, members);
    if (!list) {
        printf("  the member list was not found\n");
        return;
    }
    // The first row, at the list's top left, picked as a user picks it.
    POINT at = {24, 8};
    ::ClientToScreen(list, &at);
    ClickAt(at);
    if (!PumpMessagesUntil([&] { return ::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1; }, 10000))
        printf("  (no row picked)\n");
    std::string who;
    for (size_t i = 0; i < nicks.size(); i++)
        who += ":bench.local 352 kvbench " + channel + " ~u" + std::to_string(i) + " host" + std::to_string(i % 997) +
               ".example bench.local " + nicks[i] + " H" +
               (i % 31 == 0   ? "@"
                : i % 13 == 0 ? "+"
                              : "") +
               " :0 Member " + std::to_string(i) + "\r\n";
    who += ":bench.local 315 kvbench " + channel + " :End of WHO list\r\n";
    what = "WHO of " + Thousands(members) + " members, a row picked";
    if (!TimeBurst(session, what.c_str(), channel, who, "who-" + channel, 300000))
        return;
    std::string split;
    int quits = members * 3 / 10;
    for (int i = 0; i < quits; i++)
        split += ":" + nicks[(size_t)i * 3] + "!u@split.example QUIT :a.example b.example\r\n";
    what = Thousands(quits) + " QUITs, a row picked";
    TimeBurst(session, what.c_str(), channel, split, "split-" + channel, 300000);
    printf("  rows picked after the split: %d of %d\n", (int)::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0),
           (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    fflush(stdout);
}

// Half the size first: the times must grow about linearly.
void MeasureBigChannels()
{
    TSession session;
    if (!session.Start("#flood"))
        return;
    for (int members : {50000, 100000})
        MeasureBigChannel(session, members);
}

// A flood that runs until the program says QUIT or the time is up.
class TEndlessFlood {
public:
    explicit TEndlessFlood(TPeer* peer) : peer(peer)
    {
        thread = std::thread([this] {
            DWORD start = GetTickCount();
            for (int i = 0; !stop && GetTickCount() - start < 120000; i += 2000)
                if (!this->peer->Send(Flood(i, 2000, "#flood")))
                    return;
        });
    }
    ~TEndlessFlood()
    {
        stop = true;
        peer->Close();
        thread.join();
    }

private:
    TPeer* peer;
    std::atomic<bool> stop{false};
    std::thread thread;
};

// The key pressed and let go with the modifiers held, without the wait PressKey adds.
void SendKeys(WORD key, std::initializer_list<WORD> modifiers = {})
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD code, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers)
        add(modifier, false);
    add(key, false);
    add(key, true);
    for (auto it = modifiers.end(); it != modifiers.begin();)
        add(*--it, true);
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
}

// Typing goes key by key through the loop; Return is timed until the server reads the command.
void TypeAndTime(TSession& session, const wchar_t* text, const std::string& command)
{
    TypeText(text);
    TBenchClock clock;
    SendKeys(VK_RETURN);
    bool sent = session.peer->WaitFor(command, 60000);
    printf("  \"%S\" and Return during a flood: %s after %.0f ms\n", text, sent ? "sent" : "nothing sent",
           clock.Seconds() * 1000);
    fflush(stdout);
}

void MeasureInputDuringFlood()
{
    TSession session;
    if (!session.Start("#flood"))
        return;
    HWND input = InputLine(session.main);
    ClickAt(ScreenPointOf(input));
    TEndlessFlood flood(session.peer.get());
    Sleep(2000);
    TypeAndTime(session, L"typed during the flood", "PRIVMSG #flood :typed during the flood");
    TypeAndTime(session, L"/quit", "QUIT");
}

void MeasureCloseDuringFlood()
{
    TSession session;
    if (!session.Start("#flood"))
        return;
    ClickAt(ScreenPointOf(InputLine(session.main)));
    std::unique_ptr<TEndlessFlood> flood = std::make_unique<TEndlessFlood>(session.peer.get());
    Sleep(2000);
    TBenchClock clock;
    SendKeys(VK_F4, {VK_MENU});
    bool quitSent = session.peer->WaitFor("QUIT", 60000);
    double quitAt = clock.Seconds();
    // A server answers QUIT by closing the connection.
    flood.reset();
    int code = session.run.WaitExit(60000);
    printf("  close (Alt+F4) during a flood: QUIT %s after %.0f ms, %s after %.0f ms\n", quitSent ? "sent" : "not sent",
           quitAt * 1000, code == -1 ? "still running" : "exited", clock.Seconds() * 1000);
    fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    std::string only = argc > 1 ? argv[1] : "";
    printf("the real program, channel shown, channel and server logs on:\n");
    fflush(stdout);
    if (only.empty() || only == "flood")
        MeasureFlood();
    if (only.empty() || only == "members")
        MeasureMembers();
    if (only.empty() || only == "big")
        MeasureBigChannels();
    if (only.empty() || only == "input")
        MeasureInputDuringFlood();
    if (only.empty() || only == "close")
        MeasureCloseDuringFlood();
    return 0;
}
