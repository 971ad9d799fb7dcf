#include "prefs/ThemePage.h"

#include "classlib/CmdUI.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "foundation/SafeFileName.h"
#include "prefs/PreferenceDialog.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {

const wchar_t kOldViewExtension[] = L".kvf";

// The names of the folder's files with the extension, in UTF-16 code-unit order.
std::vector<CString> FindThemeFiles(const CString& folder, const CString& extension)
{
    std::vector<CString> names;
    if (folder.IsEmpty())
        return names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(folder + L"*" + extension, &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        CString name = found.cFileName;
        // The search also matches longer extensions through short names.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.GetLength() > extension.GetLength() &&
            name.Right(extension.GetLength()).CompareNoCase(extension) == 0)
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) { return std::wcscmp(a, b) < 0; });
    return names;
}

} // namespace

TViewPage::TViewPage() : TPropertyPage(IDD_VIEW_PAGE), defaultsEntry(L"**" + LoadResourceString(IDS_THEME_DEFAULTS)) {}

bool TViewPage::IsValidThemeName(const CString& name)
{
    return !name.IsEmpty() && IsSafeFileNameBeforeExtension(name, GetThemeExtension());
}

TThemeEntry TViewPage::MapEntry(const CString& text) const
{
    if (text == defaultsEntry)
        return {CString(), false, false};
    if (text.GetLength() > 1 && text[0] == L'*' && text[1] == L'*')
        return {text.Mid(2) + GetThemeExtension(), false, false};
    if (!text.IsEmpty() && text[0] == L'*')
        return {text.Mid(1) + kOldViewExtension, true, true};
    return {text + GetThemeExtension(), true, false};
}

BOOL TViewPage::OnInitDialog()
{
    TPropertyPage::OnInitDialog();
    themeList.SubclassDlgItem(IDC_THEME_LIST, m_hWnd);
    themeList.listener = this;
    UpdateThemeList();
    return TRUE;
}

void TViewPage::UpdateThemeList()
{
    themeList.ResetContent();
    themeList.UpdateHorizontalExtent();
    auto add = [this](const CString& text) {
        themeList.AddString(text);
        themeList.UpdateHorizontalExtent();
    };
    add(defaultsEntry);
    if (!owner)
        return;
    const CString extension = GetThemeExtension();
    for (const CString& name : FindThemeFiles(owner->GetThemeFolder(false), extension))
        add(L"**" + name.Left(name.GetLength() - extension.GetLength()));
    const CString userFolder = owner->GetThemeFolder(true);
    for (const CString& name : FindThemeFiles(userFolder, kOldViewExtension))
        add(L"*" + name.Left(name.GetLength() - (int)std::wcslen(kOldViewExtension)));
    for (const CString& name : FindThemeFiles(userFolder, extension))
        add(name.Left(name.GetLength() - extension.GetLength()));
}

bool TViewPage::GetSelectedText(CString& text) const
{
    int index = themeList.m_hWnd ? themeList.GetCurSel() : LB_ERR;
    if (index < 0)
        return false;
    text = themeList.GetText(index);
    return true;
}

CString TViewPage::GetTypedName() const { return GetControlText(Item(IDC_THEME_NAME)); }

void TViewPage::LoadSelected(TPart part)
{
    CString text;
    if (!owner || !GetSelectedText(text))
        return;
    TThemeEntry entry = MapEntry(text);
    if (part == TPart::All)
        owner->LoadTheme(entry.name, entry.userFolder, entry.oldViewFile);
    else if (part == TPart::Appearance)
        owner->LoadThemeAppearance(entry.name, entry.userFolder, entry.oldViewFile);
    else
        owner->LoadThemeFormats(entry.name, entry.userFolder, entry.oldViewFile);
}

void TViewPage::OnDoubleClick(TListBox*, UINT, int, int)
{
    if (themeList.GetCurSel() >= 0)
        LoadSelected(TPart::All);
}

void TViewPage::OnSelChange(TListBox*)
{
    CString text;
    if (!GetSelectedText(text))
        return;
    if (text == defaultsEntry)
        text.Empty();
    for (int i = 0; i < 2 && !text.IsEmpty() && text[0] == L'*'; i++)
        text = text.Mid(1);
    ::SetWindowTextW(Item(IDC_THEME_NAME), text);
}

void TViewPage::OnSaveTheme()
{
    CString name = GetTypedName();
    if (!owner || !IsValidThemeName(name))
        return;
    owner->SaveTheme(name + GetThemeExtension());
    UpdateThemeList();
}

void TViewPage::OnDeleteTheme()
{
    CString text;
    if (!owner || !GetSelectedText(text) || text.Left(2) == L"**")
        return;
    CString file = text[0] == L'*' ? text.Mid(1) + kOldViewExtension : text + GetThemeExtension();
    if (!ShowConfirmMessage(m_hWnd, LoadResourceString(IDS_THEME_DELETE_PROMPT),
                            LoadResourceString(IDS_THEME_DELETE_CAPTION)))
        return;
    owner->DeleteTheme(file);
    UpdateThemeList();
}

void TViewPage::OnUpdateSaveTheme(CCmdUI* ui) { ui->Enable(IsValidThemeName(GetTypedName())); }

void TViewPage::OnUpdateLoad(CCmdUI* ui) { ui->Enable(themeList.m_hWnd && themeList.GetCurSel() >= 0); }

void TViewPage::OnUpdateDeleteTheme(CCmdUI* ui)
{
    CString text;
    ui->Enable(GetSelectedText(text) && text.Left(2) != L"**");
}
