#include "settings/ViewSettings.h"

#include "foundation/Path.h"
#include "foundation/ResourceString.h"
#include "res/resource.h"
#include "settings/IniFile.h"

namespace {

const wchar_t* const kMissingStyle = L"***DEFAULT***";

template <class TVisitor, class TBackground> void VisitBackground(TVisitor& v, TBackground& back)
{
    v.Color(L"BackColor", back.color);
    v.String(L"BackImageFile", back.imageFile);
    v.Int(L"BackStyle", back.style);
}

// Loading and saving walk the appearance through one list, so both keep the same keys in the
// same order.
template <class TVisitor, class TSettings> void VisitAppearance(TVisitor& v, TSettings& s)
{
    CString prefix;
    v.Section(L"LogText");
    for (int i = 0; i < kLineKindCount; i++) {
        prefix.Format(L"LineFont.%02d.", i);
        v.Font(prefix, s.logText.lineFonts[i]);
    }
    for (int i = 0; i < kNickFontCount; i++) {
        prefix.Format(L"NickFont.%02d.", i);
        v.Font(prefix, s.logText.nickFonts[i]);
    }
    v.Font(L"TimeFont.", s.logText.timeFont);
    v.Font(L"ChannelFont.", s.logText.channelFont);
    v.Font(L"URLFont.", s.logText.urlFont);
    v.Font(L"HostnameFont.", s.logText.hostnameFont);
    v.Font(L"KeywordFont.", s.logText.keywordFont);
    v.Color(L"ShadowColor", s.logText.shadowColor);
    v.Int(L"ShadowKind", s.logText.shadowKind);
    v.Bool(L"UseURLFont", s.logText.useUrlFont);
    v.Bool(L"UseHostnameFont", s.logText.useHostnameFont);
    v.Color(L"SelectTextColor", s.logText.selectTextColor);
    v.Color(L"SelectBackColor", s.logText.selectBackColor);
    v.Color(L"HilightBackColor", s.logText.hilightBackColor);

    v.Section(L"ChannelLogBack");
    VisitBackground(v, s.channelLogBack);
    v.Section(L"AllLogBack");
    VisitBackground(v, s.allLogBack);

    v.Section(L"List");
    v.Font(L"Font.", s.list.font);
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
    v.Font(L"Font.", s.tree.font);
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
    v.Font(L"Font.", s.editFont);
    v.Color(L"BackColor", s.editBackColor);
}

struct TAppearanceReader {
    TIniFile& ini;
    void Section(const wchar_t* name) { ini.SetSection(name); }
    void Font(const CString& prefix, TViewFont& font) { ReadFontSetting(ini, prefix, font); }
    void Color(const CString& key, COLORREF& value) { value = ini.ReadColor(key, value); }
    void Int(const CString& key, int& value) { value = ini.ReadInt(key, value); }
    void Bool(const CString& key, bool& value) { value = ini.ReadBool(key, value); }
    void String(const CString& key, CString& value) { value = ini.ReadString(key, value); }
};

struct TAppearanceWriter {
    TIniFileWriter& writer;
    void Section(const wchar_t* name) { writer.WriteSection(name); }
    void Font(const CString& prefix, const TViewFont& font) { WriteFontSetting(writer, prefix, font); }
    void Color(const CString& key, COLORREF value) { writer.WriteColor(key, value); }
    void Int(const CString& key, int value) { writer.WriteInt(key, value); }
    void Bool(const CString& key, bool value) { writer.WriteBool(key, value); }
    void String(const CString& key, const CString& value) { writer.WriteString(key, value); }
};

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

void ReadFontSetting(const TIniFile& ini, const CString& prefix, TViewFont& font)
{
    font.family = ini.ReadString(prefix + L"Family", font.family);
    font.size = ini.ReadInt(prefix + L"Size", font.size);
    font.charset = (BYTE)(ini.ReadInt(prefix + L"Charset", font.charset) & 0xFF);
    font.color = ini.ReadColor(prefix + L"Color", font.color);
    CString style = ini.ReadString(prefix + L"Style", kMissingStyle);
    if (style == kMissingStyle) {
        font.nFlag = font.bold = font.italic = font.underline = false;
        return;
    }
    font.nFlag = style.Find(L'N') >= 0;
    font.bold = style.Find(L'B') >= 0;
    font.underline = style.Find(L'U') >= 0;
    font.italic = style.Find(L'I') >= 0;
}

void WriteFontSetting(TIniFileWriter& writer, const CString& prefix, const TViewFont& font)
{
    writer.WriteString(prefix + L"Family", font.family);
    writer.WriteInt(prefix + L"Size", font.size);
    writer.WriteInt(prefix + L"Charset", font.charset);
    writer.WriteColor(prefix + L"Color", font.color);
    CString style;
    if (font.nFlag)
        style += L'N';
    if (font.bold)
        style += L'B';
    if (font.underline)
        style += L'U';
    if (font.italic)
        style += L'I';
    writer.WriteString(prefix + L"Style", style);
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

bool TViewSettings::ReadFile(const CString& path, bool appearance, bool readFormats)
{
    TIniFile ini(false);
    if (!ini.Load(path))
        return false;
    if (appearance) {
        TAppearanceReader reader{ini};
        VisitAppearance(reader, *this);
    }
    if (readFormats)
        formats.Load(ini);
    return true;
}

bool TViewSettings::SaveFile(const CString& path) const
{
    CreateFolderTree(ExtractFolder(path));
    TIniFileWriter writer;
    if (!writer.Open(path))
        return false;
    TAppearanceWriter appearanceWriter{writer};
    VisitAppearance(appearanceWriter, *this);
    formats.Save(writer);
    return writer.Close();
}
