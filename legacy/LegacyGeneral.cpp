// The take-over of the previous major version's settings: detection, the order of the steps,
// and the old general settings file.

#include "legacy/LegacyImport.h"

#include "foundation/OpenUrl.h"
#include "foundation/Path.h"
#include "ircproto/IRCNames.h"
#include "settings/Config.h"
#include "settings/IniFile.h"

namespace {

const wchar_t kDefaultModeName[] = L"デフォルト";

// Reads into a target whose current value stands for a missing key.
class TLegacyReader {
public:
    explicit TLegacyReader(const TIniFile& ini) : ini(ini) {}

    void Bool(const wchar_t* key, bool& target) const { target = ini.ReadBool(key, target); }
    void NotBool(const wchar_t* key, bool& target) const { target = !ini.ReadBool(key, !target); }
    void Int(const wchar_t* key, int& target) const { target = ini.ReadInt(key, target); }
    void String(const wchar_t* key, CString& target) const { target = ini.ReadString(key, target); }

    // False when the key is missing or holds no boolean, so re-coded targets stay as they are.
    bool HasBool(const wchar_t* key, bool& value) const
    {
        value = ini.ReadBool(key, false);
        return value == ini.ReadBool(key, true);
    }
    bool HasInt(const wchar_t* key, int& value) const
    {
        const wchar_t* missing = L"\x01missing";
        if (ini.ReadString(key, missing) == missing)
            return false;
        value = ini.ReadInt(key, 0);
        return true;
    }

