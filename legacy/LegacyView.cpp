#include "legacy/LegacyView.h"

#include "foundation/Decimal.h"
#include "legacy/LegacyImport.h"
#include "settings/Config.h"
#include "settings/IniFile.h"
#include "settings/ViewSettings.h"

#include <climits>

namespace {

struct TNamedColor {
    const wchar_t* name;
    COLORREF value;
};

const TNamedColor kColorNames[] = {
    {L"clAqua", 0xFFFF00},    {L"clBlack", 0x000000},  {L"clBlue", 0xFF0000},   {L"clDkGray", 0xA9A9A9},
    {L"clFuchsia", 0xFF00FF}, {L"clGray", 0x808080},   {L"clGreen", 0x008000},  {L"clKetro", 0x00FF00},
    {L"clLtGray", 0xC0C0C0},  {L"clMaroon", 0x000080}, {L"clNavy", 0x800000},   {L"clOlive", 0x008080},
    {L"clPurple", 0x800080},  {L"clRed", 0x0000FF},    {L"clSilver", 0xC0C0C0}, {L"clTeal", 0x808000},
    {L"clWhite", 0xFFFFFF},   {L"clYellow", 0x00FFFF},
};

// Farther from white than from black; equal distances count as light.
bool IsDark(COLORREF color)
{
    int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    int toBlack = r * r + g * g + b * b;
    return toWhite > toBlack;
}

int BackgroundStyle(int drawType)
{
    static const int styles[] = {0, 100, 300, 200, 201, 202, 203, 204, 205, 207, 206, 208};
    return drawType >= 1 && drawType <= 11 ? styles[drawType] : 0;
}

void ReadBackgroundImages(TIniFile& ini, TViewSettings& s)
{
    ini.SetSection(L"ChImageFile");
    int count = ReadLegacyCount(ini, L"Count", L"ChanName");
    CString key;
    for (int i = 0; i < count; i++) {
        key.Format(L"ChanName%d", i);
        CString name = ini.ReadString(key, L"");
        TViewBackground* target = nullptr;
        if (name == L"チャンネルログ")
            target = &s.channelLogBack;
        else if (name == L"全チャンネルログ")
            target = &s.allLogBack;
        else
            continue;
        key.Format(L"DrawType%d", i);
        target->style = BackgroundStyle(ini.ReadInt(key, 0));
        key.Format(L"ImageFile%d", i);
        target->imageFile = ini.ReadString(key, L"");
    }
}

void ReadLayout(TIniFile& ini, TPreference& p)
{
    ini.SetSection(L"LogBackground");
    p.LineLeading = ini.ReadInt(L"LineMargin", p.LineLeading);
    ini.SetSection(L"Format");
    bool byOp = ini.ReadInt(L"SortWithOp", 1) != 0;
    bool byMask = ini.ReadInt(L"SortWithMask", 1) != 0;
    p.MemberSortMethod = byOp && byMask ? 4 : byOp ? 1 : byMask ? 2 : 0;
    p.InvertLogAndList = ini.ReadInt(L"InvertPanel", 0) != 0;
    p.InvertMemberAndTree = ini.ReadInt(L"InvertList", 0) != 0;
}

void ReadFontsAndColors(TIniFile& ini, TViewSettings& s)
{
    TViewLogTextConfig& t = s.logText;
    const struct {
        const wchar_t* section;
        TViewFont& font;
    } fonts[] = {
        {L"Font_Time", t.timeFont},        {L"Font_PreNick", t.nickFonts[0]}, {L"Font_PreNick2", t.nickFonts[2]},
        {L"Font_MyNick", t.nickFonts[1]},  {L"Font_PreChan", t.channelFont},  {L"Font_Keyword", t.keywordFont},
        {L"Font_Text", t.lineFonts[0]},    {L"Font_Notice", t.lineFonts[1]},  {L"Font_Action", t.lineFonts[2]},
        {L"Font_Error", t.lineFonts[14]},  {L"Font_Invite", t.lineFonts[7]},  {L"Font_Join", t.lineFonts[3]},
        {L"Font_Kick", t.lineFonts[6]},    {L"Font_Mode", t.lineFonts[9]},    {L"Font_Nick", t.lineFonts[8]},
        {L"Font_Part", t.lineFonts[4]},    {L"Font_Quit", t.lineFonts[5]},    {L"Font_Topic", t.lineFonts[10]},
        {L"Font_System", t.lineFonts[16]}, {L"Font_Reply", t.lineFonts[15]},  {L"Font_Input", s.editFont},
        {L"Font_ChList", s.tree.font},
    };
    for (const auto& entry : fonts)
        ReadLegacyFont(ini, entry.section, entry.font);
    ReadLegacyColorEntry(ini, L"Font_ChListUpdate", s.tree.updateText);
    ReadLegacyColorEntry(ini, L"Font_ChListActive", s.tree.selectedText);
    ReadLegacyColorEntry(ini, L"Font_ChListNewTalk", s.tree.newTalkText);
    ReadLegacyColorEntry(ini, L"Font_ChListKeyword", s.tree.keywordText);
    ReadLegacyFont(ini, L"Font_MemList", s.list.font);
    ReadLegacyColorEntry(ini, L"Font_MemListSpecial", s.list.groupText[0]);
    ReadLegacyColorEntry(ini, L"Font_MemListMe", s.list.selfText);
    ReadLegacyColorEntry(ini, L"Font_MemListSel", s.list.selectedText);
    ReadLegacyFont(ini, L"Font_Debug", t.lineFonts[19]);
    ReadLegacyFont(ini, L"Font_DCCSend", t.lineFonts[12]);
    ReadLegacyFont(ini, L"Font_DCCChat", t.lineFonts[13]);
}

// The old files had fewer kinds; the new ones borrow from their nearest old relative, and dark
// backgrounds get colours that stay readable on them.
void FillMissing(TViewSettings& s)
{
    TViewLogTextConfig& t = s.logText;
    t.lineFonts[17] = t.lineFonts[15];
    t.lineFonts[11] = t.lineFonts[15];
    t.lineFonts[18] = t.lineFonts[19];
    for (int i = 3; i <= 6; i++)
        t.nickFonts[i] = t.nickFonts[2];
    t.useUrlFont = false;
    t.useHostnameFont = false;

    if (IsDark(s.channelLogBack.color)) {
        t.selectTextColor = 0xFFFFFF;
        t.selectBackColor = 0xE16941;
        t.hilightBackColor = 0x852F13;
    }
    if (IsDark(s.list.groupBack[0])) {
        for (int g = 1; g <= 4; g++) {
            s.list.groupText[g] = s.list.groupBack[g];
            s.list.groupBack[g] = s.list.groupBack[0];
        }
    }
    if (s.list.selectedBack == 0xE0E0E0) {
        s.list.selectedText = 0xFFFFFF;
        s.list.selectedBack = 0xE16941;
    }
    if (s.tree.selectedBack == 0xE0E0E0) {
        s.tree.selectedText = 0xFFFFFF;
        s.tree.selectedBack = 0xE16941;
    }
}

} // namespace

