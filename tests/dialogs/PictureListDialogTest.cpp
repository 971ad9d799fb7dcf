// The picture chooser as a user meets it: the pictures of the user's and the common images
// folders listed, one clicked or double-clicked, its preview, and the name OK hands back. A
// picture that does not decode, or one too large for the loaders, shows nothing; its name is
// still what OK hands back.

#include "dialogs/PictureListDialog.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/JpegEncoder.h"
#include "tests/common/MessagePump.h"
#include "tests/common/PictureFiles.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StringPrinter.h"
#include "tests/common/UserInput.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const COLORREF kUserGreen = RGB(0, 160, 0);
const COLORREF kCommonBlue = RGB(0, 0, 200);

// user\: a.bmp (wide, red), both.bmp (green), broken.jpg, huge.bmp, x.jpe (a real JPEG),
// notes.txt; common\: both.bmp (blue), c.jpeg.
class PictureFolders {
public:
    PictureFolders()
    {
        ::CreateDirectoryW(user(), nullptr);
        ::CreateDirectoryW(common(), nullptr);
        WriteBmp(user() + L"a.bmp", 80, 20, [](int, int) { return RGB(200, 0, 0); });
        WriteBmp(user() + L"both.bmp", 8, 8, [](int, int) { return kUserGreen; });
        WriteBmp(common() + L"\\both.bmp", 8, 8, [](int, int) { return kCommonBlue; });
        WriteFileBytes(user() + L"broken.jpg", "\xFF\xD8\xFF\xE0 not a picture at all");
        WriteFileBytes(user() + L"notes.txt", "text");
        // A header that claims 60000 x 60000 pixels over a few bytes of data.
        std::string huge(54 + 64, '\0');
        BITMAPFILEHEADER file = {0x4D42, (DWORD)huge.size(), 0, 0, 54};
        BITMAPINFOHEADER info = {40, 60000, 60000, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        memcpy(&huge[0], &file, 14);
        memcpy(&huge[14], &info, 40);
        WriteFileBytes(user() + L"huge.bmp", CStringA(huge.data(), (int)huge.size()));
        auto grey = [](int, JSAMPLE* row) { memset(row, 128, 16 * 3); };
        std::string jpeg = EncodeJpeg(16, 16, JCS_RGB, 3, false, grey);
        WriteFileBytes(user() + L"x.jpe", CStringA(jpeg.data(), (int)jpeg.size()));
        WriteFileBytes(common() + L"\\c.jpeg", CStringA(jpeg.data(), (int)jpeg.size()));
    }
    CString user() const { return folder.path + L"user\\"; }
    CString common() const { return folder.path + L"common"; } // the dialog adds the backslash

    TTempFolder folder;
};

// kClear: a click below the last picture.
enum TPick { kNone, kClick, kDoubleClick, kUpdate, kClear };

struct TPictureRow {
    const char* name;
    const wchar_t* preselected;
    TPick pick;
    const wchar_t* item;
    bool preview;
    int button; // 0: none after the pick
    INT_PTR result;
    const wchar_t* file;
};

COLORREF FirstPixel(const TImage& image)
{
    const BYTE* p = image.GetPixels();
    return p ? RGB(p[2], p[1], p[0]) : CLR_INVALID;
}

} // namespace

