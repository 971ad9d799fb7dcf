#pragma once
// A shown log view in a top-level window, with the default theme, the URL finder and keywords,
// driven by real input.

#include "log/AddressFinder.h"
#include "logview/LogView.h"
#include "settings/LogKeyword.h"
#include "settings/ViewConfig.h"
#include "tests/common/Screenshot.h"

#include <gtest/gtest.h>

#include <memory>

class LogViewWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Resizes the frame so the view's client area is width × height.
    void SetViewSize(int width, int height);
    TLogLineData Line(const CString& body, const CString& nickPrefix = CString(), const CString& nick = CString(),
                      int lineType = 0);
    void AddLines(int count, const wchar_t* pattern = L"line %03d");
    // Waits for the view's paint to happen.
    void Settle();
    // Screen point over character ch of a visible line: the left part of the glyph, or with
    // rightPart the right part, where the nearest character edge is the one after it.
    POINT PointOfChar(int line, int ch, bool rightPart = false);
    // Screen point in the middle of a visible display row, at client x.
    POINT PointOfRow(int line, int row, int x);
    RECT ClientRect();
    int ClientWidth() { return ClientRect().right; }
    int ClientHeight() { return ClientRect().bottom; }
    // What the view's client area shows now.
    std::unique_ptr<TMemoryCanvas> CaptureView();
    // What it shows once hidden and shown again: every row drawn anew.
    std::unique_ptr<TMemoryCanvas> CaptureFullRepaint();
    CString ClipboardText();
    void EmptyTheClipboard();

    TViewSettings settings;
    TLogTheme theme;
    TLogAddressFinder finder;
    TLogKeyword keyword;
    CWnd frame;
    TLogView view;
};
