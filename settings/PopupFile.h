#pragma once
// The user's own popup menu: a flat list of items, each with a nesting level, kept in the text
// file "popupmenu.kcf" as one TAB-separated line per item.

#include "classlib/String.h"

#include <vector>

struct TPopupItem {
    int level = 0;
    CString name; // "-" is a separator; backslash and t stand for the accelerator's TAB
    CString action;
    CString target;
    CString actionInfo;
    int commandId = 0; // given by the menu builder, never stored
};

class TPopupFile {
public:
    TPopupFile() = default;
    TPopupFile(const TPopupFile&) = delete;
    TPopupFile& operator=(const TPopupFile&) = delete;
    virtual ~TPopupFile() { Clear(); }

    void Clear();
    void CopyFrom(const TPopupFile& other);
    // False only when the file cannot be opened; the list is then empty.
    bool Load(const CString& path);
    // False when the file cannot be written; the old file then stays as it was.
    bool Save(const CString& path) const;
    void SetDefault();

    std::vector<TPopupItem*> items;
};

CString EscapePopupText(const CString& text);
CString UnescapePopupText(const CString& text);

// The web search the default menu offers; older files' items for it are brought up to date on load.
extern const wchar_t PopupSearchAddress[];
