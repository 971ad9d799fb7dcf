#pragma once
// THistoryDialog: the keyword or URL history, a running log of lines copied from the servers'
// and channels' logs. Double-clicking a line asks the owner to jump to where it came from; the
// lines can be searched, copied, cleared and written to a file. Closing only hides the window.

#include "controls/ResizableDialog.h"
#include "dialogs/FindDialog.h"
#include "log/FileLogger.h"
#include "logview/LogView.h"
#include "res/windows/lists.h"
#include "res/windows/log.h"
#include "res/windows/mainframe.h"

#include <functional>

class THistoryDialog;
class TLogAddressFinder;
class TLogKeyword;
class TPreference;
struct TLogBkTheme;
struct TLogTextTheme;
struct TWindowGeometry;

class IHistoryDialogListener {
public:
    // The three words of the line's event data: the serial numbers of unit and channel
    // (TIRCNode::GetSerial) as hexadecimal, the line number.
    virtual void OnHistoryLineClick(THistoryDialog* dialog, unsigned unit, unsigned channel, int line) = 0;
    virtual void OnHistoryDialogClose(THistoryDialog* dialog) = 0;

protected:
    ~IHistoryDialogListener() = default;
};

class THistoryDialog : public TResizableDialog,
                       public ILogViewEventLineClickListener,
                       public IFindDialogListener,
                       public ILogViewContextPopupListener {
public:
    THistoryDialog();
    ~THistoryDialog() override;

    void SetListener(IHistoryDialogListener* value) { listener = value; }
    // Set before the window is made: the log look, the keywords and URL finder of the view, the
    // preferences the view and the file logger read, and the find options in the window settings.
    void SetAppearance(TLogTextTheme* textTheme, const TLogBkTheme* backTheme, const TLogKeyword* keyword,
                       const TLogAddressFinder* addressFinder);
    void SetPreference(const TPreference* value);
    void SetGeometry(TWindowGeometry* value) { geometry = value; }
    // Opens a URL of the log the way the program does.
    void SetUrlOpener(std::function<void(const CString&)> opener) { urlOpener = std::move(opener); }

    // Made hidden; it sizes and centres itself on the main window. The file log is the URL log kind.
    bool CreateHidden(HWND mainWindow);
    void Show();
    void AddLine(const TLogLineData& line);
    void SetFileLogEnabled(bool enabled);
    bool IsFileLogEnabled() const { return fileLogger.enabled; }
    TFileLogger& GetFileLogger() { return fileLogger; }
    void ApplyViewSettings();
    TLogView& GetLogView() { return logView; }
    TFindDialog* GetFindDialog() const { return findDialog; }
    // Closes an open find dialog as its own close does, so its options are kept.
    void CloseFindDialog();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnEventLineClick(TLogView* view, const CString& eventData) override;
    void OnFind(TFindDialog* dialog, const CString& text, bool forward) override;
    void OnFindDialogClose(TFindDialog* dialog) override;
    void OnUrlDoubleClick(TLogView* view, const CString& url) override;
    void OnContextPopup(TLogView* view, int x, int y) override;
    void OnUrlContextPopup(TLogView* view, int x, int y) override;
    void OnAddressContextPopup(TLogView* view, int x, int y) override;

    BEGIN_MSG_MAP(THistoryDialog)
        MESSAGE_HANDLER(WM_KICKIDLE, OnKickIdleMessage)
        MESSAGE_HANDLER(WM_WINDOWPOSCHANGED, OnWindowPosChangedMessage)
        COMMAND_ID_HANDLER(IDC_HISTORY_CLEAR, OnClear)
        COMMAND_ID_HANDLER(IDC_HISTORY_FIND, OnFindButton)
        COMMAND_ID_HANDLER(ID_EDIT_COPY, OnCopy)
        COMMAND_ID_HANDLER(ID_COPY_URL, OnCopyContextText)
        COMMAND_ID_HANDLER(ID_COPY_ADDRESS, OnCopyContextText)
        COMMAND_ID_HANDLER(ID_OPEN_URL, OnOpenContextUrl)
        UPDATE_UI_HANDLER(IDC_HISTORY_CLEAR, OnUpdateHasLines)
        UPDATE_UI_HANDLER(IDC_HISTORY_FIND, OnUpdateHasLines)
        UPDATE_UI_HANDLER(ID_EDIT_COPY, OnUpdateCopy)
        CHAIN_MSG_MAP(TResizableDialog)
    END_MSG_MAP()

private:
    LRESULT OnKickIdleMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChangedMessage(WPARAM wParam, LPARAM lParam);
    void TakePreferences();
    void UpdateButtons();
    void OnClear();
    void OnFindButton();
    void OnCopy();
    void OnCopyContextText();
    void OnOpenContextUrl();
    void OnUpdateHasLines(CCmdUI* ui);
    void OnUpdateCopy(CCmdUI* ui);
    void TrackMenu(UINT menuId, int x, int y);
    void DestroyFindDialog();

    IHistoryDialogListener* listener = nullptr;
    TLogView logView;
    TFindDialog* findDialog = nullptr;
    HWND centreOn = nullptr;
    CString searchText;
    TFileLogger fileLogger;
    TLogTextTheme* textTheme = nullptr;
    const TLogBkTheme* backTheme = nullptr;
    const TLogKeyword* keyword = nullptr;
    const TLogAddressFinder* addressFinder = nullptr;
    const TPreference* preference = nullptr;
    TWindowGeometry* geometry = nullptr;
    std::function<void(const CString&)> urlOpener;
};
