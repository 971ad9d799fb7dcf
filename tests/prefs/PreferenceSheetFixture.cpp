#include "tests/prefs/PreferenceSheetFixture.h"

#include "tests/common/ListViewCells.h"
#include "tests/common/TempSettingsFolders.h"
#include "tests/prefs/PreferenceSteps.h"

namespace {

std::wstring Wide(const std::string& utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), text.data(), n);
    return text;
}

} // namespace

void PreferenceSheetFixture::SetUp()
{
    UseTempFolders(settings, folder);
    settings.LoadWindowSettings();
    TViewSettings view;
    view.SetDefaults();
    view.editFont.size = 110;
    view.editFont.italic = true;
    view.editFont.color = 0x203040;
    view.editBackColor = 0xEEFFEE;
    ASSERT_TRUE(view.SaveFile(settings.GetSettingsFolder() + L"view.ini"));
    viewGolden = FileBytes(L"view.ini");
    settings.view.Load(settings);
    TPreference written;
    MakeGolden(written);
    ASSERT_TRUE(written.Save(settings.GetSettingsFolder()));
    golden = FileBytes();
    ASSERT_FALSE(golden.empty());
    settings.preference.Load(settings.GetSettingsFolder());
}

void PreferenceSheetFixture::TearDown()
{
    delete dialog;
    dialog = nullptr;
    PumpPendingMessages();
}

void PreferenceSheetFixture::MakeGolden(TPreference& p)
{
    p.ReconnectTime = 45;
    p.ReconnectCount = 3;
    p.IPResolveMethod = 3;
    p.IPAddress = L"irc.example.net";
    p.IgnoreCtcp = true;
    p.KanaEncodingMethod = 2;
    p.CommandPrefix = L"!";
    p.KickMessage = L"さようなら";
    p.NickPolicy = 1;
    p.URLOpenMethod = 2;
    p.URLOpenApplication = L"C:\\Tools\\browser.exe";
    p.AutoOpDelayMin = 7;
    p.AutoOpDelayMax = 20;
    p.RestoreOnHotKey = true;
    p.RestoreHotKeyVCode = 'K';
    p.RestoreHotKeyModifiers = HOTKEYF_SHIFT | HOTKEYF_CONTROL;
    p.RestoreTrayIconOnSingleClick = true;
    p.WhoTiming = 2;
    p.WhoisDialogMax = 4;
    p.LogRootDir = folder.path + L"logs\\";
    p.LogCodepage = 932;
    p.EnableChannelLog = true;
    p.ChannelLogFile = L"%c\\%y%m%d.log";
    p.DCCRootDir = folder.path + L"dcc\\";
    p.DCCReceiveAction = 2;
    p.DCCChatAction = 1;
    p.DCCReceivePortStart = 5000;
    p.DCCReceivePortEnd = 5010;
    p.keyword.Like = {L"Alpha", L"beta", L"キーワード"};
    p.keyword.Dislike = {L"gamma"};
    p.KeywordSoundFile = L"C:\\Sounds\\ding.wav";
    p.EnableKeywordSound = true;
    p.ChannelMessageSoundFile = L"C:\\Sounds\\msg.wav";
    p.InviteAction = 0;
    p.InviteDialogMax = 9;
    p.InvertLogAndList = true;
    p.MemberSortMethod = 1;
    p.LineLeading = 3;
    p.Indent = 20;
    p.ChannelLogMaxLines = 777;
}

void PreferenceSheetFixture::Open()
{
    dialog = new TPreferenceDialog(nullptr);
    dialog->SetListener(this);
    dialog->SetConfig(&settings);
    dialog->SetAddressFinder(addressFinder);
    ASSERT_TRUE(dialog->Open());
    ::SetWindowPos(dialog->m_hWnd, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE);
    FocusForInput(dialog->m_hWnd);
}

void PreferenceSheetFixture::ShowPage(TPropertyPage* page)
{
    ASSERT_TRUE(ShowPreferencePage(dialog, page)) << "the page did not show";
    Idle();
}

void PreferenceSheetFixture::Idle()
{
    if (dialog && dialog->m_hWnd)
        dialog->SendMessage(WM_KICKIDLE, 0, 0);
    PumpPendingMessages();
}

