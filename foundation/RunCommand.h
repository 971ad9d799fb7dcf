#pragma once
// Runs an outside command with pipes on its standard handles and returns what it printed.

#include "classlib/String.h"

const DWORD kRunCommandDefaultTimeoutMs = 30000;

// Writes input to the command's standard input and closes it, collects every byte of its
// standard output (NUL bytes included) and throws its standard error away. A command still
// running after timeoutMs is ended; what it printed so far is returned. A command that cannot
// be started gives empty text.
CStringA RunCommandCapturingOutput(const CStringA& commandLine, const CStringA& input,
                                   DWORD timeoutMs = kRunCommandDefaultTimeoutMs);