COLORREF ParseLegacyColor(const CString& text, COLORREF defaultColor)
{
    if (text.IsEmpty())
        return defaultColor;
    for (const TNamedColor& named : kColorNames)
        if (text == named.name)
            return named.value;
    if (text.GetLength() < 6)
        return defaultColor;
    COLORREF value = 0;
    for (int i = text.GetLength() - 6; i < text.GetLength() && HexDigitValue(text[i]) >= 0; i++)
        value = value * 16 + HexDigitValue(text[i]);
    return value;
}

void ReadLegacyFont(TIniFile& ini, const CString& section, TViewFont& font)
{
    ini.SetSection(section);
    font.family = ini.ReadString(L"Name", font.family);
    // Kept in range so a damaged size cannot overflow when turned into tenths.
    int points = ini.ReadInt(L"Size", font.size / 10);
    if (points > INT_MAX / 10)
        points = INT_MAX / 10;
    if (points < INT_MIN / 10)
        points = INT_MIN / 10;
    font.size = points * 10;
    font.color = ParseLegacyColor(ini.ReadString(L"Color", L""), font.color);
    CString style = ini.ReadString(L"Style", L"");
    font.nFlag = style.Find(L'N') >= 0;
    font.bold = style.Find(L'B') >= 0;
    font.underline = style.Find(L'U') >= 0;
    font.italic = style.Find(L'I') >= 0;
    font.charset = (BYTE)(ini.ReadInt(L"Charset", 128) & 0xFF);
}

