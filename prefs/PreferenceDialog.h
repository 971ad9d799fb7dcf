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
    // Shows the window; false when it cannot be made.
    bool Open();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The pages in the order of the tree, each with its title and parent page; a page is one line
    // here. The behaviour pages (TPreferencePage) are given the live preferences.
    TSheetPage<TConnectionPage> connectionPage{this, IDS_PAGE_CONNECTION};
    TSheetPage<TKeywordPage> keywordPage{this, IDS_PAGE_KEYWORD};
    TSheetPage<TKeywordDetailPage> keywordDetailPage{this, IDS_PAGE_DETAIL, &keywordPage};
    TSheetPage<TEventPage> eventPage{this, IDS_PAGE_EVENT};
    TSheetPage<TInterfacePage> interfacePage{this, IDS_PAGE_INTERFACE};
    TSheetPage<TActionPage> actionPage{this, IDS_PAGE_ACTION};
    TSheetPage<TActionDetailPage> actionDetailPage{this, IDS_PAGE_DETAIL, &actionPage};
    TSheetPage<TWindowPage> windowPage{this, IDS_PAGE_WINDOW};
    TSheetPage<TTrayIconPage> trayIconPage{this, IDS_PAGE_TRAY};
    TSheetPage<TSoundPage> soundPage{this, IDS_PAGE_SOUND};
    TSheetPage<TLogPage> logPage{this, IDS_PAGE_LOG};
    TSheetPage<TDCCPage> dccPage{this, IDS_PAGE_DCC};
    TSheetPage<TDCCReceivePage> dccReceivePage{this, IDS_PAGE_DCC_RECEIVE, &dccPage};
    TSheetPage<TDCCReceiveDetailPage> dccReceiveDetailPage{this, IDS_PAGE_DETAIL, &dccReceivePage};
    TSheetPage<TDCCSendPage> dccSendPage{this, IDS_PAGE_DCC_SEND, &dccPage};
    TSheetPage<TDCCChatPage> dccChatPage{this, IDS_PAGE_DCC_CHAT, &dccPage};
    TSheetPage<TUserInfoPage> userInfoPage{this, IDS_PAGE_USER_INFO};
    TSheetPage<TDetailPage> detailPage{this, IDS_PAGE_DETAIL};
    TSheetPage<TViewPage> viewPage{this, IDS_PAGE_VIEW};
    TSheetPage<TViewLogTextPage> viewLogTextPage{this, IDS_PAGE_VIEW_LOG, &viewPage};
    TSheetPage<TViewTreePage> viewTreePage{this, IDS_PAGE_VIEW_TREE, &viewPage};
    TSheetPage<TViewListPage> viewListPage{this, IDS_PAGE_VIEW_LIST, &viewPage};
    TSheetPage<TViewEditPage> viewEditPage{this, IDS_PAGE_VIEW_EDIT, &viewPage};
    TSheetPage<TFormatPage> formatPage{this, IDS_PAGE_FORMAT, &viewPage};
    TSheetPage<TFormatDetailPage> formatDetailPage{this, IDS_PAGE_DETAIL, &formatPage};
    TSheetPage<TViewLayoutPage> viewLayoutPage{this, IDS_PAGE_LAYOUT};

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
