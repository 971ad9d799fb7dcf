#pragma once
// What a server unit needs of the windows, scripts and macros around it. The world, the script
// manager and the macro engine implement these; the null versions keep the engine runnable
// without any window.

#include "log/LogLineSink.h"

class TIRCUnit;
class TIRCChannel;
class TIRCReceiveMessage;

// Marks of a tree item; the world repaints the tree as the marks it already shows require.
enum TNodeMark { MARK_KEYWORD = 0, MARK_NEW_TALK = 1, MARK_UPDATE = 2 };

class IIRCUnitListener {
public:
    // The tree item of the unit (channel null) or of one of its channels shows a new state.
    virtual void RefreshTreeItem(TIRCUnit* unit, TIRCChannel* channel) = 0;
    virtual void ExpandUnitItem(TIRCUnit* unit) = 0;
    // The title follows the selected node; nothing when it is not one of this unit's.
    virtual void UpdateTitleIfUnitSelected(TIRCUnit* unit) = 0;
    // Exactly this node (channel null: the server node) is selected.
    virtual bool IsSelected(TIRCUnit* unit, TIRCChannel* channel) = 0;
    virtual bool IsMainWindowActive() = 0;
    virtual bool AreMacrosStopped() = 0;
    virtual void PlaySoundFile(const CString& path) = 0;
    // A connection of the unit ended; the main window may be waiting for the last one to close.
    virtual void OnConnectionEnded(TIRCUnit* unit) = 0;

    // Output. The log view of a node is made on its first line; null prints into no view.
    virtual ILogLineSink* GetLogSink(TIRCUnit* unit, TIRCChannel* channel) = 0;
    virtual void AddLineToAllLog(const TLogLineData& line, bool checkKeywords) = 0;
    // The node's view shows an earlier part of its log.
    virtual bool IsScrolledBack(TIRCUnit* unit, TIRCChannel* channel) = 0;
    virtual void MarkNode(TIRCUnit* unit, TIRCChannel* channel, TNodeMark mark) = 0;
    virtual void StartHighlightAlert() = 0;
    virtual void StartMessageAlert() = 0;
    virtual void AddToKeywordHistory(const TLogLineData& line) = 0;
    virtual void AddToUrlHistory(const TLogLineData& line) = 0;
    virtual void QueueClipboardText(const CString& text) = 0;
    // direction: 0 received, 1 sent.
    virtual void AddProtocolLine(TIRCUnit* unit, const CString& text, int direction) = 0;
    // The unit's protocol log window goes with the unit's shutdown; its place is kept when shown.
    virtual void DestroyProtocolLog(TIRCUnit*) {}

protected:
    ~IIRCUnitListener() = default;
};

class IUnitScriptEvents {
public:
    virtual void FireOnConnect() = 0;
    virtual void FireOnDisconnect() = 0;

protected:
    ~IUnitScriptEvents() = default;
};

class IUnitMacroEngine {
public:
    // True when a macro handled the event.
    virtual bool ProcessEvent(const TIRCReceiveMessage& message, const CString& currentNick) = 0;
    virtual CString ExpandVariables(const CString& text, const CString& currentNick) = 0;

protected:
    ~IUnitMacroEngine() = default;
};

class TMacroManager;

// The unit's own macro engine behind the seam.
class TUnitMacroEngine : public IUnitMacroEngine {
public:
    explicit TUnitMacroEngine(TMacroManager& manager) : manager(manager) {}
    bool ProcessEvent(const TIRCReceiveMessage& message, const CString& currentNick) override;
    CString ExpandVariables(const CString& text, const CString& currentNick) override;

private:
    TMacroManager& manager;
};

class TNullUnitListener : public IIRCUnitListener {
public:
    void RefreshTreeItem(TIRCUnit*, TIRCChannel*) override {}
    void ExpandUnitItem(TIRCUnit*) override {}
    void UpdateTitleIfUnitSelected(TIRCUnit*) override {}
    bool IsSelected(TIRCUnit*, TIRCChannel*) override { return false; }
    bool IsMainWindowActive() override { return false; }
    bool AreMacrosStopped() override { return false; }
    void PlaySoundFile(const CString&) override {}
    void OnConnectionEnded(TIRCUnit*) override {}
    ILogLineSink* GetLogSink(TIRCUnit*, TIRCChannel*) override { return nullptr; }
    void AddLineToAllLog(const TLogLineData&, bool) override {}
    bool IsScrolledBack(TIRCUnit*, TIRCChannel*) override { return false; }
    void MarkNode(TIRCUnit*, TIRCChannel*, TNodeMark) override {}
    void StartHighlightAlert() override {}
    void StartMessageAlert() override {}
    void AddToKeywordHistory(const TLogLineData&) override {}
    void AddToUrlHistory(const TLogLineData&) override {}
    void QueueClipboardText(const CString&) override {}
    void AddProtocolLine(TIRCUnit*, const CString&, int) override {}
};

class TNullScriptEvents : public IUnitScriptEvents {
public:
    void FireOnConnect() override {}
    void FireOnDisconnect() override {}
};

class TNullMacroEngine : public IUnitMacroEngine {
public:
    bool ProcessEvent(const TIRCReceiveMessage&, const CString&) override { return false; }
    CString ExpandVariables(const CString& text, const CString&) override { return text; }
};
