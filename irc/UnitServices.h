#pragma once
// What a server unit needs of the windows, scripts and macros around it. The world, the script
// manager and the macro engine implement these; the null versions stand in until they exist
// and keep the engine runnable without any window.

#include "classlib/String.h"

class TIRCUnit;
class TIRCChannel;
class TIRCReceiveMessage;

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
