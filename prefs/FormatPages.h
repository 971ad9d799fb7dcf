#pragma once
// The two message pages of the preference window. They edit the log's formats in the window's
// working view settings: the time stamp, the prefixes and the window titles on one page, and on
// the other, for each of 30 events, whether it goes to the channel log and the all-channels log
// and the text it is written with. A page stores its controls on OK, or earlier when another
// page (the log text samples, a theme being saved) asks for its unsaved edits.

#include "controls/ListView.h"
#include "prefs/PropertyPage.h"
#include "res/windows/formatpages.h"
#include "res/windows/preference.h"

#include <vector>

class TLogFormat;

class TFormatPage : public TPropertyPage {
public:
    TFormatPage() : TPropertyPage(IDD_FORMAT_PAGE) {}

    // Set before the window is made; the page changes the formats in place.
    void SetFormat(TLogFormat* value) { format = value; }

    BOOL OnInitDialog() override;
    // Formats to controls, after the formats were replaced (a theme loaded); nothing before the
    // window was made.
    void Load() override;
    // Controls to formats; nothing unless the page was opened.
    void Save();
    // The controls were edited since the last Load or Save.
    bool IsModified() const { return modified; }
    // How many times edits went into the formats: a view of them knows whether it is behind.
    int GetStoredEdits() const { return storedEdits; }

    BEGIN_MSG_MAP(TFormatPage)
        // Any edit of a control is noted; the message goes on to the handlers.
        if (uMsg == WM_COMMAND)
            NoteCommand(LOWORD(wParam), HIWORD(wParam));
        UPDATE_UI_HANDLER(IDC_FORMAT_TIME, OnUpdateTime)
        CHAIN_MSG_MAP(TPropertyPage)
    END_MSG_MAP()

protected:
    bool HasRecord() const override { return format != nullptr; }
    void Store() override { Save(); }

private:
    void ExchangeFields(TDialogExchange& io);
    void Transfer(TDialogExchange::Direction direction);
    void NoteCommand(int id, int code);
    void OnUpdateTime(CCmdUI* ui);

    TLogFormat* format = nullptr;
    bool initialised = false;
    bool modified = false;
    int storedEdits = 0;
};

class TFormatDetailPage : public TPropertyPage, public IListViewListener {
public:
    TFormatDetailPage();

    void SetFormat(TLogFormat* value) { format = value; }
    // Where the column widths are kept; read when the page opens, written on OK and Cancel.
    void SetColumnWidths(std::vector<int>* widths) { columnWidths = widths; }

    BOOL OnInitDialog() override;
    void OnCancel() override { StoreColumnWidths(); }

    // Formats to the 30 rows; nothing before the window was made.
    void FillList();
    // Rows to formats; nothing unless the page was opened.
    void SaveList();
    bool IsModified() const { return modified; }
    int GetStoredEdits() const { return storedEdits; }

    // Appends a row; the "Privmsg" row never shows a channel-log mark.
    void AddRow(const CString& label, bool channel, bool console, const CString& text);
    // A flag is on when its cell shows the mark.
    void GetRow(int row, bool& channel, bool& console, CString& text) const;
    // Opens the item dialog of the selected row; its OK writes the row back.
    void EditSelected();
    const TListView& GetList() const { return list; }

    BEGIN_MSG_MAP(TFormatDetailPage)
        COMMAND_ID_HANDLER(IDC_FORMAT_DETAIL_EDIT, EditSelected)
        UPDATE_UI_HANDLER(IDC_FORMAT_DETAIL_EDIT, OnUpdateEdit)
        CHAIN_MSG_MAP(TPropertyPage)
    END_MSG_MAP()

    // IListViewListener: Enter and a double click edit the row; a right click on a mark cell
    // flips it.
    bool OnKeyDown(UINT key) override;
    bool OnSysKeyDown(UINT) override { return false; }
    void OnDoubleClick(TListView*, UINT, int, int) override { EditSelected(); }
    void OnRightClick(TListView* list) override;
    void OnContextMenu(TListView*, int, int) override {}
    void OnCustomDraw(TListView*, NMHDR*, LRESULT*) override {}
    void OnColumnClick(TListView*, int) override {}

protected:
    bool HasRecord() const override { return format != nullptr; }
    void Load() override { FillList(); }
    void Store() override;

private:
    int Selected() const;
    void SetMark(int row, int column, bool on);
    void StoreColumnWidths();
    void OnUpdateEdit(CCmdUI* ui);

    TListView list;
    TLogFormat* format = nullptr;
    std::vector<int>* columnWidths = nullptr;
    CString onMark;
    bool initialised = false;
    bool modified = false;
    int storedEdits = 0;
};
