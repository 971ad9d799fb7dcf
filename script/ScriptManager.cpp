#include "script/ScriptManager.h"

#include "foundation/File.h"
#include "script/ScriptEventArgs.h"
#include "script/ScriptHost.h"
#include "script/ScriptObjects.h"

#include <oleauto.h>

TScriptItem::~TScriptItem()
{
    delete host;
    window->Release();
}

TScriptManager::~TScriptManager()
{
    UnloadAll(false);
    for (TScriptItem* item : retired)
        delete item;
}

void TScriptManager::DropItem(TScriptItem* item)
{
    if (!item->host->IsRunning()) {
        delete item;
        return;
    }
    item->host->StopTimers();
    retired.push_back(item);
}

void TScriptManager::DeleteRetired()
{
    std::vector<TScriptItem*> waiting;
    waiting.swap(retired);
    for (TScriptItem* item : waiting)
        DropItem(item);
}

bool TScriptManager::IsRunning() const
{
    for (const auto& entry : items)
        if (entry.second->host->IsRunning())
            return true;
    for (TScriptItem* item : retired)
        if (item->host->IsRunning())
            return true;
    return false;
}

std::vector<CString> TScriptManager::GetLoadedNames() const
{
    std::vector<CString> names;
    for (const auto& entry : items)
        names.push_back(entry.first);
    return names;
}

TScriptHost* TScriptManager::FindHost(const CString& name) const
{
    auto found = items.find(name);
    return found != items.end() ? found->second->host : nullptr;
}

bool TScriptManager::ReadFileStamp(const CString& name, ULONGLONG& size, ULONGLONG& time) const
{
    TFile file;
    if (!file.Open(frame->GetScriptFolder() + name, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, 0))
        return false;
    LARGE_INTEGER length = {};
    FILETIME written = {};
    bool ok = GetFileSizeEx(file.handle, &length) && file.GetLastWriteTime(written);
    size = (ULONGLONG)length.QuadPart;
    time = ((ULONGLONG)written.dwHighDateTime << 32) | written.dwLowDateTime;
    return ok;
}

TScriptItem* TScriptManager::LoadScript(const CString& name)
{
    TTextFile file(65001, true);
    if (!file.Open(frame->GetScriptFolder() + name, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ, 0))
        return nullptr;
    CString text, line;
    while (file.ReadLine(line))
        text += line + L"\r\n";
    // A byte-order mark from an editor is no script text.
    if (text.GetLength() > 0 && text[0] == 0xFEFF)
        text = text.Mid(1);
    file.Close();
    ULONGLONG size = 0, time = 0;
    ReadFileStamp(name, size, time);

    TScriptHost* host = new TScriptHost(server, frame);
    host->SetScriptName(name);
    host->CreateEngine();
    HWND mainWindow = frame->GetMainWindow();
    host->SetSiteWindow(mainWindow && IsWindow(mainWindow) ? mainWindow : GetDesktopWindow());
    TScriptWindow* window = new TScriptWindow(server, frame);
    host->AddScriptItem(window);
    host->AddScriptCode(text);
    return new TScriptItem(name, host, window, size, time);
}

void TScriptManager::LoadScripts(const std::vector<CString>& enabledFiles)
{
    std::map<CString, TScriptItem*> fresh;
    std::vector<TScriptHost*> loaded;
    for (const CString& name : enabledFiles) {
        if (fresh.count(name))
            continue;
        auto old = items.find(name);
        if (old != items.end()) {
            ULONGLONG size = 0, time = 0;
            TScriptItem* item = old->second;
            if (!ReadFileStamp(name, size, time)) {
                items.erase(old);
                item->host->FireEvent(EventOnUnload, 0, nullptr);
                DropItem(item);
                continue;
            }
            if (size == item->size && time == item->time) {
                items.erase(old);
                fresh[name] = item;
                continue;
            }
        }
        // A changed script's new instance starts before its old one hears onUnload.
        if (TScriptItem* item = LoadScript(name)) {
            fresh[name] = item;
            loaded.push_back(item->host);
        }
    }
    UnloadAll(true);
    items.swap(fresh);
    for (TScriptHost* host : loaded) {
        if (IsLoaded(host))
            host->FireEvent(EventOnLoad, 0, nullptr);
    }
    DeleteRetired();
}

void TScriptManager::UnloadAll(bool fireUnload)
{
    std::map<CString, TScriptItem*> old;
    old.swap(items);
    for (auto& entry : old) {
        if (fireUnload)
            entry.second->host->FireEvent(EventOnUnload, 0, nullptr);
        DropItem(entry.second);
    }
    DeleteRetired();
}

bool TScriptManager::IsLoaded(const TScriptHost* host) const
{
    for (const auto& entry : items) {
        if (entry.second->host == host)
            return true;
    }
    return false;
}

void TScriptManager::Fire(DISPID id, const TScriptEventArgs& args, const TScriptEventContext* context)
{
    std::vector<TScriptHost*> hosts;
    for (const auto& entry : items)
        hosts.push_back(entry.second->host);
    for (TScriptHost* host : hosts) {
        if (context && context->IsHandled())
            break;
        if (IsLoaded(host))
            host->FireEvent(id, args.Count(), args.Values());
    }
    DeleteRetired();
}

void TScriptManager::FireWithPrefix(DISPID id, const TScriptSender& prefix, std::vector<CString> texts)
{
    TScriptPrefix* object = new TScriptPrefix(prefix.raw, prefix.nick, prefix.username, prefix.address);
    TScriptEventArgs args;
    args.Object(object);
    for (const CString& text : texts)
        args.Text(text);
    Fire(id, args);
    object->Release();
}
