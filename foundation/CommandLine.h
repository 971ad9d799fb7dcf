#pragma once
// The program's own command line: blank- or tab-separated name=value items.

#include "classlib/String.h"

#include <vector>

struct TCommandLineOption {
    CString name;
    CString value;
};

using TCommandLineOptions = std::vector<TCommandLineOption>;

// Appends the options in command-line order; a name may occur more than once and keeps its case.
void ParseCommandLineOptions(const CString& commandLine, TCommandLineOptions& options);

// What start-up takes from the options: names compared upper-cased (a to z only), the last
// "USER" wins, every "PROFILE" and "SERVER" value joins the servers to connect to, in order.
struct TStartupOptions {
    CString user;
    std::vector<CString> servers;
};

TStartupOptions ReadStartupOptions(const TCommandLineOptions& options);
