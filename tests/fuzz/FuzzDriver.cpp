#include "tests/fuzz/FuzzDriver.h"

#include "tests/common/HeapCheck.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

// Each input's generator is seeded from the run's seed and the iteration alone.
class TRandom {
public:
    explicit TRandom(unsigned long long seed) : state(seed) {}
    unsigned long long Next()
    {
        unsigned long long z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return n ? (size_t)(Next() % n) : 0; }

private:
    unsigned long long state;
};

const char kInteresting[] = "\0\xFF\r\n \t:<>,+-[](){}\\*?!@#%=\"'\x1B\x03\x02\x0F\x16\x1F\x7F\x80";

void Mutate(TRandom& r, std::string& data, const TFuzzTarget& target, const std::vector<std::string>& seeds)
{
    size_t length = data.size();
    size_t at = r.Below(length + 1);
    switch (r.Below(10)) {
    case 0:
        if (length)
            data[r.Below(length)] ^= (char)(1 << r.Below(8));
        break;
    case 1:
        if (length)
            data[r.Below(length)] = (char)r.Below(256);
        break;
    case 2:
        if (length)
            data[r.Below(length)] = kInteresting[r.Below(sizeof kInteresting - 1)];
        break;
    case 3:
        for (size_t n = 1 + r.Below(16); n > 0; n--)
            data.insert(data.begin() + at, (char)r.Below(256));
        break;
    case 4:
        data.erase(at, 1 + r.Below(r.Below(2) ? 8 : 256));
        break;
    case 5: {
        // Repeating a piece many times is what finds work that grows faster than the input.
        size_t from = r.Below(length + 1);
        std::string piece = data.substr(from, 1 + r.Below(64));
        size_t times = r.Below(4) == 0 ? 1 + r.Below(target.maxLength / (piece.size() + 1) + 1) : 1 + r.Below(8);
        std::string run;
        for (size_t i = 0; i < times && run.size() < target.maxLength; i++)
            run += piece;
        data.insert(at, run);
        break;
    }
    case 6:
        if (!target.tokens.empty())
            data.insert(at, target.tokens[r.Below(target.tokens.size())]);
        break;
    case 7:
        if (!seeds.empty()) {
            const std::string& other = seeds[r.Below(seeds.size())];
            data = data.substr(0, at) + other.substr(r.Below(other.size() + 1));
        }
        break;
    case 8:
        data.resize(at);
        break;
    case 9:
        if (length > 1) {
            size_t from = r.Below(length), count = 1 + r.Below(32);
            std::string piece = data.substr(from, count);
            data.replace(r.Below(length), piece.size(), piece);
        }
        break;
    }
}

std::string MakeInput(const TFuzzTarget& target, const std::vector<std::string>& seeds, unsigned long long seed,
                      long long iteration)
{
    TRandom r(seed * 0x100000001B3ull ^ (unsigned long long)iteration);
    std::string data;
    if (seeds.empty() || r.Below(50) == 0) {
        for (size_t n = r.Below(256); n > 0; n--)
            data += (char)r.Below(256);
    } else {
        data = seeds[r.Below(seeds.size())];
    }
    for (size_t rounds = 1 + r.Below(r.Below(4) ? 4 : 24); rounds > 0; rounds--)
        Mutate(r, data, target, seeds);
    if (data.size() > target.maxLength)
        data.resize(target.maxLength);
    return data;
}

// What the failure report needs, set before every input. The crash handler reads it as it stands.
struct TCurrent {
    const char* target = "";
    unsigned long long seed = 0;
    long long iteration = -1;
    const char* source = ""; // a regression file, or "" for a generated input
    const std::string* input = nullptr;
    volatile LONGLONG startTick = 0; // 0 while no input runs
    DWORD timeoutMs = 10000;
    std::string outFolder = ".";
    const char* program = "";
};
TCurrent current;

