#include "dialogs/HistoryDialog.h"

#include "classlib/App.h"
#include "classlib/CmdUI.h"
#include "controls/ChildId.h"
#include "controls/Clipboard.h"
#include "dialogs/MessageBoxes.h"
#include "foundation/ResourceString.h"
#include "foundation/StringUtils.h"
#include "foundation/WindowHelpers.h"
#include "res/strings/lists.h"
#include "res/windows/log.h"
#include "res/windows/mainframe.h"
#include "settings/Preference.h"
#include "settings/WindowGeometry.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <windowsx.h>

// commdlg.h, which the message boxes bring, would rename the log view's FindText.
#undef FindText

namespace {

const SIZE kMinimum = {360, 160};

} // namespace

THistoryDialog::THistoryDialog() : TResizableDialog(IDD_HISTORY_DIALOG, kMinimum)
{
    fileLogger.kind = LOGFILE_URL;
    SetSize(400, 300);
}

THistoryDialog::~THistoryDialog()
{
    DestroyFindDialog();
    fileLogger.Close();
    logView.DestroyWindow();
    DestroyWindow();
}

void THistoryDialog::SetAppearance(TLogTextTheme* text, const TLogBkTheme* back, const TLogKeyword* keywords,
                                   const TLogAddressFinder* finder)
{
    textTheme = text;
    backTheme = back;
    keyword = keywords;
    addressFinder = finder;
}

void THistoryDialog::SetPreference(const TPreference* value)
{
    preference = value;
    fileLogger.preferences = value;
}

bool THistoryDialog::CreateHidden(HWND mainWindow)
{
    fileLogger.kind = LOGFILE_URL;
    centreOn = mainWindow;
    // Not owned by the main window: an owner made topmost would take hidden windows along.
    if (!Create(IDD_HISTORY_DIALOG, nullptr))
        return false;
    ShowWindow(SW_HIDE);
    return true;
}

BOOL THistoryDialog::OnInitDialog()
{
    TResizableDialog::OnInitDialog();
    HWND note = ::GetDlgItem(m_hWnd, IDC_HISTORY_NOTE);
    RECT noteRect;
    ::GetWindowRect(note, &noteRect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&noteRect), 2);
    logView.Create(textTheme, backTheme, m_hWnd, GetNextChildId(), keyword, addressFinder, false);
    TakePreferences();
    logView.eventLineListener = this;
    logView.contextPopupListener = this;
    RECT client;
    GetClientRect(&client);
    logView.MoveWindow(client.left, client.top, client.right - client.left, std::max(0L, noteRect.top - 8 - client.top),
                       TRUE);
    logView.ShowWindow(SW_SHOW);
    initialised = true;
    layout.AddControl(LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_BOTTOM, note);
    for (UINT id : {IDCANCEL, IDC_HISTORY_CLEAR, IDC_HISTORY_FIND})
        layout.AddControl(LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM, ::GetDlgItem(m_hWnd, id));
    layout.AddControl(LAYOUT_ANCHOR_ALL, logView.m_hWnd);
    // A size never stored opens at the smallest.
    if (centreOn)
        SizeAndCentre(width, height, kMinimum, centreOn);
    UpdateButtons();
    return TRUE;
}

void THistoryDialog::TakePreferences()
{
    if (!preference)
        return;
    logView.copyOnSelect = preference->LogInstantCopy;
    logView.SetLineLeading(preference->LineLeading);
    logView.SetIndent(preference->Indent);
    logView.SetBottomMargin(preference->BottomMargin);
    logView.maxLines = preference->ChannelLogMaxLines;
    if (logView.maxLines > 0 && logView.GetLineCount() > logView.maxLines)
        logView.RemoveHeadLines(logView.GetLineCount() - logView.maxLines);
}

LRESULT THistoryDialog::OnKickIdleMessage(WPARAM wParam, LPARAM lParam)
{
    if (findDialog && findDialog->m_hWnd)
        findDialog->SendMessage(WM_KICKIDLE, wParam, lParam);
    return OnKickIdle(wParam, lParam);
}

void THistoryDialog::Show()
{
    logView.ClearSelection();
    logView.RefreshView();
    if (logView.GetLineCount() > 0) {
        logView.ScrollToEnd();
        logView.ResetLayout();
    }
    // A minimised or hidden main window sits off the screen: the work area stands in for it.
    if (centreOn && ::IsWindow(centreOn) && ::IsWindowVisible(centreOn) && !::IsIconic(centreOn))
        CentreWindowOn(m_hWnd, centreOn);
    else
        CentreWindowOnWorkArea(m_hWnd);
    ShowWindow(SW_SHOWNORMAL);
    UpdateButtons();
    logView.SetFocus();
}

void THistoryDialog::AddLine(const TLogLineData& line)
{
    const bool wasEmpty = logView.GetLineCount() == 0;
    logView.AddLine(line, true);
    fileLogger.WriteLine(line.placePrefix + line.nickPrefix + line.body);
    if (wasEmpty)
        UpdateButtons();
}

void THistoryDialog::SetFileLogEnabled(bool enabled) { fileLogger.Enable(enabled); }

void THistoryDialog::ApplyViewSettings()
{
    TakePreferences();
    logView.ResetLayout();
    logView.RefreshView();
    UpdateButtons();
}

// The idle update's rule, applied at once.
void THistoryDialog::UpdateButtons()
{
    if (m_hWnd)
        OnKickIdle(0, 0);
}

