#pragma once
// A themed draw context and a memory canvas for the layout and painting tests: every font is
// the same monospaced face, each role with its own colour, so pixels tell the roles apart.

#include "log/AddressFinder.h"
#include "log/LogLine.h"
#include "settings/Font.h"
#include "settings/LogKeyword.h"
#include "settings/ViewConfig.h"

#include "tests/common/Screenshot.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

const COLORREF kLineColor = RGB(0, 0, 0);
const COLORREF kTimeColor = RGB(96, 96, 96);
const COLORREF kNickColor = RGB(0, 0, 160);
const COLORREF kUrlColor = RGB(0, 96, 192);
const COLORREF kKeywordColor = RGB(200, 0, 120);
const COLORREF kBackColor = RGB(255, 255, 255);

class LogDrawFixture : public ::testing::Test {
protected:
    LogDrawFixture()
    {
        ApplyTheme(false);
        theme.selectTextColor = RGB(255, 255, 255);
        theme.selectBackColor = RGB(40, 80, 200);
        theme.hilightBackColor = RGB(160, 255, 176);
        back.color = kBackColor;
        context.textTheme = &theme;
        context.backTheme = &back;
        context.keyword = &keyword;
        context.addressFinder = &finder;
        context.indent = 16;
        SetTextAlign(canvas.dc, TA_BOTTOM);
    }

    // The theme, its line fonts upright or italic.
    void ApplyTheme(bool italicLines)
    {
        TViewLogTextConfig config;
        auto set = [](TViewFont& font, COLORREF color) {
            font.family = L"IPAGothic";
            font.size = 120;
            font.color = color;
        };
        for (TViewFont& font : config.lineFonts) {
            set(font, kLineColor);
            font.italic = italicLines;
        }
        for (TViewFont& font : config.nickFonts)
            set(font, kNickColor);
        set(config.timeFont, kTimeColor);
        set(config.channelFont, kTimeColor);
        set(config.urlFont, kUrlColor);
        set(config.hostnameFont, kUrlColor);
        set(config.keywordFont, kKeywordColor);
        config.useUrlFont = true;
        theme.Apply(config);
        context.layoutGeneration++;
    }

    TLogLine& AddLine(const CString& body, const CString& timeText = L"", int width = 580)
    {
        TLogLineData data;
        data.timeText = timeText;
        data.body = body;
        lines.push_back(std::make_unique<TLogLine>(&context));
        lines.back()->model.Compose(data, context, true);
        lines.back()->Layout(canvas.dc, width);
        return *lines.back();
    }

    // Paints the line at the left edge from y and returns the y below it.
    int Paint(TLogLine& line, int y, int selStart = -1, int selEnd = -1)
    {
        RECT rect = {0, y, canvas.width, canvas.height};
        line.Paint(canvas.dc, 0, selStart, selEnd, rect);
        return y + line.composition.GetRowsHeight(0, line.GetRowCount());
    }

    // Width of a text in the line font, as the layout measures it.
    int TextWidth(const CString& text)
    {
        HGDIOBJ old = SelectObject(canvas.dc, theme.lineFonts[0].handle);
        SIZE size = {};
        GetTextExtentPoint32W(canvas.dc, text, text.GetLength(), &size);
        SelectObject(canvas.dc, old);
        return size.cx;
    }

    // The rectangle of the characters [from, to) of row 0 of a line painted at the top y.
    RECT CharRect(TLogLine& line, int y, int from, int to)
    {
        const TLogRow& row = line.GetRow(0);
        int x = TextWidth(line.model.text.Left(from));
        int right = TextWidth(line.model.text.Left(to));
        return RECT{x, y, right, y + row.height};
    }

    TLogTextTheme theme;
    TLogBkTheme back;
    TLogKeyword keyword;
    TLogAddressFinder finder;
    TLogDrawContext context;
    TMemoryCanvas canvas{600, 420};
    std::vector<std::unique_ptr<TLogLine>> lines;
};
