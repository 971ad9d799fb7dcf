#include "settings/ViewSettings.h"

#include "foundation/ResourceString.h"
#include "res/resource.h"
#include "settings/IniExchange.h"

namespace {

const wchar_t* const kMissingStyle = L"***DEFAULT***";

void ExchangeBackground(TIniExchange& v, TViewBackground& back)
{
    v.Color(L"BackColor", back.color);
    v.String(L"BackImageFile", back.imageFile);
    v.Int(L"BackStyle", back.style);
}

// A missing key keeps what the field holds, so a theme may set only some of them.
void ExchangeAppearance(TIniExchange& v, TViewSettings& s)
{
    CString prefix;
    v.Section(L"LogText");
    for (int i = 0; i < kLineKindCount; i++) {
        prefix.Format(L"LineFont.%02d.", i);
        ExchangeFont(v, prefix, s.logText.lineFonts[i]);
    }
    for (int i = 0; i < kNickFontCount; i++) {
        prefix.Format(L"NickFont.%02d.", i);
        ExchangeFont(v, prefix, s.logText.nickFonts[i]);
    }
    ExchangeFont(v, L"TimeFont.", s.logText.timeFont);
    ExchangeFont(v, L"ChannelFont.", s.logText.channelFont);
    ExchangeFont(v, L"URLFont.", s.logText.urlFont);
    ExchangeFont(v, L"HostnameFont.", s.logText.hostnameFont);
    ExchangeFont(v, L"KeywordFont.", s.logText.keywordFont);
    v.Color(L"ShadowColor", s.logText.shadowColor);
    v.Int(L"ShadowKind", s.logText.shadowKind);
    v.Bool(L"UseURLFont", s.logText.useUrlFont);
    v.Bool(L"UseHostnameFont", s.logText.useHostnameFont);
    v.Color(L"SelectTextColor", s.logText.selectTextColor);
    v.Color(L"SelectBackColor", s.logText.selectBackColor);
    v.Color(L"HilightBackColor", s.logText.hilightBackColor);

    v.Section(L"ChannelLogBack");
    ExchangeBackground(v, s.channelLogBack);
    v.Section(L"AllLogBack");
    ExchangeBackground(v, s.allLogBack);

    v.Section(L"List");
    ExchangeFont(v, L"Font.", s.list.font);
    v.Color(L"SelectedColor.Text", s.list.selectedText);
    v.Color(L"SelectedColor.Back", s.list.selectedBack);
    v.Color(L"SelfColor.Text", s.list.selfText);
    v.Color(L"SelfColor.Back", s.list.selfBack);
    for (int g = 0; g < kUserGroupCount; g++) {
        prefix.Format(L"GroupColor.%02d.", g);
        v.Color(prefix + L"Text", s.list.groupText[g]);
        v.Color(prefix + L"Back", s.list.groupBack[g]);
    }
    v.Color(L"BackColor", s.list.backColor);

    v.Section(L"Tree");
    ExchangeFont(v, L"Font.", s.tree.font);
    v.Color(L"SelectedColor.Text", s.tree.selectedText);
    v.Color(L"SelectedColor.Back", s.tree.selectedBack);
    v.Color(L"KeywordColor.Text", s.tree.keywordText);
    v.Color(L"KeywordColor.Back", s.tree.keywordBack);
    v.Color(L"NewTalkColor.Text", s.tree.newTalkText);
    v.Color(L"NewTalkColor.Back", s.tree.newTalkBack);
    v.Color(L"UpdateColor.Text", s.tree.updateText);
    v.Color(L"UpdateColor.Back", s.tree.updateBack);
    v.Color(L"BackColor", s.tree.backColor);

    v.Section(L"Edit");
    ExchangeFont(v, L"Font.", s.editFont);
    v.Color(L"BackColor", s.editBackColor);
}

void SetFont(TViewFont& font, const CString& face, BYTE charset, COLORREF color)
{
    font.family = face;
    font.charset = charset;
    font.size = 100;
    font.color = color;
}

void SetStyle(TViewFont& font, bool bold, bool underline)
{
    font.bold = bold;
    font.italic = false;
    font.underline = underline;
}

} // namespace

void ExchangeFont(TIniExchange& io, const CString& prefix, TViewFont& font)
{
    io.String(prefix + L"Family", font.family);
    io.Int(prefix + L"Size", font.size);
    io.Byte(prefix + L"Charset", font.charset, font.charset);
    io.Color(prefix + L"Color", font.color);
    CString style;
    if (!io.IsLoading()) {
        if (font.nFlag)
            style += L'N';
        if (font.bold)
            style += L'B';
        if (font.underline)
            style += L'U';
        if (font.italic)
            style += L'I';
    }
    io.String(prefix + L"Style", style, kMissingStyle);
    if (!io.IsLoading())
        return;
    // A font without a style key is plain.
    font.nFlag = style != kMissingStyle && style.Find(L'N') >= 0;
    font.bold = style != kMissingStyle && style.Find(L'B') >= 0;
    font.underline = style != kMissingStyle && style.Find(L'U') >= 0;
    font.italic = style != kMissingStyle && style.Find(L'I') >= 0;
}

