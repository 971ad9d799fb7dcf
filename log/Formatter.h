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

// One expansion with the given letters bound.
CString ExpandTemplate(const CString& pattern, std::initializer_list<TFormatterLetter> letters);
