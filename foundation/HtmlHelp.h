#pragma once
// Opens pages of the compiled help file; the help viewer's library is loaded on first use.

#include "classlib/String.h"

class THtmlHelp {
public:
    THtmlHelp() = default;
    THtmlHelp(const THtmlHelp&) = delete;
    THtmlHelp& operator=(const THtmlHelp&) = delete;
    virtual ~THtmlHelp() = default;

    void SetHelpFile(const CString& path) { helpFile = path; }
    // topic is a path inside the help file, e.g. "help\\index.html". Returns false, silently,
    // when the help file is missing or the viewer is not installed.
    bool ShowTopic(const CString& topic);

private:
    CString helpFile;
};
