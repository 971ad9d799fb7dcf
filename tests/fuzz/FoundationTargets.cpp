// Fuzz targets of the foundation parsers: the receive queue, decoration codes and markup,
// ISO-2022-JP, regular expressions, wildcard masks, BMP and JPEG files.

#include "foundation/Image.h"
#include "foundation/IrcMarkup.h"
#include "foundation/Iso2022Jp.h"
#include "foundation/MemoryStream.h"
#include "foundation/Regex.h"
#include "foundation/StringUtils.h"
#include "tests/fuzz/FuzzDriver.h"
#include "tests/fuzz/FuzzSeeds.h"

#include <oniguruma.h>

namespace {

// A plain queue to check the stream against: a string with a moving front.
class TQueueModel {
public:
    void Append(const std::string& bytes) { text += bytes; }
    void Prepend(const std::string& bytes)
    {
        if (front < bytes.size()) {
            size_t room = bytes.size() + Size();
            text = std::string(room, '\0') + text.substr(front);
            front = room;
        }
        front -= bytes.size();
        text.replace(front, bytes.size(), bytes);
        searched = bytes.find('\n') == std::string::npos ? searched + bytes.size() : 0;
    }
    size_t Size() const { return text.size() - front; }
    void Take(size_t n)
    {
        n = std::min(n, Size());
        front += n;
        searched = searched > n ? searched - n : 0;
        if (front > text.size() / 2 && front > 4096) {
            text.erase(0, front);
            front = 0;
        }
    }
    // Offset of the first LF from the front, or npos; each byte is looked at once.
    size_t FindLineEnd()
    {
        size_t lf = text.find('\n', front + searched);
        searched = (lf == std::string::npos ? text.size() : lf) - front;
        return lf == std::string::npos ? lf : lf - front;
    }
    std::string Front(size_t n) const { return text.substr(front, n); }

private:
    std::string text;
    size_t front = 0, searched = 0;
};

// The input is a script of writes and takes, checked against the plain queue.
void FuzzReceiveQueue(const std::string& input)
{
    TMemoryStream queue;
    TQueueModel model;
    size_t pos = 0;
    auto next = [&]() { return pos < input.size() ? (unsigned char)input[pos++] : 0u; };
    while (pos < input.size()) {
        unsigned op = next();
        if (op < 128) {
            size_t n = std::min<size_t>(op * 3 + 1, input.size() - pos);
            FuzzCheck(queue.Write(input.data() + pos, (int)n) == (int)n, "write took fewer bytes");
            model.Append(input.substr(pos, n));
            pos += n;
        } else if (op < 200) {
            size_t lf = model.FindLineEnd();
            CStringA line = queue.ReadLine();
            if (lf == std::string::npos) {
                FuzzCheck(line.IsEmpty(), "a line without a line end");
                continue;
            }
            std::string expected = model.Front(lf);
            for (char& c : expected)
                c = c ? c : ' ';
            if (!expected.empty() && expected.back() == '\r')
                expected.pop_back();
            FuzzCheck(std::string(line.GetString(), line.GetLength()) == expected, "line differs");
            model.Take(lf + 1);
        } else if (op < 230) {
            unsigned n = next();
            queue.Discard((int)n);
            model.Take(n);
        } else if (op < 245) {
            std::string back = input.substr(pos, next() % 16);
            FuzzCheck(queue.Unread(back.data(), (int)back.size()), "unread failed");
            model.Prepend(back);
        } else {
            FuzzCheck(queue.HasLineEnd() == (model.FindLineEnd() != std::string::npos), "line end differs");
        }
        FuzzCheck(queue.GetSize() == (int)model.Size(), "size differs");
    }
}

bool HasDecorationCode(const CString& text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] == CODE_BOLD || text[i] == CODE_COLOR || text[i] == CODE_STOP || text[i] == CODE_REVERSE ||
            text[i] == CODE_UNDERLINE)
            return true;
    return false;
}

void FuzzDecoration(const std::string& input)
{
    CString text(WideOf(input).c_str(), (int)(input.size() / 2));
    CString codes = ConvertMarkupToControlCodes(text);
    ConvertControlCodesToMarkup(text);
    ConvertControlCodesToMarkup(codes);
    FuzzCheck(!HasDecorationCode(StripControlCodes(codes)), "codes left after stripping");
}