void Report(const char* kind, unsigned long code)
{
    char path[MAX_PATH];
    if (current.iteration >= 0)
        snprintf(path, sizeof path, "%s\\%s-%s-s%llu-i%lld.bin", current.outFolder.c_str(), kind, current.target,
                 current.seed, current.iteration);
    else
        snprintf(path, sizeof path, "%s\\%s-%s-regression.bin", current.outFolder.c_str(), kind, current.target);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && current.input) {
        DWORD written = 0;
        WriteFile(file, current.input->data(), (DWORD)current.input->size(), &written, nullptr);
        CloseHandle(file);
    }
    printf("FUZZ %s (0x%lx) target=%s seed=%llu iteration=%lld %s bytes=%u input=%s\n", kind, code, current.target,
           current.seed, current.iteration, current.source, current.input ? (unsigned)current.input->size() : 0u, path);
    if (current.iteration >= 0)
        printf("  again: %s --target %s --seed %llu --iteration %lld\n", current.program, current.target, current.seed,
               current.iteration);
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), strcmp(kind, "timeout") == 0 ? 4 : 3);
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info)
{
    Report("crash", info->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

void OnAbort(int) { Report("crash", 0xABu); }

DWORD WINAPI Watchdog(void*)
{
    for (;;) {
        Sleep(50);
        LONGLONG start = current.startTick;
        if (start && (LONGLONG)GetTickCount64() - start > (LONGLONG)current.timeoutMs)
            Report("timeout", current.timeoutMs);
    }
}

void InstallHandlers()
{
    // Room for the handler to run after the stack itself overflowed.
    ULONG guarantee = 64 * 1024;
    SetThreadStackGuarantee(&guarantee);
    SetUnhandledExceptionFilter(OnCrash);
    signal(SIGABRT, OnAbort);
    std::set_terminate([] { Report("crash", 0xE0u); });
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
}

struct TSlowest {
    double ms = 0;
    long long iteration = -1;
    size_t bytes = 0;
    double usPerKb = 0; // the worst rate among inputs of at least 4 KB
    long long rateIteration = -1;
};

double RunOne(const TFuzzTarget& target, const std::string& input)
{
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    current.input = &input;
    current.startTick = (LONGLONG)GetTickCount64();
    QueryPerformanceCounter(&before);
    target.run(input);
    QueryPerformanceCounter(&after);
    current.startTick = 0;
    return 1000.0 * double(after.QuadPart - before.QuadPart) / double(frequency.QuadPart);
}

std::string ReadWholeFile(const std::string& path)
{
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    char chunk[65536];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, f)) > 0;)
        bytes.append(chunk, got);
    fclose(f);
    return bytes;
}

int RunRegressions(const TFuzzTarget& target, const std::string& folder)
{
    std::string pattern = folder + "\\" + target.name + "\\*";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::string input = ReadWholeFile(folder + "\\" + target.name + "\\" + found.cFileName);
        current.iteration = -1;
        current.source = found.cFileName;
        RunOne(target, input);
        count++;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    current.source = "";
    return count;
}

// The fastest of three more runs of one generated input; 0 for none.
double Rerun(const TFuzzTarget& target, const std::vector<std::string>& seeds, unsigned long long seed,
             long long iteration)
{
    if (iteration < 0)
        return 0;
    current.iteration = iteration;
    std::string input = MakeInput(target, seeds, seed, iteration);
    double best = RunOne(target, input);
    for (int i = 0; i < 2; i++)
        best = std::min(best, RunOne(target, input));
    return best;
}

