#pragma once
// Expands the user's "%" templates: "%n", "%-8n", "%%"; letters without a value print as
// themselves.

#include "classlib/String.h"

#include <initializer_list>

class TFormatter {
public:
    virtual ~TFormatter() = default;

    // Only letters up to U+00FF can carry a value.
    void SetVariable(unsigned char letter, const CString& value);
    // Decimal digits, a minus sign when negative, no padding.
    void SetNumber(unsigned char letter, long long value);
    CString Format(const CString& pattern) const;

private:
    CString values[256];
    bool set[256] = {};
};

// Decimal digits, a minus sign when negative, no padding.
CString DecimalText(long long value);

struct TFormatterLetter {
    unsigned char letter;
    CString value;
};

// No expansion of a stored template grows past this many characters: a template may pad one
// letter to 9999 places and still hold a whole IRC line, while a theme made to multiply its
// letters cannot build lines of millions. What goes beyond is cut.
const int kMaxFormattedLength = 16384;
// Appends as much of text as the bound leaves room for; false once the bound is reached.
bool AppendWithin(CString& out, const wchar_t* text, int length);

// One expansion with the given letters bound.
CString ExpandTemplate(const CString& pattern, std::initializer_list<TFormatterLetter> letters);
