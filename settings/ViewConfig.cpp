#include "settings/ViewConfig.h"

#include "foundation/Path.h"
#include "settings/Config.h"
#include "settings/IniExchange.h"

void ApplyFontSetting(TFont& target, const TViewFont& source)
{
    target.SetFaceName(source.family);
    target.logFont.lfCharSet = source.charset;
    target.size = source.size;
    target.color = source.color;
    target.logFont.lfWeight = source.bold ? FW_BOLD : FW_NORMAL;
    target.logFont.lfItalic = source.italic ? 1 : 0;
    target.logFont.lfUnderline = source.underline ? 1 : 0;
    target.CreateHandle();
}

TLogTextTheme::~TLogTextTheme() { ReleaseVariantFonts(); }

void TLogTextTheme::Apply(const TViewLogTextConfig& source)
{
    ReleaseFonts();
    shadowKind = source.shadowKind;
    shadowColor = source.shadowColor;
    useUrlFont = source.useUrlFont;
    useHostnameFont = source.useHostnameFont;
    selectTextColor = source.selectTextColor;
    selectBackColor = source.selectBackColor;
    hilightBackColor = source.hilightBackColor;
    for (int i = 0; i < kLineKindCount; i++)
        ApplyFontSetting(lineFonts[i], source.lineFonts[i]);
    for (int i = 0; i < kNickFontCount; i++)
        ApplyFontSetting(nickFonts[i], source.nickFonts[i]);
    ApplyFontSetting(timeFont, source.timeFont);
    ApplyFontSetting(channelFont, source.channelFont);
    ApplyFontSetting(urlFont, source.urlFont);
    ApplyFontSetting(hostnameFont, source.hostnameFont);
    ApplyFontSetting(keywordFont, source.keywordFont);
}

TFont* TLogTextTheme::GetLineFont(int kind, bool bold, bool underline)
{
    if (kind < 0 || kind >= kLineKindCount)
        kind = 0;
    TFont& base = lineFonts[kind];
    if (!bold && !underline)
        return &base;
    TFont*& variant = bold && underline ? boldUnderlineFonts[kind] : bold ? boldFonts[kind] : underlineFonts[kind];
    if (!variant) {
        variant = new TFont;
        variant->Assign(base);
        variant->logFont.lfWeight = base.logFont.lfWeight == FW_BOLD || bold ? FW_BOLD : FW_NORMAL;
        variant->logFont.lfUnderline = base.logFont.lfUnderline || underline ? 1 : 0;
        variant->CreateHandle();
    }
    return variant;
}

TFont* TLogTextTheme::GetUnderlinedKeywordFont()
{
    if (!underlinedKeywordFont) {
        underlinedKeywordFont = new TFont;
        underlinedKeywordFont->Assign(keywordFont);
        underlinedKeywordFont->logFont.lfUnderline = 1;
        underlinedKeywordFont->CreateHandle();
    }
    return underlinedKeywordFont;
}

void TLogTextTheme::ReleaseFonts()
{
    for (TFont& font : lineFonts)
        font.DeleteHandle();
    for (TFont& font : nickFonts)
        font.DeleteHandle();
    for (TFont* font : {&timeFont, &channelFont, &urlFont, &hostnameFont, &keywordFont})
        font->DeleteHandle();
    ReleaseVariantFonts();
}

void TLogTextTheme::ReleaseVariantFonts()
{
    delete underlinedKeywordFont;
    underlinedKeywordFont = nullptr;
    for (int i = 0; i < kLineKindCount; i++) {
        delete boldFonts[i];
        delete underlineFonts[i];
        delete boldUnderlineFonts[i];
        boldFonts[i] = underlineFonts[i] = boldUnderlineFonts[i] = nullptr;
    }
}

namespace {

// The folder joined with a name from a view or theme file, or empty when the name leads out of
// the folder ("..\", a drive, a share): a theme from elsewhere must not read any file it likes.
CString JoinInsideFolder(const CString& folder, const CString& name)
{
    wchar_t base[MAX_PATH * 2];
    wchar_t full[MAX_PATH * 2];
    const DWORD baseLength = GetFullPathNameW(folder, MAX_PATH * 2, base, nullptr);
    const DWORD fullLength = GetFullPathNameW(folder + name, MAX_PATH * 2, full, nullptr);
    if (baseLength == 0 || baseLength >= MAX_PATH * 2 || fullLength <= baseLength || fullLength >= MAX_PATH * 2)
        return CString();
    if (CompareStringOrdinal(base, (int)baseLength, full, (int)baseLength, TRUE) != CSTR_EQUAL)
        return CString();
    if (base[baseLength - 1] != L'\\' && full[baseLength] != L'\\')
        return CString(); // "images2\x" next to "images"
    return CString(full, (int)fullLength);
}

} // namespace

void TLogBkTheme::Apply(const TViewBackground& source, const CString& userImageFolder,
                        const CString& programImageFolder)
{
    color = source.color;
    style = source.style;
    picture.SetBitmap(nullptr, nullptr, nullptr);
    if (source.imageFile.IsEmpty())
        return;
    CString path = JoinInsideFolder(userImageFolder, source.imageFile);
    if (path.IsEmpty() || !PathExists(path))
        path = JoinInsideFolder(programImageFolder, source.imageFile);
    if (!path.IsEmpty() && PathExists(path))
        TImageLoader().LoadFromFile(path, picture);
}

