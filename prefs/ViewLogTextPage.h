#pragma once
// The log text page of the preference window: the fonts of every kind of log text, the selection
// and search colours, the text shadow and the two log backgrounds. Each edit goes into the
// window's working view settings at once, rebuilds the working themes and shows in two sample
// logs drawn by real log views; nothing is written before the window's OK.

#include "classlib/ToolBar.h"
#include "controls/Label.h"
#include "controls/TreeView.h"
#include "logview/LogView.h"
#include "prefs/PropertyPage.h"
#include "res/resource.h"
#include "settings/ViewConfig.h"

#include <functional>
#include <initializer_list>
#include <vector>

class TFormatPage;
class TFormatDetailPage;
class TLogAddressFinder;
class TPreference;
class TViewLayoutPage;
class TLogKeyword;

// What the page edits and draws with, all owned by the preference window.
struct TLogTextPageSources {
    TViewSettings* view = nullptr;
    TLogTextTheme* textTheme = nullptr;
    TLogBkTheme* channelBack = nullptr;
    TLogBkTheme* allBack = nullptr;
    const TLogKeyword* keyword = nullptr;
    const TLogAddressFinder* addressFinder = nullptr;
    // The spacing the samples start with; the layout page's later edits follow when shown.
    const TPreference* preference = nullptr;
    TViewLayoutPage* layoutPage = nullptr;
    TFormatPage* formatPage = nullptr;
    TFormatDetailPage* formatDetailPage = nullptr;
    CString userImageFolder;
    CString programImageFolder;
};

// What each item of the page's tree stands for (its item data).
enum TLogTextItem {
    kLogTextFonts = 1,
    kLogTextBackgrounds = 2,
    kLogTextChannelBack = 1001,
    kLogTextAllBack = 1002,
    kLogTextShadow = 1003,
    kLogTextTime = 10001,
    kLogTextPlace = 10002,
    kLogTextKeyword = 10003,
    kLogTextUrl = 10004,
    kLogTextHost = 10005,
    kLogTextSelection = 10006,
    kLogTextHilight = 10007,
    kLogTextNickGroup = 11001, // 11001 to 11008: the groups of line and nick fonts
    kLogTextLineFont = 12000,  // + line kind
    kLogTextNickFont = 13000,  // + nick kind
};

class TViewLogTextPage : public TPropertyPage, public ITreeViewListener {
public:
    TViewLogTextPage() : TPropertyPage(IDD_VIEW_LOG_TEXT_PAGE) {}

    void SetSources(const TLogTextPageSources& value) { sources = value; }

    BOOL OnInitDialog() override;
    // Takes unsaved message formats and the layout page's spacing into the samples.
    void OnPageShow() override;
    // The working themes were rebuilt elsewhere (a theme was loaded): the samples are laid out
    // again with them, and the next edit loads its picture anew.
    void RefreshSamples();
    // Rebuilds the working themes from the working settings and repaints the samples.
    void ApplyTheme();
    // The same, then the tree's colour marks and the controls of the selected item follow.
    void ApplyThemeAndRedraw();

    TViewFont* GetFontSetting(int code) const;
    TFont* GetThemeFont(int code) const;

    // For the owner's tests: what the page shows.
    TLogView& GetChannelSample() { return channelSample; }
    TLogView& GetAllSample() { return allSample; }
    HTREEITEM FindItem(int code) const;
    COLORREF GetSampleTextColor() const { return labelText; }
    COLORREF GetSampleBackColor() const { return labelBack; }

    BEGIN_MSG_MAP(TViewLogTextPage)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_FONT, OnChangeFont)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_FONT_COLOR, OnChangeFontColor)
        COMMAND_CODE_HANDLER(IDC_LOG_TEXT_STYLE, CBN_SELENDOK, OnStyleChanged)
        COMMAND_CODE_HANDLER(IDC_LOG_TEXT_STYLE, CBN_SELCHANGE, OnStyleSelChange)
        COMMAND_CODE_HANDLER(IDC_LOG_TEXT_STYLE, CBN_SELENDCANCEL, OnListCancelled)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_BACK_COLOR, OnChangeBackColor)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_CHOOSE_IMAGE, OnChooseImage)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_URL_UNDERLINE, OnUnderline)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_HOST_UNDERLINE, OnUnderline)
        COMMAND_CODE_HANDLER(IDC_LOG_TEXT_SHADOW_KIND, CBN_SELENDOK, OnShadowKindChanged)
        COMMAND_CODE_HANDLER(IDC_LOG_TEXT_SHADOW_KIND, CBN_SELCHANGE, OnShadowKindSelChange)
        COMMAND_CODE_HANDLER(IDC_LOG_TEXT_SHADOW_KIND, CBN_SELENDCANCEL, OnListCancelled)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_SHADOW_COLOR, OnChangeShadowColor)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_SELECT_TEXT_COLOR, OnChangeSelectTextColor)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_SELECT_BACK_COLOR, OnChangeSelectBackColor)
        COMMAND_ID_HANDLER(IDC_LOG_TEXT_HILIGHT_COLOR, OnChangeHilightColor)
        NOTIFY_HANDLER(IDC_LOG_TEXT_SAMPLES, TCN_SELCHANGE, OnTabChanged)
        CHAIN_MSG_MAP(TPropertyPage)
    END_MSG_MAP()

