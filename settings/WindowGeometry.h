#pragma once
// Where the user left the program's other windows and dialogs, and the widths of their list
// columns; kept in "window.ini" beside the main window's own placement.

#include <windows.h>

#include <vector>

struct TSize2 {
    int width = 0;
    int height = 0;
};

struct TWindowGeometry {
    RECT protocolLogRect = {};
    RECT scriptLogRect = {};
    RECT dccRect = {};
    int dccSplitter = 0;
    std::vector<int> dccReceiveHeader;
    std::vector<int> dccSendHeader;
    RECT whoRect = {};
    std::vector<int> whoHeader;
    RECT listRect = {};
    std::vector<int> listHeader;
    int scriptSelectFileHeader = 0;
    TSize2 scriptSelectSize;
    int macroSelectFileHeader = 0;
    TSize2 macroSelectSize;
    std::vector<int> macroEditorHeader;
    TSize2 macroEditorSize;
    std::vector<int> popupEditorHeader;
    TSize2 popupEditorSize;
    std::vector<int> serverHeader;
    std::vector<int> altServersHeader;
    std::vector<int> preferenceSoundHeader;
    std::vector<int> preferenceFormatHeader;
    TSize2 pasteSize;
    TSize2 keywordHistorySize;
    TSize2 urlHistorySize;
    bool findCase = false;
    bool findRing = false;
};
