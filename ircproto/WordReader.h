#pragma once
// Blank-separated words of protocol text, read by position: a word ends at a blank (0x20) only,
// and the blanks after it go with it. Cutting each word off a copy would copy the whole remainder
// per word, which one long line from a server turns into a freeze.

template <typename TString> class TWordReader {
public:
    explicit TWordReader(const TString& text) : text(text) {}

    bool AtEnd() const { return pos >= text.GetLength(); }
    // The character the next word starts with; only when not AtEnd.
    auto Peek() const { return text[pos]; }

    // "" at the end, as cutting from an empty text gives.
    TString Next()
    {
        SkipBlanks();
        int start = pos;
        while (pos < text.GetLength() && text[pos] != ' ')
            pos++;
        int end = pos;
        SkipBlanks();
        return text.Mid(start, end - start);
    }

    TString Rest() const { return text.Mid(pos); }
    void Skip(int count) { pos += count; }

private:
    void SkipBlanks()
    {
        while (pos < text.GetLength() && text[pos] == ' ')
            pos++;
    }

    const TString text;
    int pos = 0;
};
