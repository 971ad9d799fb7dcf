#pragma once
// Identities of the script object model; the type library resource declares the same ones.

#include <guiddef.h>

extern const GUID LIBID_ScriptHost;
extern const IID DIID_IScriptHost;
extern const IID DIID_IScriptHostEvent;
extern const CLSID CLSID_ScriptHost;
extern const IID DIID_IScriptWindow;
extern const IID DIID_IScriptPrefix;
extern const IID DIID_IScriptChannel;
extern const IID DIID_IScriptChannelMode;
extern const IID DIID_IScriptUser;
extern const IID DIID_IScriptChannelMemberMode;
extern const IID DIID_IScriptFile;
extern const IID DIID_IScriptClipboard;
extern const IID DIID_IScriptEventContext;
