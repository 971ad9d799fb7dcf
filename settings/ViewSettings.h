#pragma once
// What the user chooses about how text looks, stored in "view.ini" and in theme files of the
// same format.

#include "classlib/String.h"
#include "settings/LogFormat.h"

#include <windows.h>

class TIniExchange;

const int kLineKindCount = 20;
const int kNickFontCount = 7;
const int kUserGroupCount = 5;
// Font sizes are tenths of a point; the font chooser offers no more than this. A thousand points
// is already far beyond any screen; larger sizes make no usable font.
const int kLargestFontSize = 10000;
// A colour field holding this stands for the system's colour of that place.
const COLORREF kSystemColor = 0xFFFFFFFF;

struct TViewFont {
    CString family;
    BYTE charset = 128;
    int size = 0;
    bool nFlag = false; // kept and written back only
    bool bold = false;
    bool italic = false;
    bool underline = false;
    COLORREF color = kSystemColor;
};

struct TViewLogTextConfig {
    TViewFont lineFonts[kLineKindCount];
    TViewFont nickFonts[kNickFontCount];
    TViewFont timeFont;
    TViewFont channelFont;
    TViewFont urlFont;
    TViewFont hostnameFont;
    TViewFont keywordFont;
    int shadowKind = 0;
    COLORREF shadowColor = 0xC0C0C0;
    bool useUrlFont = false;
    bool useHostnameFont = false;
    COLORREF selectTextColor = 0xFFFFFF;
    COLORREF selectBackColor = 0xE16941;
    COLORREF hilightBackColor = 0xB0FFA0;
};

struct TViewBackground {
    COLORREF color = 0xFFFFFF;
    CString imageFile;
    int style = 0;
};

struct TViewListConfig {
    TViewFont font;
    COLORREF selectedText = kSystemColor;
    COLORREF selectedBack = kSystemColor;
    COLORREF selfText = kSystemColor;
    COLORREF selfBack = kSystemColor;
    COLORREF groupText[kUserGroupCount] = {kSystemColor, kSystemColor, kSystemColor, kSystemColor, kSystemColor};
    COLORREF groupBack[kUserGroupCount] = {kSystemColor, kSystemColor, kSystemColor, kSystemColor, kSystemColor};
    COLORREF backColor = 0xFFFFFF;
};

struct TViewTreeConfig {
    TViewFont font;
    COLORREF selectedText = kSystemColor;
    COLORREF selectedBack = kSystemColor;
    COLORREF keywordText = kSystemColor;
    COLORREF keywordBack = kSystemColor;
    COLORREF newTalkText = kSystemColor;
    COLORREF newTalkBack = kSystemColor;
    COLORREF updateText = kSystemColor;
    COLORREF updateBack = kSystemColor;
    COLORREF backColor = 0xFFFFFF;
};

class TViewSettings {
public:
    // The formats only leave the constructor empty; the appearance has its construction values.
    void SetDefaults();
    // False when the file cannot be opened; the settings are then unchanged, and error (when
    // given) holds the system's reason (0 after a good load).
    bool LoadFile(const CString& path, DWORD* error = nullptr) { return ReadFile(path, true, true, error); }
    bool LoadAppearance(const CString& path) { return ReadFile(path, true, false); }
    bool LoadFormats(const CString& path) { return ReadFile(path, false, true); }
    bool ReadFile(const CString& path, bool appearance, bool formats, DWORD* error = nullptr);
    // False when the file cannot be written; the old file then stays.
    bool SaveFile(const CString& path) const;
    // Sizes a damaged file gives are brought back to ones a font can have; reading does it.
    void Bound();

    TViewLogTextConfig logText;
    TViewBackground channelLogBack;
    TViewBackground allLogBack;
    TViewListConfig list;
    TViewTreeConfig tree;
    TViewFont editFont;
    COLORREF editBackColor = 0xFFFFFF;
    TLogFormat formats;

private:
    void Exchange(TIniExchange& io, bool appearance, bool withFormats);
};

// The five keys of one font under a prefix, in the section already selected.
void ExchangeFont(TIniExchange& io, const CString& prefix, TViewFont& font);

// The chosen colour, or the system colour (a COLOR_ index) when none is chosen.
COLORREF ResolveViewColor(COLORREF chosen, int systemColor);

struct TRowColors {
    COLORREF text;
    COLORREF back;
};

// The colours of a member row: selected, else the user's own, else its group's (0 to
// kUserGroupCount - 1; any other number is no group), else the list's own.
TRowColors MemberRowColors(const TViewListConfig& list, bool selected, bool self, int group);
// The colours of a server tree row: selected, else keyword, else new talk, else updated, else the
// tree's own.
TRowColors TreeRowColors(const TViewTreeConfig& tree, bool selected, bool keyword, bool newTalk, bool update);
