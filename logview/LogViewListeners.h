#pragma once
// What a log view tells its owner. Screen coordinates throughout; the owner reads the text under
// the pointer back with TLogView::GetContextMenuText.

#include "classlib/String.h"

#include <windows.h>

class TLogView;

class ILogViewKeyListener {
public:
    // True when the key was used; the view then drops it.
    virtual bool OnKeyDown(TLogView* view, UINT key) = 0;
    virtual bool OnSysKeyDown(TLogView* view, UINT key) = 0;

protected:
    ~ILogViewKeyListener() = default;
};

class ILogViewContextPopupListener {
public:
    virtual void OnUrlDoubleClick(TLogView* view, const CString& url) = 0;
    virtual void OnContextPopup(TLogView* view, int x, int y) = 0;
    virtual void OnUrlContextPopup(TLogView* view, int x, int y) = 0;
    virtual void OnAddressContextPopup(TLogView* view, int x, int y) = 0;

protected:
    ~ILogViewContextPopupListener() = default;
};

class ILogViewNickContextPopupListener {
public:
    virtual void OnNickContextPopup(TLogView* view, int x, int y) = 0;

protected:
    ~ILogViewNickContextPopupListener() = default;
};

class ILogViewEventLineClickListener {
public:
    virtual void OnEventLineClick(TLogView* view, const CString& eventData) = 0;

protected:
    ~ILogViewEventLineClickListener() = default;
};
