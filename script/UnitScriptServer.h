#pragma once
// A server unit of the IRC engine as its scripts reach it.

#include "script/ScriptManager.h"
#include "script/ScriptServer.h"

class TIRCUnit;

class TUnitScriptServer : public IScriptServer {
public:
    explicit TUnitScriptServer(TIRCUnit* unit) : unit(unit) {}

    TIRCUnit* GetUnit() const { return unit; }

    CString GetName() override;
    bool IsConnected() override;
    bool IsAway() override;
    CString GetMyNick() override;
    CString GetMyUsername() override;
    CString GetMyHost() override;
    CString GetMyIPAddress() override;
    void Connect() override;
    void Disconnect() override;
    void ExecuteCommand(const CString& line) override;
    void PrintScriptText(TIRCChannel* channel, const CString& text) override;
    std::vector<TIRCChannel*> GetChannels() override;
    TIRCChannel* FindChannel(const CString& name) override;
    TIRCChannel* LookupChannel(const CString& name) override;
    unsigned GetChannelSerial(TIRCChannel* channel) override;
    TIRCChannel* FindChannelBySerial(unsigned serial) override;
    TScriptChannelRecord GetChannelRecord(TIRCChannel* channel) override;
    std::vector<CString> GetMemberNicks(TIRCChannel* channel) override;
    bool FindMember(TIRCChannel* channel, const CString& nick, TScriptMemberRecord& member) override;
    void SetChannelMark(TIRCChannel* channel, TScriptChannelMark mark, bool set, bool repaint) override;

private:
    TIRCUnit* unit;
};

// The scripts of one unit with the server object they reach it through; the unit owns them.
class TUnitScripts : public TScriptManager {
public:
    // The manager keeps only the server's address until it loads a script.
    TUnitScripts(TIRCUnit* unit, IScriptFrame* frame) : TScriptManager(&unitServer, frame), unitServer(unit) {}

private:
    TUnitScriptServer unitServer;
};
