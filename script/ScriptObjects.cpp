#include "script/ScriptObjects.h"

#include "script/ScriptChannel.h"
#include "script/ScriptGuids.h"

TScriptPrefix::TScriptPrefix(const CString& raw, const CString& nick, const CString& username, const CString& address)
{
    if (raw.Find(L'@') < 0 && raw.Find(L'!') < 0 && nick.Find(L'.') >= 0) {
        server = raw;
        return;
    }
    this->nick = nick;
    this->username = username;
    this->address = address;
}

HRESULT TScriptPrefix::AccessTextField(TDispatchCall& call, CString& field) { return ::AccessTextField(call, field); }

const TDispatchTable& TScriptPrefix::GetDispatchTable() const
{
    using Self = TScriptPrefix;
    static const TDispatchMember members[] = {
        KV_PROPERTY(Self, "nick", Nick),       KV_PROPERTY(Self, "username", Username),
        KV_PROPERTY(Self, "address", Address), KV_PROPERTY(Self, "server", Server),
        KV_METHOD(Self, "toString", ToString),
    };
    static const TDispatchTable table = {members, (int)std::size(members), &DIID_IScriptPrefix};
    return table;
}

HRESULT TScriptPrefix::ToString(TDispatchCall& call)
{
    CString text;
    if (server.IsEmpty())
        text.Format(L"[Prefix %s, %s, %s]", nick.GetString(), username.GetString(), address.GetString());
    else
        text.Format(L"[Prefix %s]", server.GetString());
    return call.ReturnString(text);
}

const TDispatchTable& TScriptEventContext::GetDispatchTable() const
{
    static const TDispatchMember members[] = {KV_PROPERTY(TScriptEventContext, "handled", Handled)};
    static const TDispatchTable table = {members, 1, &DIID_IScriptEventContext};
    return table;
}

HRESULT TScriptEventContext::Handled(TDispatchCall& call) { return AccessBoolField(call, handled); }

const TDispatchTable& TScriptClipboard::GetDispatchTable() const
{
    static const TDispatchMember members[] = {
        KV_PROPERTY(TScriptClipboard, "text", Text),
        KV_METHOD(TScriptClipboard, "setText", SetText),
    };
    static const TDispatchTable table = {members, 2, &DIID_IScriptClipboard};
    return table;
}

bool TScriptClipboard::ReadText(CString& text)
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr))
        return false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* chars = data ? (const wchar_t*)GlobalLock(data) : nullptr;
    if (chars) {
        // Bounded by the block's size: clipboard data from other programs need not end in NUL.
        size_t limit = GlobalSize(data) / sizeof(wchar_t);
        text = CString(chars, (int)wcsnlen(chars, limit));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return chars != nullptr;
}

bool TScriptClipboard::WriteText(const CString& text)
{
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    size_t bytes = ((size_t)text.GetLength() + 1) * sizeof(wchar_t);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* target = data ? GlobalLock(data) : nullptr;
    if (target) {
        memcpy(target, text.GetString(), bytes);
        GlobalUnlock(data);
    }
    bool ok = target && SetClipboardData(CF_UNICODETEXT, data);
    if (!ok && data)
        GlobalFree(data);
    CloseClipboard();
    return ok;
}

HRESULT TScriptClipboard::Text(TDispatchCall& call)
{
    if (call.IsPut()) {
        // As setText: any value goes on the clipboard as its text.
        VARIANT text;
        WriteText(ConvertVariant(call.GetPutValue(), VT_BSTR, text) ? BstrToString(V_BSTR(&text)) : CString());
        VariantClear(&text);
        return S_OK;
    }
    CString text;
    return ReadText(text) ? call.ReturnString(text) : call.ReturnNullString();
}

HRESULT TScriptClipboard::SetText(TDispatchCall& call)
{
    WriteText(call.GetString(0));
    return S_OK;
}

const TDispatchTable& TScriptWindow::GetDispatchTable() const
{
    using Self = TScriptWindow;
    static const TDispatchMember members[] = {
        KV_PROPERTY(Self, "minimized", Minimized),
        KV_PROPERTY(Self, "maximized", Maximized),
        KV_METHOD(Self, "show", Show),
        KV_METHOD(Self, "minimize", Minimize),
        KV_METHOD(Self, "maximize", Maximize),
        KV_METHOD(Self, "flashTitle", FlashTitle),
        KV_METHOD(Self, "blinkTitle", BlinkTitle),
        KV_METHOD(Self, "restoreTitle", RestoreTitle),
    };
    static const TDispatchTable table = {members, (int)std::size(members), &DIID_IScriptWindow};
    return table;
}

UINT TScriptWindow::GetShowState() const
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    HWND window = frame->GetMainWindow();
    return window && GetWindowPlacement(window, &placement) ? placement.showCmd : SW_HIDE;
}

HRESULT TScriptWindow::Minimized(TDispatchCall& call)
{
    if (call.IsPut())
        return S_OK;
    UINT state = GetShowState();
    return call.ReturnBool(state == SW_SHOWMINIMIZED || state == SW_MINIMIZE || state == SW_SHOWMINNOACTIVE);
}

HRESULT TScriptWindow::Maximized(TDispatchCall& call)
{
    return call.IsPut() ? S_OK : call.ReturnBool(GetShowState() == SW_SHOWMAXIMIZED);
}

HRESULT TScriptWindow::Post(WPARAM command)
{
    if (HWND window = frame->GetMainWindow())
        PostMessageW(window, WM_SYSCOMMAND, command, 0);
    return S_OK;
}

HRESULT TScriptWindow::FlashTitle(TDispatchCall&)
{
    if (!frame->IsAppActive())
        frame->StartMessageAlert();
    return S_OK;
}

HRESULT TScriptWindow::BlinkTitle(TDispatchCall&)
{
    if (!frame->IsAppActive())
        frame->StartHighlightAlert();
    return S_OK;
}

HRESULT TScriptWindow::RestoreTitle(TDispatchCall&)
{
    frame->RestoreTitle();
    return S_OK;
}
