// The log text page's two sample logs: real log views filled with one line of every kind,
// formatted with the working message formats and drawn with the working themes.

#include "prefs/ViewLogTextPage.h"

#include "controls/ChildId.h"
#include "foundation/ResourceString.h"
#include "ircproto/ReceiveMessage.h"
#include "log/LogFormatter.h"
#include "prefs/FormatPages.h"
#include "prefs/ViewPages.h"
#include "settings/Preference.h"

namespace {

const wchar_t kSampleHost[] = L"client.example.jp";
const wchar_t kSampleUrl[] = L"http://www.example.com/";

// The first seven lines: a place and a speaker each, every nick kind once.
struct TSpokenLine {
    int place; // 0 server and channel, 1 server, 2 channel, 3 none
    const wchar_t* nick;
    int nickKind;
    int lineKind;
};

const TSpokenLine kSpokenLines[] = {
    {0, L"Nick", 0, 0},   {1, L"MyNick", 1, 1}, {2, L"G1Nick", 2, 2}, {3, L"G2Nick", 3, 0},
    {3, L"G3Nick", 4, 0}, {3, L"G4Nick", 5, 0}, {3, L"G5Nick", 6, 0},
};

} // namespace

void TViewLogTextPage::CreateSamples()
{
    HWND tab = Item(IDC_LOG_TEXT_SAMPLES);
    const TPreference* preference = sources.preference;
    const std::vector<CString> searchWords = {LoadResourceString(IDS_LOG_TEXT_SEARCH_WORD)};
    TLogView* views[] = {&channelSample, &allSample};
    const TLogBkTheme* backs[] = {sources.channelBack, sources.allBack};
    for (int i = 0; i < 2; i++) {
        TLogView& view = *views[i];
        if (!view.Create(sources.textTheme, backs[i], tab, GetNextChildId(), sources.keyword, sources.addressFinder,
                         false))
            continue;
        view.SetLineLeading(preference ? preference->LineLeading : 0);
        view.SetIndent(preference ? preference->Indent : 6);
        view.SetSearchWords(searchWords);
        FillSample(view);
    }
    sampleFormatEdits = FormatEditsStored();
    PlaceSamples();
    ShowSample(0);
}

void TViewLogTextPage::FillSample(TLogView& view)
{
    if (!view.m_hWnd)
        return;
    view.RemoveHeadLines(view.GetLineCount());
    TIRCReceiveMessage sender;
    sender.nick = L"Someone";
    sender.user = L"logname";
    sender.host = kSampleHost;
    sender.prefix = sender.nick + L"!" + sender.user + L"@" + sender.host;
    const TLogFormatter format(sources.view->formats);
    const CString text = LoadResourceString(IDS_LOG_TEXT_TEXT);
    const CString bodies[] = {text + L"/Privmsg",
                              text + L"/Notice",
                              text + L"/Action",
                              LoadResourceString(IDS_PREVIEW_KEYWORD),
                              kSampleUrl,
                              kSampleHost,
                              LoadResourceString(IDS_LOG_TEXT_SEARCH_WORD)};
    // One record for every line: what a line does not set it keeps from the one before.
    TLogLineData line;
    for (int i = 0; i < (int)std::size(kSpokenLines); i++) {
        const TSpokenLine& spoken = kSpokenLines[i];
        line.placePrefix = spoken.place == 0   ? format.FormatUnitChannelPrefix(L"Server", L"#Channel")
                           : spoken.place == 1 ? format.FormatUnitPrefix(L"Server")
                           : spoken.place == 2 ? format.FormatChannelPrefix(L"#Channel")
                                               : CString();
        line.nickPrefix = format.FormatNickPrefix(spoken.nick);
        line.nickStyle = spoken.nickKind;
        line.body = bodies[i];
        line.lineType = spoken.lineKind;
        // The time stamp starts with the keyword line.
        if (i == 3)
            line.timeText = format.FormatTime();
        view.AddLine(line, i == 3);
    }
    TIRCReceiveMessage error = sender;
    error.command = L"ERROR";
    const struct {
        CString body;
        int kind;
    } events[] = {
        {LoadResourceString(IDS_LOG_TEXT_SYSTEM_MESSAGE), 16},
        {format.FormatError(error, L"Closing Link: Someone[logname@127.0.0.1] (Leaving)"), 14},
        {format.FormatJoin(sender, L"#Channel"), 3},
        {format.FormatPart(sender, L"#Channel", L"Leaving"), 4},
        {format.FormatQuit(sender, L"Leaving"), 5},
        {format.FormatKick(sender, L"#Channel", L"Target", L"Flooder"), 6},
        {format.FormatInvite(sender, L"#Channel"), 7},
        {format.FormatNick(sender, L"NewNick"), 8},
        {format.FormatMode(sender, L"#Channel", L"+snt"), 9},
        {format.FormatTopic(sender, L"#Channel", L"Welcome"), 10},
        {format.FormatCTCPQuery(sender, L"TIME"), 11},
        {format.FormatDCCSend(sender, L"file.txt", L"127.0.0.1", 1024, 256), 12},
        {format.FormatDCCChat(sender, L"127.0.0.1", 1025), 13},
        {LoadResourceString(IDS_LOG_TEXT_REPLY), 15},
        {LoadResourceString(IDS_LOG_TEXT_MACRO), 17},
        {LoadResourceString(IDS_LOG_TEXT_SENT), 18},
        {LoadResourceString(IDS_LOG_TEXT_RECEIVED), 19},
    };
    line.placePrefix.Empty();
    line.nickPrefix.Empty();
    for (const auto& event : events) {
        line.body = event.body;
        line.lineType = event.kind;
        view.AddLine(line, false);
    }
    if (view.GetLineCount() > 0)
        view.ScrollToTop();
}

