#pragma once
// One server's macro engine: the macro files enabled for the server, tried against every event
// of the unit; the actions of the rules that match and of the user's popup items; and the
// expansion of macro texts. Everything outside the files goes through the listener.

#include "ircproto/ReceiveMessage.h"
#include "macro/MacroFile.h"
#include "macro/MacroManagerListener.h"

#include <random>
#include <vector>

struct TPopupItem;
class TStringAList;

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

    void ExpandPercentVariables(CString& text);
    void ExpandText(CString& text, bool expandVariables);
    // Characters the last ExpandText read looking for its functions' commas and parentheses:
    // at most a few times the text's length, whatever it holds.
    long long GetLastScanCount() const { return lastScanCount; }
    CString ExpandVariables(const CString& text, const CString& contextNick);

    // A file named by a macro text, inside the files folder; empty when the name would leave it.
    CString ResolveFilePath(const CString& name) const;

    // No expansion grows a text beyond this many characters.
    static constexpr int MaxTextLength = 65536;
    // Files of lines larger than this are not read.
    static constexpr long long MaxListFileSize = 4 * 1024 * 1024;
    // One text or condition opens at most this many files and libraries; the functions past it
    // give nothing.
    static constexpr int MaxFileOpens = 100;

private:
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
    // A room given is the bytes still allowed, which a file read uses up.
    bool ReadLines(const CString& name, CString& path, TStringAList& lines, long long* room = nullptr) const;

    // The action keywords, each with what it does (macro/MacroActions.cpp).
    struct TActionCall;
    struct TAction {
        const wchar_t* keyword;
        void (*run)(TMacroManager& macros, const TActionCall& call);
    };
    static const TAction kActions[];
    static const TAction* FindAction(const CString& keyword);

    // Actions done here rather than by the unit.
    void EditFile(const CString& name, const CString& line, bool atEnd);
    void DeleteFileNamed(const CString& name);
    void CallDll(const CString& name, const CString& procedure);
    void CallDllHook(const CString& name, const CString& procedure, bool fromUserMenu);
    bool CallDllString(const CString& name, const CString& procedure, const CString& text, CString& reply);

    // Values take at most room characters, which they use up.
    void ExpandPercentWithin(CString& text, int& room);
    // The $-functions; each appends its output to out.
    struct TExpansion;
    int ExpandFunction(TExpansion& pass, int at, CString& out);
    void AppendRandomLine(const CString& file, bool removeLine, TExpansion& pass, CString& out);
    void AppendDictionaryAnswer(const CString& file, const CString& text, bool removeLine, TExpansion& pass,
                                CString& out);
    void AppendDllString(const CString& dll, const CString& procedure, const CString& text, int& room, CString& out);
    void AppendEncodedUrl(const CString& text, const CString& encoding, CString& out);

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
    bool matchingEvent = false; // the event condition reads "DCCCHATMES" as the whole name
    long long lastScanCount = 0;
    std::mt19937 random{std::random_device{}()};
};