void RunTarget(const TFuzzTarget& target, unsigned long long seed, long long first, long long count,
               const std::string& regressions)
{
    current.target = target.name;
    current.seed = seed;
    int regressionCount = regressions.empty() ? 0 : RunRegressions(target, regressions);
    std::vector<std::string> seeds = target.seeds ? target.seeds() : std::vector<std::string>();
    TSlowest slowest;
    for (long long i = first; i < first + count; i++) {
        current.iteration = i;
        std::string input = MakeInput(target, seeds, seed, i);
        double ms = RunOne(target, input);
        if (ms > slowest.ms)
            slowest = {ms, i, input.size(), slowest.usPerKb, slowest.rateIteration};
        if ((i - first + 1) % 100000 == 0) {
            printf("%-20s %lld inputs so far\n", target.name, i - first + 1);
            fflush(stdout);
        }
        double usPerKb = input.size() >= 4096 ? ms * 1000.0 / (input.size() / 1024.0) : 0;
        if (usPerKb > slowest.usPerKb) {
            slowest.usPerKb = usPerKb;
            slowest.rateIteration = i;
        }
    }
    // On a busy machine one slow run may be the scheduler's doing: the slowest are timed again.
    double again = Rerun(target, seeds, seed, slowest.iteration);
    double rateAgain = Rerun(target, seeds, seed, slowest.rateIteration);
    size_t rateBytes = slowest.rateIteration >= 0 ? MakeInput(target, seeds, seed, slowest.rateIteration).size() : 0;
    printf("%-20s %lld inputs (seed %llu, from %lld), %d regression files, no failure; slowest %.2f ms "
           "(iteration %lld, %u bytes; %.2f ms again), worst rate %.1f us/KB (iteration %lld; %.1f us/KB again)\n",
           target.name, count, seed, first, regressionCount, slowest.ms, slowest.iteration, (unsigned)slowest.bytes,
           again, slowest.usPerKb, slowest.rateIteration, rateBytes ? rateAgain * 1000.0 / (rateBytes / 1024.0) : 0);
    fflush(stdout);
}

bool Wanted(const std::string& list, const char* name)
{
    if (list.empty())
        return true;
    std::string padded = "," + list + ",";
    return padded.find("," + std::string(name) + ",") != std::string::npos;
}

std::wstring scratch;

} // namespace

void FuzzCheck(bool condition, const char* what)
{
    if (condition)
        return;
    printf("FUZZ check failed: %s\n", what);
    Report("wrong", 0);
}

std::wstring FuzzFolder()
{
    if (scratch.empty()) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        scratch = std::wstring(temp) + L"kvfuzz-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(scratch.c_str(), nullptr);
    }
    return scratch;
}

void WriteFuzzFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    FuzzCheck(file != INVALID_HANDLE_VALUE, "scratch file could not be written");
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFuzzFile(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

std::wstring WideOf(const std::string& bytes)
{
    std::wstring text(bytes.size() / 2, L'\0');
    memcpy(&text[0], bytes.data(), text.size() * 2);
    return text;
}

int RunFuzzMain(int argc, char** argv, const std::vector<TFuzzTarget>& targets)
{
    std::string only, regressions, inputFile;
    unsigned long long seed = 1;
    long long first = 0, count = 1000;
    current.program = argv[0];
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--list") {
            for (const TFuzzTarget& t : targets)
                printf("%s\n", t.name);
            return 0;
        }
        if (arg == "--target")
            only = value;
        else if (arg == "--seed")
            seed = strtoull(value, nullptr, 10);
        else if (arg == "--count")
            count = atoll(value);
        else if (arg == "--iteration")
            first = atoll(value), count = 1;
        else if (arg == "--from")
            first = atoll(value);
        else if (arg == "--timeout")
            current.timeoutMs = (DWORD)atol(value);
        else if (arg == "--regressions")
            regressions = value;
        else if (arg == "--out")
            current.outFolder = value;
        else if (arg == "--input")
            inputFile = value;
        else {
            printf("unknown option %s\n", arg.c_str());
            return 2;
        }
        i++;
    }
    // A use of freed memory that an input leads to should fault where it happens.
    std::string wrongHeap = HeapMismatch();
    if (!wrongHeap.empty()) {
        printf("FUZZ heap: %s\n", wrongHeap.c_str());
        return 1;
    }
    InstallHandlers();
    for (const TFuzzTarget& target : targets) {
        if (!Wanted(only, target.name))
            continue;
        if (!inputFile.empty()) {
            current.target = target.name;
            current.source = inputFile.c_str();
            std::string input = ReadWholeFile(inputFile);
            printf("%s: %s ran in %.2f ms\n", target.name, inputFile.c_str(), RunOne(target, input));
            continue;
        }
        RunTarget(target, seed, first, count, regressions);
    }
    if (!scratch.empty()) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((scratch + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileW((scratch + found.cFileName).c_str());
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(scratch.c_str());
    }
    return 0;
}
