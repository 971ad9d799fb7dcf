// What the input line and the log views report to the world.
#include "irc/IRCWorld.h"

#include "foundation/Decimal.h"
#include "foundation/StringUtils.h"
#include "settings/PopupFile.h"

#include <cstdint>

namespace {

// A pointer written as hexadecimal text; only ever compared, never followed.
uintptr_t ReadHexWord(CString& text)
{
    CString word = CutFirstWord(text);
    uintptr_t value = 0;
    for (int i = 0; i < word.GetLength(); i++) {
        int digit = HexDigitValue(word[i]);
        if (digit < 0)
            return 0;
        value = value * 16 + digit;
    }
    return value;
}

int ClampLevel(int level) { return level < 0 ? 0 : level > 2 ? 2 : level; }

} // namespace

void TIRCWorld::Select(TIRCUnit* unit, TIRCChannel* channel, bool treeAlreadySelected)
{
    unit = HasUnit(unit) ? unit : nullptr;
    channel = unit && unit->HasChannel(channel) ? channel : nullptr;
    // Looking at a channel answers its marks.
    if (channel)
        channel->keywordMark = channel->newTalkMark = channel->updateMark = false;
    if (unit == currentUnit && channel == currentChannel)
        return;
    // Selecting the item raises the tree's notification, which comes back here with the same pair.
    currentUnit = unit;
    currentChannel = channel;
    if (serverTree && !treeAlreadySelected) {
        HTREEITEM item = FindUnitTreeItem(unit);
        if (channel)
            item = FindChannelTreeItem(item, channel);
        serverTree->SelectItem(item);
    }
}

void TIRCWorld::GetSelection(TIRCUnit*& unit, TIRCChannel*& channel) const
{
    if (serverTree) {
        ReadTreeSelection(unit, channel);
        return;
    }
    unit = HasUnit(currentUnit) ? currentUnit : nullptr;
    channel = unit && unit->HasChannel(currentChannel) ? currentChannel : nullptr;
}

bool TIRCWorld::SendInputLine(const CString& text, bool ctrl, bool shift, bool alt, bool returnKey)
{
    completer.Reset();
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    if (text.IsEmpty() || !unit)
        return false;
    bool notice = returnKey && ctrl && !shift && !alt;
    bool action = returnKey && ctrl && shift && !alt;
    return unit->SendInput(channel, text, notice, action, true);
}

bool TIRCWorld::CompleteNick(const CString& text, int selStart, int selEnd, bool forward, TNickCompletionEdit& edit)
{
    TIRCUnit* unit;
    TIRCChannel* channel;
    GetSelection(unit, channel);
    if (!channel)
        return false;
    return completer.Complete(text, selStart, selEnd, channel->GetMembers().GetMembers(),
                              unit->GetSession().currentNick, forward, edit);
}

void TIRCWorld::OnEventLineClick(bool allChannelsLog, const CString& eventData)
{
    CString rest = eventData;
    if (allChannelsLog) {
        auto* unit = (TIRCUnit*)ReadHexWord(rest);
        auto* channel = (TIRCChannel*)ReadHexWord(rest);
        if (HasUnit(unit))
            Select(unit, unit->HasChannel(channel) ? channel : nullptr);
        return;
    }
    CString word = CutFirstWord(rest);
    if (word.CompareNoCase(L"INVITE") != 0)
        return;
    auto* unit = (TIRCUnit*)ReadHexWord(rest);
    CString channelName = CutFirstWord(rest);
    if (HasUnit(unit))
        unit->JoinChannelByName(channelName, CString());
}

void TIRCWorld::BuildUserPopupMenu(HMENU menu, const std::vector<TPopupItem*>& items)
{
    HMENU levels[3] = {menu, menu, menu};
    HMENU current = menu;
    int previous = 0;
    for (size_t i = 0; i < items.size(); i++) {
        const TPopupItem& item = *items[i];
        CString text = item.name;
        text.Replace(L"\\t", L"\t");
        CString action = item.action;
        action.MakeLower();
        int level = ClampLevel(item.level);
        if (level < previous)
            current = levels[level];
        previous = level;
        int next = i + 1 < items.size() ? ClampLevel(items[i + 1]->level) : 0;
        if (next > level) {
            HMENU sub = ::CreatePopupMenu();
            ::AppendMenuW(current, MF_POPUP, (UINT_PTR)sub, text);
            current = sub;
            for (int l = level + 1; l <= next; l++)
                levels[l] = sub;
        } else if (item.name == L"-") {
            ::AppendMenuW(current, MF_SEPARATOR, 0, nullptr);
        } else if (action == L"menu") {
            if (int command = host->FindActionCommand(item.actionInfo))
                ::AppendMenuW(current, MF_STRING, command, text);
        } else {
            ::AppendMenuW(current, MF_STRING, item.commandId, text);
        }
    }
}
