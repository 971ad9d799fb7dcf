#pragma once
// DCC offers carried in CTCP: the texts peers send, read field by field and checked before any
// value reaches the DCC manager, and the texts of our own offers.

#include "classlib/String.h"
#include "net/InetAddress.h"

// Larger than any file a peer could really offer; a bigger size is a lie or a wrapped number.
const long long kMaxDccFileSize = 1LL << 44;

struct TDccSendOffer {
    CString fileName;
    TInetAddress address;
    int port = 0;
    long long size = 0;
    int variant = 0;
};

struct TDccChatOffer {
    CString protocol;
    TInetAddress address;
    int port = 0;
};

// RESUME and ACCEPT carry the same fields.
struct TDccResumeOffer {
    CString fileName;
    int port = 0;
    long long position = 0;
};

// Each reads the text after the type word; missing or malformed numbers read as 0.
TDccSendOffer ParseDccSendOffer(CString text);
TDccChatOffer ParseDccChatOffer(CString text);
TDccResumeOffer ParseDccResumeOffer(CString text);

bool IsValidDccPort(int port);
// Whether a receive item may be made for the offer: a port a socket can take and a size a real
// offer can have. An address nobody answers on fails the item's connect, which the item reports;
// the name is the receive item's to make safe.
bool CheckDccSendOffer(const TDccSendOffer& offer);

// Our offers; addresses in host byte order, as the protocol writes them.
CString FormatDccSendOffer(const CString& fileName, unsigned long address, int port, long long size, bool extended);
CString FormatDccChatOffer(unsigned long address, int port);
CString FormatDccResumeRequest(const CString& fileName, int port, long long position);
CString FormatDccAccept(const CString& fileName, int port, long long position);
