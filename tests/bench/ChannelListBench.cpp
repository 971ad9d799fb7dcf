// A logged-in unit's channel list window filled by a server's LIST: 50,000 322 replies handled
// as received, the window drawn, then the 323 that sorts it once and the window drawn again.

#include "dialogs/ListDialog.h"
#include "irc/IRCUnit.h"
#include "settings/Preference.h"
#include "settings/WindowGeometry.h"
#include "tests/bench/BenchClock.h"
#include "tests/common/TempFolder.h"
#include "world/WorldChannelLists.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const int kReplies = 50000;

void Receive(TIRCUnit& unit, const std::string& line)
{
    TIRCReceiveMessageA message;
    message.rawLine = CStringA(line.data(), (int)line.size());
    message.Parse();
    unit.OnReceive(&unit.GetConnection(), &message);
}

} // namespace

int main()
{
    InitCommonControls();
    TNullUnitListener world;
    TTempFolder folder;
    TPreference preference;
    preference.Load(folder.path);
    preference.IPResolveMethod = 1;
    TUnitSetting setting;
    setting.Name = L"bench";
    setting.Codepage = CP_UTF8;
    TIRCUnit unit(&world, &preference, setting);
    TWindowGeometry geometry;
    TWorldChannelLists windows;
    windows.geometry = &geometry;
    unit.SetChannelListWindows(&windows);
    // Registered without a socket: what the unit sends stays queued.
    unit.GetConnection().transport.active = true;
    TIRCUnitSession& session = unit.GetSession();
    session.currentNick = session.firstNick = session.secondNick = session.wantedNick = L"kvbench";
    session.state = TIRCUnit::StateConnecting;
    unit.OnConnect(&unit.GetConnection());
    Receive(unit, ":irc.bench 001 kvbench :Welcome");
    auto* dialog = static_cast<TListDialog*>(unit.ShowChannelListDialog());
    if (!dialog) {
        printf("the window could not be made\n");
        return 1;
    }
    std::vector<std::string> replies;
    replies.reserve(kReplies);
    char line[512];
    for (int i = 0; i < kReplies; i++) {
        snprintf(line, sizeof line, ":irc.bench 322 kvbench #channel-%05d %d :[+nt] topic number %d of the bench, %s",
                 (i * 7919) % kReplies, (i * 37) % 5000, i, i % 3 ? "with words" : "");
        replies.push_back(line);
    }
    DrawNow(dialog->m_hWnd);

    TBenchClock fill;
    // The window keeps being served while the replies arrive, as the message loop would.
    for (int i = 0; i < kReplies; i++) {
        Receive(unit, replies[(size_t)i]);
        if (i % 1000 == 999)
            DrawNow(dialog->m_hWnd);
    }
    DrawNow(dialog->m_hWnd);
    const double fillSeconds = fill.Seconds();
    ReportRate("322 replies into the open window", kReplies, "replies", fillSeconds);

    TBenchClock sort;
    Receive(unit, ":irc.bench 323 kvbench :End of LIST");
    DrawNow(dialog->m_hWnd);
    const double sortSeconds = sort.Seconds();
    printf("%-48s %12.3f s\n", "323 sorting the window and drawing it", sortSeconds);
    printf("%-48s %12.3f s\n", "the whole listing", fillSeconds + sortSeconds);
    printf("%d rows listed, %d in the list view; first row %ls (%d users)\n", dialog->GetChannelCount(),
           dialog->GetListView()->GetItemCount(), dialog->GetRowRecord(0).name.GetString(),
           dialog->GetRowRecord(0).users);
    unit.CloseChannelListDialog();
    return 0;
}