    // The list is emptied, then the non-empty items 0 to count-1 are appended.
    void List(const wchar_t* countKey, const wchar_t* itemFormat, std::vector<CString>& target) const
    {
        target.clear();
        CString prefix = itemFormat;
        int count = ReadLegacyCount(ini, countKey, prefix.Left(prefix.Find(L'%')));
        CString key;
        for (int i = 0; i < count; i++) {
            key.Format(itemFormat, i);
            CString item = ini.ReadString(key, L"");
            if (!item.IsEmpty())
                target.push_back(item);
        }
    }

private:
    const TIniFile& ini;
};

void ReadAction(const TLegacyReader& r, TConfig& config)
{
    TPreference& p = config.preference;
    bool flag = false;
    int number = 0;
    r.Bool(L"FindCase", config.geometry.findCase);
    r.Bool(L"ShowMenu", config.menuVisible);
    r.Bool(L"TrayIconEnabled", p.EnableTrayIcon);
    r.Bool(L"MinimizeTrayOnly", p.ShowTrayIconOnMinimized);
    r.NotBool(L"RestoreOnDoubleClick", p.RestoreTrayIconOnSingleClick);
    r.Bool(L"TopMost", config.topMost);
    r.Bool(L"Reconnect", p.Reconnect);
    r.Int(L"ReconnectInterval", p.ReconnectTime);
    r.Int(L"ReconnectMax", p.ReconnectCount);
    r.Bool(L"ForceAutoJoin", p.ForceAutoJoin);
    r.Bool(L"InitLimit", p.RetryOnHalt);
    r.Int(L"InitLimitTime", p.RetryOnHaltTime);
    r.Bool(L"Rejoin", p.RejoinOnKick);
    if (r.HasBool(L"AutoAcceptInvite", flag))
        p.InviteAction = flag ? InviteJoin : InviteShowDialog;
    r.Bool(L"ActiveOnJoin", p.FocusOnJoin);
    r.Bool(L"FlashOnInactive", p.FlashTitleOnUpdate);
    r.Bool(L"CreateTalkFrame", p.RegisterOnTalk);
    r.Bool(L"ActiveOnTalk", p.FocusOnTalk);
    if (r.HasInt(L"NickInitType", number))
        p.NickPolicy = number >= 1 && number <= 3 ? number - 1 : NickDoNothing;
    r.Bool(L"InitIMEOn", p.EnableIMEOnInit);
    r.Bool(L"QueryClose", p.PromptOnQuit);
    r.String(L"ReferenceHeader", p.ReferenceMark);
    r.Bool(L"HideChSelOnDeactivate", p.HideSelectionOnInactive);
    r.Bool(L"ViewLast", p.ViewBottomOnSelect);
    r.Bool(L"AutoRejoin", p.RejoinToRecoverOp);
    r.Bool(L"LogInstantCopy", p.LogInstantCopy);
    r.Bool(L"IgnoreConsoleURL", p.IgnoreURLInConsoleReply);
    r.Bool(L"LogNickMenu", p.EnableNickContextMenu);
    r.Bool(L"AutoUnaway", p.UnawayOnSendTalk);
    r.Bool(L"PasteSendNotice", p.SendMultiLineByNotice);
    r.Bool(L"AllLogging", p.PrintAllLogToConsole);
    r.Bool(L"EmptyLineMinimize", p.MinimizeOnSendEmptyLine);
    r.Bool(L"AutoMasking", p.AutoMask);
    r.Bool(L"WhoisDialogLimitEnable", p.LimitWhoisDialog);
    r.Int(L"WhoisDialogLimit", p.WhoisDialogMax);
    flag = true;
    r.Bool(L"WhoDelay", flag);
    p.WhoTiming = flag ? WhoSlow : WhoFast;
    r.Bool(L"KeepNickOnReconnect", p.RestoreNickAndAwayOnReconnect);
    r.Bool(L"ClipURL", p.AutoClipUrl);
    r.Bool(L"AutoPong", p.EnableAutoPong);
    r.Int(L"AutoPongInterval", p.AutoPongTime);
    r.Bool(L"RetryJoin", p.RejoinOnError437);
    r.Int(L"RetryJoinLimit", p.Error437RejoinCount);
    r.Int(L"RetryJoinTime", p.Error437RejoinInterval);
    r.Bool(L"MyURLLogging", p.RecordUrlInMyMessage);
    r.Int(L"KanaEncodeMethod", p.KanaEncodingMethod);
    r.Bool(L"DetailWhois", p.DetailWhois);
    if (r.HasInt(L"NATType", number))
        p.IPResolveMethod = number >= 0 && number <= 2 ? number : 3;
    r.String(L"IPAddress", p.IPAddress);
    r.Int(L"DCCSendPortStart", p.DCCReceivePortStart);
    r.Int(L"DCCSendPortEnd", p.DCCReceivePortEnd);
    r.Int(L"DCCChatPortStart", p.DCCChatPortStart);
    r.Int(L"DCCChatPortEnd", p.DCCChatPortEnd);
    number = 0;
    r.Int(L"OpenURLType", number);
    p.URLOpenMethod = number == 1 ? URL_OPEN_NEW_BROWSER_WINDOW : number == 3 ? URL_OPEN_PROGRAM : URL_OPEN_SHELL;
    p.URLOpenApplication.Empty();
    r.String(L"URLOpenApp", p.URLOpenApplication);
}

void ReadUser(const TIniFile& ini, TConfig& config)
{
    config.legacyUserName = ini.ReadString(L"Username", L"username");
    config.legacyRealName = ini.ReadString(L"Realname", L"my name");
    config.legacyPartMessage = ini.ReadString(L"PartMes", L"Leaving...");
    config.legacyQuitMessage = ini.ReadString(L"QuitMes", L"Leaving...");
    config.legacyAwayMessage = ini.ReadString(L"AwayMes", L"Gone");
    config.legacyUserInfo = ini.ReadString(L"UserInfo", L"");
    config.legacyUserMode = ini.ReadString(L"UserMode", L"+i");
}

void ReadModes(const TIniFile& ini, TConfig& config)
{
    config.legacyChannelModes.clear();
    int count = ReadLegacyCount(ini, L"Count", L"ChanName");
    CString key;
    for (int i = 0; i < count; i++) {
        key.Format(L"ChanName%d", i);
        CString name = ini.ReadString(key, L"");
        if (name.IsEmpty())
            continue;
        key.Format(L"Mode%d", i);
        CString mode = ini.ReadString(key, L"");
        if (!mode.IsEmpty())
            config.legacyChannelModes[name] = mode;
    }
}

void ReadSound(const TLegacyReader& r, TPreference& p)
{
    r.Bool(L"DisableSndOnAway", p.MuteOnAway);
    struct TSoundPair {
        const wchar_t* enableKey;
        const wchar_t* pathKey;
        bool& enable;
        CString& path;
    };
    const TSoundPair pairs[] = {
        {L"EnableConnectSnd", L"ConnectSndPath", p.EnableLogInSound, p.LogInSoundFile},
        {L"EnableDisconnectSnd", L"DisconnectSndPath", p.EnableDisconnectSound, p.DisconnectSoundFile},
        {L"EnableChannelTextSnd", L"ChannelTextSndPath", p.EnableChannelMessageSound, p.ChannelMessageSoundFile},
        {L"EnableTalkTextSnd", L"TalkTextSndPath", p.EnableTalkMessageSound, p.TalkMessageSoundFile},
        {L"EnableKickSnd", L"KickSndPath", p.EnableKickSound, p.KickSoundFile},
        {L"EnableInviteSnd", L"InviteSndPath", p.EnableInviteSound, p.InviteSoundFile},
        {L"EnableTalkSnd", L"TalkSndPath", p.EnableTalkSound, p.TalkSoundFile},
        {L"EnableDCCSnd", L"DCCSndPath", p.EnableDCCReceiveSound, p.DCCReceiveSoundFile},
        {L"EnableDCCChatSnd", L"DCCChatSndPath", p.EnableDCCChatSound, p.DCCChatSoundFile},
        {L"EnableKeySnd", L"KeySndPath", p.EnableKeywordSound, p.KeywordSoundFile},
    };
    for (const TSoundPair& pair : pairs) {
        r.Bool(pair.enableKey, pair.enable);
        r.String(pair.pathKey, pair.path);
    }
}

void ReadCtcp(const TLegacyReader& r, TPreference& p)
{
    bool flag = false;
    r.Bool(L"IgnoreCTCP", p.IgnoreCtcp);
    r.Bool(L"EnableCTCPSendLimit", p.EnableCtcpSequenceLimit);
    bool ignoreDcc = false;
    bool autoAccept = false;
    r.Bool(L"IgnoreDCC", ignoreDcc);
    r.Bool(L"AutoAcceptDCCSend", autoAccept);
    p.DCCReceiveAction = ignoreDcc ? DccOfferIgnore : autoAccept ? DccOfferAccept : DccOfferAsk;
    r.Bool(L"BlinkOnDCC", p.BlinkDialogOnReceive);
    r.Bool(L"DCCFocus", p.ActivateDialogOnReceive);
    r.Bool(L"AutoAcceptDCCSendForSp", p.AutoReceiveGroup1);
    // This key closes the receive dialog; it says nothing about chats, so the chat action stays.
    r.Bool(L"AutoCloseDCCReceive", p.CloseDialogOnEndTransfer);
    r.String(L"DCCReceivePath", p.DCCRootDir);
    r.Bool(L"AutoMinimize", p.MinimizeDialogOnAutoReceive);
    if (r.HasBool(L"AutoResume", flag))
        p.AutoResume = p.ReceiveOnResumeFail = flag;
    r.Int(L"AutoResumeLimit", p.ReceiveOnResumeFailTime);
    r.Bool(L"DCCSendNickDir", p.ReceiveInNickFolder);
    if (p.DCCRootDir.IsEmpty())
        p.DCCRootDir = GetDefaultDCCFolder();
}

void ReadLogging(const TLegacyReader& r, TPreference& p)
{
    bool flag = false;
    r.Bool(L"LogFlush", p.ForceFlushLog);
    r.Int(L"LogFlushInterval", p.FlushLogTime);
    r.Int(L"LogMaxLine", p.ChannelLogMaxLines);
    r.Int(L"AllLogMaxLine", p.ConsoleLogMaxLines);
    r.String(L"LogSavePath", p.LogRootDir);
    r.Bool(L"ConsoleLogSave", p.EnableUnitLog);
    if (r.HasBool(L"TalkLogSave", flag))
        p.EnableTalkLog = p.EnableDCCChatLog = flag;
    r.Bool(L"URLLog", p.EnableURLLog);
    bool autoLog = false;
    int channelCount = 0;
    r.Bool(L"AutoLogSave", autoLog);
    r.Int(L"LogChannelsCount", channelCount);
    p.EnableChannelLog = autoLog || channelCount > 0;
    r.String(L"ChannelLogFileName", p.ChannelLogFile);
    r.String(L"ConsoleLogFileName", p.UnitLogFile);
    r.String(L"TalkLogFileName", p.TalkLogFile);
    r.String(L"DCCChatLogFileName", p.DCCChatLogFile);
    r.String(L"URLLogFileName", p.URLLogFile);
    if (p.LogRootDir.IsEmpty())
        p.LogRootDir = GetDefaultLogFolder();
}

void ReadKeyword(const TLegacyReader& r, TLogKeyword& keyword)
{
    r.NotBool(L"KeyIgnoreCase", keyword.Case);
    r.Bool(L"KeywordWholeLine", keyword.WholeLine);
    r.Bool(L"FlashOnKey", keyword.BlinkTitleOnKeyword);
    r.Bool(L"DisableKeyInURL", keyword.IgnoreURL);
    r.List(L"KeyCount", L"KeyItem%d", keyword.Like);
    r.List(L"ForbiddenCount", L"ForbiddenItem%d", keyword.Dislike);
}

void ReadAutoOp(const TLegacyReader& r, TPreference& p)
{
    p.EnableAutoOpDelay = true;
    r.Bool(L"AutoOpOnGetOp", p.EnableAutoOpOnBeingOperator);
    r.Int(L"AutoOpDelayMin", p.AutoOpDelayMin);
    r.Int(L"AutoOpDelayMax", p.AutoOpDelayMax);
}

} // namespace

