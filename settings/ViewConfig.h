#pragma once
// The fonts and pictures that drawing uses, built from the stored view settings.

#include "foundation/Image.h"
#include "settings/Font.h"
#include "settings/ViewSettings.h"

class TConfig;

// The target takes the stored font and gets a new GDI font.
void ApplyFontSetting(TFont& target, const TViewFont& source);

class TLogTextTheme {
public:
    TLogTextTheme() = default;
    TLogTextTheme(const TLogTextTheme&) = delete;
    TLogTextTheme& operator=(const TLogTextTheme&) = delete;
    virtual ~TLogTextTheme();

    void Apply(const TViewLogTextConfig& source);
    // Variants are made on first use and live until the next Apply or release.
    TFont* GetLineFont(int kind, bool bold, bool underline);
    TFont* GetUnderlinedKeywordFont();
    void ReleaseFonts();
    void ReleaseVariantFonts();

    TFont lineFonts[kLineKindCount];
    TFont* boldFonts[kLineKindCount] = {};
    TFont* underlineFonts[kLineKindCount] = {};
    TFont* boldUnderlineFonts[kLineKindCount] = {};
    TFont nickFonts[kNickFontCount];
    TFont timeFont;
    TFont channelFont;
    TFont urlFont;
    TFont hostnameFont;
    TFont keywordFont;
    TFont* underlinedKeywordFont = nullptr;
    int shadowKind = 0;
    COLORREF shadowColor = 0;
    bool useUrlFont = false;
    bool useHostnameFont = false;
    COLORREF selectTextColor = 0;
    COLORREF selectBackColor = 0;
    COLORREF hilightBackColor = 0;
};

// Placement codes of the background picture.
enum {
    kBackFill = 0,
    kBackTile = 100,
    kBackTileTop = 101,
    kBackTileLeft = 102,
    kBackCenter = 200, // 200 to 208: natural size
    kBackStretch = 300,
    kBackFitCenter = 301, // 301 to 309: scaled to fit, placed as 200 to 208
};

class TLogBkTheme {
public:
    TLogBkTheme() = default;
    TLogBkTheme(const TLogBkTheme&) = delete;
    TLogBkTheme& operator=(const TLogBkTheme&) = delete;
    virtual ~TLogBkTheme() = default;

    // The picture is looked up in the user's images folder, then in the program's.
    void Apply(const TViewBackground& source, const CString& userImageFolder, const CString& programImageFolder);
    void Draw(HDC dc, const RECT& rect) const;

    COLORREF color = 0xFFFFFF;
    TImage picture;
    int style = 0;
};

struct TLogTheme {
    TLogTextTheme text;
    TLogBkTheme channelLogBack;
    TLogBkTheme allLogBack;
};

class TViewConfig {
public:
    TViewConfig() = default;
    TViewConfig(const TViewConfig&) = delete;
    TViewConfig& operator=(const TViewConfig&) = delete;
    virtual ~TViewConfig() = default;

    // Defaults, then "view.ini" of the settings folder when it can be read.
    void Load(const TConfig& config);
    // False when "view.ini" cannot be written, or was there but could not be read at the load:
    // the defaults shown then must not replace the user's file.
    bool Save(const TConfig& config) const;
    static CString GetFilePath(const TConfig& config);
    void UpdateTheme(const TConfig& config);

    TLogTheme logTheme;
    TFont listFont;
    TFont treeFont;
    TFont editFont;
    TViewSettings settings;
    // Why the last load gave defaults (0: the file was read); not stored.
    DWORD loadError = 0;
};
