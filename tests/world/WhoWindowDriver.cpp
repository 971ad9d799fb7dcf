#include "tests/world/WhoWindowDriver.h"

#include "foundation/ModalCounter.h"
#include "tests/common/InputHandled.h"
#include "tests/common/MessagePump.h"
#include "tests/common/UserInput.h"

#include <memory>

namespace {

// The file name box of the save dialog: the explorer style's combo box, else the old edit.
HWND FileNameBox(HWND dialog)
{
    HWND box = ::GetDlgItem(dialog, 0x47C);
    return box ? box : ::GetDlgItem(dialog, 0x480);
}

struct TSaveRun {
    CString path;
    bool agree = false;
    bool named = false;
    bool finished = false;
    bool stopped = false;
    int steps = 0;
    TFileDialogAnswer answer;
};

void AnswerDialogs(std::shared_ptr<TSaveRun> run)
{
    if (run->finished) {
        run->stopped = true;
        return;
    }
    if (HWND question = ::FindWindowW(L"#32770", L"確認")) {
        run->answer.confirmShown = true;
        run->answer.modalCountAtConfirm = TModalManager::GetModalCount();
        ::SetForegroundWindow(question);
        QueueKey(run->agree ? VK_RETURN : VK_ESCAPE);
    } else if (HWND dialog = ::FindWindowW(L"#32770", L"部屋リストをファイルに保存"); dialog && !run->named) {
        HWND box = FileNameBox(dialog);
        run->answer.defaultName = GetControlText(box);
        run->answer.modalCountInDialog = TModalManager::GetModalCount();
        ::SetWindowTextW(box, run->path);
        ::SetForegroundWindow(dialog);
        ::SetFocus(box);
        QueueKey(VK_RETURN);
        run->named = true;
    }
    if (++run->steps < 200)
        RunLater(50, [run] { AnswerDialogs(run); });
    else
        run->stopped = true;
}

} // namespace

std::vector<CString> TWhoWindowDriver::Rows()
{
    TListView* list = window->GetListView();
    std::vector<CString> rows;
    for (int item = 0; item < list->GetItemCount(); item++) {
        CString row = list->GetItemText(item, 1);
        for (int column = 2; column <= 5; column++)
            row += L" " + list->GetItemText(item, column);
        rows.push_back(row);
    }
    return rows;
}

std::vector<CString> TWhoWindowDriver::Nicks()
{
    TListView* list = window->GetListView();
    std::vector<CString> nicks;
    for (int item = 0; item < list->GetItemCount(); item++)
        nicks.push_back(list->GetItemText(item, 1));
    return nicks;
}

void TWhoWindowDriver::ClickHeading(int column)
{
    HWND header = ListView_GetHeader(window->GetListView()->m_hWnd);
    RECT rect;
    Header_GetItemRect(header, column, &rect);
    ClickAt(ScreenPointOf(header, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
}

void TWhoWindowDriver::DoubleClickRow(int row)
{
    HWND list = window->GetListView()->m_hWnd;
    RECT rect;
    ListView_GetItemRect(list, row, &rect, LVIR_LABEL);
    DoubleClickAt(ScreenPointOf(list, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
}

TFileDialogAnswer TWhoWindowDriver::SaveThroughDialog(const CString& path, bool agree)
{
    auto run = std::make_shared<TSaveRun>();
    run->path = path;
    run->agree = agree;
    RunLater(50, [run] { AnswerDialogs(run); });
    HWND save = ::GetDlgItem(window->m_hWnd, IDC_WHO_SAVE);
    FocusForInput(save);
    ClickAt(ScreenPointOf(save));
    // The dialogs were answered inside the click. The step already waiting sees the end and
    // schedules no more.
    run->finished = true;
    WaitUntil([&] { return run->stopped; }, "the watch for the save dialogs ended");
    return run->answer;
}
