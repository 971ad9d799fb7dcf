#pragma once
// A received IRC line split into prefix, command and parameters: as bytes straight from the
// connection, and as text after the unit has decoded every field.

#include "classlib/String.h"

#include <vector>

class TIRCReceiveMessageA {
public:
    virtual ~TIRCReceiveMessageA() = default;

    // Splits rawLine into the other fields; any bytes give a message, maybe with an empty command.
    void Parse();

    CStringA rawLine;
    CStringA prefix;
    CStringA nick;
    CStringA user;
    CStringA host;
    CStringA command;
    int numeric = 0;
    // The trailing parameter, without its ':', is the last one.
    std::vector<CStringA> params;
};

class TIRCReceiveMessage {
public:
    virtual ~TIRCReceiveMessage() = default;

    // "" when index is out of range, so handlers need not check the count.
    CString GetParam(int index) const;
    // The parameters from index on, joined with single blanks.
    CString GetParamsFrom(int index) const;

    CString rawLine;
    CString prefix;
    CString nick;
    CString user;
    CString host;
    CString command;
    int numeric = 0;
    std::vector<CString> params;
};