namespace {

// The nine placements in the order centre, left, right, top, bottom, top left, top right,
// bottom left, bottom right.
const int kColumn[] = {1, 0, 2, 1, 1, 0, 2, 0, 2}; // 0 left, 1 centre, 2 right
const int kRow[] = {1, 1, 1, 0, 2, 0, 0, 2, 2};    // 0 top, 1 centre, 2 bottom
// The fitted styles name top before right ("拡大上" 303, "拡大右" 304), as the settings page and
// stored themes do; the other placements keep the natural-size order.
const int kFitPlace[] = {0, 1, 3, 2, 4, 5, 6, 7, 8};

// Where a picture of natural size iw × ih goes in a w × h area.
POINT PlacePicture(int place, int w, int h, int iw, int ih)
{
    int centreX = w / 2 - iw / 2;
    int centreY = h / 2 - ih / 2;
    POINT at;
    at.x = kColumn[place] == 0 ? 0 : kColumn[place] == 1 ? centreX : w - iw;
    at.y = kRow[place] == 0 ? 0 : kRow[place] == 1 ? centreY : h - ih;
    return at;
}

void Fill(HDC dc, const RECT& rect, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// The system fills with a pattern one copy of it at a time, so a small picture is first laid
// into a source of whole copies at least this wide and high.
const int kTileSpan = 64;

// A pattern brush of the picture, or of whole copies of it kTileSpan pixels or more each way.
HBRUSH MakeTileBrush(HDC dc, const TImage& picture)
{
    const int iw = picture.GetWidth(), ih = picture.GetHeight();
    const int columns = (kTileSpan + iw - 1) / iw, rows = (kTileSpan + ih - 1) / ih;
    HBRUSH single = CreatePatternBrush(picture.GetHandle());
    if (!single || (columns == 1 && rows == 1))
        return single;
    HBITMAP source = CreateCompatibleBitmap(dc, iw * columns, ih * rows);
    HDC memory = CreateCompatibleDC(dc);
    HBRUSH brush = nullptr;
    if (source && memory) {
        HGDIOBJ old = SelectObject(memory, source);
        RECT all = {0, 0, iw * columns, ih * rows};
        FillRect(memory, &all, single);
        SelectObject(memory, old);
        brush = CreatePatternBrush(source);
    }
    if (memory)
        DeleteDC(memory);
    if (source)
        DeleteObject(source);
    if (!brush)
        return single;
    DeleteObject(single);
    return brush;
}

// Covers the area with copies of the picture laid from (x, y): one brush for the whole area.
void Tile(HDC dc, const TImage& picture, const RECT& area, int x, int y)
{
    HBRUSH brush = MakeTileBrush(dc, picture);
    if (!brush)
        return;
    POINT origin = {x, y}, old = {};
    LPtoDP(dc, &origin, 1);
    SetBrushOrgEx(dc, origin.x, origin.y, &old);
    FillRect(dc, &area, brush);
    SetBrushOrgEx(dc, old.x, old.y, nullptr);
    DeleteObject(brush);
}

} // namespace

void TLogBkTheme::Draw(HDC dc, const RECT& rect) const
{
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    const int iw = picture.GetWidth();
    const int ih = picture.GetHeight();
    if (picture.IsEmpty() || iw <= 0 || ih <= 0) {
        Fill(dc, rect, color);
        return;
    }
    if (style == kBackTile) {
        Tile(dc, picture, rect, rect.left, rect.top);
        return;
    }
    if (style == kBackStretch) {
        picture.DrawStretched(dc, rect.left, rect.top, rect.right, rect.bottom);
        return;
    }
    Fill(dc, rect, color);
    if (style == kBackTileTop) {
        Tile(dc, picture, RECT{rect.left, 0, rect.right, ih}, rect.left, 0);
    } else if (style == kBackTileLeft) {
        Tile(dc, picture, RECT{0, rect.top, iw, rect.bottom}, 0, rect.top);
    } else if (style >= kBackCenter && style <= kBackCenter + 8) {
        POINT at = PlacePicture(style - kBackCenter, w, h, iw, ih);
        picture.Draw(dc, at.x, at.y);
    } else if (style >= kBackFitCenter && style <= kBackFitCenter + 8) {
        const int place = kFitPlace[style - kBackFitCenter];
        const float pictureRatio = ih > 0 ? (float)iw / (float)ih : (float)iw;
        const float areaRatio = h > 0 ? (float)w / (float)h : (float)w;
        int left = 0, top = 0, fw = w, fh = h;
        if (pictureRatio < areaRatio) {
            fw = (int)(pictureRatio * (float)h);
            left = kColumn[place] == 0 ? 0 : kColumn[place] == 1 ? (w - fw) / 2 : w - fw;
        } else {
            fh = pictureRatio == 0 ? 1 : (int)((float)w / pictureRatio);
            top = kRow[place] == 0 ? 0 : kRow[place] == 1 ? (h - fh) / 2 : h - fh;
        }
        picture.DrawStretched(dc, left, top, left + fw, top + fh);
    }
}

void TViewConfig::Load(const TConfig& config)
{
    settings.SetDefaults();
    settings.formats.SetDefaults();
    settings.LoadFile(GetFilePath(config), &loadError);
}

bool TViewConfig::Save(const TConfig& config) const
{
    return !IsUnreadableFileError(loadError) && settings.SaveFile(GetFilePath(config));
}

CString TViewConfig::GetFilePath(const TConfig& config) { return config.GetSettingsFolder() + L"view.ini"; }

void TViewConfig::UpdateTheme(const TConfig& config)
{
    logTheme.text.Apply(settings.logText);
    logTheme.channelLogBack.Apply(settings.channelLogBack, config.GetUserImageFolder(), config.GetProgramImageFolder());
    logTheme.allLogBack.Apply(settings.allLogBack, config.GetUserImageFolder(), config.GetProgramImageFolder());
    ApplyFontSetting(listFont, settings.list.font);
    ApplyFontSetting(treeFont, settings.tree.font);
    ApplyFontSetting(editFont, settings.editFont);
}
