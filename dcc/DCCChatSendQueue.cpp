#include "dcc/DCCChatSendQueue.h"

#include "net/TCPClient.h"

void TDCCChatSendQueue::AppendLine(const CStringA& line)
{
    int length = line.GetLength();
    const char* text = line.GetString();
    for (int i = 0; i < length; i++) {
        char c = text[i];
        if (c == '\r' || c == '\n')
            break;
        bytes += c == 0 ? ' ' : c;
    }
    bytes += '\n';
}

void TDCCChatSendQueue::Flush(TTCPClient& connection)
{
    while (!full) {
        if (front == bytes.size()) {
            Clear();
            return;
        }
        if (front > bytes.size() / 2) {
            bytes.erase(0, front);
            front = 0;
        }
        // A failed send closes the connection and reports at once, and the owner may delete us
        // there: nothing is touched after a send that took nothing.
        full = true;
        int sent = connection.Send(bytes.data() + front, (int)(bytes.size() - front));
        if (sent <= 0)
            return;
        full = false;
        front += (size_t)sent;
    }
}

void TDCCChatSendQueue::OnWritable(TTCPClient& connection)
{
    full = false;
    Flush(connection);
}

void TDCCChatSendQueue::Clear()
{
    bytes.clear();
    front = 0;
    full = false;
}
