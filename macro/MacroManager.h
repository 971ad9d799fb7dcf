#pragma once
// One server's macro engine: the macro files enabled for the server, tried against every event
// of the unit; the actions of the rules that match and of the user's popup items; and the
// expansion of macro texts. Everything outside the files goes through the listener.

#include "ircproto/ReceiveMessage.h"
#include "macro/LineFile.h"
#include "macro/MacroFile.h"
#include "macro/MacroManagerListener.h"

#include <random>
#include <vector>

struct TPopupItem;

class TMacroManager {
public:
    TMacroManager() = default;
    TMacroManager(const TMacroManager&) = delete;
    TMacroManager& operator=(const TMacroManager&) = delete;
    virtual ~TMacroManager();

    void SetListener(IMacroManagerListener* owner) { listener = owner; }
    // Both end with a backslash.
    void SetMacroFolder(const CString& folder) { macroFolder = folder; }
    void SetFilesFolder(const CString& folder) { filesFolder = folder; }
    const CString& GetFilesFolder() const { return filesFolder; }
    void SetFileNames(const std::vector<CString>& names) { fileNames = names; }
    const std::vector<CString>& GetFileNames() const { return fileNames; }
    bool IsLoaded() const { return loaded; }

    void UnloadAll();
    void LoadFiles();
    // True when at least one action ran.
    bool ProcessEvent(const TIRCReceiveMessage& message, const CString& ownNick);
    static bool IsMacroEvent(const CString& command);
    bool MatchCondition(const CString& text, const CString& pattern, bool senderIsMe, bool expandVariables,
                        bool userKeywords);

    void RunAction(const TMacroItem* item, bool fromUserMenu);
    void ExecuteMenuItem(const TPopupItem& item, const CString& nick);

    // With filled, which characters of the result received text put there: the variables a
    // server or peer fills, and what functions give back of them.
    void ExpandPercentVariables(CString& text, std::vector<bool>* filled = nullptr);
    void ExpandText(CString& text, bool expandVariables, std::vector<bool>* filled = nullptr);
    // Characters the last ExpandText read looking for its functions' commas and parentheses:
    // at most a few times the text's length, whatever it holds.
    long long GetLastScanCount() const { return lastScanCount; }
    CString ExpandVariables(const CString& text, const CString& contextNick);

    // A file named by a macro text: as the rule wrote it, a relative name inside the files
    // folder. Where values filled part of the name, they name no drive, root, device or "..":
    // what other users write never leaves the folder the rule chose. Empty when refused, and for
    // a path longer than the system's file calls take.
    CString ResolveFilePath(const CString& name, const std::vector<bool>& filled = {}) const;
    // Whether every step of the name that values filled is one plain name: no drive, root, device
    // or "..".
    static bool FilledStepsArePlainNames(const CString& name, const std::vector<bool>& filled);
    static bool IsAnyFilled(const std::vector<bool>& filled);

    // No expansion grows a text beyond this many characters.
    static constexpr int MaxTextLength = 65536;
    // What variables may add in one text or condition altogether. Each value is bounded on its
    // own, but thousands of functions whose output is empty would otherwise expand without limit.
    static constexpr int MaxVariableRoom = 4 * MaxTextLength;
    // One text or condition opens at most this many files and libraries; the functions past it
    // give nothing. The files are the user's own and are read whatever their size.
    static constexpr int MaxFileOpens = 100;

private:
    // An expanded text with the marks of ExpandText, for the ones that name files.
    struct TMarkedText {
        CString text;
        std::vector<bool> filled;
    };

    void PrepareEvent();
    void ResetEvent(const CString& nick);
    // The event's text, whether it has a channel and whether the user sent it, noted once per event.
    void NoteEventText();
    bool ItemMatches(const TMacroItem& item);
    bool StatesHold(const TMacroItem& item);
    // -1 when the alternative does not decide.
    int DecideAlternative(CString alternative, const CString& text, bool senderIsMe, bool expandVariables,
                          bool userKeywords, int& room);
    int DecideUserKeyword(const CString& word);

    // The action keywords, each with what it does (macro/MacroActions.cpp).
    struct TActionCall;
    struct TAction {
        const wchar_t* keyword;
        void (*run)(TMacroManager& macros, const TActionCall& call);
    };
    static const TAction kActions[];
    static const TAction* FindAction(const CString& keyword);

    // Actions done here rather than by the unit.
    void EditFile(const TMarkedText& file, const CString& line, bool atEnd);
    void DeleteFileNamed(const TMarkedText& file);
    void CallDll(const TMarkedText& dll, const CString& procedure);
    void CallDllHook(const TMarkedText& dll, const CString& procedure, bool fromUserMenu);
    bool CallDllString(const TMarkedText& dll, const CString& procedure, const CString& text, CString& reply);

    // Values take at most room characters, which they use up.
    void ExpandPercentWithin(CString& text, int& room, std::vector<bool>* filled = nullptr);
    // The $-functions; each appends its output to the pass's text.
    struct TExpansion;
    int ExpandFunction(TExpansion& pass, int at);
    void AppendRandomLine(const TMarkedText& file, bool removeLine, TExpansion& pass);
    void AppendDictionaryAnswer(const TMarkedText& file, const CString& text, bool removeLine, TExpansion& pass);
    void AppendDllString(const TMarkedText& dll, const CString& procedure, const TMarkedText& text, TExpansion& pass);
    void AppendEncodedUrl(const TMarkedText& text, const CString& encoding, TExpansion& pass);

    std::vector<TMacroFile*> files;
    std::vector<CString> fileNames;
    IMacroManagerListener* listener = nullptr;
    CString macroFolder;
    CString filesFolder;
    bool loaded = false;
    unsigned loadGeneration = 0; // counts the unloads, for the actions that cause one
    CString ownNick;
    TIRCReceiveMessage event;
    CString channel;
    CString eventText;
    bool eventHasChannel = false;
    bool eventSenderIsMe = false;
    bool matchingEvent = false;  // the event condition reads "DCCCHATMES" as the whole name
    bool contextIsUsers = false; // a popup item the user clicked runs on the user's own context
    long long lastScanCount = 0;
    TCrLfFiles crLfFiles; // logs that a line at the end need not read
    std::mt19937 random{std::random_device{}()};
};
