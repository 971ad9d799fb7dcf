#pragma once
// Finding text in a log view's lines: the find dialog's search and the search bar's words.

#include "logview/LogSelection.h"

#include <vector>

struct TLogMatch {
    int line = 0;
    int index = 0;
    int length = 0;
};

// Forward from the selection's end (else the first line), backward from its start (else the last
// line); wrapping around searches once more from the other end.
bool FindTextInLines(const ILogViewLines& lines, const CString& text, bool forward, bool matchCase, bool wrapAround,
                     const TLogSelection& selection, TLogMatch& match);
// The nearest occurrence of any word, case-insensitive; always wraps around once. The earlier
// word in the list wins a tie.
bool FindWordsInLines(const ILogViewLines& lines, const std::vector<CString>& words, bool forward, bool fromStart,
                      const TLogSelection& selection, TLogMatch& match);
