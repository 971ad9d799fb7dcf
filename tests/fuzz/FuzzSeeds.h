#pragma once
// Seed inputs and parser words of the foundation fuzz targets.

#include <string>
#include <vector>

// Wide words as the UTF-16 bytes the wide targets read.
std::vector<std::string> WideTokens(const std::vector<std::wstring>& words);
std::string WideBytes(const std::wstring& text);

std::vector<std::string> ReceiveQueueSeeds();
std::vector<std::string> DecorationSeeds();
std::vector<std::wstring> DecorationTokens();
std::vector<std::string> Iso2022JpSeeds();
std::vector<std::string> RegexSeeds();
std::vector<std::wstring> RegexTokens();
std::vector<std::string> WildcardSeeds();
std::vector<std::string> BmpSeeds();
std::vector<std::string> JpegSeeds();