void PreferenceSheetFixture::Apply(const TPageEdit& edit)
{
    TPropertyPage* page = dialog->GetCurrentPage();
    HWND control = Control(page, edit.control);
    ASSERT_TRUE(control) << "control " << edit.control;
    if (edit.kind == TPageEdit::State) {
        EXPECT_EQ(std::wstring(edit.text) == L"on", ::IsWindowEnabled(control) != FALSE) << "control " << edit.control;
        return;
    }
    ASSERT_TRUE(::IsWindowEnabled(control)) << "control " << edit.control << " is disabled";
    switch (edit.kind) {
    case TPageEdit::State:
        break;
    case TPageEdit::Row:
        ClickAt(ListViewCheckBoxPoint(control, _wtoi(edit.text)));
        break;
    case TPageEdit::Select:
        ClickAt(ListViewCellPoint(control, _wtoi(edit.text), 0));
        break;
    case TPageEdit::Click: {
        RECT rect = {};
        ::GetClientRect(control, &rect);
        ClickAt(ScreenPointOf(control, 6, (rect.bottom - rect.top) / 2));
        break;
    }
    case TPageEdit::Type: {
        // Keys can be lost on a busy desktop; a single line is typed again until it shows.
        bool lines = (::GetWindowLongPtrW(control, GWL_STYLE) & ES_MULTILINE) != 0;
        for (int attempt = 0; attempt < 3; attempt++) {
            TypeInto(control, edit.text, lines);
            if (lines || GetControlText(control) == edit.text)
                break;
        }
        if (!lines) {
            EXPECT_EQ(CString(edit.text), GetControlText(control));
        }
        break;
    }
    case TPageEdit::HotKey: {
        FocusForInput(control);
        std::vector<WORD> held;
        for (const wchar_t* m = edit.text + 1; *m; m++)
            held.push_back(*m == L'C' ? VK_CONTROL : *m == L'S' ? VK_SHIFT : VK_MENU);
        if (edit.text[0] == L'-')
            PressKey(VK_BACK);
        else if (held.size() == 1)
            PressKey(edit.text[0], {held[0]});
        else if (held.size() == 2)
            PressKey(edit.text[0], {held[0], held[1]});
        else
            PressKey(edit.text[0]);
        break;
    }
    case TPageEdit::Down:
        FocusForInput(control);
        PressKey(VK_HOME);
        for (int i = _wtoi(edit.text); i > 0; i--)
            PressKey(VK_DOWN);
        break;
    }
    Idle();
}

void PreferenceSheetFixture::TypeInto(HWND control, const wchar_t* typed, bool lines)
{
    FocusForInput(control);
    PressKey(VK_HOME, lines ? std::initializer_list<WORD>{VK_CONTROL} : std::initializer_list<WORD>{});
    PressKey(VK_END, lines ? std::initializer_list<WORD>{VK_CONTROL, VK_SHIFT} : std::initializer_list<WORD>{VK_SHIFT});
    PressKey(VK_DELETE);
    // A line break is the Enter key, as the user gives it.
    std::wstring text = typed;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(L'\n', start);
        std::wstring part = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!part.empty())
            TypeText(part.c_str());
        if (end == std::wstring::npos)
            break;
        PressKey(VK_RETURN);
        start = end + 1;
    }
}

void PreferenceSheetFixture::ClickOk()
{
    ClickAt(ScreenPointOf(::GetDlgItem(dialog->m_hWnd, IDOK)));
    PumpMessagesUntil([&] { return closeCount > 0; }, kWaitBoundMs);
}

void PreferenceSheetFixture::OnPreferenceDialogOK(TPreferenceDialog*)
{
    okCount++;
    settings.preference.Save(settings.GetSettingsFolder());
    settings.view.Save(settings);
}

void PreferenceSheetFixture::OnPreferenceDialogClose(TPreferenceDialog* closing)
{
    closeCount++;
    if (closing == dialog)
        dialog = nullptr;
    delete closing;
}

std::string PreferenceSheetFixture::FileBytes(const wchar_t* file)
{
    return ReadFileString(settings.GetSettingsFolder() + file);
}

std::wstring PreferenceSheetFixture::Stored(const wchar_t* section, const wchar_t* key, const wchar_t* file)
{
    std::wstring text = Wide(FileBytes(file));
    std::wstring current;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        start = end == std::wstring::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (line.size() > 2 && line.front() == L'[' && line.back() == L']')
            current = line.substr(1, line.size() - 2);
        else if (current == section && line.compare(0, wcslen(key) + 1, std::wstring(key) + L"=") == 0)
            return line.substr(wcslen(key) + 1);
    }
    return L"(missing)";
}

void PreferenceSheetFixture::RunEdits(TPropertyPage* page, const std::vector<TPageEdit>& edits,
                                      const wchar_t* screenshot)
{
    ShowPage(page);
    SaveWindowPng(dialog->m_hWnd, ScreenshotPath(screenshot));
    for (const TPageEdit& edit : edits)
        Apply(edit);
    ClickOk();
    ASSERT_EQ(okCount, 1);
    for (const TPageEdit& edit : edits) {
        if (!edit.key)
            continue;
        EXPECT_EQ(std::wstring(edit.stored), Stored(edit.section, edit.key))
            << L"[" << edit.section << L"] " << edit.key;
    }
}