TEST(PictureListDialog, PicksAPictureThatShowsAPreview)
{
    PictureFolders folders;
    const TPictureRow rows[] = {
        {"the preselected name is found whatever its case", L"A.BMP", kNone, L"", true, IDOK, IDOK, L"a.bmp"},
        {"a name in both folders previews the user's copy", L"", kClick, L"both.bmp", true, IDOK, IDOK, L"both.bmp"},
        {"a common picture", L"", kClick, L"c.jpeg", true, IDOK, IDOK, L"c.jpeg"},
        // No button after it: a dialog the double click left open fails the run.
        {"a double click confirms", L"", kDoubleClick, L"a.bmp", true, 0, IDOK, L"a.bmp"},
        {"OK with nothing selected gives no name", L"", kNone, L"", false, IDOK, IDOK, L""},
        {"a click below the pictures clears the preview with the selection", L"a.bmp", kClear, L"", false, IDOK, IDOK,
         L""},
        {"a broken picture shows nothing but is chosen", L"", kClick, L"broken.jpg", false, IDOK, IDOK, L"broken.jpg"},
        {"a picture too large for the loaders", L"", kClick, L"huge.bmp", false, IDOK, IDOK, L"huge.bmp"},
        {"an extension the loaders do not take", L"", kClick, L"x.jpe", false, IDOK, IDOK, L"x.jpe"},
        {"a double click on a broken picture confirms it", L"", kDoubleClick, L"broken.jpg", false, 0, IDOK,
         L"broken.jpg"},
        {"Cancel keeps the last selection as the name", L"", kClick, L"x.jpe", false, IDCANCEL, IDCANCEL, L"x.jpe"},
        // Last: the new file stays in the folder.
        {"a picture added meanwhile is listed by Update", L"new.bmp", kUpdate, L"", true, IDOK, IDOK, L"new.bmp"},
    };
    for (const TPictureRow& row : rows) {
        SCOPED_TRACE(row.name);
        TPictureListDialog dialog;
        dialog.folders = {folders.user(), folders.common()};
        dialog.file = row.preselected;
        std::vector<CString> listed;
        CString commonShown;
        bool preview = false, okEnabled = false;
        COLORREF pixel = CLR_INVALID;
        INT_PTR result = RunDialog(dialog, [&](HWND window) {
            HWND list = Control(window, IDC_PICTURE_LIST);
            int count = (int)::SendMessageW(list, LB_GETCOUNT, 0, 0);
            for (int i = 0; i < count; i++) {
                wchar_t text[MAX_PATH] = L"";
                ::SendMessageW(list, LB_GETTEXT, i, (LPARAM)text);
                listed.push_back(text);
            }
            commonShown = Text(window, IDC_PICTURE_COMMON_FOLDER);
            if (row.pick == kUpdate) {
                EXPECT_EQ(LB_ERR, (int)::SendMessageW(list, LB_GETCURSEL, 0, 0));
                WriteBmp(folders.user() + L"new.bmp", 8, 8, [](int, int) { return kUserGreen; });
                Click(window, IDC_PICTURE_UPDATE);
            }
            int index = (int)::SendMessageW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)row.item);
            if (row.pick == kClick)
                ClickListItem(list, index);
            if (row.pick == kClear) {
                EXPECT_FALSE(dialog.GetPreview().IsEmpty());
                RECT client = {};
                ::GetClientRect(list, &client);
                ClickAt(ScreenPointOf(list, 20, client.bottom - 3));
                EXPECT_EQ(LB_ERR, (int)::SendMessageW(list, LB_GETCURSEL, 0, 0));
            }
            if (row.pick == kDoubleClick) {
                ::SendMessageW(list, LB_SETTOPINDEX, index, 0);
                RECT item = {};
                ::SendMessageW(list, LB_GETITEMRECT, index, (LPARAM)&item);
                DoubleClickAt(ScreenPointOf(list, item.left + 8, (item.top + item.bottom) / 2));
                if (!row.button)
                    return;
            }
            KickIdle(window);
            preview = !dialog.GetPreview().IsEmpty();
            pixel = FirstPixel(dialog.GetPreview().GetImage());
            okEnabled = ::IsWindowEnabled(Control(window, IDOK)) != FALSE;
            if (row.pick == kClick && CString(row.item) == L"both.bmp") {
                SaveWindowPng(window, ScreenshotPath(L"picture-list-dialog.png"));
            }
            // Enter in the list confirms as OK does, preview or not.
            if (row.button == IDOK && !row.preview) {
                FocusForInput(list);
                PressKey(VK_RETURN);
            } else {
                Click(window, row.button);
            }
        });
        const std::vector<CString> expected = {L"a.bmp",  L"both.bmp", L"both.bmp", L"broken.jpg",
                                               L"c.jpeg", L"huge.bmp", L"x.jpe"};
        if (row.pick != kUpdate) {
            EXPECT_EQ(expected, listed);
        }
        EXPECT_EQ(folders.common() + L"\\", commonShown);
        EXPECT_EQ(row.result, result);
        EXPECT_EQ(CString(row.file), dialog.file);
        // A double click that ends the dialog leaves nothing to read.
        if (row.button != 0) {
            EXPECT_EQ(row.preview, preview);
            EXPECT_TRUE(okEnabled) << "OK is offered whatever the preview shows";
        }
        if (CString(row.item) == L"both.bmp") {
            EXPECT_EQ(kUserGreen, pixel);
        }
    }
}

// A wide picture in the taller panel: bars of the button face above and below, the picture in
// the middle, as the screen shows it.
TEST(PictureListDialog, WidePictureIsCentredBetweenBars)
{
    PictureFolders folders;
    TPictureListDialog dialog;
    dialog.folders = {folders.user(), folders.common()};
    dialog.file = L"a.bmp";
    RunDialog(dialog, [&](HWND window) {
        HWND panel = Control(window, IDC_PICTURE_PREVIEW);
        ::UpdateWindow(panel);
        RECT client = {};
        ::GetClientRect(panel, &client);
        HDC dc = ::GetDC(panel);
        COLORREF top = ::GetPixel(dc, client.right / 2, 2);
        COLORREF middle = ::GetPixel(dc, client.right / 2, client.bottom / 2);
        COLORREF bottom = ::GetPixel(dc, client.right / 2, client.bottom - 3);
        COLORREF left = ::GetPixel(dc, 1, client.bottom / 2);
        ::ReleaseDC(panel, dc);
        COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(face, top);
        EXPECT_EQ(face, bottom);
        EXPECT_EQ(RGB(200, 0, 0), middle);
        EXPECT_EQ(RGB(200, 0, 0), left);
        SaveWindowPng(window, ScreenshotPath(L"picture-list-wide.png"));
        Click(window, IDCANCEL);
    });
}
