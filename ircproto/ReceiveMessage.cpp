#include "ircproto/ReceiveMessage.h"

#include "foundation/Decimal.h"
#include "ircproto/IRCNames.h"
#include "ircproto/WordReader.h"

void TIRCReceiveMessageA::Parse()
{
    prefix.Empty();
    nick.Empty();
    user.Empty();
    host.Empty();
    command.Empty();
    numeric = 0;
    params.clear();

    CStringA line(rawLine);
    TWordReader<CStringA> words(line);
    CStringA word = words.Next();
    if (word.IsEmpty())
        return;
    if (word[0] == ':') {
        prefix = word.Mid(1);
        SplitNickUserHost(prefix, nick, user, host);
        word = words.Next();
        if (word.IsEmpty())
            return;
    }
    command = word;
    // Room for the usual parameters at once instead of growing by one, two and four.
    params.reserve(4);
    // A hostile server may send any number of digits; the value stops at INT_MAX.
    if (command[0] >= '0' && command[0] <= '9')
        numeric = ReadDecimal(command);
    else
        command.MakeUpper();

    while (!words.AtEnd()) {
        if (words.Peek() == ':') {
            words.Skip(1);
            params.push_back(words.Rest());
            return;
        }
        params.push_back(words.Next());
    }
}

CString TIRCReceiveMessage::GetParam(int index) const
{
    if (index < 0 || index >= (int)params.size())
        return CString();
    return params[index];
}

CString TIRCReceiveMessage::GetParamsFrom(int index) const
{
    if (index < 0)
        index = 0;
    CString joined;
    for (int i = index; i < (int)params.size(); i++) {
        if (i > index)
            joined += L' ';
        joined += params[i];
    }
    return joined;
}
