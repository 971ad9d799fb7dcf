#include "ircproto/SendMessage.h"

namespace {

const char kReturnToAscii[] = "\x1b(B";
const int kReturnToAsciiLength = 3;

// A CR, LF or NUL inside a parameter would end the line early and let the rest reach the
// server as a command of its own.
CStringA CutAtLineBreak(const CStringA& text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] == '\r' || text[i] == '\n' || text[i] == '\0')
            return text.Left(i);
    return text;
}

bool IsIso2022Jp(UINT codePage) { return codePage >= 50220 && codePage <= 50222; }

int CutUtf8(const unsigned char* p, int limit)
{
    int cut = limit;
    // Back over at most three continuation bytes to the lead byte of the split character.
    for (int back = 0; back < 3 && cut > 0 && (p[cut] & 0xC0) == 0x80; back++)
        cut--;
    return (p[cut] & 0xC0) == 0x80 ? limit : cut;
}

int CutDoubleByte(const unsigned char* p, int len, int limit, const CPINFO& info)
{
    auto isLead = [&info](unsigned char b) {
        for (int r = 0; r + 1 < MAX_LEADBYTES && info.LeadByte[r]; r += 2)
            if (b >= info.LeadByte[r] && b <= info.LeadByte[r + 1])
                return true;
        return false;
    };
    int i = 0;
    while (i < limit) {
        int step = (isLead(p[i]) && i + 1 < len) ? 2 : 1;
        if (i + step > limit)
            break;
        i += step;
    }
    return i;
}

// Length of the escape sequence at p[i], or 0 when the ESC starts none. The designations in
// use have at most two intermediate bytes (ESC $ ( D).
int EscapeLength(const unsigned char* p, int len, int i)
{
    int j = i + 1;
    while (j < len && j < i + 3 && p[j] >= 0x20 && p[j] <= 0x2F)
        j++;
    if (j == i + 1 || j >= len || p[j] < 0x30 || p[j] > 0x7E)
        return 0;
    return j + 1 - i;
}

int CutIso2022Jp(const unsigned char* p, int len, int limit, bool* closeJis)
{
    // Walk whole characters and escape sequences; a head ending in a shifted set needs
    // ESC ( B after it, so it must end 3 bytes earlier.
    bool doubleByte = false, shifted = false;
    int best = 0;
    bool bestShifted = false;
    int i = 0;
    while (true) {
        int room = shifted ? limit - kReturnToAsciiLength : limit;
        if (i <= room) {
            best = i;
            bestShifted = shifted;
        }
        if (i >= len || i >= limit)
            break;
        int step = 1;
        if (p[i] == 0x1B && (step = EscapeLength(p, len, i)) > 0) {
            // ESC ( B and ESC ( J designate single-byte Roman sets; anything with '$' is a
            // double-byte set; other sets (such as half-width katakana) are single-byte.
            bool isDollar = step >= 3 && p[i + 1] == '$';
            unsigned char final = p[i + step - 1];
            doubleByte = isDollar;
            shifted = isDollar || !(p[i + 1] == '(' && (final == 'B' || final == 'J'));
        } else {
            step = (doubleByte && p[i] >= 0x21 && p[i] <= 0x7E && i + 1 < len) ? 2 : 1;
        }
        i += step;
    }
    *closeJis = bestShifted;
    return best;
}

// The length of line's longest head of at most limit bytes that ends between two characters of
// the code page; *closeJis is set when an ISO-2022-JP head must be followed by ESC ( B, which
// the returned length leaves room for.
int FindCharacterCut(const CStringA& line, int limit, UINT codePage, bool* closeJis)
{
    *closeJis = false;
    int len = line.GetLength();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(line.GetString());
    if (len <= limit)
        return len;
    if (codePage == CP_UTF8)
        return CutUtf8(p, limit);
    if (IsIso2022Jp(codePage))
        return CutIso2022Jp(p, len, limit, closeJis);
    CPINFO info;
    if (codePage != 0 && GetCPInfo(codePage, &info) && info.MaxCharSize == 2)
        return CutDoubleByte(p, len, limit, info);
    return limit;
}

} // namespace

void TIRCSendMessage::Build()
{
    if (built)
        return;
    CStringA word = CutAtLineBreak(command);
    line = word;
    CStringA first = CutAtLineBreak(firstParam);
    CStringA second = CutAtLineBreak(secondParam);
    if (!first.IsEmpty()) {
        line += ' ';
        line += first;
    }
    if (!second.IsEmpty()) {
        line += ' ';
        line += second;
    }
    if (line.GetLength() > kMaxLineBytes) {
        bool closeJis = false;
        line = line.Left(FindCharacterCut(line, kMaxLineBytes, codePage, &closeJis));
        if (closeJis)
            line.Append(kReturnToAscii, kReturnToAsciiLength);
    }
    line += "\r\n";

    CStringA upper(word);
    for (int i = 0; i < upper.GetLength(); i++)
        if (upper[i] >= 'a' && upper[i] <= 'z')
            upper.SetAt(i, (char)(upper[i] - 32));
    if (upper == "PRIVMSG" || upper == "NOTICE")
        penalty += line.GetLength() / 100;
    if (penalty > kMaxPenalty)
        penalty = kMaxPenalty;
    built = true;
}