void FuzzIso2022Jp(const std::string& input)
{
    CStringA bytes(input.data(), (int)input.size());
    CString text = DecodeIso2022Jp(bytes);
    DetectJisOrUtf8(bytes);
    JisToShiftJis(bytes);
    EncodeIso2022Jp(text, 0);
    EncodeIso2022Jp(text, 1);
}

// First byte: options; then the pattern up to a NUL unit, then the text searched.
void FuzzRegex(const std::string& input)
{
    if (input.size() < 1)
        return;
    static const unsigned kOptions[] = {ONIG_OPTION_NONE, ONIG_OPTION_IGNORECASE | ONIG_OPTION_DONT_CAPTURE_GROUP,
                                        ONIG_OPTION_DONT_CAPTURE_GROUP, ONIG_OPTION_IGNORECASE};
    std::wstring wide = WideOf(input.substr(1));
    size_t split = wide.find(L'\0');
    CString pattern(wide.c_str(), (int)(split == std::wstring::npos ? wide.size() : split));
    CString text = split == std::wstring::npos ? CString(L"http://example.com/a?b=c x@y.jp 192.168.0.1 ...")
                                               : CString(wide.c_str() + split + 1, (int)(wide.size() - split - 1));
    TRegex regex;
    if (!regex.Compile(pattern, kOptions[(unsigned char)input[0] % 4]))
        return;
    TRegexMatchResult match;
    for (int start = 0; start <= text.GetLength() && regex.Search(match, text, start, -1); start++) {
        int end = match.region->end[0] / 2;
        FuzzCheck(end >= start && end <= text.GetLength(), "match outside the text");
        start = end > start ? end - 1 : start;
    }
}

void FuzzWildcard(const std::string& input)
{
    std::wstring wide = WideOf(input);
    size_t split = wide.find(L'\0');
    std::wstring mask = wide.substr(0, split);
    std::wstring text = split == std::wstring::npos ? L"nick!user@host.example.jp" : wide.substr(split + 1);
    bool matched = MatchWildcard(mask.c_str(), text.c_str());
    // A mask without wildcard or escape characters matches itself.
    if (mask.find_first_of(L"*?\\") == std::wstring::npos && !mask.empty())
        FuzzCheck(MatchWildcard(mask.c_str(), mask.c_str()), "a plain mask does not match itself");
    (void)matched;
}

void LoadPicture(const std::string& input, const wchar_t* name)
{
    std::wstring path = FuzzFolder() + name;
    WriteFuzzFile(path, input);
    TImage image;
    if (TImageLoader().LoadFromFile(path.c_str(), image))
        FuzzCheck(!image.IsEmpty() && image.GetWidth() > 0 && image.GetHeight() > 0, "loaded an empty picture");
    else
        FuzzCheck(image.IsEmpty(), "a failed load changed the picture");
}

void FuzzBmp(const std::string& input) { LoadPicture(input, L"fuzz.bmp"); }

void FuzzJpeg(const std::string& input) { LoadPicture(input, L"fuzz.jpg"); }

} // namespace

int main(int argc, char** argv)
{
    std::vector<TFuzzTarget> targets = {
        {"receive_queue", FuzzReceiveQueue, ReceiveQueueSeeds, {"\r\n", "\n", "\r", std::string(1, '\0')}, 65536},
        {"decoration", FuzzDecoration, DecorationSeeds, WideTokens(DecorationTokens()), 65536},
        {"iso2022jp", FuzzIso2022Jp, Iso2022JpSeeds, {"\x1B$B", "\x1B(B", "\x1B(J", "\x1B(I", "\x0E", "\x0F"}, 16384},
        {"regex", FuzzRegex, RegexSeeds, WideTokens(RegexTokens()), 2048},
        {"wildcard", FuzzWildcard, WildcardSeeds, WideTokens({L"*", L"?", L"\\", L"!", L"@"}), 4096},
        {"bmp", FuzzBmp, BmpSeeds, {}, 16384},
        {"jpeg", FuzzJpeg, JpegSeeds, {"\xFF\xD8", "\xFF\xD9", "\xFF\xC0", "\xFF\xC2", "\xFF\xDA", "\xFF\xDB"}, 16384},
    };
    return RunFuzzMain(argc, argv, targets);
}