void TViewLogTextPage::PlaceSamples()
{
    HWND tab = Item(IDC_LOG_TEXT_SAMPLES);
    RECT area = {};
    ::GetClientRect(tab, &area);
    ::SendMessageW(tab, TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
    ::InflateRect(&area, -2, -2);
    for (TLogView* view : {&channelSample, &allSample})
        if (view->m_hWnd)
            view->SetWindowPos(nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TViewLogTextPage::ShowSample(int index)
{
    if (channelSample.m_hWnd)
        channelSample.ShowWindow(index == 0 ? SW_SHOWNA : SW_HIDE);
    if (allSample.m_hWnd)
        allSample.ShowWindow(index == 0 ? SW_HIDE : SW_SHOWNA);
}

void TViewLogTextPage::RefreshSamples()
{
    // The pictures the working backgrounds hold are no longer the ones last chosen here.
    channelImage.Empty();
    allImage.Empty();
    RedrawSamples();
}

void TViewLogTextPage::RedrawSamples()
{
    if (!initialised || !m_hWnd)
        return;
    for (TLogView* view : {&channelSample, &allSample}) {
        if (!view->m_hWnd)
            continue;
        view->ResetLayout();
        view->RefreshView();
    }
    ShowItem(items.GetSelectedItem());
}

void TViewLogTextPage::ApplyTheme()
{
    if (!sources.view || !sources.textTheme || !sources.channelBack || !sources.allBack)
        return;
    sources.textTheme->Apply(sources.view->logText);
    ApplyBackground(*sources.channelBack, sources.view->channelLogBack, channelImage);
    ApplyBackground(*sources.allBack, sources.view->allLogBack, allImage);
    RedrawSamples();
}

// Decoding a large picture on every edit would make each one slow; only a new file is loaded.
void TViewLogTextPage::ApplyBackground(TLogBkTheme& theme, const TViewBackground& source, CString& appliedImage)
{
    if (source.imageFile == appliedImage) {
        theme.color = source.color;
        theme.style = source.style;
        return;
    }
    theme.Apply(source, sources.userImageFolder, sources.programImageFolder);
    appliedImage = source.imageFile;
}

bool TViewLogTextPage::PictureLoads(const CString& file) const
{
    TViewBackground candidate;
    candidate.imageFile = file;
    TLogBkTheme probe;
    probe.Apply(candidate, sources.userImageFolder, sources.programImageFolder);
    return !probe.picture.IsEmpty();
}

void TViewLogTextPage::OnPageShow()
{
    if (!initialised)
        return;
    // Message formats edited but not yet stored go into the working formats; the samples are
    // filled again whenever edits reached the formats since, here or elsewhere (a theme saved).
    if (sources.formatPage && sources.formatPage->IsModified())
        sources.formatPage->Save();
    if (sources.formatDetailPage && sources.formatDetailPage->IsModified())
        sources.formatDetailPage->SaveList();
    if (int stored = FormatEditsStored(); stored != sampleFormatEdits) {
        sampleFormatEdits = stored;
        FillSample(channelSample);
        FillSample(allSample);
    }
    TakeLayoutSpacing();
}

int TViewLogTextPage::FormatEditsStored() const
{
    return (sources.formatPage ? sources.formatPage->GetStoredEdits() : 0) +
           (sources.formatDetailPage ? sources.formatDetailPage->GetStoredEdits() : 0);
}

// The spacing fields of the layout page as they stand, clamped as its OK will store them.
void TViewLogTextPage::TakeLayoutSpacing()
{
    TViewLayoutPage* layout = sources.layoutPage;
    if (!layout || !layout->m_hWnd || !layout->TakeSpacingChanged())
        return;
    HWND page = layout->m_hWnd;
    int leading = GetSpinEditValue(::GetDlgItem(page, IDC_LAYOUT_LEADING), ::GetDlgItem(page, IDC_LAYOUT_LEADING_SPIN));
    int indent = GetSpinEditValue(::GetDlgItem(page, IDC_LAYOUT_INDENT), ::GetDlgItem(page, IDC_LAYOUT_INDENT_SPIN));
    for (TLogView* view : {&channelSample, &allSample}) {
        if (!view->m_hWnd)
            continue;
        view->SetLineLeading(leading);
        view->SetIndent(indent);
        view->ResetLayout();
        view->RefreshView();
    }
}
