#pragma once
// A modeless window that is one log view: a server's protocol log (every raw line sent and
// received) or the main window's script console. Closing only hides it; the lines stay.

#include "controls/UpdateDialog.h"
#include "logview/LogView.h"
#include "res/windows/log.h"

class TPreference;
class TProtocolLogDialog;

class IProtocolLogDialogListener {
public:
    virtual void OnProtocolLogDialogClose(TProtocolLogDialog* dialog) = 0;

protected:
    ~IProtocolLogDialogListener() = default;
};

class TProtocolLogDialog : public TUpdateDialog, public ILogViewContextPopupListener {
public:
    TProtocolLogDialog();
    ~TProtocolLogDialog() override;

    // Set by the owner before the window is made: the application's log look and preferences.
    void SetAppearance(TLogTextTheme* textTheme, const TLogBkTheme* backTheme, const TPreference* preference);
    void SetServerName(const CString& name) { m_serverName = name; }

    BOOL OnInitDialog() override;
    // No OK button: Enter closes the window as its close box does.
    void OnOK() override { OnCancel(); }
    void OnCancel() override;

    void AddProtocolLine(const CString& text, bool sent);
    void AddScriptLog(const CString& serverName, const CString& scriptName, const CString& text, bool withPrefixes);
    void AddScriptError(const CString& serverName, const CString& scriptName, const CString& text);
    void SetNormalRect(const RECT& rect);
    void GetNormalRect(RECT& rect) const;
    void ShowDialog();
    void ApplySettings();

    void OnUrlDoubleClick(TLogView*, const CString&) override {}
    void OnContextPopup(TLogView* view, int x, int y) override;
    void OnUrlContextPopup(TLogView*, int, int) override {}
    void OnAddressContextPopup(TLogView*, int, int) override {}

    TLogView& GetLogView() { return m_logView; }

    IProtocolLogDialogListener* listener = nullptr;

    BEGIN_MSG_MAP(TProtocolLogDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        COMMAND_ID_HANDLER(ID_EDIT_COPY, OnEditCopy)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    void OnEditCopy();
    void TakePreferences();
    void AddTimedLine(const CString& place, const CString& nick, const CString& text, int lineType);

    bool m_initialised = false;
    TLogView m_logView;
    CString m_serverName;
    CString m_baseTitle;
    TLogTextTheme* m_textTheme = nullptr;
    const TLogBkTheme* m_backTheme = nullptr;
    const TPreference* m_preference = nullptr;
};
