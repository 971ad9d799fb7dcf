#pragma once
// The input text page, which edits the input line's font and colours in the preference window's
// working view settings at once, and the layout page, which stores the panes, the member order
// and the log views' spacing and line limits into the live preferences on OK.

#include "controls/Edit.h"
#include "prefs/PreferencePage.h"
#include "settings/Font.h"

class TViewSettings;
struct TViewFont;

// The font chooser over the page on the font's face, charset, size and style; on OK those take
// the choice (the colour stays). True on OK.
bool ChooseViewFont(CWnd* page, TViewFont& font);
// The colour chooser over the page's window, starting from the colour (the system's colour
// for one never chosen); true when it took the choice.
bool ChooseViewColor(CWnd* page, COLORREF& color, int systemColor);

class TViewEditPage : public TPropertyPage {
public:
    TViewEditPage() : TPropertyPage(IDD_VIEW_EDIT_PAGE) {}

    void SetViewSettings(TViewSettings* value) { view = value; }
    BOOL OnInitDialog() override;
    // The preview takes the colours of the settings (after a theme was loaded, say); its font
    // stays as it was.
    void RefreshPreview();
    const TEdit& GetPreview() const { return preview; }

    BEGIN_MSG_MAP(TViewEditPage)
        COMMAND_ID_HANDLER(IDC_EDIT_VIEW_FONT, OnChangeFont)
        COMMAND_ID_HANDLER(IDC_EDIT_VIEW_TEXT_COLOR, OnChangeTextColor)
        COMMAND_ID_HANDLER(IDC_EDIT_VIEW_BACK_COLOR, OnChangeBackColor)
        CHAIN_MSG_MAP(TPropertyPage)
    END_MSG_MAP()

protected:
    bool HasRecord() const override { return view != nullptr; }

private:
    void InitPreview();
    void OnChangeFont();
    void OnChangeTextColor();
    void OnChangeBackColor();
    void PickColor(COLORREF& color, int systemColor);

    TEdit preview;
    TFont previewFont;
    bool initialised = false;
    TViewSettings* view = nullptr;
};

class TViewLayoutPage : public TPreferencePage {
public:
    TViewLayoutPage() : TPreferencePage(IDD_VIEW_LAYOUT_PAGE) {}

    BOOL OnInitDialog() override;

    // Whether the line spacing or the wrapped-row margin was edited since the last call.
    bool TakeSpacingChanged()
    {
        bool changed = spacingChanged;
        spacingChanged = false;
        return changed;
    }

    BEGIN_MSG_MAP(TViewLayoutPage)
        COMMAND_CODE_HANDLER(IDC_LAYOUT_LEADING, EN_CHANGE, OnSpacingChanged)
        COMMAND_CODE_HANDLER(IDC_LAYOUT_INDENT, EN_CHANGE, OnSpacingChanged)
        CHAIN_MSG_MAP(TPreferencePage)
    END_MSG_MAP()

protected:
    void Exchange(TDialogExchange& io) override;

private:
    void OnSpacingChanged() { spacingChanged = true; }

    bool spacingChanged = false;
};
