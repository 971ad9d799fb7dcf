#include "tests/fuzz/FuzzSeeds.h"

#include "tests/common/JpegEncoder.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

std::string WideBytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

std::vector<std::string> WideTokens(const std::vector<std::wstring>& words)
{
    std::vector<std::string> tokens;
    for (const std::wstring& word : words)
        tokens.push_back(WideBytes(word));
    return tokens;
}

std::vector<std::string> ReceiveQueueSeeds()
{
    std::string script;
    for (int i = 0; i < 8; i++)
        script += std::string(1, (char)12) + "PRIVMSG #c :hello there\r\n\x01\x02" + "\x90\x90\xD0\x05\xF0";
    return {script, std::string("\x05line\0one\nrest\x90\x90\xE8\x20\xF5\x03"
                                "ab\r\xF8",
                                22)};
}

std::vector<std::wstring> DecorationTokens()
{
    return {L"<bold>", L"<reverse>", L"<underline>", L"<stop>",
            L"<color", L"<color>",   L"<color red>", L"<color red,",
            L",blue>", L"\x02",      L"\x03",        L"\x0304,12",
            L"\x0F",   L"\x16",      L"\x1F",        L"<color fuchsia,ketro>"};
}

std::vector<std::string> DecorationSeeds()
{
    return WideTokens({L"<bold>hi<stop> <color red,blue>x<color Red> <color>y",
                       L"\x02"
                       L"bold\x0F \x03"
                       L"04,12red on blue\x03 \x03"
                       L"99,01z \x16rev\x1F",
                       L"a<b<bold <color red, blue> <color pink,blue>"});
}

std::vector<std::string> Iso2022JpSeeds()
{
    return {"\x1B$B$3$s$K$A$O\x1B(B hello",
            "\x1B(I123\x1B(B\x0E"
            "45\x0F",
            "plain ascii \x1B(J~\x1B(B", "\x1B$@0!\x1B$B4A\x1B(B"};
}

std::vector<std::wstring> RegexTokens()
{
    return {L"[", L"]",   L"(",   L")", L"(?:", L"(?<n>",       L"\\k<n>", L"*",    L"+",          L"?",  L"{2,}",
            L"|", L"\\w", L"\\d", L"^", L"$",   L"[[:alpha:]]", L"&&",     L"(?i)", L"\\x{1F600}", L".*", L"(a|a)*"};
}

std::vector<std::string> RegexSeeds()
{
    std::vector<std::string> seeds;
    for (const wchar_t* pair : {L"(https?|ftp)://[-_.!~*'()a-zA-Z0-9;/?:@&=+$,%#]+\0see http://a.b/c",
                                L"[a-z0-9.-]+\\.(jp|com|net)\0host.example.jp", L"^(\\w+\\s?)*$\0aaaa a",
                                L"[[a-z]&&[^x]]+\0abxc", L"(?<n>a)\\k<n>{2,5}\0aaaaaa"}) {
        std::wstring text(pair, wcslen(pair) + 1 + wcslen(pair + wcslen(pair) + 1));
        seeds.push_back(std::string(1, '\x01') + WideBytes(text));
    }
    return seeds;
}

std::vector<std::string> WildcardSeeds()
{
    return WideTokens({std::wstring(L"*!*@*.example.jp\0nick!user@host.example.jp", 43),
                       std::wstring(L"n?ck!*\0nick!u@h", 15), std::wstring(L"**?*a*\0bbbbbbbbbbbbbbbbbbbbbbab", 31)});
}

namespace {

void Put(std::string& out, unsigned value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        out += (char)(value >> (8 * i));
}

std::string Bmp(int headerSize, int width, int height, int bits, unsigned compression, int colors,
                const std::string& pixels)
{
    std::string info;
    if (headerSize == 12) {
        Put(info, 12, 4), Put(info, width, 2), Put(info, height, 2), Put(info, 1, 2), Put(info, bits, 2);
    } else {
        Put(info, 40, 4), Put(info, width, 4), Put(info, height, 4), Put(info, 1, 2), Put(info, bits, 2);
        Put(info, compression, 4), Put(info, (unsigned)pixels.size(), 4), Put(info, 2835, 4), Put(info, 2835, 4);
        Put(info, colors, 4), Put(info, 0, 4);
    }
    for (int i = 0; i < colors; i++)
        Put(info, compression == BI_BITFIELDS ? (0xF800u >> (5 * i)) : 0x102030u * i, headerSize == 12 ? 3 : 4);
    std::string file = "BM";
    Put(file, (unsigned)(14 + info.size() + pixels.size()), 4), Put(file, 0, 4), Put(file, 14 + info.size(), 4);
    return file + info + pixels;
}

std::string Jpeg(J_COLOR_SPACE space, int components, bool progressive)
{
    return EncodeJpeg(24, 16, space, components, progressive, [&](int y, JSAMPLE* row) {
        for (int x = 0; x < 24 * components; x++)
            row[x] = (JSAMPLE)(x * 7 + y * 13);
    });
}

} // namespace

std::vector<std::string> BmpSeeds()
{
    std::string rows24(2 * 12, '\x40'), rows8(2 * 4, '\x01'), rows1(2 * 4, '\x55');
    std::string rle8("\x03\x01\x02\x02\x00\x00\x00\x03\x01\x02\x03\x00\x00\x01", 14);
    std::string rle4("\x03\x12\x00\x00\x00\x03\x12\x30\x00\x01", 10);
    return {Bmp(40, 3, 2, 24, BI_RGB, 0, rows24),      Bmp(40, 3, -2, 24, BI_RGB, 0, rows24),
            Bmp(40, 3, 2, 8, BI_RGB, 4, rows8),        Bmp(40, 3, 2, 1, BI_RGB, 2, rows1),
            Bmp(40, 3, 2, 8, BI_RLE8, 4, rle8),        Bmp(40, 3, 2, 4, BI_RLE4, 4, rle4),
            Bmp(40, 3, 2, 16, BI_BITFIELDS, 3, rows8), Bmp(40, 3, 2, 32, BI_RGB, 0, rows24 + rows24),
            Bmp(12, 3, 2, 24, BI_RGB, 0, rows24),      Bmp(12, 3, 2, 8, BI_RGB, 4, rows8)};
}

std::vector<std::string> JpegSeeds()
{
    return {Jpeg(JCS_RGB, 3, false), Jpeg(JCS_GRAYSCALE, 1, false), Jpeg(JCS_RGB, 3, true), Jpeg(JCS_CMYK, 4, false)};
}
