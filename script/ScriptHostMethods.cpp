// The methods of the host object: thin calls into the server, the main window and the shell.

#include "script/ScriptHost.h"

#include "foundation/CodePage.h"
#include "foundation/Path.h"
#include "foundation/RunCommand.h"
#include "foundation/ScriptValueText.h"
#include "foundation/StringUtils.h"
#include "script/ScriptChannel.h"
#include "script/ScriptFile.h"

#include <mmsystem.h>
#include <shellapi.h>

namespace {
const UINT kDefaultFileCodePage = 65001;
}

HRESULT TScriptHost::Issue(const CString& command)
{
    server->ExecuteCommand(command);
    return S_OK;
}

HRESULT TScriptHost::IssueWithOptional(TDispatchCall& call, const CString& command, UINT optional,
                                       const wchar_t* separator)
{
    // Only a string counts: a number or an object leaves the optional part out.
    return Issue(call.IsString(optional) ? command + separator + call.GetString(optional) : command);
}

CString TScriptHost::BelowScriptFiles(const CString& name) const
{
    return IsAbsolutePath(name) ? name : frame->GetScriptFilesFolder() + name;
}

HRESULT TScriptHost::Log(TDispatchCall& call)
{
    VARIANT empty;
    VariantInit(&empty);
    const VARIANT* value = call.GetArg(0);
    CString text = VariantToText(value ? *value : empty);
    OutputDebugStringW(text + L"\n");
    // One log, one time and place: the lines after the first follow it bare.
    TScriptConsoleLine kind = TScriptConsoleLine::Log;
    for (const CString& line : SplitLines(text)) {
        frame->WriteScriptConsole(server->GetName(), scriptName, line, kind);
        kind = TScriptConsoleLine::LogContinued;
    }
    return S_OK;
}

HRESULT TScriptHost::Connect(TDispatchCall&)
{
    if (!server->IsConnected())
        server->Connect();
    return S_OK;
}

HRESULT TScriptHost::Disconnect(TDispatchCall&)
{
    server->Disconnect();
    return S_OK;
}

HRESULT TScriptHost::FindChannel(TDispatchCall& call)
{
    TIRCChannel* channel = server->FindChannel(call.GetString(0));
    return call.ReturnObject(channel ? new TScriptChannel(server, channel) : nullptr);
}

HRESULT TScriptHost::SendRaw(TDispatchCall& call) { return Issue(call.GetString(0)); }

HRESULT TScriptHost::Send(TDispatchCall& call)
{
    return Issue(L"NOTICE " + call.GetString(0) + L" :" + call.GetString(1));
}

HRESULT TScriptHost::Action(TDispatchCall& call)
{
    return Issue(L"ACTION " + call.GetString(0) + L" :" + call.GetString(1));
}

HRESULT TScriptHost::Join(TDispatchCall& call)
{
    return IssueWithOptional(call, L"JOIN " + call.GetString(0), 1, L" ");
}

HRESULT TScriptHost::Part(TDispatchCall& call)
{
    return IssueWithOptional(call, L"PART " + call.GetString(0), 1, L" :");
}

HRESULT TScriptHost::Quit(TDispatchCall& call) { return IssueWithOptional(call, L"QUIT", 0, L" :"); }

HRESULT TScriptHost::Kick(TDispatchCall& call)
{
    return IssueWithOptional(call, L"KICK " + call.GetString(0) + L" " + call.GetString(1), 2, L" :");
}

HRESULT TScriptHost::Nick(TDispatchCall& call) { return Issue(L"NICK " + call.GetString(0)); }

HRESULT TScriptHost::Mode(TDispatchCall& call)
{
    return IssueWithOptional(call, L"MODE " + call.GetString(0), 1, L" ");
}

HRESULT TScriptHost::Topic(TDispatchCall& call)
{
    return IssueWithOptional(call, L"TOPIC " + call.GetString(0), 1, L" :");
}

HRESULT TScriptHost::Invite(TDispatchCall& call)
{
    return Issue(L"INVITE " + call.GetString(0) + L" " + call.GetString(1));
}

HRESULT TScriptHost::Whois(TDispatchCall& call)
{
    // Asking the nick's own server makes the reply include the idle time.
    CString nick = call.GetString(0);
    return Issue(L"WHOIS " + nick + L" " + nick);
}

