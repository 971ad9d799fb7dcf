#include "prefs/ConnectionPages.h"

#include "settings/Preference.h"

namespace {

const int kMany = 1000000;

} // namespace

void TConnectionPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Check(IDC_CONN_RECONNECT, p.Reconnect);
    io.Spin(IDC_CONN_RECONNECT_TIME, p.ReconnectTime, 0, kMany);
    io.Spin(IDC_CONN_RECONNECT_COUNT, p.ReconnectCount, 0, kMany);
    io.Check(IDC_CONN_RETRY_ON_HALT, p.RetryOnHalt);
    io.Spin(IDC_CONN_RETRY_TIME, p.RetryOnHaltTime, 10, kMany);
    io.Check(IDC_CONN_FORCE_AUTO_JOIN, p.ForceAutoJoin);
    io.Check(IDC_CONN_RESTORE_NICK, p.RestoreNickAndAwayOnReconnect);
    io.Radio({IDC_CONN_IP_ADAPTER, IDC_CONN_IP_JOIN, IDC_CONN_IP_CTCP, IDC_CONN_IP_GIVEN}, p.IPResolveMethod);
    io.Edit(IDC_CONN_IP_ADDRESS, p.IPAddress, kTextLimit);
}

void TConnectionPage::UpdateControls()
{
    Enable({IDC_CONN_RECONNECT_TIME, IDC_CONN_RECONNECT_TIME_SPIN, IDC_CONN_RECONNECT_COUNT,
            IDC_CONN_RECONNECT_COUNT_SPIN},
           IsChecked(IDC_CONN_RECONNECT));
    Enable({IDC_CONN_RETRY_TIME, IDC_CONN_RETRY_TIME_SPIN}, IsChecked(IDC_CONN_RETRY_ON_HALT));
    Enable({IDC_CONN_IP_ADDRESS}, IsChecked(IDC_CONN_IP_GIVEN));
}

void TInterfacePage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Check(IDC_UI_PROMPT_ON_QUIT, p.PromptOnQuit);
    io.Check(IDC_UI_COMPLETE_NICK, p.CompleteNickOnTab);
    io.Check(IDC_UI_HIDE_SELECTION, p.HideSelectionOnInactive);
    io.Check(IDC_UI_NICK_MENU, p.EnableNickContextMenu);
    io.Check(IDC_UI_MINIMIZE_ON_EMPTY, p.MinimizeOnSendEmptyLine);
    io.Check(IDC_UI_INSTANT_COPY, p.LogInstantCopy);
    io.Check(IDC_UI_PROMPT_ON_KICK, p.PromptOnKick);
    io.Edit(IDC_UI_KICK_MESSAGE, p.KickMessage, 480);
    io.Check(IDC_UI_IME_ON_INIT, p.EnableIMEOnInit);
    io.Check(IDC_UI_CONNECT_ON_DBLCLK, p.ConnectOnDoubleClick);
    io.Check(IDC_UI_DISCONNECT_ON_DBLCLK, p.DisconnectOnDoubleClick);
    io.Check(IDC_UI_JOIN_ON_DBLCLK, p.JoinOnDoubleClick);
    io.Check(IDC_UI_PART_ON_DBLCLK, p.PartOnDoubleClick);
}

void TDetailPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    io.Check(IDC_DETAIL_AUTO_PONG, p.EnableAutoPong);
    io.Spin(IDC_DETAIL_PONG_TIME, p.AutoPongTime, 20, kMany);
    io.Check(IDC_DETAIL_REJOIN_437, p.RejoinOnError437);
    io.Spin(IDC_DETAIL_437_INTERVAL, p.Error437RejoinInterval, 10, kMany);
    io.Spin(IDC_DETAIL_437_COUNT, p.Error437RejoinCount, 0, kMany);
    // The box says "answer"; the key says "ignore".
    io.InvertedCheck(IDC_DETAIL_ANSWER_CTCP, p.IgnoreCtcp);
    io.Check(IDC_DETAIL_CTCP_LIMIT, p.EnableCtcpSequenceLimit);
    io.Check(IDC_DETAIL_ENABLE_COMMAND, p.EnableCommand);
    io.Edit(IDC_DETAIL_COMMAND_PREFIX, p.CommandPrefix, kTextLimit);
    io.Radio({IDC_DETAIL_KANA_FULL, IDC_DETAIL_KANA_8BIT, IDC_DETAIL_KANA_7BIT, IDC_DETAIL_KANA_X0201},
             p.KanaEncodingMethod);
}

void TDetailPage::UpdateControls()
{
    Enable({IDC_DETAIL_PONG_TIME, IDC_DETAIL_PONG_TIME_SPIN}, IsChecked(IDC_DETAIL_AUTO_PONG));
    Enable({IDC_DETAIL_437_INTERVAL, IDC_DETAIL_437_INTERVAL_SPIN, IDC_DETAIL_437_COUNT, IDC_DETAIL_437_COUNT_SPIN},
           IsChecked(IDC_DETAIL_REJOIN_437));
    Enable({IDC_DETAIL_CTCP_LIMIT}, IsChecked(IDC_DETAIL_ANSWER_CTCP));
    Enable({IDC_DETAIL_COMMAND_PREFIX}, IsChecked(IDC_DETAIL_ENABLE_COMMAND));
}
