#pragma once
// The command line an exec action runs, built from the rule's text and the marks of what received
// values filled in it.

#include "classlib/String.h"

#include <vector>

// The program is the rule's, and each value stays inside one argument as the program reads its
// command line: by the usual rules, or by the command interpreter's for batch files and the
// interpreter itself. Empty when that cannot be done (values in the program, or text the
// interpreter would read as a variable).
CString BuildProgramLine(const CString& line, const std::vector<bool>& filled);