void TViewSettings::SetDefaults()
{
    static const COLORREF lineColors[kLineKindCount] = {
        0x101010, 0x808080, 0x108010, 0x1F8135, 0x263C84, 0x263C84, 0x263C84, 0xA73734, 0x8C8251, 0x8C8251,
        0x8C8251, 0x808000, 0xA73734, 0xA73734, 0x2424B0, 0x808010, 0x316166, 0x808010, 0x808080, 0x101010};
    static const COLORREF nickColors[kNickFontCount] = {0x9F1010, 0x666666, 0xFF6060, 0xCFB040,
                                                        0x40B040, 0xCF40CF, 0x40B0B0};
    static const COLORREF groupBacks[kUserGroupCount] = {0xFFC0C0, 0xFFE0C0, 0xC0E0C0, 0xFFC0FF, 0xC0E0E0};

    CString face = LoadResourceString(IDS_VIEW_DEFAULT_FACE);
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    BYTE charset = (BYTE)GetTextCharset(dc);
    ReleaseDC(desktop, dc);

    for (int i = 0; i < kLineKindCount; i++) {
        SetFont(logText.lineFonts[i], face, charset, lineColors[i]);
        // Invite, DCC Send, DCC Chat and errors stand out.
        SetStyle(logText.lineFonts[i], i == 7 || i == 12 || i == 13 || i == 14, false);
    }
    for (int i = 0; i < kNickFontCount; i++) {
        SetFont(logText.nickFonts[i], face, charset, nickColors[i]);
        SetStyle(logText.nickFonts[i], false, false);
    }
    SetFont(logText.timeFont, face, charset, 0x3C4E6F);
    SetStyle(logText.timeFont, false, false);
    SetFont(logText.channelFont, face, charset, 0x801010);
    SetStyle(logText.channelFont, false, false);
    SetFont(logText.urlFont, face, charset, 0xE01010);
    SetStyle(logText.urlFont, false, true);
    SetFont(logText.hostnameFont, face, charset, 0xE01010);
    SetStyle(logText.hostnameFont, false, true);
    SetFont(logText.keywordFont, face, charset, 0x9314FF);
    SetStyle(logText.keywordFont, true, false);
    logText.shadowKind = 0;
    logText.shadowColor = 0xC0C0C0;
    logText.useUrlFont = false;
    logText.useHostnameFont = false;
    logText.selectTextColor = 0xFFFFFF;
    logText.selectBackColor = 0xE16941;
    logText.hilightBackColor = 0xB0FFA0;

    channelLogBack = TViewBackground();
    allLogBack = TViewBackground();

    SetFont(list.font, face, charset, 0x101010);
    list.selectedText = 0xFFFFFF;
    list.selectedBack = 0xE16941;
    list.selfText = 0x101010;
    list.selfBack = 0xC0C0FF;
    for (int g = 0; g < kUserGroupCount; g++) {
        list.groupText[g] = 0x101010;
        list.groupBack[g] = groupBacks[g];
    }
    list.backColor = 0xFFFFFF;

    SetFont(tree.font, face, charset, 0x101010);
    tree.selectedText = 0xFFFFFF;
    tree.selectedBack = 0xE16941;
    tree.keywordText = 0x101010;
    tree.keywordBack = 0xFFC0FF;
    tree.newTalkText = 0x101010;
    tree.newTalkBack = 0xC0C0FF;
    tree.updateText = 0x101010;
    tree.updateBack = 0xD0D0D0;
    tree.backColor = 0xFFFFFF;

    SetFont(editFont, face, charset, 0x101010);
    editBackColor = 0xFFFFFF;
}

bool TViewSettings::ReadFile(const CString& path, bool appearance, bool readFormats, DWORD* error)
{
    TIniFile ini(false);
    bool loaded = ini.Load(path);
    if (error)
        *error = ini.GetLoadError();
    if (!loaded)
        return false;
    TIniExchange io(ini);
    Exchange(io, appearance, readFormats);
    Bound();
    return true;
}

namespace {

// Sizes of 0 or less are kept: the font is made at the system's default height for 0 and at the
// size's absolute value below it. Either sign beyond the largest size makes no usable font.
void BoundSize(TViewFont& font)
{
    if (font.size > kLargestFontSize)
        font.size = kLargestFontSize;
    else if (font.size < -kLargestFontSize)
        font.size = -kLargestFontSize;
}

} // namespace

void TViewSettings::Bound()
{
    for (TViewFont& font : logText.lineFonts)
        BoundSize(font);
    for (TViewFont& font : logText.nickFonts)
        BoundSize(font);
    for (TViewFont* font : {&logText.timeFont, &logText.channelFont, &logText.urlFont, &logText.hostnameFont,
                            &logText.keywordFont, &list.font, &tree.font, &editFont})
        BoundSize(*font);
}

bool TViewSettings::SaveFile(const CString& path) const
{
    TViewSettings* self = const_cast<TViewSettings*>(this);
    return SaveIniFile(path, [self](TIniExchange& io) { self->Exchange(io, true, true); });
}

void TViewSettings::Exchange(TIniExchange& io, bool appearance, bool withFormats)
{
    if (appearance)
        ExchangeAppearance(io, *this);
    if (withFormats)
        formats.Exchange(io);
}
