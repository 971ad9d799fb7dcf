#include "prefs/ServerFilePages.h"

#include "foundation/Path.h"
#include "macro/MacroFile.h"
#include "res/resource.h"

TServerFileListPage::TServerFileListPage(UINT templateId, const wchar_t* extension, bool keepExtension)
    : TServerPage(templateId), extension(extension), keepExtension(keepExtension)
{
}

BOOL TServerFileListPage::OnInitDialog()
{
    list.SubclassWindow(Item(IDC_SERVER_FILE_LIST));
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    RECT client;
    list.GetClientRect(&client);
    list.InsertColumn(0, L"", client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL) - 2);
    return TPropertyPage::OnInitDialog();
}

void TServerFileListPage::Load()
{
    std::vector<CString> names;
    FindFileNamesWithExtension(names, folder, extension);
    for (const CString& name : names) {
        int cut = name.GetLength() - extension.GetLength();
        if (cut <= 0)
            continue;
        list.InsertItem(list.GetItemCount(), keepExtension ? name : name.Left(cut));
    }
    for (const CString& chosen : Chosen()) {
        int row = list.FindItemByText(chosen);
        if (row >= 0)
            ListView_SetCheckState(list.m_hWnd, row, TRUE);
    }
}

void TServerFileListPage::Store()
{
    std::vector<CString>& chosen = Chosen();
    chosen.clear();
    for (int row = 0; row < list.GetItemCount(); row++)
        if (ListView_GetCheckState(list.m_hWnd, row))
            chosen.push_back(list.GetItemText(row, 0));
}

TServerMacroPage::TServerMacroPage() : TServerFileListPage(IDD_SERVER_MACRO_PAGE, TMacroFile::GetFileExtension(), false)
{
}

TServerScriptPage::TServerScriptPage() : TServerFileListPage(IDD_SERVER_SCRIPT_PAGE, L".js", true) {}