HRESULT TScriptHost::Away(TDispatchCall& call) { return IssueWithOptional(call, L"AWAY", 0, L" :"); }

HRESULT TScriptHost::Ctcp(TDispatchCall& call)
{
    CString rest = call.GetString(0);
    CString word = CutFirstWord(rest);
    CString command = L"CTCP " + word + L" " + call.GetString(1);
    return Issue(rest.IsEmpty() ? command : command + L" " + rest);
}

HRESULT TScriptHost::CtcpReply(TDispatchCall& call)
{
    CString rest = call.GetString(0);
    CString word = CutFirstWord(rest);
    return Issue(L"CTCPREPLY " + call.GetString(1) + L" " + word + L" " + call.GetString(2));
}

HRESULT TScriptHost::ShowBalloon(TDispatchCall& call)
{
    frame->ShowBalloon(call.GetString(0), call.GetString(1));
    return S_OK;
}

HRESULT TScriptHost::ExecuteMenu(TDispatchCall& call)
{
    frame->ExecuteAction(call.GetString(0));
    return S_OK;
}

HRESULT TScriptHost::BrowseUrl(TDispatchCall& call)
{
    frame->OpenUrl(call.GetString(0));
    return S_OK;
}

HRESULT TScriptHost::PlaySoundFile(TDispatchCall& call)
{
    PlaySoundW(BelowScriptFiles(call.GetString(0)), nullptr, SND_ASYNC | SND_FILENAME);
    return S_OK;
}

HRESULT TScriptHost::SelectChannel(TDispatchCall& call)
{
    frame->Select(server, server->LookupChannel(call.GetString(0)));
    return S_OK;
}

HRESULT TScriptHost::SetTimeout(TDispatchCall& call)
{
    timers.SetTimer(call.GetObject(0), call.GetUnsigned(1), true);
    return S_OK;
}

HRESULT TScriptHost::SetInterval(TDispatchCall& call)
{
    return call.ReturnUnsigned(timers.SetTimer(call.GetObject(0), call.GetUnsigned(1), false));
}

HRESULT TScriptHost::ClearInterval(TDispatchCall& call)
{
    timers.ClearTimer(call.GetUnsigned(0));
    return S_OK;
}

HRESULT TScriptHost::OpenFile(TDispatchCall& call)
{
    const VARIANT* readOnlyArg = call.GetArg(1);
    const VARIANT* codePageArg = call.GetArg(2);
    // Only a boolean changes the mode and only a 32-bit integer the code page.
    bool readOnly = readOnlyArg && V_VT(readOnlyArg) == VT_BOOL ? V_BOOL(readOnlyArg) != VARIANT_FALSE : true;
    UINT codePage = codePageArg && V_VT(codePageArg) == VT_I4 ? (UINT)V_I4(codePageArg) : kDefaultFileCodePage;
    TScriptFile* file = new TScriptFile;
    if (!file->Open(BelowScriptFiles(call.GetString(0)), codePage, readOnly)) {
        file->Release();
        return call.ReturnObject(nullptr);
    }
    return call.ReturnObject(file);
}

HRESULT TScriptHost::ExecuteCommand(TDispatchCall& call)
{
    CStringA commandLine = ConvertToCodePage(call.GetString(0), CP_ACP);
    CStringA output = RunCommandCapturingOutput(commandLine, CStringA());
    return call.ReturnString(ConvertWholeFromCodePage(output, CP_ACP));
}

HRESULT TScriptHost::ShellExplore(TDispatchCall& call)
{
    ShellExecuteW(nullptr, L"explore", call.GetString(0), nullptr, nullptr, SW_SHOWNORMAL);
    return S_OK;
}

HRESULT TScriptHost::ShellOpen(TDispatchCall& call)
{
    CString command = call.GetString(0);
    CString folder = ExtractFolder(command);
    TrimTrailingBackslashes(folder);
    ShellExecuteW(nullptr, L"open", command, call.GetString(1), folder, SW_SHOWNORMAL);
    return S_OK;
}

HRESULT TScriptHost::Print(TDispatchCall& call)
{
    for (const CString& line : SplitLines(call.GetString(0)))
        server->PrintScriptText(nullptr, line);
    return S_OK;
}
