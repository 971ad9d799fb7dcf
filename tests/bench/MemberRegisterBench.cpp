// Many picked members registered at once: each member's mask made as the member command makes it
// and added to the open auto-op window (at a server) or user group window, for 1,000, 3,000 and
// 10,000 members, with a tenth of them picked twice. The time per member must not grow with the
// count.

#include "dialogs/AutoOpDialog.h"
#include "dialogs/UserGroupDialog.h"
#include "settings/Preference.h"
#include "tests/bench/BenchClock.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>

namespace {

struct TPicked {
    CString nick, user, host;
};

std::vector<TPicked> PickMembers(int count)
{
    std::vector<TPicked> picked;
    for (int i = 0; i < count; i++) {
        int n = (i * 7919) % count;
        CString nick, user, host;
        // Not ending in digits: the mask keeps the whole nick apart.
        nick.Format(L"m%05dx", n);
        user.Format(L"~ident%d", n % 97);
        host.Format(L"p%d-host.dsl%d.example.net", n, n % 13);
        picked.push_back({nick, user, host});
    }
    // Picked again (from a WHO window and the member list): listed once.
    for (int i = 0; i < count / 10; i++)
        picked.push_back(picked[(size_t)i * 3]);
    return picked;
}

// Seconds to register them; false when the window could not be made or the list came out wrong.
template <class TDialog>
bool Register(TDialog& dialog, const TPreference& preference, const std::vector<TPicked>& picked, int expected,
              double& seconds)
{
    TBenchClock clock;
    for (const TPicked& member : picked)
        dialog.AddMask(preference.MakeMask(member.nick, member.user, member.host));
    DrawNow(dialog.m_hWnd);
    seconds = clock.Seconds();
    return (int)dialog.GetListedMasks().size() == expected;
}

bool RegisterToAutoOp(const TPreference& preference, const std::vector<TPicked>& picked, int count, double& seconds)
{
    TWorldConfig world;
    world.Units.emplace_back();
    world.Units.back().Name = L"net";
    TAutoOpDialog dialog;
    dialog.SetWorldConfig(world);
    if (!dialog.Create(IDD_AUTO_OP_DIALOG, nullptr))
        return false;
    dialog.ShowWindow(SW_SHOWNORMAL);
    // A talk's members: the window shows their server.
    dialog.SelectNode(L"net", L"bob");
    return Register(dialog, preference, picked, count, seconds);
}

bool RegisterToGroup(const TPreference& preference, const std::vector<TPicked>& picked, int count, double& seconds)
{
    TUserGroupDialog dialog;
    dialog.SetGroups(preference.userGroups);
    if (!dialog.Create(IDD_USER_GROUP_DIALOG, nullptr))
        return false;
    dialog.ShowWindow(SW_SHOWNORMAL);
    dialog.SelectGroupItem(2);
    return Register(dialog, preference, picked, count, seconds);
}

} // namespace

int main()
{
    InitCommonControls();
    TPreference preference;
    preference.Load(L"Z:\\nonexistent-ketroval-bench");
    const struct {
        const char* window;
        bool (*run)(const TPreference&, const std::vector<TPicked>&, int, double&);
    } windows[] = {{"auto-op window", RegisterToAutoOp}, {"user group window", RegisterToGroup}};
    for (const auto& window : windows) {
        double firstPerMember = 0;
        for (int count : {1000, 3000, 10000}) {
            std::vector<TPicked> picked = PickMembers(count);
            double seconds = 0;
            if (!window.run(preference, picked, count, seconds)) {
                printf("%s: the window could not be made or did not list %d masks\n", window.window, count);
                return 1;
            }
            double perMember = seconds / (double)picked.size() * 1e6;
            if (firstPerMember == 0)
                firstPerMember = perMember;
            printf("%-18s %6d members  %8.3f s  %7.1f us/member  (x%.2f of 1,000's)\n", window.window, count, seconds,
                   perMember, perMember / firstPerMember);
            fflush(stdout);
        }
    }
    return 0;
}
