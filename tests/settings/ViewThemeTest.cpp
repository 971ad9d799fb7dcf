#include "settings/Config.h"
#include "settings/ViewConfig.h"

#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PictureFiles.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// A memory canvas of 32-bit top-down pixels to draw backgrounds on.
class TCanvas {
public:
    TCanvas(int width, int height) : width(width), height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~TCanvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    bool IsPicture(int x, int y) const
    {
        return (bits[y * width + x] & 0xFF0000) > 0x800000 && (bits[y * width + x] & 0xFF) < 0x80;
    }
    bool IsFill(int x, int y) const
    {
        return (bits[y * width + x] & 0xFF) > 0x80 && (bits[y * width + x] & 0xFF0000) < 0x800000;
    }
    // Bounding box of the picture's pixels; empty when none.
    RECT PictureBox(bool& anyFill) const
    {
        RECT box = {width, height, 0, 0};
        anyFill = false;
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                anyFill = anyFill || IsFill(x, y);
                if (IsPicture(x, y)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
            }
        if (box.right == 0)
            box = RECT{0, 0, 0, 0};
        return box;
    }

    int width, height;
    HDC dc;

private:
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* bits = nullptr;
};

class LogBackgroundTest : public ::testing::Test {
protected:
    // Draws a red picture of iw × ih on a blue background of w × h with the style.
    RECT DrawBox(int style, int iw, int ih, int w, int h, bool& anyFill)
    {
        CString name;
        name.Format(L"red%dx%d.bmp", iw, ih);
        WriteBmp(temp.File(name), iw, ih, [](int, int) { return RGB(255, 0, 0); });
        TViewBackground setting = {RGB(0, 0, 255), name, style};
        TLogBkTheme theme;
        theme.Apply(setting, temp.path, temp.path);
        EXPECT_FALSE(theme.picture.IsEmpty());
        TCanvas canvas(w, h);
        theme.Draw(canvas.dc, RECT{0, 0, w, h});
        return canvas.PictureBox(anyFill);
    }

    TTempFolder temp;
};

void ExpectBox(const RECT& box, const RECT& expected, int style)
{
    EXPECT_EQ(box.left, expected.left) << "style " << style;
    EXPECT_EQ(box.top, expected.top) << "style " << style;
    EXPECT_EQ(box.right, expected.right) << "style " << style;
    EXPECT_EQ(box.bottom, expected.bottom) << "style " << style;
}

TEST_F(LogBackgroundTest, NaturalSizePlacements)
{
    bool fill = false;
    ExpectBox(DrawBox(200, 100, 50, 301, 201, fill), {100, 75, 200, 125}, 200);
    EXPECT_TRUE(fill);
    const RECT expected[] = {{0, 20, 40, 40}, {60, 20, 100, 40}, {30, 0, 70, 20}, {30, 40, 70, 60},
                             {0, 0, 40, 20},  {60, 0, 100, 20},  {0, 40, 40, 60}, {60, 40, 100, 60}};
    for (int i = 0; i < 8; i++) {
        ExpectBox(DrawBox(201 + i, 40, 20, 100, 60, fill), expected[i], 201 + i);
        EXPECT_TRUE(fill);
    }
}

TEST_F(LogBackgroundTest, TilesStretchAndFill)
{
    bool fill = false;
    ExpectBox(DrawBox(100, 64, 64, 100, 100, fill), {0, 0, 100, 100}, 100);
    EXPECT_FALSE(fill);
    ExpectBox(DrawBox(101, 40, 20, 100, 60, fill), {0, 0, 100, 20}, 101);
    EXPECT_TRUE(fill);
    ExpectBox(DrawBox(102, 40, 20, 100, 60, fill), {0, 0, 40, 60}, 102);
    EXPECT_TRUE(fill);
    ExpectBox(DrawBox(300, 40, 20, 100, 60, fill), {0, 0, 100, 60}, 300);
    EXPECT_FALSE(fill);
    for (int style : {0, 99, 209, 310, -1}) {
        ExpectBox(DrawBox(style, 40, 20, 100, 60, fill), {0, 0, 0, 0}, style);
        EXPECT_TRUE(fill);
    }
}

