#pragma once
// The keyword pages: the keyword and forbidden-keyword lists with their matching options, and
// how keyword lines show and from whom keywords count.

#include "prefs/PreferencePage.h"

class TKeywordPage : public TPreferencePage {
public:
    TKeywordPage() : TPreferencePage(IDD_KEYWORD_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
    void Store() override;
    void UpdateControls() override;
};

class TKeywordDetailPage : public TPreferencePage {
public:
    TKeywordDetailPage() : TPreferencePage(IDD_KEYWORD_DETAIL_PAGE) {}

protected:
    void Exchange(TDialogExchange& io) override;
};