int ReadLegacyCount(const TIniFile& ini, const CString& key, const CString& itemPrefix)
{
    return ini.TakeRecords(ini.ReadCount(key, itemPrefix));
}

CString NormalizeLegacyChannelName(const CString& name)
{
    if (IsSafeChannelCreateName(name))
        return name.Mid(1);
    if (IsSafeChannelName(name))
        return GetSafeChannelShortName(name);
    if (IsMaskedChannelName(name))
        return MakeChannelAlias(name);
    return name;
}

CString ChooseLegacyChannelMode(const std::map<CString, CString>& modes, const CString& name)
{
    auto entry = modes.find(name);
    if (entry == modes.end())
        entry = modes.find(kDefaultModeName);
    return entry != modes.end() ? entry->second : TChannelConfig().Mode;
}

CString GetLegacyConfigPath(const TConfig& config, const wchar_t* suffix)
{
    return config.legacyFolder + L"Config\\" + config.legacyProfileName + suffix;
}

bool HasLegacySettings(const TConfig& config) { return PathExists(GetLegacyConfigPath(config, L"-general.ini")); }

int ImportLegacySettings(TConfig& config)
{
    ImportLegacyGeneral(config);
    ImportLegacyProfiles(config);
    int leftOut = ImportLegacyAutoOp(config);
    ImportLegacyNicks(config);
    ImportLegacyIgnore(config);
    ImportLegacyView(config);
    ImportLegacyMacrosAndSounds(config);
    ImportLegacyImagesAndTemplates(config);
    return leftOut;
}

void ImportLegacyGeneral(TConfig& config)
{
    TIniFile ini(true);
    if (!ini.Load(GetLegacyConfigPath(config, L"-general.ini")))
        return;
    TLegacyReader reader(ini);
    ini.SetSection(L"Action");
    ReadAction(reader, config);
    ini.SetSection(L"User");
    ReadUser(ini, config);
    ini.SetSection(L"Mode");
    ReadModes(ini, config);
    ini.SetSection(L"Sound");
    ReadSound(reader, config.preference);
    ini.SetSection(L"CTCP");
    ReadCtcp(reader, config.preference);
    ini.SetSection(L"Logging");
    ReadLogging(reader, config.preference);
    ini.SetSection(L"Keyword");
    ReadKeyword(reader, config.preference.keyword);
    ini.SetSection(L"SpecialUser");
    reader.List(L"Count", L"Item%d", config.preference.userGroups.groups[1].masks);
    ini.SetSection(L"AutoOp");
    ReadAutoOp(reader, config.preference);
}
