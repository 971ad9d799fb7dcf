#pragma once
// Long hostile texts built from one piece.

#include "classlib/String.h"

inline CString Repeat(const CString& piece, int times)
{
    CString out;
    out.Preallocate(piece.GetLength() * times);
    for (int i = 0; i < times; i++)
        out += piece;
    return out;
}
