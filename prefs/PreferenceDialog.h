#pragma once
// TPreferenceDialog: the modeless preference window. Its behaviour pages write into the live
// preference block on OK; the owner hears OK (then applies the settings) and the close, after
// which it deletes the window.

#include "prefs/ActionPages.h"
#include "prefs/ConnectionPages.h"
#include "prefs/DccPages.h"
#include "prefs/FormatPages.h"
#include "prefs/KeywordPages.h"
#include "prefs/LogPage.h"
#include "prefs/PropertyTreeSheet.h"
#include "prefs/SoundPage.h"
#include "prefs/ThemePage.h"
#include "prefs/ViewListPages.h"
#include "prefs/ViewLogTextPage.h"
#include "prefs/ViewPages.h"
#include "prefs/WindowPages.h"
#include "settings/LogKeyword.h"
#include "settings/ThemeFiles.h"
#include "settings/ViewConfig.h"
#include "settings/ViewSettings.h"

class TConfig;
class TLogAddressFinder;
class TPreferenceDialog;

class IPreferenceDialogListener {
public:
    // The pages have stored their settings.
    virtual void OnPreferenceDialogOK(TPreferenceDialog* dialog) = 0;
    // After OK or Cancel; the owner deletes the dialog.
    virtual void OnPreferenceDialogClose(TPreferenceDialog* dialog) = 0;

protected:
    ~IPreferenceDialogListener() = default;
};

class TPreferenceDialog : public TPropertyTreeSheet {
public:
    explicit TPreferenceDialog(CWnd* parent = nullptr);
    ~TPreferenceDialog() override;

    void SetListener(IPreferenceDialogListener* value) { listener = value; }
    void SetConfig(TConfig* value) { config = value; }
    // What the log samples find URLs and addresses with; none finds nothing.
    void SetAddressFinder(const TLogAddressFinder* value) { addressFinder = value; }
    // Registers the pages and shows the window; false when it cannot be made.
    bool Open();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The pages, for the owner and its tests.
    TConnectionPage connectionPage;
    TKeywordPage keywordPage;
    TKeywordDetailPage keywordDetailPage;
    TEventPage eventPage;
    TInterfacePage interfacePage;
    TActionPage actionPage;
    TActionDetailPage actionDetailPage;
    TWindowPage windowPage;
    TTrayIconPage trayIconPage;
    TSoundPage soundPage;
    TLogPage logPage;
    TDCCPage dccPage;
    TDCCReceivePage dccReceivePage;
    TDCCReceiveDetailPage dccReceiveDetailPage;
    TDCCSendPage dccSendPage;
    TDCCChatPage dccChatPage;
    TUserInfoPage userInfoPage;
    TDetailPage detailPage;
    TViewPage viewPage;
    TViewLogTextPage viewLogTextPage;
    TViewTreePage viewTreePage;
    TViewListPage viewListPage;
    TViewEditPage viewEditPage;
    TFormatPage formatPage;
    TFormatDetailPage formatDetailPage;
    TViewLayoutPage viewLayoutPage;

    // Themes, as TThemeFiles loads, saves and deletes them: the loads change the working settings
    // and the pages show them; a save takes what the message pages show first.
    bool LoadTheme(const CString& fileName, bool fromUserFolder, bool oldViewFile);
    bool LoadThemeAppearance(const CString& fileName, bool fromUserFolder, bool oldViewFile);
    bool LoadThemeFormats(const CString& fileName, bool fromUserFolder, bool oldViewFile);
    // Into the user's themes folder; an existing theme of that name is replaced.
    bool SaveTheme(const CString& fileName);
    bool DeleteTheme(const CString& fileName);
    // With a trailing backslash; empty before the configuration is set.
    CString GetThemeFolder(bool user) const;
    const TViewSettings& GetWorkingView() const { return workingView; }

protected:
    void OnHelp() override {}

    // The view settings the appearance pages edit; copied back on OK.
    TViewSettings workingView;
    // What the pages' samples are drawn with, built from the working settings.
    TLogTextTheme workingTextTheme;
    TLogBkTheme workingChannelBack;
    TLogBkTheme workingAllBack;
    TLogKeyword previewKeyword;
    void RebuildWorkingThemes();
    // After a theme load, the open appearance pages show the working settings again.
    void RefreshAppearancePages(bool appearance, bool formats);
    // Before a theme is saved, the message pages put what they show into the working formats.
    void StoreFormatPages();

private:
    // Without a configuration there are no themes folders.
    TThemeFiles GetThemeFiles() const;
    bool LoadThemePart(const CString& fileName, bool fromUserFolder, bool oldViewFile, TThemePart part);
    void CentreOverParent();

    IPreferenceDialogListener* listener = nullptr;
    TConfig* config = nullptr;
    const TLogAddressFinder* addressFinder = nullptr;
};
