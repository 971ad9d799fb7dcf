#include "tests/controls/ControlsDialog.h"

#include "controls/ChildId.h"
#include "res/resource.h"
#include "tests/common/TestDialogIds.h"

bool TRecordingListener::Record(const wchar_t* what, UINT key, int x, int y, void* item)
{
    reports.push_back({what, key, x, y, item});
    return consumeAll || consumedKeys.count(key) > 0;
}

int TRecordingListener::Count(const wchar_t* what) const
{
    int count = 0;
    for (const TReport& report : reports)
        count += report.what == what;
    return count;
}

const TReport* TRecordingListener::Last(const wchar_t* what) const
{
    for (auto it = reports.rbegin(); it != reports.rend(); ++it)
        if (it->what == what)
            return &*it;
    return nullptr;
}

void TRecordingListener::OnDragOver(TTreeView*, HTREEITEM, HTREEITEM& target)
{
    if (refuseDragTargets)
        target = nullptr;
}

void TRecordingListener::OnDrop(TTreeView*, HTREEITEM, HTREEITEM target)
{
    droppedOn = target;
    Record(L"drop", 0, 0, 0, target);
}

TControlsDialog::TControlsDialog() : TUpdateDialog(IDD_TEST_CONTROLS), listView(&listener) {}

BOOL TControlsDialog::OnInitDialog()
{
    caption.SubclassDlgItem(IDC_C_CAPTION, m_hWnd);
    label.SubclassDlgItem(IDC_C_LABEL, m_hWnd);
    edit.SubclassDlgItem(IDC_C_EDIT, m_hWnd);
    input.SubclassDlgItem(IDC_C_INPUT, m_hWnd);
    search.SubclassDlgItem(IDC_C_SEARCH, m_hWnd);
    number.SubclassDlgItem(IDC_C_NUMBER, m_hWnd);
    spin.SubclassDlgItem(IDC_C_SPIN, m_hWnd);
    colors.SubclassDlgItem(IDC_C_COLOR, m_hWnd);
    fonts.SubclassDlgItem(IDC_C_FONT, m_hWnd);
    list.SubclassDlgItem(IDC_C_LIST, m_hWnd);
    checkList.SubclassDlgItem(IDC_C_CHECKLIST, m_hWnd);
    listView.SubclassDlgItem(IDC_C_LISTVIEW, m_hWnd);
    tree.SubclassDlgItem(IDC_C_TREE, m_hWnd);
    edit.listener = input.listener = search.listener = &listener;
    list.listener = checkList.listener = checkList.checkListener = &listener;
    tree.listener = &listener;
    tree.dragListener = &listener;
    search.reportComposition = true;
    FillControls();
    BuildPanels();

    layout.parent = m_hWnd;
    const struct {
        HWND control;
        UINT anchors;
    } kAnchors[] = {
        {caption, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_TOP},
        {search, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_RIGHT},
        {fonts, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_RIGHT},
        {list, 0},
        {checkList, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_TOP | LAYOUT_ANCHOR_BOTTOM},
        {listView, LAYOUT_ANCHOR_ALL},
        {tree, LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_TOP | LAYOUT_ANCHOR_BOTTOM},
        {splitter, LAYOUT_ANCHOR_LEFT | LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM},
        {GetDlgItem(IDOK), LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM},
        {GetDlgItem(IDCANCEL), LAYOUT_ANCHOR_RIGHT | LAYOUT_ANCHOR_BOTTOM},
    };
    for (const auto& entry : kAnchors)
        layout.AddControl(entry.anchors, entry.control);
    return TRUE;
}

void TControlsDialog::FillControls()
{
    label.SetBackgroundColor(RGB(255, 255, 224));
    label.SetTextColor(RGB(0, 0, 160));
    edit.SetColors(RGB(0, 96, 0), RGB(240, 255, 240));
    edit.SetWindowText(L"日本語のテキスト");
    input.SetWindowText(L"入力行");
    SetSpinEditValue(number, spin, 42, 1, 100);
    colors.FillColors();
    colors.SetCurSel(5);
    fonts.LoadFonts();
    fonts.SelectFontName(L"IPAPGothic");
    list.SetItems({L"一番目", L"二番目", L"三番目"});
    for (const wchar_t* item : {L"自動接続", L"ログを残す", L"通知する"})
        checkList.AddString(item);
    checkList.SetCheck(1, true);

    listView.InsertColumn(0, L"ニックネーム", 90);
    listView.InsertColumn(1, L"状態", 50);
    const wchar_t* rows[] = {L"あおい", L"はるか", L"みずき", L"りん", L"さくら"};
    for (int i = 0; i < 5; i++) {
        listView.InsertItem(i, rows[i]);
        listView.SetItemText(i, 1, i % 2 ? L"離席" : L"在席");
        listView.SetItemData(i, 100 + i);
    }
    // Drag images are made from the item's picture: a tree without images cannot drag.
    images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    images.Add((HICON)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0));
    tree.SetImageList(images, TVSIL_NORMAL);
    HTREEITEM a = tree.InsertItem(L"サーバA");
    HTREEITEM a1 = tree.InsertItem(L"#雑談", a);
    HTREEITEM a2 = tree.InsertItem(L"#開発", a);
    HTREEITEM a2a = tree.InsertItem(L"相談", a2);
    HTREEITEM b = tree.InsertItem(L"サーバB");
    HTREEITEM c = tree.InsertItem(L"サーバC");
    HTREEITEM items[6] = {a, a1, a2, a2a, b, c};
    std::copy(items, items + 6, treeItems);
    tree.Expand(a, TVE_EXPAND);
}

void TControlsDialog::BuildPanels()
{
    RECT area;
    CWindow placeholder(GetDlgItem(IDC_C_PANELS));
    placeholder.GetWindowRect(&area);
    ::MapWindowPoints(nullptr, m_hWnd, (POINT*)&area, 2);
    splitter.Create(m_hWnd, GetNextChildId(), true);
    cards = new TListPanel;
    cards->Create(splitter, GetNextChildId());
    chat = new TChatPanel;
    chat->Create(splitter, GetNextChildId());
    for (UINT id = 1; id <= 2; id++) {
        CEdit* page = new CEdit;
        page->CreateEx(0, L"EDIT", id == 1 ? L"一枚目のカード" : L"二枚目のカード",
                       WS_CHILD | ES_MULTILINE | ES_READONLY, RECT{}, m_hWnd, GetNextChildId());
        cards->AddCard(id, page);
        CStatic* log = new CStatic;
        log->Create(id == 1 ? L"ログ一" : L"ログ二", WS_CHILD | SS_SUNKEN, RECT{}, m_hWnd, GetNextChildId());
        chat->cards.AddCard(id, log);
    }
    // Windows made in code start with the system font; give them the dialog's.
    for (CWnd* card :
         {cards->GetCard(1), cards->GetCard(2), chat->cards.GetCard(1), chat->cards.GetCard(2), (CWnd*)&chat->input})
        card->SetFont(GetFont());
    cards->ShowCard(1);
    chat->cards.ShowCard(1);
    chat->input.listener = &listener;
    splitter.first = cards;
    splitter.second = chat;
    splitter.minimum = 30;
    splitter.position = 150;
    splitter.MoveWindow(area);
    splitter.RecalcLayout();
}

LRESULT TControlsDialog::OnSize(WPARAM, LPARAM)
{
    layout.Relayout();
    return 0;
}
