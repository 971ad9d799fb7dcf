#pragma once
// How a unit's macro engine asks its unit: conditions on users and states, values of macro
// variables, and the actions of macro rules. The macro engine calls it; the unit implements it.

#include "classlib/String.h"

class IMacroManagerListener {
public:
    virtual void OnMacroFileLoadError(const CString& fileName) = 0;
    virtual void Print(const CString& channel, const CString& text) = 0;
    virtual bool IsSelf(const CString& nick, const CString& user, const CString& host) = 0;
    virtual bool IsPrefixInUserGroup(int group, const CString& nick, const CString& user, const CString& host) = 0;
    virtual bool IsChannelOperator(const CString& channel, const CString& nick) = 0;
    virtual bool IsAway() = 0;
    virtual CString GetCurrentChannelName() = 0;
    virtual CString GetSelectedText() = 0;
    virtual CString GetMyAddressText() = 0;
    virtual void Execute(const CString& commandLine, bool minimized) = 0;
    virtual void OpenUrl(const CString& url, const CString& unused) = 0;
    virtual void ExecuteCommand(const CString& text, bool notify, bool multiLine) = 0;
    virtual void GiveOp(const CString& channel, const CString& nick) = 0;
    virtual void PlaySound(const CString& fileName) = 0;
    virtual void SelectChannel(const CString& channel) = 0;
    virtual void SetChannelCondition(const CString& channel, const CString& word) = 0;
    virtual void WindowAction(const CString& word) = 0;
    virtual void ExecuteMenu(const CString& actionName) = 0;
    virtual void ShowBalloon(const CString& title, const CString& text) = 0;

protected:
    ~IMacroManagerListener() = default;
};
