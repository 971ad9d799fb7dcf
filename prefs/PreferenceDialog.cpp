#include "prefs/PreferenceDialog.h"

#include "foundation/ResourceString.h"
#include "legacy/LegacyView.h"
#include "settings/Config.h"

TPreferenceDialog::TPreferenceDialog(CWnd* parent) : TPropertyTreeSheet(parent) {}

TPreferenceDialog::~TPreferenceDialog()
{
    listener = nullptr;
    if (m_hWnd)
        DestroyWindow();
}

bool TPreferenceDialog::Open()
{
    // Owned by the main window it would hide and minimise with it, and never stand behind it.
    if (!CreateUnowned(IDD_PREFERENCE_SHEET))
        return false;
    CentreOverParent();
    ShowWindow(SW_SHOWNORMAL);
    return true;
}

// Over the main window while it shows, else in the middle of the work area.
void TPreferenceDialog::CentreOverParent()
{
    RECT rect = {}, area = {};
    ::GetWindowRect(m_hWnd, &rect);
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (parent && ::IsWindowVisible(parent) && !::IsIconic(parent))
        ::GetWindowRect(parent, &area);
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int x = area.left + ((area.right - area.left) - (rect.right - rect.left)) / 2;
    int y = area.top + ((area.bottom - area.top) - (rect.bottom - rect.top)) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL TPreferenceDialog::OnInitDialog()
{
    if (config) {
        // Every behaviour page edits the live preferences.
        for (int i = 0; i < GetPageCount(); i++)
            if (auto* page = dynamic_cast<TPreferencePage*>(GetPage(i)))
                page->SetPreference(&config->preference);
        soundPage.SetColumnWidths(&config->geometry.preferenceSoundHeader);
        workingView = config->view.settings;
        viewEditPage.SetViewSettings(&workingView);
        viewListPage.SetConfig(&workingView.list);
        viewTreePage.SetConfig(&workingView.tree);
        formatDetailPage.SetColumnWidths(&config->geometry.preferenceFormatHeader);
    }
    viewPage.SetOwner(this);
    formatPage.SetFormat(&workingView.formats);
    formatDetailPage.SetFormat(&workingView.formats);
    RebuildWorkingThemes();
    previewKeyword.Like = {LoadResourceString(IDS_PREVIEW_KEYWORD)};
    if (config) {
        TLogTextPageSources logText;
        logText.view = &workingView;
        logText.textTheme = &workingTextTheme;
        logText.channelBack = &workingChannelBack;
        logText.allBack = &workingAllBack;
        logText.keyword = &previewKeyword;
        logText.addressFinder = addressFinder;
        logText.preference = &config->preference;
        logText.layoutPage = &viewLayoutPage;
        logText.formatPage = &formatPage;
        logText.formatDetailPage = &formatDetailPage;
        logText.userImageFolder = config->GetUserImageFolder();
        logText.programImageFolder = config->GetProgramImageFolder();
        viewLogTextPage.SetSources(logText);
    }
    dccReceiveDetailPage.SetReceivePage(&dccReceivePage);
    BOOL result = TPropertyTreeSheet::OnInitDialog();
    SelectPage(&connectionPage);
    return result;
}

void TPreferenceDialog::RebuildWorkingThemes()
{
    workingTextTheme.Apply(workingView.logText);
    CString userImages = config ? config->GetUserImageFolder() : CString();
    CString programImages = config ? config->GetProgramImageFolder() : CString();
    workingChannelBack.Apply(workingView.channelLogBack, userImages, programImages);
    workingAllBack.Apply(workingView.allLogBack, userImages, programImages);
}

TThemeFiles TPreferenceDialog::GetThemeFiles() const
{
    if (!config)
        return TThemeFiles(CString(), CString());
    return TThemeFiles(config->GetProgramThemeFolder(), config->GetUserThemeFolder(), ReadLegacyViewTheme);
}

CString TPreferenceDialog::GetThemeFolder(bool user) const { return GetThemeFiles().GetFolder(user); }

bool TPreferenceDialog::LoadTheme(const CString& fileName, bool fromUserFolder, bool oldViewFile)
{
    return LoadThemePart(fileName, fromUserFolder, oldViewFile, TThemePart::All);
}

bool TPreferenceDialog::LoadThemeAppearance(const CString& fileName, bool fromUserFolder, bool oldViewFile)
{
    return LoadThemePart(fileName, fromUserFolder, oldViewFile, TThemePart::Appearance);
}

bool TPreferenceDialog::LoadThemeFormats(const CString& fileName, bool fromUserFolder, bool oldViewFile)
{
    return LoadThemePart(fileName, fromUserFolder, oldViewFile, TThemePart::Formats);
}

bool TPreferenceDialog::LoadThemePart(const CString& fileName, bool fromUserFolder, bool oldViewFile, TThemePart part)
{
    if (!GetThemeFiles().Load(workingView, fileName, fromUserFolder, oldViewFile, part))
        return false;
    if (part != TThemePart::Formats)
        RebuildWorkingThemes();
    RefreshAppearancePages(part != TThemePart::Formats, part != TThemePart::Appearance);
    return true;
}

void TPreferenceDialog::RefreshAppearancePages(bool appearance, bool formats)
{
    if (appearance) {
        viewLogTextPage.RefreshSamples();
        viewTreePage.RefreshPreview();
        viewListPage.RefreshPreview();
        viewEditPage.RefreshPreview();
    }
    if (formats) {
        formatPage.Load();
        formatDetailPage.FillList();
    }
}

void TPreferenceDialog::StoreFormatPages()
{
    formatPage.Save();
    formatDetailPage.SaveList();
}

bool TPreferenceDialog::SaveTheme(const CString& fileName)
{
    StoreFormatPages();
    return GetThemeFiles().Save(workingView, fileName);
}

bool TPreferenceDialog::DeleteTheme(const CString& fileName) { return GetThemeFiles().Delete(fileName); }

void TPreferenceDialog::OnOK()
{
    if (!ApplyPages())
        return;
    TUpdateDialog::OnOK();
    if (config)
        config->view.settings = workingView;
    if (listener) {
        listener->OnPreferenceDialogOK(this);
        listener->OnPreferenceDialogClose(this);
    }
}

void TPreferenceDialog::OnCancel()
{
    TPropertyTreeSheet::OnCancel();
    if (listener)
        listener->OnPreferenceDialogClose(this);
}
