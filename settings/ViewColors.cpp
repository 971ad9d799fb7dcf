#include "settings/ViewSettings.h"

COLORREF ResolveViewColor(COLORREF chosen, int systemColor)
{
    return chosen == kSystemColor ? ::GetSysColor(systemColor) : chosen;
}

TRowColors MemberRowColors(const TViewListConfig& list, bool selected, bool self, int group)
{
    if (selected)
        return {ResolveViewColor(list.selectedText, COLOR_HIGHLIGHTTEXT),
                ResolveViewColor(list.selectedBack, COLOR_HIGHLIGHT)};
    if (self)
        return {ResolveViewColor(list.selfText, COLOR_WINDOWTEXT), ResolveViewColor(list.selfBack, COLOR_WINDOW)};
    if (group >= 0 && group < kUserGroupCount)
        return {ResolveViewColor(list.groupText[group], COLOR_WINDOWTEXT),
                ResolveViewColor(list.groupBack[group], COLOR_WINDOW)};
    return {ResolveViewColor(list.font.color, COLOR_WINDOWTEXT), ResolveViewColor(list.backColor, COLOR_WINDOW)};
}

TRowColors TreeRowColors(const TViewTreeConfig& tree, bool selected, bool keyword, bool newTalk, bool update)
{
    if (selected)
        return {ResolveViewColor(tree.selectedText, COLOR_HIGHLIGHTTEXT),
                ResolveViewColor(tree.selectedBack, COLOR_HIGHLIGHT)};
    if (keyword)
        return {ResolveViewColor(tree.keywordText, COLOR_WINDOWTEXT), ResolveViewColor(tree.keywordBack, COLOR_WINDOW)};
    if (newTalk)
        return {ResolveViewColor(tree.newTalkText, COLOR_WINDOWTEXT), ResolveViewColor(tree.newTalkBack, COLOR_WINDOW)};
    if (update)
        return {ResolveViewColor(tree.updateText, COLOR_WINDOWTEXT), ResolveViewColor(tree.updateBack, COLOR_WINDOW)};
    return {ResolveViewColor(tree.font.color, COLOR_WINDOWTEXT), ResolveViewColor(tree.backColor, COLOR_WINDOW)};
}