// Copies of the picture are laid from the area's top left corner; the row of 101 and the
// column of 102 along the window's edges.
TEST_F(LogBackgroundTest, TilesAreLaidFromTheCorner)
{
    WriteBmp(temp.File(L"dot.bmp"), 3, 2,
             [](int x, int y) { return x == 0 && y == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
    const struct {
        int style;
        RECT area;
        std::vector<POINT> dots, others;
    } cases[] = {
        {100, {0, 4, 10, 9}, {{0, 4}, {3, 4}, {9, 4}, {0, 6}, {9, 8}}, {{1, 4}, {0, 5}, {4, 6}}},
        {101, {0, 0, 10, 9}, {{0, 0}, {3, 0}, {9, 0}}, {{1, 0}, {0, 2}, {0, 6}}},
        {102, {0, 0, 10, 9}, {{0, 0}, {0, 2}, {0, 8}}, {{0, 1}, {3, 0}, {3, 2}}},
    };
    for (const auto& c : cases) {
        TLogBkTheme theme;
        theme.Apply({RGB(0, 0, 255), L"dot.bmp", c.style}, temp.path, temp.path);
        TCanvas canvas(10, 9);
        theme.Draw(canvas.dc, c.area);
        for (POINT dot : c.dots)
            EXPECT_TRUE(canvas.IsPicture(dot.x, dot.y)) << "style " << c.style << " at " << dot.x << "," << dot.y;
        for (POINT other : c.others)
            EXPECT_TRUE(canvas.IsFill(other.x, other.y)) << "style " << c.style << " at " << other.x << "," << other.y;
    }
}

TEST_F(LogBackgroundTest, FittedPlacementsKeepTheAspectRatio)
{
    bool fill = false;
    // Wider picture: full width, placed vertically.
    // 303 is top, 304 right.
    const RECT wide[] = {{0, 75, 300, 225}, {0, 75, 300, 225},  {0, 0, 300, 150},
                         {0, 75, 300, 225}, {0, 150, 300, 300}, {0, 0, 300, 150},
                         {0, 0, 300, 150},  {0, 150, 300, 300}, {0, 150, 300, 300}};
    for (int i = 0; i < 9; i++)
        ExpectBox(DrawBox(301 + i, 200, 100, 300, 300, fill), wide[i], 301 + i);
    // Taller picture: full height, placed horizontally.
    const RECT tall[] = {{175, 0, 225, 100}, {0, 0, 50, 100},    {175, 0, 225, 100},
                         {350, 0, 400, 100}, {175, 0, 225, 100}, {0, 0, 50, 100},
                         {350, 0, 400, 100}, {0, 0, 50, 100},    {350, 0, 400, 100}};
    for (int i = 0; i < 9; i++) {
        ExpectBox(DrawBox(301 + i, 100, 200, 400, 100, fill), tall[i], 301 + i);
        EXPECT_TRUE(fill);
    }
}

TEST_F(LogBackgroundTest, PictureComesFromTheUserFolderFirstAndMissingOnesFillOnly)
{
    CString user = temp.path + L"user\\", program = temp.path + L"program\\";
    CreateDirectoryW(user, nullptr);
    CreateDirectoryW(program, nullptr);
    WriteBmp(user + L"sky.bmp", 10, 10, [](int, int) { return RGB(255, 0, 0); });
    WriteBmp(program + L"sky.bmp", 20, 20, [](int, int) { return RGB(255, 0, 0); });
    WriteBmp(program + L"only.bmp", 30, 30, [](int, int) { return RGB(255, 0, 0); });
    TLogBkTheme theme;
    theme.Apply({RGB(0, 0, 255), L"sky.bmp", 100}, user, program);
    EXPECT_EQ(theme.picture.GetWidth(), 10);
    theme.Apply({RGB(0, 0, 255), L"only.bmp", 100}, user, program);
    EXPECT_EQ(theme.picture.GetWidth(), 30);
    theme.Apply({RGB(0, 0, 255), L"missing.bmp", 100}, user, program);
    EXPECT_TRUE(theme.picture.IsEmpty());
    ASSERT_TRUE(WriteFileBytes(user + L"bad.jpg", "not a picture"));
    theme.Apply({RGB(0, 0, 255), L"bad.jpg", 100}, user, program);
    EXPECT_TRUE(theme.picture.IsEmpty());
    TCanvas canvas(50, 50);
    theme.Draw(canvas.dc, RECT{0, 0, 50, 50});
    bool fill = false;
    ExpectBox(canvas.PictureBox(fill), {0, 0, 0, 0}, 100);
    EXPECT_TRUE(fill);
}

TEST_F(LogBackgroundTest, PictureNamesStayInsideTheImagesFolders)
{
    CString user = temp.path + L"images\\", program = temp.path + L"program\\images\\";
    CreateDirectoryW(user, nullptr);
    CreateDirectoryW(temp.path + L"program", nullptr);
    CreateDirectoryW(program, nullptr);
    CreateDirectoryW(user + L"sub", nullptr);
    CreateDirectoryW(temp.path + L"images2", nullptr);
    WriteBmp(temp.path + L"secret.bmp", 10, 10, [](int, int) { return RGB(255, 0, 0); });
    WriteBmp(temp.path + L"images2\\x.bmp", 10, 10, [](int, int) { return RGB(255, 0, 0); });
    WriteBmp(user + L"sub\\inside.bmp", 12, 12, [](int, int) { return RGB(255, 0, 0); });
    const CString outside[] = {L"..\\secret.bmp",     L"../secret.bmp",          L"sub\\..\\..\\secret.bmp",
                               L"..\\..\\secret.bmp", temp.path + L"secret.bmp", L"..\\images2\\x.bmp"};
    TLogBkTheme theme;
    for (const CString& name : outside) {
        theme.Apply({RGB(0, 0, 255), name, 100}, user, program);
        EXPECT_TRUE(theme.picture.IsEmpty()) << (const wchar_t*)name;
    }
    theme.Apply({RGB(0, 0, 255), L"sub\\inside.bmp", 100}, user, program);
    EXPECT_EQ(12, theme.picture.GetWidth());
    theme.Apply({RGB(0, 0, 255), L"sub\\..\\sub\\inside.bmp", 100}, user, program);
    EXPECT_EQ(12, theme.picture.GetWidth());
}

class TextThemeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.SetDefaults();
        theme.Apply(settings.logText);
    }
    TViewSettings settings;
    TLogTextTheme theme;
};

