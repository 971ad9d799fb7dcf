#include "logview/ProtocolLogDialog.h"

#include "classlib/Menu.h"
#include "controls/ChildId.h"
#include "foundation/ResourceString.h"
#include "res/resource.h"
#include "settings/Preference.h"

#include <windowsx.h>

namespace {

CString CurrentTimeText()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CString text;
    text.Format(L"%02d:%02d:%02d ", now.wHour, now.wMinute, now.wSecond);
    return text;
}

} // namespace

TProtocolLogDialog::TProtocolLogDialog() : TUpdateDialog(IDD_PROTOCOL_LOG) {}

TProtocolLogDialog::~TProtocolLogDialog()
{
    m_logView.DestroyWindow();
    DestroyWindow();
}

void TProtocolLogDialog::SetAppearance(TLogTextTheme* textTheme, const TLogBkTheme* backTheme,
                                       const TPreference* preference)
{
    m_textTheme = textTheme;
    m_backTheme = backTheme;
    m_preference = preference;
}

BOOL TProtocolLogDialog::OnInitDialog()
{
    TUpdateDialog::OnInitDialog();
    m_initialised = true;
    // Raw text: bodies show their control codes as they came; no URLs, no keywords.
    m_logView.Create(m_textTheme, m_backTheme, m_hWnd, GetNextChildId(), nullptr, nullptr, true);
    TakePreferences();
    m_logView.contextPopupListener = this;
    RECT client;
    GetClientRect(&client);
    m_logView.MoveWindow(client);
    m_logView.ShowWindow(SW_SHOW);
    m_baseTitle = GetWindowText();
    return TRUE;
}

void TProtocolLogDialog::TakePreferences()
{
    if (!m_preference)
        return;
    m_logView.copyOnSelect = m_preference->LogInstantCopy;
    m_logView.SetLineLeading(m_preference->LineLeading);
    m_logView.SetIndent(m_preference->Indent);
    m_logView.SetBottomMargin(m_preference->BottomMargin);
    m_logView.maxLines = m_preference->ChannelLogMaxLines;
    if (m_logView.maxLines > 0 && m_logView.GetLineCount() > m_logView.maxLines)
        m_logView.RemoveHeadLines(m_logView.GetLineCount() - m_logView.maxLines);
}

LRESULT TProtocolLogDialog::OnSize(WPARAM, LPARAM lParam)
{
    const int width = GET_X_LPARAM(lParam);
    const int height = GET_Y_LPARAM(lParam);
    if (m_initialised && width > 0 && height > 0)
        m_logView.MoveWindow(0, 0, width, height, TRUE);
    return 0;
}

void TProtocolLogDialog::OnCancel()
{
    TUpdateDialog::OnCancel();
    if (listener)
        listener->OnProtocolLogDialogClose(this);
}

void TProtocolLogDialog::AddTimedLine(const CString& place, const CString& nick, const CString& text, int lineType)
{
    TLogLineData data;
    data.timeText = CurrentTimeText();
    data.placePrefix = place;
    data.nickPrefix = nick;
    data.body = text;
    data.lineType = lineType;
    m_logView.AddLine(data, false);
}

void TProtocolLogDialog::AddProtocolLine(const CString& text, bool sent)
{
    AddTimedLine(CString(), CString(), text, sent ? LINE_SENT : LINE_RECEIVED);
}

void TProtocolLogDialog::AddScriptLog(const CString& serverName, const CString& scriptName, const CString& text,
                                      bool withPrefixes)
{
    if (withPrefixes) {
        AddTimedLine(L"<" + serverName + L"> ", L"(" + scriptName + L") ", text, LINE_MESSAGE);
        return;
    }
    TLogLineData data;
    data.body = text;
    data.lineType = LINE_MESSAGE;
    m_logView.AddLine(data, false);
}

void TProtocolLogDialog::AddScriptError(const CString& serverName, const CString& scriptName, const CString& text)
{
    AddTimedLine(L"<" + serverName + L"> ", L"(" + scriptName + L") ", text, LINE_ERROR);
}

void TProtocolLogDialog::SetNormalRect(const RECT& rect)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    placement.rcNormalPosition = rect;
    ::SetWindowPlacement(m_hWnd, &placement);
}

void TProtocolLogDialog::GetNormalRect(RECT& rect) const
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(m_hWnd, &placement);
    rect = placement.rcNormalPosition;
}

void TProtocolLogDialog::ShowDialog()
{
    SetWindowText(m_serverName.IsEmpty() ? LoadResourceString(IDS_SCRIPT_CONSOLE)
                                         : m_baseTitle + L" - " + m_serverName);
    if (m_logView.GetLineCount() > 0)
        m_logView.ScrollToEnd();
    ShowWindow(SW_SHOW);
}

void TProtocolLogDialog::ApplySettings()
{
    TakePreferences();
    m_logView.ResetLayout();
    m_logView.RefreshView();
}

void TProtocolLogDialog::OnContextPopup(TLogView*, int x, int y)
{
    CMenu menu;
    if (menu.LoadMenu(IDR_PROTOCOL_LOG_POPUP))
        menu.TrackPopupMenu(TPM_RIGHTBUTTON, x, y, m_hWnd, 0);
}

void TProtocolLogDialog::OnEditCopy()
{
    m_logView.CopySelection();
    m_logView.ClearSelection();
}
