#include "world/WhoisDialog.h"

#include "foundation/DroppedFiles.h"
#include "foundation/ResourceString.h"
#include "res/strings/irc.h"
#include "world/IRCWorld.h"

#include <shellapi.h>

TWhoisDialog::TWhoisDialog() : TUpdateDialog(IDD_WHOIS_DIALOG) {}

TWhoisDialog::~TWhoisDialog()
{
    resolver.listener = nullptr;
    resolver.Cancel();
    DestroyWindow();
}

void TWhoisDialog::SetListener(IWhoisDialogListener* value, const TIRCWorld* owner, const TIRCUnit* from)
{
    listener = value;
    world = owner;
    unit = from;
}

IWhoisDialogListener* TWhoisDialog::LiveListener() const
{
    if (world && !world->HasUnit(unit))
        return nullptr;
    return listener;
}

bool TWhoisDialog::CreateAndShow(bool topMost)
{
    if (!Create(IDD_WHOIS_DIALOG, nullptr))
        return false;
    ShowWindow(SW_SHOWNORMAL);
    ::SetWindowPos(m_hWnd, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

BOOL TWhoisDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    resolver.listener = this;
    ::DragAcceptFiles(m_hWnd, TRUE);
    UpdateJoinButton();
    return TRUE;
}

void TWhoisDialog::OnCancel()
{
    TUpdateDialog::OnCancel();
    // The unit deletes this dialog.
    if (IWhoisDialogListener* live = LiveListener())
        live->OnClose(this);
}

// A server's text is never cut shorter than the dialogs' own limit.
void TWhoisDialog::SetField(int id, const CString& text)
{
    if (m_hWnd)
        SetEditText(::GetDlgItem(m_hWnd, id), text, kTextLimit);
}

void TWhoisDialog::SetNick(const CString& nick)
{
    nickText = nick;
    UpdateNickText();
}

void TWhoisDialog::SetOperator(bool value)
{
    op = value;
    UpdateNickText();
}

void TWhoisDialog::UpdateNickText()
{
    SetField(IDC_WHOIS_NICK, op ? nickText + L" (IRC Operator)" : nickText);
    if (m_hWnd)
        SetWindowText(FormatStringResourceWithText(IDS_WHOIS_TITLE, nickText));
}

CString TWhoisDialog::GetUserName() { return m_hWnd ? GetControlText(::GetDlgItem(m_hWnd, IDC_WHOIS_USER)) : L""; }

CString TWhoisDialog::GetHost() { return m_hWnd ? GetControlText(::GetDlgItem(m_hWnd, IDC_WHOIS_HOST)) : L""; }

void TWhoisDialog::SetHost(const CString& host)
{
    SetField(IDC_WHOIS_HOST, host);
    // The address of an earlier host must not stand beside the new one.
    SetField(IDC_WHOIS_ADDRESS, CString());
    resolver.Cancel();
    resolver.SetHostName(host);
    if (!host.IsEmpty())
        resolver.Resolve();
}

void TWhoisDialog::OnResolve(TNameResolver* from) { SetField(IDC_WHOIS_ADDRESS, from->GetAddress().ToString()); }

void TWhoisDialog::SetServer(const CString& name)
{
    serverName = name;
    UpdateServerText();
}

void TWhoisDialog::SetServerInfo(const CString& info)
{
    serverInfo = info;
    UpdateServerText();
}

void TWhoisDialog::UpdateServerText() { SetField(IDC_WHOIS_SERVER, serverName + L" / " + serverInfo); }

void TWhoisDialog::AddChannel(const CString& text)
{
    if (!m_hWnd)
        return;
    ::SendDlgItemMessageW(m_hWnd, IDC_WHOIS_CHANNELS, CB_ADDSTRING, 0, (LPARAM)text.GetString());
    ::SendDlgItemMessageW(m_hWnd, IDC_WHOIS_CHANNELS, CB_SETCURSEL, 0, 0);
    UpdateJoinButton();
}

void TWhoisDialog::ClearChannels()
{
    if (!m_hWnd)
        return;
    ::SendDlgItemMessageW(m_hWnd, IDC_WHOIS_CHANNELS, CB_RESETCONTENT, 0, 0);
    UpdateJoinButton();
}

void TWhoisDialog::UpdateJoinButton()
{
    bool selected = ::SendDlgItemMessageW(m_hWnd, IDC_WHOIS_CHANNELS, CB_GETCURSEL, 0, 0) >= 0;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_WHOIS_JOIN), selected);
}

void TWhoisDialog::Raise()
{
    ShowWindow(SW_SHOWNORMAL);
    ::BringWindowToTop(m_hWnd);
}

void TWhoisDialog::OnJoin()
{
    int index = (int)::SendDlgItemMessageW(m_hWnd, IDC_WHOIS_CHANNELS, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return;
    int length = (int)::SendDlgItemMessageW(m_hWnd, IDC_WHOIS_CHANNELS, CB_GETLBTEXTLEN, (WPARAM)index, 0);
    if (length <= 0)
        return;
    CString channel;
    ::SendDlgItemMessageW(m_hWnd, IDC_WHOIS_CHANNELS, CB_GETLBTEXT, (WPARAM)index,
                          (LPARAM)channel.GetBuffer(length + 1));
    channel.ReleaseBuffer(length);
    if (IWhoisDialogListener* live = LiveListener())
        live->OnJoin(this, channel);
}

void TWhoisDialog::OnUpdate()
{
    if (IWhoisDialogListener* live = LiveListener())
        live->OnRefresh(this);
}

void TWhoisDialog::OnTalk()
{
    if (IWhoisDialogListener* live = LiveListener())
        live->OnTalk(this, nickText);
}

LRESULT TWhoisDialog::OnDropFiles(WPARAM wParam, LPARAM)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    std::vector<CString> paths = ReadDroppedFiles(drop);
    ::DragFinish(drop);
    for (const CString& path : paths) {
        IWhoisDialogListener* live = LiveListener();
        if (!live)
            break;
        live->OnDropFiles(this, nickText, path);
    }
    return 0;
}
