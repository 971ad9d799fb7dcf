#include "tests/irc/SendSideSupport.h"

namespace {

std::string Text(long long value) { return std::to_string(value); }

} // namespace

void TSendRecorder::Event(const char* name, const CString& target, const CString& text)
{
    events.push_back(std::string(name) + " " + Narrow(target) + " " + Narrow(text));
}

void TSendRecorder::FireOnDccSend(const TIRCReceiveMessage&, const CString&, const CString& file,
                                  unsigned long long size, const CString& address, int port)
{
    events.push_back("onDccSend " + Narrow(file) + " " + Text(size) + " " + Narrow(address) + " " + Text(port));
}

void TSendRecorder::FireOnDccChat(const TIRCReceiveMessage&, const CString&, const CString& address, int port)
{
    events.push_back("onDccChat " + Narrow(address) + " " + Text(port));
}

void TSendRecorder::AddReceiveItem(TIRCUnit*, int variant, bool automatic, const CString& nick, const CString& fileName,
                                   int port, long long size, const TInetAddress& address)
{
    dccPorts.push_back(port);
    dccNames.push_back(fileName);
    dcc.push_back("receive " + Text(variant) + (automatic ? " auto " : " ask ") + Narrow(nick) + " " +
                  Narrow(fileName) + " " + Text(port) + " " + Text(size) + " " + Narrow(address.ToString()));
}

bool TSendRecorder::FindReceiveFileSize(TIRCUnit*, const CString&, int, long long& size)
{
    size = fileSize;
    return fileSize >= 0;
}

bool TSendRecorder::HandleResumeRequest(TIRCUnit*, const CString& nick, int port, long long position)
{
    dccPorts.push_back(port);
    dcc.push_back("resume " + Narrow(nick) + " " + Text(port) + " " + Text(position));
    return true;
}

void TSendRecorder::HandleResumeAccept(TIRCUnit*, const CString& nick, int port, long long position)
{
    dccPorts.push_back(port);
    dcc.push_back("accept " + Narrow(nick) + " " + Text(port) + " " + Text(position));
}

IDCCChatRequest* TSendRecorder::OpenDCCChatDialog(IDCCChatDialogListener*, const CString& nick, const CString& address,
                                                  int port, bool)
{
    chatPorts.push_back(port);
    dcc.push_back("chat ask " + Narrow(nick) + " " + Narrow(address) + " " + Text(port));
    if (liveDialogs >= dialogLimit)
        return nullptr;
    return new TChatRequestFake(nick, address, port, &liveDialogs);
}

void TSendSideTest::LogIn()
{
    if (!unit)
        MakeUnit();
    unit->SetSendScripts(&send);
    unit->SetDccManager(&send);
    unit->SetFrame(&send);
    StartOffline();
    TIRCUnitSession& session = unit->GetSession();
    session.state = TIRCUnit::StateLoggedIn;
    session.currentNick = L"kvnick";
    session.userName = L"kvuser";
    session.host = L"host.example";
    TakeQueued();
}

TIRCChannel* TSendSideTest::AddJoined(const CString& name, TIRCChannel::TKind kind)
{
    TIRCChannel* channel = AddChannel(name, kind);
    channel->SetIRCName(name);
    channel->OnJoined();
    return channel;
}

std::vector<std::string> TSendSideTest::Run(const CString& line, bool quiet)
{
    unit->ExecuteCommand(line, quiet);
    return TakeQueued();
}
