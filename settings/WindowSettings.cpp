// "window.ini": the main window's placement and the geometry of the other windows and dialogs.

#include "settings/Config.h"

#include "classlib/App.h"
#include "foundation/Path.h"
#include "settings/IniFile.h"

namespace {

const wchar_t WindowFileName[] = L"window.ini";

// One pass over the keys, reading each with its fixed default or writing the field.
class TWindowIO {
public:
    explicit TWindowIO(const TIniFile& ini) : ini(&ini) {}
    explicit TWindowIO(TIniFileWriter& writer) : writer(&writer) {}

    void Section(const wchar_t* name)
    {
        if (ini)
            const_cast<TIniFile*>(ini)->SetSection(name);
        else
            writer->WriteSection(name);
    }

    void Int(const wchar_t* key, int& field, int defaultValue)
    {
        if (ini)
            field = ini->ReadInt(key, defaultValue);
        else
            writer->WriteInt(key, field);
    }

    void Bool(const wchar_t* key, bool& field, bool defaultValue)
    {
        if (ini)
            field = ini->ReadBool(key, defaultValue);
        else
            writer->WriteBool(key, field);
    }

    void Color(const wchar_t* key, COLORREF& field, COLORREF defaultValue)
    {
        if (ini)
            field = ini->ReadColor(key, defaultValue);
        else
            writer->WriteColor(key, field);
    }

    // Stored as left, top, width and height.
    void Rect(RECT& rect, int left, int top, int width, int height)
    {
        int l = rect.left, t = rect.top, w = rect.right - rect.left, h = rect.bottom - rect.top;
        Int(L"Left", l, left);
        Int(L"Top", t, top);
        Int(L"Width", w, width);
        Int(L"Height", h, height);
        rect = {l, t, l + w, t + h};
    }

    void Size(TSize2& size, int width, int height)
    {
        Int(L"Width", size.width, width);
        Int(L"Height", size.height, height);
    }

    // A load gives exactly the defaults' count; a save writes what the list holds.
    void Header(const wchar_t* keyFormat, std::vector<int>& widths, std::initializer_list<int> defaults)
    {
        CString key;
        if (ini) {
            widths.clear();
            int i = 0;
            for (int value : defaults) {
                key.Format(keyFormat, i++);
                widths.push_back(ini->ReadInt(key, value));
            }
            return;
        }
        for (size_t i = 0; i < widths.size(); i++) {
            key.Format(keyFormat, (int)i);
            writer->WriteInt(key, widths[i]);
        }
    }

private:
    const TIniFile* ini = nullptr;
    TIniFileWriter* writer = nullptr;
};

void ExchangeWindowSettings(TWindowIO& io, TConfig& config)
{
    TWindowGeometry& g = config.geometry;
    io.Section(L"Main");
    io.Rect(config.mainWindowRect, 100, 100, 500, 500);
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
    io.Rect(g.protocolLogRect, 200, 200, 500, 400);
    io.Section(L"ScriptLog");
    io.Rect(g.scriptLogRect, 220, 220, 500, 400);
    io.Section(L"DCC");
    io.Rect(g.dccRect, 200, 200, 600, 400);
    io.Int(L"Splitter", g.dccSplitter, 160);
    io.Header(L"ReceiveHeader.%d", g.dccReceiveHeader, {100, 150, 100, 160, 50, 60, 50, 120, 100});
    io.Header(L"SendHeader.%d", g.dccSendHeader, {100, 150, 100, 160, 50, 60, 50, 120});
    io.Section(L"Who");
    io.Rect(g.whoRect, 200, 200, 640, 400);
    io.Header(L"Header.%d", g.whoHeader, {24, 80, 80, 190, 100, 120});
    io.Section(L"List");
    io.Rect(g.listRect, 200, 200, 500, 400);
    io.Header(L"Header.%d", g.listHeader, {200, 40, 220});
    io.Section(L"ScriptSelect");
    io.Size(g.scriptSelectSize, 480, 300);
    io.Int(L"FileHeader", g.scriptSelectFileHeader, 100);
    io.Section(L"MacroSelect");
    io.Size(g.macroSelectSize, 480, 300);
    io.Int(L"FileHeader", g.macroSelectFileHeader, 100);
    io.Section(L"MacroEditor");
    io.Size(g.macroEditorSize, 560, 300);
    io.Header(L"Header.%d", g.macroEditorHeader, {80, 50, 60, 70, 30, 30, 40, 40, 70, 30});
    io.Section(L"PopupEditor");
    io.Size(g.popupEditorSize, 600, 300);
    io.Header(L"Header.%d", g.popupEditorHeader, {50, 160, 80, 80, 170});
    io.Section(L"Server");
    io.Header(L"Header.%d", g.serverHeader, {140, 50, 50, 50, 30, 30, 30});
    io.Section(L"AltServers");
    io.Header(L"Header.%d", g.altServersHeader, {220, 60});
    io.Section(L"PreferenceSound");
    io.Header(L"Header.%d", g.preferenceSoundHeader, {200, 360});
    io.Section(L"PreferenceFormat");
    io.Header(L"Header.%d", g.preferenceFormatHeader, {130, 80, 60, 175});
    io.Section(L"Paste");
    io.Size(g.pasteSize, 400, 300);
    io.Section(L"KeywordHistory");
    io.Size(g.keywordHistorySize, 400, 300);
    io.Section(L"URLHistory");
    io.Size(g.urlHistorySize, 400, 300);
    io.Section(L"Find");
    io.Bool(L"Case", g.findCase, false);
    io.Bool(L"Ring", g.findRing, true);

    io.Section(L"CustomColor");
    COLORREF* colors = AfxGetCustomColors();
    for (int i = 0; i < 16; i++) {
        CString key;
        key.Format(L"Color.%02d", i);
        io.Color(key, colors[i], 0xFFFFFF);
    }
}

} // namespace

void TConfig::LoadWindowSettings()
{
    TIniFile ini(false);
    ini.Load(GetSettingsFolder() + WindowFileName);
    TWindowIO io(ini);
    ExchangeWindowSettings(io, *this);
}

bool TConfig::SaveWindowSettings()
{
    CreateFolderTree(GetSettingsFolder());
    TIniFileWriter writer;
    if (!writer.Open(GetSettingsFolder() + WindowFileName))
        return false;
    TWindowIO io(writer);
    ExchangeWindowSettings(io, *this);
    return writer.Close();
}