void ReadLegacyColorEntry(TIniFile& ini, const CString& section, COLORREF& color)
{
    ini.SetSection(section);
    color = ParseLegacyColor(ini.ReadString(L"Color", L""), color);
}

void ReadLegacyViewAppearance(TIniFile& ini, TViewSettings& s, TPreference* preference)
{
    s.SetDefaults();
    ini.SetSection(L"LogBackground");
    int textType = ini.ReadInt(L"TextType", 0);
    s.logText.shadowKind = textType == 1 ? 3 : textType == 2 ? 1 : textType == 3 ? 2 : 0;

    ini.SetSection(L"BkColor");
    auto color = [&ini](const wchar_t* key, COLORREF& target) {
        target = ParseLegacyColor(ini.ReadString(key, L""), target);
    };
    color(L"LogBkColor", s.channelLogBack.color);
    s.allLogBack.color = s.channelLogBack.color;
    color(L"LogBkColor", s.logText.shadowColor);
    color(L"InputBkColor", s.editBackColor);
    color(L"ChBkColor", s.tree.backColor);
    color(L"ChBkUpdateColor", s.tree.updateBack);
    color(L"ChBkActiveColor", s.tree.selectedBack);
    color(L"ChBkNewTalkColor", s.tree.newTalkBack);
    color(L"ChBkKeywordColor", s.tree.keywordBack);
    color(L"MemBkColor", s.list.backColor);
    color(L"MemBkSpecialColor", s.list.groupBack[0]);
    color(L"MemBkMeColor", s.list.selfBack);
    color(L"MemBkSelColor", s.list.selectedBack);

    ReadBackgroundImages(ini, s);
    if (preference)
        ReadLayout(ini, *preference);
    ReadFontsAndColors(ini, s);
    FillMissing(s);
    // The take-over uses these sizes as they stand: held to what a font can be made at, as any
    // view file's are.
    s.Bound();
}

