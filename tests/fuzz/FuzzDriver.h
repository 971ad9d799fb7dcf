#pragma once
// Seeded mutation fuzzing shared by every fuzz program. Input n of a run is made from the seed and n
// alone, so any input can be made again; a crash or a time-out writes the input to a file and names
// the target, seed and iteration. Files under regressions/<target>/ run before the random inputs.

#include <windows.h>

#include <string>
#include <vector>

struct TFuzzTarget {
    const char* name;
    // Crashes, or calls FuzzCheck, on a fault; returning is success.
    void (*run)(const std::string& input);
    // Well-formed examples that mutation starts from.
    std::vector<std::string> (*seeds)();
    // Words the parser gives meaning to, spliced in by the mutator.
    std::vector<std::string> tokens;
    size_t maxLength = 4096;
};

int RunFuzzMain(int argc, char** argv, const std::vector<TFuzzTarget>& targets);

// Reports a wrong result like a crash, with the input that caused it.
void FuzzCheck(bool condition, const char* what);

// A scratch folder of this process, ending with a backslash; emptied at exit.
std::wstring FuzzFolder();
void WriteFuzzFile(const std::wstring& path, const std::string& bytes);
std::string ReadFuzzFile(const std::wstring& path);
// Input bytes taken as UTF-16 units, so every unit (lone surrogates too) can occur.
std::wstring WideOf(const std::string& bytes);
