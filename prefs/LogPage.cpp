#include "prefs/LogPage.h"

#include "settings/Preference.h"

namespace {

const TDialogChoice kEncodings[] = {
    {L"UTF-8", 65001},      {L"CP1252", 1252},     {L"ISO-8859-15", 28605},     {L"Japanese ShiftJIS", 932},
    {L"Korean CP949", 949}, {L"Chinese GBK", 936}, {L"Chinese GB18030", 54936}, {L"Chinese Big5", 950},
};

} // namespace

void TLogPage::Exchange(TDialogExchange& io)
{
    TPreference& p = *preference;
    ExchangeFolder(io, IDC_LOG_FOLDER, p.LogRootDir, AnyLogOn());
    io.Check(IDC_LOG_UNIT, p.EnableUnitLog);
    io.Edit(IDC_LOG_UNIT_FILE, p.UnitLogFile, kTextLimit);
    io.Check(IDC_LOG_CHANNEL, p.EnableChannelLog);
    io.Edit(IDC_LOG_CHANNEL_FILE, p.ChannelLogFile, kTextLimit);
    io.Check(IDC_LOG_TALK, p.EnableTalkLog);
    io.Edit(IDC_LOG_TALK_FILE, p.TalkLogFile, kTextLimit);
    io.Check(IDC_LOG_DCC_CHAT, p.EnableDCCChatLog);
    io.Edit(IDC_LOG_DCC_CHAT_FILE, p.DCCChatLogFile, kTextLimit);
    io.Check(IDC_LOG_URL, p.EnableURLLog);
    io.Edit(IDC_LOG_URL_FILE, p.URLLogFile, kTextLimit);
    io.Check(IDC_LOG_FLUSH, p.ForceFlushLog);
    io.Spin(IDC_LOG_FLUSH_TIME, p.FlushLogTime, 10, 1000000);
    io.Choice(IDC_LOG_ENCODING, p.LogCodepage, kEncodings);
}

// Only the log files are written below the folder.
bool TLogPage::AnyLogOn() const
{
    for (int id : {IDC_LOG_UNIT, IDC_LOG_CHANNEL, IDC_LOG_TALK, IDC_LOG_DCC_CHAT, IDC_LOG_URL})
        if (IsChecked(id))
            return true;
    return false;
}

void TLogPage::Store() { StoreFolder(preference->LogRootDir, GetDefaultLogFolder()); }

void TLogPage::UpdateControls() { Enable({IDC_LOG_FLUSH_TIME, IDC_LOG_FLUSH_TIME_SPIN}, IsChecked(IDC_LOG_FLUSH)); }

void TLogPage::BrowseFolder() { BrowseFolderInto(IDC_LOG_FOLDER, IDS_LOG_FOLDER_TITLE); }