protected:
    bool HasRecord() const override { return sources.view != nullptr; }

private:
    // ITreeViewListener: selection and the colour marks; keys and clicks are the tree's own.
    bool OnKeyDown(UINT) override { return false; }
    bool OnSysKeyDown(UINT) override { return false; }
    void OnSelChanged(TTreeView* tree, HTREEITEM newItem, HTREEITEM oldItem) override;
    void OnContextMenu(TTreeView*, HTREEITEM, int, int) override {}
    void OnDoubleClick(TTreeView*, HTREEITEM, int, int) override {}
    void OnCustomDraw(TTreeView* tree, NMHDR* header, LRESULT* result) override;

    void BuildItemTree();
    void FillStyleNames();
    void FillShadowList();
    int CodeOf(HTREEITEM item) const;
    int SelectedCode() const;
    TViewBackground* SelectedBackground() const;
    // The colour the item's mark shows; false for items without one.
    bool ItemColor(int code, COLORREF& color) const;
    void ShowControls(std::initializer_list<int> shown);
    // The controls of the item that edit a setting directly (the others open choosers).
    void ExchangeItem(int code, TDialogExchange::Direction direction);
    void ShowItem(HTREEITEM item);
    void ShowBackground(int code);
    void ShowLabel(TFont* font, COLORREF text, COLORREF back);
    // The record of the item, else of its first child.
    TViewFont* FontOfItemOrFirstChild(HTREEITEM item) const;
    // The item's record, or those of its children and grandchildren when it has none.
    void ForEachFontUnder(HTREEITEM item, const std::function<void(TViewFont&)>& change);
    bool PickColor(COLORREF& color);
    // The colour chooser from the start colour; its choice goes into the field and shows.
    void PickColorInto(COLORREF start, COLORREF& field);

    // The samples, in LogTextSamples.cpp.
    void CreateSamples();
    void FillSample(TLogView& view);
    void PlaceSamples();
    void ShowSample(int index);
    void TakeLayoutSpacing();
    int FormatEditsStored() const;
    void RedrawSamples();
    void ApplyBackground(TLogBkTheme& theme, const TViewBackground& source, CString& appliedImage);
    // Whether the picture file decodes, looked up as the background would look it up.
    bool PictureLoads(const CString& file) const;

    void OnChangeFont();
    void OnChangeFontColor();
    void OnStyleChanged();
    void OnStyleSelChange();
    void OnChangeBackColor();
    void OnChooseImage();
    void OnUnderline();
    void OnShadowKindChanged();
    void OnShadowKindSelChange();
    void OnListCancelled();
    bool IsListOpen(int id) const;
    void OnChangeShadowColor();
    void OnChangeSelectTextColor();
    void OnChangeSelectBackColor();
    void OnChangeHilightColor();
    LRESULT OnTabChanged(NMHDR*);

    TLogTextPageSources sources;
    TTreeView items;
    CImageList itemImages;
    // The style list's entries; the choices point into the names.
    std::vector<CString> styleNames;
    std::vector<TDialogChoice> styleChoices;
    TLabel sample;
    // The label's own copy, so a rebuilt theme never leaves it drawing with a deleted font.
    TFont sampleFont;
    COLORREF labelText = 0;
    COLORREF labelBack = 0;
    TLogView channelSample;
    TLogView allSample;
    // The picture files the working backgrounds hold loaded, so other edits do not decode them again.
    CString channelImage;
    CString allImage;
    // The format pages' stored edits when the samples were filled.
    int sampleFormatEdits = 0;
    bool initialised = false;
};
