#include "dialogs/PickDialogs.h"

#include "classlib/CmdUI.h"
#include "foundation/Path.h"
#include "macro/MacroFile.h"

#include <mmsystem.h>

TSelectDialog::TSelectDialog() : TUpdateDialog(IDD_SELECT_DIALOG) {}

BOOL TSelectDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    list.SubclassDlgItem(IDC_SELECT_LIST, m_hWnd);
    list.listener = this;
    list.SetItems(candidates);
    // The list box's own exact search ignores letter case.
    list.SetCurSel((int)list.SendMessage(LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)currentText.GetString()));
    list.SetFocus();
    // The focus was placed here.
    return FALSE;
}

void TSelectDialog::OnOK()
{
    int selected = list.GetCurSel();
    currentText = selected >= 0 ? list.GetText(selected) : CString();
    TUpdateDialog::OnOK();
}

void TSelectDialog::OnDoubleClick(TListBox*, UINT, int, int) { OnOK(); }

TSelectFileDialog::TSelectFileDialog(UINT templateId, const std::vector<CString>& extensions, bool keepExtension)
    : TUpdateDialog(templateId), extensions(extensions), keepExtension(keepExtension)
{
}

BOOL TSelectFileDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    list.SubclassDlgItem(IDC_SELECT_LIST, m_hWnd);
    list.listener = this;
    if (folder.IsEmpty() || folder.Right(1) != L"\\")
        folder += L"\\";
    ::SetDlgItemTextW(m_hWnd, IDC_SELECT_FOLDER, folder);
    ListFolder();
    list.SetFocus();
    // The focus was placed here.
    return FALSE;
}

void TSelectFileDialog::ListFolder()
{
    list.ResetContent();
    list.SetHorizontalExtent(0);
    for (const CString& extension : extensions) {
        std::vector<CString> names;
        FindFileNamesWithExtension(names, folder, extension);
        for (const CString& name : names)
            list.AddString(keepExtension ? name : name.Left(name.GetLength() - extension.GetLength()));
    }
    list.UpdateHorizontalExtent();
    int found = (int)list.SendMessage(LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)fileName.GetString());
    list.SetCurSel(found);
    if (found >= 0)
        OnSelChange(&list);
}

CString TSelectFileDialog::SelectedText() const
{
    int selected = list.GetCurSel();
    return selected >= 0 ? list.GetText(selected) : CString();
}

void TSelectFileDialog::OnSelChange(TListBox*) { fileName = SelectedText(); }

void TSelectFileDialog::OnOK()
{
    fileName = SelectedText();
    TUpdateDialog::OnOK();
}

void TSelectFileDialog::OnDoubleClick(TListBox*, UINT, int, int)
{
    if (list.GetCurSel() >= 0)
        OnOK();
}

TSelectMacroDialog::TSelectMacroDialog()
    : TSelectFileDialog(IDD_SELECT_MACRO_DIALOG, {TMacroFile::GetFileExtension()}, false)
{
}

TSelectSoundDialog::TSelectSoundDialog() : TSelectFileDialog(IDD_SELECT_SOUND_DIALOG, {L".wav"}, true) {}

void TSelectSoundDialog::OnPlay()
{
    CString name = SelectedText();
    // A new sound replaces one still playing; an unplayable file gives the system's default sound.
    if (!name.IsEmpty())
        ::PlaySoundW(folder + name, nullptr, SND_FILENAME | SND_ASYNC);
}

void TSelectSoundDialog::OnUpdatePlay(CCmdUI* ui) { ui->Enable(list.GetCurSel() >= 0); }
