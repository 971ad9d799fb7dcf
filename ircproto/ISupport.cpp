#include "ircproto/ISupport.h"

#include "foundation/Decimal.h"
#include "ircproto/IRCNames.h"
#include "ircproto/WordReader.h"

namespace {

const wchar_t kDefaultPrefix[] = L"(ov)@+";
const wchar_t kDefaultChanModes[] = L"beIR,k,l,imnpstaqr";
const int kDefaultModes = 3;
const int kDefaultNickLength = 9;
const wchar_t kSupportedClosing[] = L" are supported by this server";

CString AsciiLower(CString text)
{
    for (int i = 0; i < text.GetLength(); i++)
        if (text[i] >= L'A' && text[i] <= L'Z')
            text.SetAt(i, (wchar_t)(text[i] + 32));
    return text;
}

} // namespace

TISupportMode::TISupportMode()
{
    SetPrefix(kDefaultPrefix);
    SetChanModes(kDefaultChanModes);
}

void TISupportMode::SetPrefix(const CString& value)
{
    memberModes.clear();
    int close = value.Find(L')');
    if (value.IsEmpty() || value[0] != L'(' || close < 0)
        return;
    CString letters = value.Mid(1, close - 1);
    CString prefixes = value.Mid(close + 1);
    if (letters.GetLength() != prefixes.GetLength())
        return;
    for (int i = 0; i < letters.GetLength(); i++)
        memberModes[letters[i]] = prefixes[i];
}

bool TISupportMode::IsMemberPrefix(wchar_t prefix) const
{
    for (const auto& mode : memberModes)
        if (mode.second == prefix)
            return true;
    return false;
}

void TISupportMode::SetChanModes(const CString& value)
{
    channelModeKinds.clear();
    int group = 0;
    for (int i = 0; i < value.GetLength() && group <= kFlagMode; i++) {
        if (value[i] == L',')
            group++;
        else
            channelModeKinds[value[i]] = group;
    }
}

bool TISupportMode::TakesParameter(wchar_t letter, bool adding) const
{
    if (IsMemberMode(letter))
        return true;
    auto kind = channelModeKinds.find(letter);
    if (kind == channelModeKinds.end())
        return false;
    switch (kind->second) {
    case kListMode:
    case kAlwaysParam:
        return true;
    case kParamWhenSet:
        return adding;
    default:
        return false;
    }
}

bool TISupportMode::IsFlagMode(wchar_t letter) const
{
    auto kind = channelModeKinds.find(letter);
    return kind != channelModeKinds.end() && kind->second == kFlagMode;
}

void TISupportMode::ParseModeChanges(const CString& text, std::vector<TModeChange>& changes) const
{
    changes.clear();
    TWordReader<CString> rest(text);
    while (!rest.AtEnd()) {
        CString word = rest.Next();
        if (word.IsEmpty())
            break;
        if (word[0] != L'+' && word[0] != L'-')
            continue;
        bool adding = word[0] == L'+';
        for (int i = 1; i < word.GetLength(); i++) {
            wchar_t c = word[i];
            if (c == L'+' || c == L'-') {
                adding = c == L'+';
                continue;
            }
            TModeChange change;
            change.letter = c;
            change.adding = adding;
            if (IsMemberMode(c)) {
                change.memberMode = true;
                change.param = rest.Next();
            } else if (TakesParameter(c, adding)) {
                change.param = rest.Next();
            } else {
                change.flagMode = IsFlagMode(c);
            }
            changes.push_back(change);
        }
    }
}

TISupportInfo::TISupportInfo() { Reset(); }

void TISupportInfo::Reset()
{
    nickLength = kDefaultNickLength;
    channelTypes = kChannelPrefixes;
    modes.modesPerCommand = kDefaultModes;
    modes.SetPrefix(kDefaultPrefix);
    modes.SetChanModes(kDefaultChanModes);
}

void TISupportInfo::Parse(const CString& text)
{
    CString rest(text);
    int closing = rest.Find(kSupportedClosing);
    if (closing >= 0 && closing + (int)wcslen(kSupportedClosing) == rest.GetLength())
        rest = rest.Left(closing);
    TWordReader<CString> words(rest);
    while (!words.AtEnd()) {
        CString word = words.Next();
        if (word.IsEmpty())
            break;
        SetValue(word);
    }
}

void TISupportInfo::SetValue(const CString& token)
{
    int equals = token.Find(L'=');
    if (equals < 0)
        return;
    CString key = AsciiLower(token.Left(equals));
    CString value = token.Mid(equals + 1);
    if (key == L"chanmodes") {
        modes.SetChanModes(value);
    } else if (key == L"modes") {
        int count = ReadDecimal(value);
        modes.modesPerCommand = count > 0 ? count : kDefaultModes;
    } else if (key == L"prefix") {
        modes.SetPrefix(value);
    } else if (key == L"nicklen") {
        // A length below 1 would later give negative cut lengths; keep what we had.
        int length = ReadDecimal(value);
        if (length >= 1)
            nickLength = length;
    }
}
