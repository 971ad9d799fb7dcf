// "preference.ini" sections "Keyword", "UserGroup", "NickList", "UserInfo", "Detail" and "Ison".

#include "settings/Preference.h"

#include "foundation/ResourceString.h"
#include "res/resource.h"
#include "settings/IniExchange.h"

void TPreference::ExchangeKeyword(TIniExchange& io)
{
    io.Section(L"Keyword");
    io.Bool(L"ExactWordMatch", keyword.ExactWordMatch, false);
    io.Bool(L"BlinkTitleOnKeyword", keyword.BlinkTitleOnKeyword, true);
    io.Bool(L"WholeLine", keyword.WholeLine, false);
    io.Bool(L"Case", keyword.Case, false);
    io.Bool(L"IgnoreURL", keyword.IgnoreURL, true);
    io.Bool(L"IgnoreNotice", keyword.IgnoreNotice, true);
    io.Bool(L"EnableGroup1", keyword.EnableGroup1, true);
    io.Bool(L"EnableGroup2", keyword.EnableGroup2, true);
    io.Bool(L"EnableGroup3", keyword.EnableGroup3, true);
    io.Bool(L"EnableGroup4", keyword.EnableGroup4, true);
    io.Bool(L"EnableGroup5", keyword.EnableGroup5, true);
    io.Bool(L"EnableNormal", keyword.EnableNormal, true);
    io.List(L"Like.Count", L"Like.", L"%02d", L".Pattern", keyword.Like);
    io.List(L"Dislike.Count", L"Dislike.", L"%02d", L".Pattern", keyword.Dislike);
}

void TPreference::ExchangeUserGroup(TIniExchange& io)
{
    io.Section(L"UserGroup");
    // The own group's name is not stored: it is always the program's word for "self".
    TUserGroup& self = userGroups.groups[0];
    if (io.IsLoading())
        self.name = LoadResourceString(IDS_USER_GROUP_SELF);
    io.List(L"Self.Count", L"Self.", L"%d", L".Mask", self.masks);
    for (int k = 0; k < TUserGroupList::GroupCount - 1; k++) {
        TUserGroup& group = userGroups.groups[k + 1];
        CString prefix;
        prefix.Format(L"Group.%d", k);
        io.String(prefix + L".Name", group.name, IniDefaultSentinel);
        if (io.IsLoading() && group.name == IniDefaultSentinel)
            group.name = FormatStringResourceWithNumber(IDS_USER_GROUP_NAME, k + 1);
        io.List(prefix + L".Count", prefix + L".", L"%d", L".Mask", group.masks);
    }
}

void TPreference::ExchangeNickList(TIniExchange& io)
{
    io.Section(L"NickList");
    io.List(L"Count", L"Item.", L"%02d", L"", nickList);
}

void TPreference::ExchangeUserInfo(TIniExchange& io)
{
    io.Section(L"UserInfo");
    io.Int(L"WhoTiming", WhoTiming, 1);
    io.Bool(L"DetailWhois", DetailWhois, true);
    io.Bool(L"LimitWhoisDialog", LimitWhoisDialog, true);
    io.Int(L"WhoisDialogMax", WhoisDialogMax, 10);
    io.Bool(L"AutoMask", AutoMask, true);
    io.Bool(L"MaskWholeNick", MaskWholeNick, false);
    io.Bool(L"MaskWholeUsername", MaskWholeUsername, false);
    io.Bool(L"MaskAllAddressDigits", MaskAllAddressDigits, true);
    io.Bool(L"MaskFirstAddressToken", MaskFirstAddressToken, false);
}

void TPreference::ExchangeDetail(TIniExchange& io)
{
    io.Section(L"Detail");
    io.Bool(L"EnableAutoPong", EnableAutoPong, true);
    io.Int(L"AutoPongTime", AutoPongTime, 120);
    io.Bool(L"RejoinOnError437", RejoinOnError437, true);
    io.Int(L"Error437RejoinInterval", Error437RejoinInterval, 600);
    io.Int(L"Error437RejoinCount", Error437RejoinCount, 10);
    io.Bool(L"IgnoreCtcp", IgnoreCtcp, false);
    io.Bool(L"EnableCommand", EnableCommand, true);
    io.String(L"CommandPrefix", CommandPrefix, L"/");
    io.Bool(L"EnableCtcpSequenceLimit", EnableCtcpSequenceLimit, true);
    io.Int(L"KanaEncodingMethod", KanaEncodingMethod, 0);
}

// Written like every other section, so a save keeps the watch list.
void TPreference::ExchangeIson(TIniExchange& io)
{
    io.Section(L"Ison");
    io.Bool(L"ShowIsonWindowOnStart", ShowIsonWindowOnStart, false);
    io.Bool(L"PrintIsonInfoOnServerLog", PrintIsonInfoOnServerLog, true);
    io.Int(L"IsonInterval", IsonInterval, 60);
    io.List(L"Count", L"IsonTarget.", L"%02d", L"", isonTargets);
}