TEST_F(TextThemeTest, ApplyMakesEveryFontAndCopiesTheColours)
{
    settings.logText.shadowKind = 2;
    settings.logText.selectBackColor = 0x010203;
    settings.logText.lineFonts[4].italic = true;
    settings.logText.lineFonts[4].size = 150;
    theme.Apply(settings.logText);
    EXPECT_EQ(theme.shadowKind, 2);
    EXPECT_EQ(theme.selectBackColor, 0x010203u);
    EXPECT_EQ(theme.hilightBackColor, 0xB0FFA0u);
    for (const TFont& font : theme.lineFonts)
        EXPECT_NE(font.handle, nullptr);
    for (const TFont* font : {&theme.nickFonts[6], &theme.timeFont, &theme.keywordFont})
        EXPECT_NE(font->handle, nullptr);
    EXPECT_EQ(theme.lineFonts[4].logFont.lfItalic, 1);
    EXPECT_EQ(theme.lineFonts[4].logFont.lfHeight, TFont::PointsToHeight(150));
    EXPECT_EQ(theme.lineFonts[7].logFont.lfWeight, FW_BOLD);
    EXPECT_EQ(theme.lineFonts[7].color, 0xA73734u);
    EXPECT_EQ(theme.urlFont.logFont.lfUnderline, 1);
    theme.ReleaseFonts();
    EXPECT_EQ(theme.lineFonts[0].handle, nullptr);
    EXPECT_EQ(theme.keywordFont.handle, nullptr);
}

