#pragma once
// Our own chat lines on their way to the socket. Only the user's sending fills it, so every line
// is kept until the peer takes it: a long paste to a peer that reads slowly arrives whole, late.

#include "classlib/String.h"

#include <string>

class TTCPClient;

class TDCCChatSendQueue {
public:
    // The line stays one line on the wire: cut at a line break, NUL as a blank, LF appended.
    void AppendLine(const CStringA& line);
    // Hands the socket all it takes; stops only when it takes nothing, so that a writable event
    // follows for the rest. Until that event comes, lines only queue up.
    void Flush(TTCPClient& connection);
    // The connection came up or can take more again.
    void OnWritable(TTCPClient& connection);
    void Clear();
    int GetSize() const { return (int)(bytes.size() - front); }

private:
    std::string bytes;
    // Taken off the front by the socket; the taken part is dropped once it is the larger part,
    // so every byte is moved a bounded number of times however long the paste.
    size_t front = 0;
    // The last send took nothing: each further try would cost a call and take nothing either.
    bool full = false;
};
