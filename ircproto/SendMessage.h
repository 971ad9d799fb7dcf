#pragma once
// One outgoing IRC command, already encoded, with its flood-control penalty. The wire line is
// built once, when the connection starts to write it.

#include "classlib/String.h"

class TIRCSendMessage {
public:
    static const int kMaxLineBytes = 510; // without CR LF
    static const int kMaxPenalty = 10;

    TIRCSendMessage() = default;
    TIRCSendMessage(const TIRCSendMessage&) = default;
    TIRCSendMessage& operator=(const TIRCSendMessage&) = default;
    virtual ~TIRCSendMessage() = default;

    // command [first] [second] CR LF, at most 512 bytes; raises the penalty of long PRIVMSG and
    // NOTICE lines. Does nothing the second time.
    void Build();

    CStringA command;
    CStringA firstParam;
    // Carries its own ':' when it is a trailing parameter.
    CStringA secondParam;
    int penalty = 2;
    bool built = false;
    CStringA line;
    // Code page the parameters were encoded with, so an over-long line is cut between
    // characters; 0 when unknown (cut at the byte limit).
    UINT codePage = 0;
};
