#include "irc/ReceiveMessage.h"

#include "irc/IRCNames.h"

#include <climits>

namespace {

// Words end at blanks (0x20) only; the blanks after a word are eaten with it.
class TWordCutter {
public:
    explicit TWordCutter(const CStringA& text) : m_text(text.GetString()), m_len(text.GetLength()) {}

    bool AtEnd() const { return m_pos >= m_len; }
    char Peek() const { return m_text[m_pos]; }

    CStringA Cut()
    {
        SkipBlanks();
        int start = m_pos;
        while (m_pos < m_len && m_text[m_pos] != ' ')
            m_pos++;
        int end = m_pos;
        SkipBlanks();
        return CStringA(m_text + start, end - start);
    }

    CStringA Rest() const { return CStringA(m_text + m_pos, m_len - m_pos); }
    void Skip(int n) { m_pos += n; }

private:
    void SkipBlanks()
    {
        while (m_pos < m_len && m_text[m_pos] == ' ')
            m_pos++;
    }

    const char* m_text;
    int m_len;
    int m_pos = 0;
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A hostile server may send any number of digits; the value stops at INT_MAX.
int ReadLeadingDigits(const CStringA& word)
{
    long long value = 0;
    for (int i = 0; i < word.GetLength() && IsDigit(word[i]); i++) {
        value = value * 10 + (word[i] - '0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return (int)value;
}

void MakeAsciiUpper(CStringA& word)
{
    for (int i = 0; i < word.GetLength(); i++)
        if (word[i] >= 'a' && word[i] <= 'z')
            word.SetAt(i, (char)(word[i] - 32));
}

} // namespace

void TIRCReceiveMessageA::Parse()
{
    prefix.Empty();
    nick.Empty();
    user.Empty();
    host.Empty();
    command.Empty();
    numeric = 0;
    params.clear();

    CStringA line(rawLine);
    TWordCutter cutter(line);
    CStringA word = cutter.Cut();
    if (word.IsEmpty())
        return;
    if (word[0] == ':') {
        prefix = word.Mid(1);
        SplitNickUserHost(prefix, nick, user, host);
        word = cutter.Cut();
        if (word.IsEmpty())
            return;
    }
    command = word;
    if (IsDigit(command[0]))
        numeric = ReadLeadingDigits(command);
    else
        MakeAsciiUpper(command);

    while (!cutter.AtEnd()) {
        if (cutter.Peek() == ':') {
            cutter.Skip(1);
            params.push_back(cutter.Rest());
            return;
        }
        params.push_back(cutter.Cut());
    }
}

CString TIRCReceiveMessage::GetParam(int index) const
{
    if (index < 0 || index >= (int)params.size())
        return CString();
    return params[index];
}

CString TIRCReceiveMessage::GetParamsFrom(int index) const
{
    if (index < 0)
        index = 0;
    CString joined;
    for (int i = index; i < (int)params.size(); i++) {
        if (i > index)
            joined += L' ';
        joined += params[i];
    }
    return joined;
}
