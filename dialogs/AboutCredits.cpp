// The about box's credits: who made the pictures, and the notices the libraries' licences ask
// every program built with them to show.

#include "dialogs/AboutDialog.h"

#include <initializer_list>

namespace {

// The box's font has Latin letters only, so the credits are written in them.
const wchar_t* const kIcons[] = {
    L"Icons",
    L"Application icons; icons of the tool bars, list views and tree views:",
    L"  the Ketroval2 developers",
};

const wchar_t* const kJpeg[] = {
    L"This software is based in part on the work of the Independent JPEG Group.",
};

const wchar_t* const kOniguruma[] = {
    L"Oniguruma LICENSE",
    L"-----------------",
    L"",
    L"Copyright (c) 2002-2008  K.Kosako  <sndgk393 AT ybb DOT ne DOT jp>",
    L"All rights reserved.",
    L"",
    L"Redistribution and use in source and binary forms, with or without",
    L"modification, are permitted provided that the following conditions",
    L"are met:",
    L"1. Redistributions of source code must retain the above copyright",
    L"   notice, this list of conditions and the following disclaimer.",
    L"2. Redistributions in binary form must reproduce the above copyright",
    L"   notice, this list of conditions and the following disclaimer in the",
    L"   documentation and/or other materials provided with the distribution.",
    L"",
    L"THIS SOFTWARE IS PROVIDED BY THE AUTHOR AND CONTRIBUTORS ``AS IS'' AND",
    L"ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE",
    L"IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE",
    L"ARE DISCLAIMED.  IN NO EVENT SHALL THE AUTHOR OR CONTRIBUTORS BE LIABLE",
    L"FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR CONSEQUENTIAL",
    L"DAMAGES (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS",
    L"OR SERVICES; LOSS OF USE, DATA, OR PROFITS; OR BUSINESS INTERRUPTION)",
    L"HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN CONTRACT, STRICT",
    L"LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY",
    L"OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF",
    L"SUCH DAMAGE.",
};

const wchar_t* const kOpenSsl[] = {
    L"OpenSSL License",
    L"---------------",
    L"",
    L"Copyright (c) 1998-2011 The OpenSSL Project.  All rights reserved.",
    L"",
    L"Redistribution and use in source and binary forms, with or without",
    L"modification, are permitted provided that the following conditions",
    L"are met:",
    L"",
    L"1. Redistributions of source code must retain the above copyright",
    L"   notice, this list of conditions and the following disclaimer.",
    L"",
    L"2. Redistributions in binary form must reproduce the above copyright",
    L"   notice, this list of conditions and the following disclaimer in",
    L"   the documentation and/or other materials provided with the",
    L"   distribution.",
    L"",
    L"3. All advertising materials mentioning features or use of this",
    L"   software must display the following acknowledgment:",
    L"   \"This product includes software developed by the OpenSSL Project",
    L"   for use in the OpenSSL Toolkit. (http://www.openssl.org/)\"",
    L"",
    L"4. The names \"OpenSSL Toolkit\" and \"OpenSSL Project\" must not be used to",
    L"   endorse or promote products derived from this software without",
    L"   prior written permission. For written permission, please contact",
    L"   openssl-core@openssl.org.",
    L"",
    L"5. Products derived from this software may not be called \"OpenSSL\"",
    L"   nor may \"OpenSSL\" appear in their names without prior written",
    L"   permission of the OpenSSL Project.",
    L"",
    L"6. Redistributions of any form whatsoever must retain the following",
    L"   acknowledgment:",
    L"   \"This product includes software developed by the OpenSSL Project",
    L"   for use in the OpenSSL Toolkit (http://www.openssl.org/)\"",
    L"",
    L"THIS SOFTWARE IS PROVIDED BY THE OpenSSL PROJECT ``AS IS'' AND ANY",
    L"EXPRESSED OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE",
    L"IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR",
    L"PURPOSE ARE DISCLAIMED.  IN NO EVENT SHALL THE OpenSSL PROJECT OR",
    L"ITS CONTRIBUTORS BE LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL,",
    L"SPECIAL, EXEMPLARY, OR CONSEQUENTIAL DAMAGES (INCLUDING, BUT",
    L"NOT LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS OR SERVICES;",
    L"LOSS OF USE, DATA, OR PROFITS; OR BUSINESS INTERRUPTION)",
    L"HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN CONTRACT,",
    L"STRICT LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE)",
    L"ARISING IN ANY WAY OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED",
    L"OF THE POSSIBILITY OF SUCH DAMAGE.",
    L"",
    L"This product includes cryptographic software written by Eric Young",
    L"(eay@cryptsoft.com).  This product includes software written by Tim",
    L"Hudson (tjh@cryptsoft.com).",
};

const wchar_t* const kSsleay[] = {
    L"Original SSLeay License",
    L"-----------------------",
    L"",
    L"Copyright (C) 1995-1998 Eric Young (eay@cryptsoft.com)",
    L"All rights reserved.",
    L"",
    L"This package is an SSL implementation written",
    L"by Eric Young (eay@cryptsoft.com).",
    L"The implementation was written so as to conform with Netscapes SSL.",
    L"",
    L"This library is free for commercial and non-commercial use as long as",
    L"the following conditions are aheared to.  The following conditions",
    L"apply to all code found in this distribution, be it the RC4, RSA,",
    L"lhash, DES, etc., code; not just the SSL code.  The SSL documentation",
    L"included with this distribution is covered by the same copyright terms",
    L"except that the holder is Tim Hudson (tjh@cryptsoft.com).",
    L"",
    L"Copyright remains Eric Young's, and as such any Copyright notices in",
    L"the code are not to be removed.",
    L"If this package is used in a product, Eric Young should be given attribution",
    L"as the author of the parts of the library used.",
    L"This can be in the form of a textual message at program startup or",
    L"in documentation (online or textual) provided with the package.",
    L"",
    L"Redistribution and use in source and binary forms, with or without",
    L"modification, are permitted provided that the following conditions",
    L"are met:",
    L"1. Redistributions of source code must retain the copyright",
    L"   notice, this list of conditions and the following disclaimer.",
    L"2. Redistributions in binary form must reproduce the above copyright",
    L"   notice, this list of conditions and the following disclaimer in the",
    L"   documentation and/or other materials provided with the distribution.",
    L"3. All advertising materials mentioning features or use of this software",
    L"   must display the following acknowledgement:",
    L"   \"This product includes cryptographic software written by",
    L"    Eric Young (eay@cryptsoft.com)\"",
    L"   The word 'cryptographic' can be left out if the rouines from the library",
    L"   being used are not cryptographic related :-).",
    L"4. If you include any Windows specific code (or a derivative thereof) from",
    L"   the apps directory (application code) you must include an acknowledgement:",
    L"   \"This product includes software written by Tim Hudson (tjh@cryptsoft.com)\"",
    L"",
    L"THIS SOFTWARE IS PROVIDED BY ERIC YOUNG ``AS IS'' AND",
    L"ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE",
    L"IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE",
    L"ARE DISCLAIMED.  IN NO EVENT SHALL THE AUTHOR OR CONTRIBUTORS BE LIABLE",
    L"FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR CONSEQUENTIAL",
    L"DAMAGES (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS",
    L"OR SERVICES; LOSS OF USE, DATA, OR PROFITS; OR BUSINESS INTERRUPTION)",
    L"HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN CONTRACT, STRICT",
    L"LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY",
    L"OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF",
    L"SUCH DAMAGE.",
    L"",
    L"The licence and distribution terms for any publically available version or",
    L"derivative of this code cannot be changed.  i.e. this code cannot simply be",
    L"copied and put under another distribution licence",
    L"[including the GNU Public Licence.]",
};

struct TBlock {
    const wchar_t* const* lines;
    size_t count;
};

template <size_t N> TBlock Block(const wchar_t* const (&lines)[N]) { return {lines, N}; }

} // namespace

CString CAboutDlg::BuildCreditsText()
{
    CString text;
    bool first = true;
    for (const TBlock& block : {Block(kIcons), Block(kJpeg), Block(kOniguruma), Block(kOpenSsl), Block(kSsleay)}) {
        if (!first)
            text += L"\r\n";
        first = false;
        for (size_t i = 0; i < block.count; i++)
            text += CString(block.lines[i]) + L"\r\n";
    }
    return text;
}
