#pragma once
// Lines of fixed-width characters that wrap every `perRow` characters, each row `rowHeight`
// pixels high: enough geometry to check scrolling, selection and search without fonts.

#include "logview/LogViewLines.h"

#include <deque>

class TFakeLogLines : public ILogViewLines {
public:
    int perRow = 10;
    int rowHeight = 10;
    int charWidth = 8;
    int leading = 0;
    std::deque<CString> texts;

    void Add(const CString& text) { texts.push_back(text); }
    void AddMany(int n, const wchar_t* prefix = L"line ")
    {
        for (int i = 0; i < n; i++) {
            CString text;
            text.Format(L"%s%d", prefix, (int)texts.size());
            texts.push_back(text);
        }
    }
    void DropHead(int n) { texts.erase(texts.begin(), texts.begin() + n); }

    int GetLineCount() const override { return (int)texts.size(); }
    const CString& GetLineText(int line) const override { return texts[line]; }
    int GetRowCount(int line) override
    {
        const int length = texts[line].GetLength();
        return length == 0 ? 1 : (length + perRow - 1) / perRow;
    }
    int GetRowHeight(int, int) override { return rowHeight; }
    int GetLineLeading() const override { return leading; }
    int GetRowOfChar(int line, int ch, bool endExclusive) override
    {
        int row = endExclusive || ch == 0 || ch % perRow != 0 ? ch / perRow : ch / perRow - 1;
        const int last = GetRowCount(line) - 1;
        return row > last ? last : row;
    }
    int HitTestLine(int line, int x, int y, int firstRow, bool nearest) override
    {
        const int row = firstRow + y / (rowHeight + leading);
        const int column = (x + (nearest ? charWidth / 2 : 0)) / charWidth;
        int ch = row * perRow + (column > perRow ? perRow : column);
        const int length = texts[line].GetLength();
        return ch > length ? length : ch;
    }
};