TEST_F(TextThemeTest, VariantsAreMadeOnceAndKeepBoldWhereTheLineFontHasIt)
{
    EXPECT_EQ(theme.GetLineFont(0, false, false), &theme.lineFonts[0]);
    TFont* bold = theme.GetLineFont(0, true, false);
    EXPECT_NE(bold, &theme.lineFonts[0]);
    EXPECT_EQ(theme.GetLineFont(0, true, false), bold);
    EXPECT_EQ(bold->logFont.lfWeight, FW_BOLD);
    EXPECT_EQ(bold->logFont.lfUnderline, 0);
    EXPECT_EQ(bold->color, theme.lineFonts[0].color);
    TFont* underline = theme.GetLineFont(0, false, true);
    EXPECT_EQ(underline->logFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(underline->logFont.lfUnderline, 1);
    TFont* both = theme.GetLineFont(0, true, true);
    EXPECT_NE(both, bold);
    EXPECT_NE(both, underline);
    EXPECT_EQ(both->logFont.lfWeight, FW_BOLD);
    EXPECT_EQ(both->logFont.lfUnderline, 1);
    // Invite lines are bold already.
    EXPECT_EQ(theme.GetLineFont(7, false, true)->logFont.lfWeight, FW_BOLD);
    EXPECT_NE(theme.GetLineFont(7, true, false), &theme.lineFonts[7]);
    EXPECT_NE(theme.GetLineFont(7, true, false)->handle, nullptr);
    TFont* keyword = theme.GetUnderlinedKeywordFont();
    EXPECT_EQ(theme.GetUnderlinedKeywordFont(), keyword);
    EXPECT_EQ(keyword->logFont.lfUnderline, 1);
    EXPECT_EQ(keyword->logFont.lfWeight, FW_BOLD);
    theme.ReleaseVariantFonts();
    EXPECT_EQ(theme.boldFonts[0], nullptr);
    EXPECT_EQ(theme.underlinedKeywordFont, nullptr);
}

TEST(ViewConfigTest, UpdateThemeBuildsControlFontsAndBackgrounds)
{
    TTempFolder temp;
    TConfig config;
    config.userImageFolder = temp.path;
    config.programImageFolder = temp.path + L"none\\";
    WriteBmp(temp.File(L"back.bmp"), 8, 4, [](int, int) { return RGB(1, 2, 3); });
    config.view.settings.SetDefaults();
    config.view.settings.allLogBack.imageFile = L"back.bmp";
    config.view.settings.allLogBack.style = 200;
    config.view.settings.editFont.size = 140;
    config.view.UpdateTheme(config);
    EXPECT_TRUE(config.view.logTheme.channelLogBack.picture.IsEmpty());
    EXPECT_EQ(config.view.logTheme.allLogBack.picture.GetWidth(), 8);
    EXPECT_EQ(config.view.logTheme.allLogBack.style, 200);
    EXPECT_NE(config.view.listFont.handle, nullptr);
    EXPECT_NE(config.view.treeFont.handle, nullptr);
    EXPECT_EQ(config.view.editFont.logFont.lfHeight, TFont::PointsToHeight(140));
    EXPECT_NE(config.view.logTheme.text.lineFonts[19].handle, nullptr);
}

// A window painted the way a log view paints: the background theme, then one line of text in
// the theme's fonts. KV_HOLD_WINDOW_MS keeps it on screen for a look.
struct TPaintedView {
    TLogBkTheme* back;
    TLogTextTheme* text;
    int paints = 0;
};

void PaintLine(HDC dc, TLogTextTheme& text)
{
    SetBkMode(dc, TRANSPARENT);
    struct {
        TFont* font;
        const wchar_t* words;
    } runs[] = {{&text.timeFont, L"12:34 "},
                {&text.channelFont, L"<#ketroval> "},
                {&text.nickFonts[0], L"(alice) "},
                {text.GetLineFont(0, false, false), L"hello, see "},
                {&text.urlFont, L"http://example.org/"},
                {text.GetLineFont(7, false, false), L"  *invite"}};
    int x = 8;
    for (auto& run : runs) {
        HGDIOBJ old = SelectObject(dc, run.font->handle);
        SetTextColor(dc, run.font->color);
        TextOutW(dc, x, 170, run.words, lstrlenW(run.words));
        SIZE size = {};
        GetTextExtentPoint32W(dc, run.words, lstrlenW(run.words), &size);
        x += size.cx;
        SelectObject(dc, old);
    }
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        auto* view = reinterpret_cast<TPaintedView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        view->back->Draw(dc, client);
        PaintLine(dc, *view->text);
        EndPaint(window, &paint);
        view->paints++;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ViewConfigTest, WindowShowsPictureAndThemedText)
{
    TTempFolder temp;
    WriteBmp(temp.File(L"sky.bmp"), 160, 100, [](int x, int y) {
        return RGB(40 + x, 80 + y, 255 - x); // a gradient, easy to recognise on screen
    });
    TViewSettings settings;
    settings.SetDefaults();
    TLogBkTheme back;
    back.Apply({RGB(255, 255, 224), L"sky.bmp", 203}, temp.path, temp.path);
    ASSERT_FALSE(back.picture.IsEmpty());
    TLogTextTheme text;
    text.Apply(settings.logText);
    TPaintedView view = {&back, &text};

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ViewProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KvThemedViewTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"KvThemedViewTest", L"Themed log view", WS_POPUP, 20, 20, 480, 200, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, (LONG_PTR)&view);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    WaitUntil([&] { return view.paints > 0 && !GetUpdateRect(window, nullptr, FALSE); }, "the window painted");

    HDC dc = GetDC(window);
    // Centred along the top: the picture spans x 160 to 320, y 0 to 100.
    EXPECT_EQ(GetPixel(dc, 160, 0), RGB(40, 80, 255));
    EXPECT_EQ(GetPixel(dc, 319, 99), RGB(199, 179, 96));
    EXPECT_EQ(GetPixel(dc, 100, 50), RGB(255, 255, 224));
    int inked = 0;
    for (int y = 160; y < 200; y++)
        for (int x = 0; x < 480; x++)
            inked += GetPixel(dc, x, y) != RGB(255, 255, 224);
    ReleaseDC(window, dc);
    EXPECT_GT(inked, 200);

    if (const char* hold = getenv("KV_HOLD_WINDOW_MS"))
        PumpMessagesFor((DWORD)atoi(hold));
    DestroyWindow(window);
    UnregisterClassW(L"KvThemedViewTest", windowClass.hInstance);
}

} // namespace
