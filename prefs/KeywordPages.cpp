#include "prefs/KeywordPages.h"

#include "settings/Preference.h"

#include <algorithm>
#include <cwchar>

void TKeywordPage::Exchange(TDialogExchange& io)
{
    TLogKeyword& k = preference->keyword;
    io.Lines(IDC_KEY_LIKE, k.Like);
    io.Lines(IDC_KEY_DISLIKE, k.Dislike);
    io.Check(IDC_KEY_WORDS, k.ExactWordMatch);
    io.Check(IDC_KEY_CASE, k.Case);
    io.Check(IDC_KEY_BLINK, k.BlinkTitleOnKeyword);
}

// Stored in plain code-unit order, so the lists read the same however they were typed.
void TKeywordPage::Store()
{
    auto byCodeUnit = [](const CString& a, const CString& b) { return wcscmp(a, b) < 0; };
    std::sort(preference->keyword.Like.begin(), preference->keyword.Like.end(), byCodeUnit);
    std::sort(preference->keyword.Dislike.begin(), preference->keyword.Dislike.end(), byCodeUnit);
}

void TKeywordPage::UpdateControls() { Enable({IDC_KEY_DISLIKE}, !IsChecked(IDC_KEY_WORDS)); }

void TKeywordDetailPage::Exchange(TDialogExchange& io)
{
    TLogKeyword& k = preference->keyword;
    io.Check(IDC_KEYD_WHOLE_LINE, k.WholeLine);
    io.Check(IDC_KEYD_IGNORE_NOTICE, k.IgnoreNotice);
    io.Check(IDC_KEYD_IGNORE_URL, k.IgnoreURL);
    io.Check(IDC_KEYD_GROUP1, k.EnableGroup1);
    io.Check(IDC_KEYD_GROUP2, k.EnableGroup2);
    io.Check(IDC_KEYD_GROUP3, k.EnableGroup3);
    io.Check(IDC_KEYD_GROUP4, k.EnableGroup4);
    io.Check(IDC_KEYD_GROUP5, k.EnableGroup5);
    io.Check(IDC_KEYD_NORMAL, k.EnableNormal);
}
