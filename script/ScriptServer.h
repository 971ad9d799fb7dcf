#pragma once
// What scripts reach of their server, its channels and the main window. The server unit, the
// world and the main frame answer these; tests record the calls.

#include "classlib/String.h"
#include "ircproto/Modes.h"

#include <vector>

class TIRCChannel;

struct TScriptMemberRecord {
    CString nick;
    CString username;
    CString address;
    bool q = false, a = false, o = false, h = false, v = false;
    int groupKind = 0;
    int groupIndex = 0;
};

enum TScriptChannelMark { MarkHighlighted = 0, MarkNewTalk = 1, MarkUnread = 2 };

struct TScriptChannelRecord {
    CString name;
    bool active = false;
    int kind = 0; // 0 channel, 1 talk, 2 DCC chat
    bool marks[3] = {};
    TChannelMode mode; // its server's mode tables left out
};

class IScriptServer {
public:
    virtual CString GetName() = 0;
    virtual bool IsConnected() = 0;
    virtual bool IsAway() = 0;
    virtual CString GetMyNick() = 0;
    virtual CString GetMyUsername() = 0;
    virtual CString GetMyHost() = 0;
    virtual CString GetMyIPAddress() = 0;
    virtual void Connect() = 0;
    // Closes the connection at once, no QUIT, no automatic reconnect.
    virtual void Disconnect() = 0;
    // A command line issued by a script: the interpreter skips onSendingCommand for it.
    virtual void ExecuteCommand(const CString& line) = 0;
    // channel null: the server's own log.
    virtual void PrintScriptText(TIRCChannel* channel, const CString& text) = 0;

    virtual std::vector<TIRCChannel*> GetChannels() = 0;
    virtual TIRCChannel* FindChannel(const CString& name) = 0;
    // Also resolves the alias and safe-channel spellings.
    virtual TIRCChannel* LookupChannel(const CString& name) = 0;
    // A script's object keeps the channel's serial number (TIRCNode::GetSerial), never its address:
    // a later channel in the same memory must not answer for it. Null once the channel is gone.
    virtual unsigned GetChannelSerial(TIRCChannel* channel) = 0;
    virtual TIRCChannel* FindChannelBySerial(unsigned serial) = 0;
    virtual TScriptChannelRecord GetChannelRecord(TIRCChannel* channel) = 0;
    // In member-list order; only the members array needs them.
    virtual std::vector<CString> GetMemberNicks(TIRCChannel* channel) = 0;
    virtual bool FindMember(TIRCChannel* channel, const CString& nick, TScriptMemberRecord& member) = 0;
    // Sets or clears the tree mark and repaints the server tree when asked.
    virtual void SetChannelMark(TIRCChannel* channel, TScriptChannelMark mark, bool set, bool repaint) = 0;

protected:
    ~IScriptServer() = default;
};

// A line of the script console: a log line with the time, the server and the script before it, a
// further line of the same log shown bare, or an error.
enum class TScriptConsoleLine { Log, LogContinued, Error };

// The main window, the world and the settings folders as scripts reach them.
class IScriptFrame {
public:
    virtual HWND GetMainWindow() = 0;
    virtual bool IsAppActive() = 0;
    virtual CString GetSelectedText() = 0;
    // True when the selected tree node belongs to the server; channel null for its server node.
    virtual bool GetSelection(IScriptServer* server, TIRCChannel*& channel) = 0;
    virtual void Select(IScriptServer* server, TIRCChannel* channel) = 0;
    virtual void ShowBalloon(const CString& title, const CString& text) = 0;
    virtual void ExecuteAction(const CString& name) = 0;
    virtual void OpenUrl(const CString& url) = 0;
    virtual void StartMessageAlert() = 0;
    virtual void StartHighlightAlert() = 0;
    virtual void RestoreTitle() = 0;
    virtual void WriteScriptConsole(const CString& serverName, const CString& scriptName, const CString& text,
                                    TScriptConsoleLine kind) = 0;
    virtual CString GetWindowsUserName() = 0;
    virtual CString GetProgramFolder() = 0;
    virtual CString GetUserFolder() = 0;
    virtual CString GetScriptFolder() = 0;
    virtual CString GetScriptFilesFolder() = 0;

protected:
    ~IScriptFrame() = default;
};
