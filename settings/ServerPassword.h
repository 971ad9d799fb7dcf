#pragma once
// The letter form in which a server password is stored: two capitals per UTF-8 byte. It only
// keeps the password from being read at a glance; there is no key.

#include "classlib/String.h"

CString EncodeServerPassword(const CString& password);
// Never fails: a last unpaired letter is dropped and other characters fold to four bits.
CString DecodeServerPassword(const CString& stored);
