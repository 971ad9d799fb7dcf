#include "settings/PopupFile.h"

#include "foundation/CodePage.h"
#include "foundation/Decimal.h"
#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "foundation/StringList.h"
#include "foundation/StringUtils.h"
#include "res/resource.h"

const wchar_t PopupSearchAddress[] = L"http://www.google.com/search?ie=utf-8&q=$encodeurl(%s)";

namespace {

const char EncodingLine[] = "#Encoding=UTF-8";

CString SearchAddressPrefix()
{
    CString address = PopupSearchAddress;
    return address.Left(address.Find(L'?') + 1);
}

// Old search items asked for Shift_JIS or marked UTF-8 in the target; both now mean an
// address that carries the selection as URL-encoded UTF-8.
void UpdateSearchItem(TPopupItem& item)
{
    if (item.action.CompareNoCase(L"OpenURL") != 0 ||
        item.actionInfo.Left(SearchAddressPrefix().GetLength()) != SearchAddressPrefix())
        return;
    item.actionInfo.Replace(L"Shift_JIS", L"utf-8");
    if (item.target.CompareNoCase(L"UTF-8") == 0) {
        item.target.Empty();
        item.actionInfo.Replace(L"%s", L"$encodeurl(%s)");
    }
}

// Escaped, a line break inside a field cannot end the item's line.
CString FieldText(const CString& text) { return EscapePopupText(text); }

TPopupItem* ParseItem(CString line)
{
    TPopupItem* item = new TPopupItem;
    item->level = ReadDecimal(CutFirstTabToken(line));
    CString* fields[] = {&item->name, &item->action, &item->target, &item->actionInfo};
    for (CString* field : fields)
        *field = UnescapePopupText(CutFirstTabToken(line));
    UpdateSearchItem(*item);
    return item;
}

} // namespace

// A line end inside a field would end the item's line: it is kept as backslash and r or n.
CString EscapePopupText(const CString& text)
{
    CString out = EscapeBackslashesAndTabs(text);
    out.Replace(L"\r", L"\\r");
    out.Replace(L"\n", L"\\n");
    return out;
}

CString UnescapePopupText(const CString& text)
{
    CString out;
    int length = text.GetLength();
    for (int i = 0; i < length; i++) {
        if (text[i] == L'\\' && i + 1 < length) {
            wchar_t next = text[++i];
            out += next == L't' ? L'\t' : next == L'r' ? L'\r' : next == L'n' ? L'\n' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

void TPopupFile::Clear()
{
    for (TPopupItem* item : items)
        delete item;
    items.clear();
}

void TPopupFile::CopyFrom(const TPopupFile& other)
{
    if (&other == this)
        return;
    Clear();
    for (const TPopupItem* item : other.items)
        items.push_back(new TPopupItem(*item));
}

bool TPopupFile::Load(const CString& path)
{
    Clear();
    TStringAList lines;
    if (!lines.LoadFromFile(path))
        return false;
    bool utf8 = false;
    for (int i = 0; i < lines.GetCount(); i++) {
        const CStringA& line = lines.items[i];
        if (line.IsEmpty())
            continue;
        if (i == 0 && IsEncodingMarkerLine(line, EncodingLine)) {
            utf8 = true;
            continue;
        }
        if (line[0] == '#')
            continue;
        items.push_back(ParseItem(utf8 ? ConvertFromUtf8(line) : ConvertFromCodePage(line, CP_SHIFT_JIS)));
    }
    return true;
}

bool TPopupFile::Save(const CString& path) const
{
    CreateFolderTree(ExtractFolder(path));
    TStringAList lines;
    lines.Add(EncodingLine);
    for (const TPopupItem* item : items) {
        CString line;
        line.Format(L"%d\t%s\t%s\t%s\t%s", item->level, FieldText(item->name).GetString(),
                    FieldText(item->action).GetString(), FieldText(item->target).GetString(),
                    FieldText(item->actionInfo).GetString());
        lines.Add(ConvertToUtf8(line));
    }
    return lines.SaveToFile(path);
}

void TPopupFile::SetDefault()
{
    struct TDefaultItem {
        UINT captionId; // 0 for a separator
        const wchar_t* action;
        const wchar_t* target;
        const wchar_t* actionInfo;
    } defaults[] = {
        {IDS_POPUP_CHANGE_NICK, L"Menu", L"", L"Nick"},
        {IDS_POPUP_CHANGE_TOPIC, L"Menu", L"", L"Topic"},
        {0, L"", L"", L""},
        {IDS_POPUP_SELECTION_TO_TOPIC, L"Topic", L"%a", L"%s"},
        {IDS_POPUP_SEARCH_SELECTION, L"OpenURL", L"", PopupSearchAddress},
        {0, L"", L"", L""},
        {IDS_POPUP_COPY, L"Menu", L"", L"Copy"},
        {IDS_POPUP_PASTE, L"Menu", L"", L"Paste"},
        {IDS_POPUP_SELECT_ALL, L"Menu", L"", L"SelectAll"},
    };
    Clear();
    for (const TDefaultItem& entry : defaults) {
        TPopupItem* item = new TPopupItem;
        item->name = entry.captionId ? EscapePopupText(LoadResourceString(entry.captionId)) : CString(L"-");
        item->action = entry.action;
        item->target = entry.target;
        item->actionInfo = entry.actionInfo;
        items.push_back(item);
    }
}
