#include "dialogs/PictureListDialog.h"

#include "classlib/DC.h"

namespace {

const wchar_t* const kExtensions[] = {L".jpg", L".jpeg", L".jpe", L".bmp"};

// A pattern's extension of three letters also matches longer ones through the short names of
// files ("*.jpe" finds "a.jpeg"), which would list such a file twice.
bool HasExtension(const CString& name, const wchar_t* extension)
{
    int length = (int)wcslen(extension);
    return name.GetLength() > length && name.Right(length).CompareNoCase(extension) == 0;
}

} // namespace

bool TPicturePanel::Load(const CString& path)
{
    TImageLoader loader;
    bool loaded = loader.LoadFromFile(path, image);
    if (!loaded)
        image.SetBitmap(nullptr, nullptr, nullptr);
    if (m_hWnd)
        Invalidate();
    return loaded;
}

void TPicturePanel::Clear()
{
    image.SetBitmap(nullptr, nullptr, nullptr);
    if (m_hWnd)
        Invalidate();
}

RECT TPicturePanel::PictureRect(int width, int height) const
{
    int pictureWidth = image.GetWidth(), pictureHeight = image.GetHeight();
    if (image.IsEmpty() || pictureWidth <= 0 || pictureHeight <= 0)
        return RECT{0, 0, 0, 0};
    double sx = (double)width / pictureWidth, sy = (double)height / pictureHeight;
    if (sy <= sx) {
        int w = (int)(pictureWidth * sy);
        int left = (width - w) / 2;
        return RECT{left, 0, left + w, height};
    }
    int h = (int)(pictureHeight * sx);
    int top = (height - h) / 2;
    return RECT{0, top, width, top + h};
}

LRESULT TPicturePanel::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(m_hWnd);
    RECT client;
    GetClientRect(&client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!image.IsEmpty()) {
        RECT target = PictureRect(client.right, client.bottom);
        image.DrawStretched(dc, target.left, target.top, target.right, target.bottom);
    }
    return 0;
}

BOOL TPictureListDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    preview.SubclassDlgItem(IDC_PICTURE_PREVIEW, m_hWnd);
    list.SubclassDlgItem(IDC_PICTURE_LIST, m_hWnd);
    list.listener = this;
    for (CString& folder : folders)
        if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\')
            folder += L'\\';
    if (folders.size() >= 2) {
        ::SetDlgItemTextW(m_hWnd, IDC_PICTURE_USER_FOLDER, folders[0]);
        ::SetDlgItemTextW(m_hWnd, IDC_PICTURE_COMMON_FOLDER, folders[1]);
    }
    FillList();
    // The read-only folder fields come first in tab order; the user starts in the list.
    ::SetFocus(list.m_hWnd);
    return FALSE;
}

void TPictureListDialog::FillList()
{
    list.ResetContent();
    for (const CString& folder : folders)
        for (const wchar_t* extension : kExtensions) {
            WIN32_FIND_DATAW found;
            HANDLE search = ::FindFirstFileW(folder + L"*" + extension, &found);
            if (search == INVALID_HANDLE_VALUE)
                continue;
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && HasExtension(found.cFileName, extension))
                    list.AddString(found.cFileName);
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
    list.UpdateHorizontalExtent();
    int index =
        file.IsEmpty() ? LB_ERR : (int)list.SendMessage(LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(const wchar_t*)file);
    if (index != LB_ERR) {
        list.SetCurSel(index);
        OnSelChange(&list);
    } else {
        preview.Clear();
    }
}

void TPictureListDialog::OnSelChange(TListBox*)
{
    int index = list.GetCurSel();
    if (index < 0) {
        preview.Clear();
        return;
    }
    file = list.GetText(index);
    for (const CString& folder : folders)
        if (preview.Load(folder + file))
            return;
}

void TPictureListDialog::OnDoubleClick(TListBox*, UINT, int, int)
{
    if (list.GetCurSel() >= 0)
        OnOK();
}

// The name is returned whether or not it previews: the caller decides what a picture that does
// not load means for it.
void TPictureListDialog::OnOK()
{
    int index = list.GetCurSel();
    file = index >= 0 ? list.GetText(index) : CString();
    TUpdateDialog::OnOK();
}
