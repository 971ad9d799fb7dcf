#include "settings/ServerPassword.h"

#include "foundation/CodePage.h"

CString EncodeServerPassword(const CString& password)
{
    CStringA bytes = ConvertToUtf8(password);
    CStringA letters;
    for (int i = 0; i < bytes.GetLength(); i++) {
        unsigned char b = (unsigned char)bytes[i];
        letters.AppendChar((char)(0x41 + (b >> 4)));
        letters.AppendChar((char)(0x43 + (b & 0x0F)));
    }
    return ConvertFromUtf8(letters);
}

CString DecodeServerPassword(const CString& stored)
{
    CStringA letters = ConvertToUtf8(stored);
    CStringA bytes;
    for (int i = 0; i + 1 < letters.GetLength(); i += 2) {
        unsigned char high = (unsigned char)(((unsigned char)letters[i] - 1) & 0x0F);
        unsigned char low = (unsigned char)(((unsigned char)letters[i + 1] - 3) & 0x0F);
        bytes.AppendChar((char)((high << 4) | low));
    }
    return ConvertFromUtf8(bytes);
}