void THistoryDialog::OnUpdateHasLines(CCmdUI* ui) { ui->Enable(logView.GetLineCount() > 0); }

void THistoryDialog::OnUpdateCopy(CCmdUI* ui) { ui->Enable(logView.HasSelection()); }

void THistoryDialog::OnClear()
{
    if (logView.GetLineCount() == 0)
        return;
    if (!ShowConfirmMessage(m_hWnd, LoadResourceString(IDS_HISTORY_CLEAR_CONFIRM),
                            LoadResourceString(IDS_HISTORY_CLEAR_CAPTION)))
        return;
    logView.RemoveHeadLines(logView.GetLineCount());
    UpdateButtons();
}

void THistoryDialog::OnFindButton()
{
    if (findDialog) {
        findDialog->ShowWindow(SW_SHOW);
        ::BringWindowToTop(findDialog->m_hWnd);
        findDialog->SetFocus();
        return;
    }
    if (logView.GetLineCount() == 0)
        return;
    findDialog = new TFindDialog;
    findDialog->listener = this;
    findDialog->matchCase = geometry ? geometry->findCase : false;
    findDialog->wrapAround = geometry ? geometry->findRing : true;
    findDialog->text = searchText;
    if (!findDialog->Create(IDD_FIND_DIALOG, this)) {
        delete findDialog;
        findDialog = nullptr;
        return;
    }
    CentreWindowOn(findDialog->m_hWnd, m_hWnd);
    findDialog->ShowWindow(SW_SHOW);
}

void THistoryDialog::OnFind(TFindDialog* dialog, const CString& text, bool forward)
{
    logView.FindText(text, forward, dialog->matchCase, dialog->wrapAround);
}

void THistoryDialog::OnFindDialogClose(TFindDialog* dialog)
{
    if (dialog != findDialog)
        return;
    if (geometry) {
        geometry->findCase = dialog->matchCase;
        geometry->findRing = dialog->wrapAround;
    }
    searchText = dialog->text;
    DestroyFindDialog();
}

void THistoryDialog::DestroyFindDialog()
{
    TFindDialog* dialog = findDialog;
    findDialog = nullptr;
    delete dialog;
}

void THistoryDialog::OnOK()
{
    TResizableDialog::OnOK();
    if (listener)
        listener->OnHistoryDialogClose(this);
}

// The find dialog is shown only while this window is shown and not minimised (Enter, the main
// window going away and coming back, this window minimised or restored), so it never searches a
// history nobody sees. Read after every move: a hidden minimised window may be shown and
// restored in one step.
LRESULT THistoryDialog::OnWindowPosChangedMessage(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_WINDOWPOSCHANGED, wParam, lParam);
    if (findDialog && findDialog->m_hWnd) {
        bool shown = IsWindowVisible() && !::IsIconic(m_hWnd);
        if (shown != (findDialog->IsWindowVisible() != FALSE))
            findDialog->ShowWindow(shown ? SW_SHOWNA : SW_HIDE);
    }
    return result;
}

void THistoryDialog::CloseFindDialog()
{
    if (findDialog)
        findDialog->OnCancel();
}

void THistoryDialog::OnCancel()
{
    if (listener)
        listener->OnHistoryDialogClose(this);
    CloseFindDialog();
    TResizableDialog::OnCancel();
}

// Event data: unit and channel in hexadecimal, then the line number in decimal.
void THistoryDialog::OnEventLineClick(TLogView*, const CString& eventData)
{
    CString rest = eventData;
    CString unitWord = CutFirstWord(rest);
    CString channelWord = CutFirstWord(rest);
    rest.Trim();
    if (unitWord.IsEmpty() || channelWord.IsEmpty() || rest.IsEmpty())
        return;
    auto unit = (unsigned)wcstoul(unitWord, nullptr, 16);
    auto channel = (unsigned)wcstoul(channelWord, nullptr, 16);
    int line = (int)wcstol(rest, nullptr, 10);
    if (listener)
        listener->OnHistoryLineClick(this, unit, channel, line);
}

void THistoryDialog::OnUrlDoubleClick(TLogView*, const CString& url)
{
    if (urlOpener)
        urlOpener(url);
}

void THistoryDialog::TrackMenu(UINT menuId, int x, int y)
{
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(menuId));
    if (!menu)
        return;
    if (HMENU popup = ::GetSubMenu(menu, 0))
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

void THistoryDialog::OnContextPopup(TLogView*, int x, int y) { TrackMenu(IDR_PROTOCOL_LOG_POPUP, x, y); }

void THistoryDialog::OnUrlContextPopup(TLogView*, int x, int y) { TrackMenu(IDR_URL_POPUP, x, y); }

void THistoryDialog::OnAddressContextPopup(TLogView*, int x, int y) { TrackMenu(IDR_ADDRESS_POPUP, x, y); }

void THistoryDialog::OnCopy()
{
    if (!logView.HasSelection())
        return;
    logView.CopySelection();
    logView.ClearSelection();
    logView.RefreshView();
}

void THistoryDialog::OnCopyContextText()
{
    CString text = logView.GetContextMenuText();
    if (!text.IsEmpty())
        CopyTextToClipboard(text);
}

void THistoryDialog::OnOpenContextUrl()
{
    CString text = logView.GetContextMenuText();
    if (!text.IsEmpty() && urlOpener)
        urlOpener(text);
}