void ReadLegacyViewFormats(TIniFile& ini, TViewSettings& s)
{
    TLogFormat& f = s.formats;
    f.SetDefaults();
    ini.SetSection(L"Format");
    const struct {
        const wchar_t* key;
        bool TLogFormat::*flag;
    } flags[] = {
        {L"EnableTime", &TLogFormat::EnableTime},
        {L"EnableChanName", &TLogFormat::EnableChannelInChannelLog},
        {L"MsgPrivmsgAllEnabled", &TLogFormat::EnablePrivmsgConsole},
        {L"MsgNoticeEnabled", &TLogFormat::EnableNoticeChannel},
        {L"MsgNoticeAllEnabled", &TLogFormat::EnableNoticeConsole},
        {L"MsgActionEnabled", &TLogFormat::EnableActionChannel},
        {L"MsgActionAllEnabled", &TLogFormat::EnableActionConsole},
        {L"MsgErrorChEnabled", &TLogFormat::EnableErrorChannel},
        {L"MsgErrorAllEnabled", &TLogFormat::EnableErrorConsole},
        {L"MsgInviteChEnabled", &TLogFormat::EnableInviteChannel},
        {L"MsgInviteAllEnabled", &TLogFormat::EnableInviteConsole},
        {L"MsgJoinChEnabled", &TLogFormat::EnableJoinChannel},
        {L"MsgJoinAllEnabled", &TLogFormat::EnableJoinConsole},
        {L"MsgKickChEnabled", &TLogFormat::EnableKickChannel},
        {L"MsgKickAllEnabled", &TLogFormat::EnableKickConsole},
        {L"MsgModeChEnabled", &TLogFormat::EnableModeChannel},
        {L"MsgModeAllEnabled", &TLogFormat::EnableModeConsole},
        {L"MsgNickChEnabled", &TLogFormat::EnableNickChannel},
        {L"MsgNickAllEnabled", &TLogFormat::EnableNickConsole},
        {L"MsgPartChEnabled", &TLogFormat::EnablePartChannel},
        {L"MsgPartAllEnabled", &TLogFormat::EnablePartConsole},
        {L"MsgQuitChEnabled", &TLogFormat::EnableQuitChannel},
        {L"MsgQuitAllEnabled", &TLogFormat::EnableQuitConsole},
        {L"MsgTopicChEnabled", &TLogFormat::EnableTopicChannel},
        {L"MsgTopicAllEnabled", &TLogFormat::EnableTopicConsole},
        {L"MsgAwayRepChEnabled", &TLogFormat::EnableAwayReplyChannel},
        {L"MsgAwayRepAllEnabled", &TLogFormat::EnableAwayReplyConsole},
        {L"MsgModeRepChEnabled", &TLogFormat::EnableModeReplyChannel},
        {L"MsgModeRepAllEnabled", &TLogFormat::EnableModeReplyConsole},
        {L"MsgTopicRepChEnabled", &TLogFormat::EnableTopicReplyChannel},
        {L"MsgTopicRepAllEnabled", &TLogFormat::EnableTopicReplyConsole},
    };
    for (const auto& entry : flags)
        f.*entry.flag = ini.ReadBool(entry.key, f.*entry.flag);
    const struct {
        const wchar_t* key;
        CString TLogFormat::*text;
    } texts[] = {
        {L"NickFormat", &TLogFormat::PreNick},        {L"TimeFormat", &TLogFormat::Time},
        {L"MsgErrorFormat", &TLogFormat::Error},      {L"MsgInviteFormat", &TLogFormat::Invite},
        {L"MsgJoinFormat", &TLogFormat::Join},        {L"MsgKickFormat", &TLogFormat::Kick},
        {L"MsgModeFormat", &TLogFormat::Mode},        {L"MsgNickFormat", &TLogFormat::Nick},
        {L"MsgPartFormat", &TLogFormat::Part},        {L"MsgQuitFormat", &TLogFormat::Quit},
        {L"MsgTopicFormat", &TLogFormat::Topic},      {L"ReplyAwayFormat", &TLogFormat::AwayReply},
        {L"ReplyModeFormat", &TLogFormat::ModeReply}, {L"ReplyTopicFormat", &TLogFormat::TopicReply},
    };
    for (const auto& entry : texts)
        f.*entry.text = ini.ReadString(entry.key, f.*entry.text);
    f.UserMode = f.ModeReply;
    f.UserMode.Replace(L"%c", L"%n");
    f.Time.Replace(L"hh", L"%H");
    f.Time.Replace(L"nn", L"%M");
    f.Time.Replace(L"ss", L"%S");
}

bool ImportLegacyViewFile(const CString& path, TViewSettings& settings, TPreference* preference)
{
    TIniFile ini(true);
    if (!ini.Load(path))
        return false;
    ReadLegacyViewAppearance(ini, settings, preference);
    ReadLegacyViewFormats(ini, settings);
    return true;
}

bool ImportLegacyViewAppearance(const CString& path, TViewSettings& settings, TPreference* preference)
{
    TIniFile ini(true);
    if (!ini.Load(path))
        return false;
    ReadLegacyViewAppearance(ini, settings, preference);
    return true;
}

bool ImportLegacyViewFormats(const CString& path, TViewSettings& settings)
{
    TIniFile ini(true);
    if (!ini.Load(path))
        return false;
    ReadLegacyViewFormats(ini, settings);
    return true;
}

bool ReadLegacyViewTheme(const CString& path, TViewSettings& settings, TThemePart part)
{
    if (part == TThemePart::Appearance)
        return ImportLegacyViewAppearance(path, settings, nullptr);
    if (part == TThemePart::Formats)
        return ImportLegacyViewFormats(path, settings);
    return ImportLegacyViewFile(path, settings, nullptr);
}

void ImportLegacyView(TConfig& config)
{
    ImportLegacyViewFile(GetLegacyConfigPath(config, L"-view.ini"), config.view.settings, &config.preference);
}
