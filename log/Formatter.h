#pragma once
// Expands the user's "%" templates: "%n", "%-8n", "%%"; letters without a value print as
// themselves.

#include "classlib/String.h"

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
