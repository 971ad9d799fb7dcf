// "window.ini": the main window's placement and the geometry of the other windows and dialogs.

#include "settings/Config.h"

#include "classlib/App.h"
#include "settings/IniExchange.h"

namespace {

const wchar_t WindowFileName[] = L"window.ini";

// Stored as left, top, width and height.
void ExchangeRect(TIniExchange& io, RECT& rect, int left, int top, int width, int height)
{
    int l = rect.left, t = rect.top, w = rect.right - rect.left, h = rect.bottom - rect.top;
    io.Int(L"Left", l, left);
    io.Int(L"Top", t, top);
    io.Int(L"Width", w, width);
    io.Int(L"Height", h, height);
    rect = {l, t, l + w, t + h};
}

void ExchangeSize(TIniExchange& io, TSize2& size, int width, int height)
{
    io.Int(L"Width", size.width, width);
    io.Int(L"Height", size.height, height);
}

// A load gives exactly the defaults' count; a save writes what the list holds.
void ExchangeHeader(TIniExchange& io, const wchar_t* keyFormat, std::vector<int>& widths,
                    std::initializer_list<int> defaults)
{
    if (io.IsLoading())
        widths.assign(defaults);
    for (size_t i = 0; i < widths.size(); i++)
        io.Int(NumberedKey(keyFormat, (int)i), widths[i], i < defaults.size() ? defaults.begin()[i] : 0);
}

void ExchangeWindowSettings(TIniExchange& io, TConfig& config)
{
    TWindowGeometry& g = config.geometry;
    io.Section(L"Main");
    ExchangeRect(io, config.mainWindowRect, 100, 100, 500, 500);
    io.Bool(L"Minimized", config.minimized, false);
    io.Bool(L"Maximized", config.maximized, false);
    io.Int(L"Splitter.Left", config.splitterLeft, 120);
    io.Int(L"Splitter.Root", config.splitterRoot, 120);
    io.Int(L"Splitter.Log", config.splitterLog, 100);
    io.Int(L"Splitter.Info", config.splitterInfo, 200);
    io.Bool(L"MenuVisible", config.menuVisible, true);
    io.Bool(L"TopMost", config.topMost, false);
    io.Bool(L"EnableToolBar", config.enableToolBar, true);

    io.Section(L"ProtocolLog");
    ExchangeRect(io, g.protocolLogRect, 200, 200, 500, 400);
    io.Section(L"ScriptLog");
    ExchangeRect(io, g.scriptLogRect, 220, 220, 500, 400);
    io.Section(L"DCC");
    ExchangeRect(io, g.dccRect, 200, 200, 600, 400);
    io.Int(L"Splitter", g.dccSplitter, 160);
    ExchangeHeader(io, L"ReceiveHeader.%d", g.dccReceiveHeader, {100, 150, 100, 160, 50, 60, 50, 120, 100});
    ExchangeHeader(io, L"SendHeader.%d", g.dccSendHeader, {100, 150, 100, 160, 50, 60, 50, 120});
    io.Section(L"Who");
    ExchangeRect(io, g.whoRect, 200, 200, 640, 400);
    ExchangeHeader(io, L"Header.%d", g.whoHeader, {24, 80, 80, 190, 100, 120});
    io.Section(L"List");
    ExchangeRect(io, g.listRect, 200, 200, 500, 400);
    ExchangeHeader(io, L"Header.%d", g.listHeader, {200, 40, 220});
    io.Section(L"ScriptSelect");
    ExchangeSize(io, g.scriptSelectSize, 480, 300);
    io.Int(L"FileHeader", g.scriptSelectFileHeader, 100);
    io.Section(L"MacroSelect");
    ExchangeSize(io, g.macroSelectSize, 480, 300);
    io.Int(L"FileHeader", g.macroSelectFileHeader, 100);
    io.Section(L"MacroEditor");
    ExchangeSize(io, g.macroEditorSize, 560, 300);
    ExchangeHeader(io, L"Header.%d", g.macroEditorHeader, {80, 50, 60, 70, 30, 30, 40, 40, 70, 30});
    io.Section(L"PopupEditor");
    ExchangeSize(io, g.popupEditorSize, 600, 300);
    ExchangeHeader(io, L"Header.%d", g.popupEditorHeader, {50, 160, 80, 80, 170});
    io.Section(L"Server");
    ExchangeHeader(io, L"Header.%d", g.serverHeader, {140, 50, 50, 50, 30, 30, 30});
    io.Section(L"AltServers");
    ExchangeHeader(io, L"Header.%d", g.altServersHeader, {200, 360});
    io.Section(L"PreferenceSound");
    ExchangeHeader(io, L"Header.%d", g.preferenceSoundHeader, {200, 360});
    io.Section(L"PreferenceFormat");
    ExchangeHeader(io, L"Header.%d", g.preferenceFormatHeader, {130, 80, 60, 175});
    io.Section(L"Paste");
    ExchangeSize(io, g.pasteSize, 400, 300);
    io.Section(L"KeywordHistory");
    ExchangeSize(io, g.keywordHistorySize, 400, 300);
    io.Section(L"URLHistory");
    ExchangeSize(io, g.urlHistorySize, 400, 300);
    io.Section(L"Find");
    io.Bool(L"Case", g.findCase, false);
    io.Bool(L"Ring", g.findRing, true);

    io.Section(L"CustomColor");
    COLORREF* colors = AfxGetCustomColors();
    for (int i = 0; i < 16; i++)
        io.Color(NumberedKey(L"Color.%02d", i), colors[i], 0xFFFFFF);
}

} // namespace

void TConfig::LoadWindowSettings()
{
    LoadIniFile(GetSettingsFolder() + WindowFileName, [this](TIniExchange& io) { ExchangeWindowSettings(io, *this); });
}

bool TConfig::SaveWindowSettings()
{
    return SaveIniFile(GetSettingsFolder() + WindowFileName,
                       [this](TIniExchange& io) { ExchangeWindowSettings(io, *this); });
}
