#pragma once
// Channel lines for the benchmark programs, and their clock.

#include "classlib/String.h"

#include <windows.h>

#include <vector>

// Distinct bodies, taken in turn: the input stays small, so peak memory is the engine's.
const int kDistinct = 4096;

// Channel talk as it comes: plain chat, colours, URLs, hosts, Japanese and keywords mixed.
inline std::vector<CString> MakeBodies()
{
    const wchar_t* words[] = {L"hello",
                              L"the",
                              L"server",
                              L"\u65e5\u672c\u8a9e",
                              L"\u3053\u3093\u306b\u3061\u306f",
                              L"build",
                              L"works",
                              L"again",
                              L"http://example.org/path/to?x=1",
                              L"irc.example.net",
                              L"10.0.0.1",
                              L"ketroval",
                              L"\x03"
                              L"4,1red\x03",
                              L"\x02"
                              L"bold\x02",
                              L"(smile)",
                              L"\u30c6\u30b9\u30c8\u3067\u3059\u3002",
                              L"https://w.example.com/a_(b)",
                              L"nick:"};
    const int count = sizeof words / sizeof words[0];
    std::vector<CString> bodies;
    unsigned seed = 1;
    for (int i = 0; i < kDistinct; i++) {
        CString body;
        int n = 3 + (int)((seed = seed * 1103515245 + 12345) >> 16) % 14;
        for (int k = 0; k < n; k++) {
            seed = seed * 1103515245 + 12345;
            body += words[(seed >> 16) % count];
            body += L' ';
        }
        bodies.push_back(body);
    }
    return bodies;
}

inline double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) / (double)frequency.QuadPart;
}
