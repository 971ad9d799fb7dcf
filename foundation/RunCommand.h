#pragma once
// Runs an outside command with pipes on its standard handles and returns what it printed.

#include "classlib/String.h"

// Writes input to the command's standard input and closes it, collects every byte of its
// standard output (NUL bytes included) and throws its standard error away. Returns once the
// command has ended, however long it runs: a long job, or a program the user works in, is never
// cut short. A command that cannot be started gives empty text.
CStringA RunCommandCapturingOutput(const CStringA& commandLine, const CStringA& input);
